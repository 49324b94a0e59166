#!/usr/bin/env python3
"""Records per second of a download against the simulated regulator at 4800 Bd,
compared with the rate the line allows.

    bench/download_rate.py [--records N] [--build DIR]

The simulator paces its own bytes at 4800 Bd; the program's bytes reach it through
the pty at once, where a real line would take their byte time too, so that time is
added to the measured time. The line allows: every byte of the download (record
requests and replies, the writes of the upper address byte, the interleaved polling
of the live values) one after another at 10 bit times per byte, nothing else.
The program runs with its own timing (port polled every 10 ms, send timer 500 ms).
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

BAUD = 4800
BYTE_TIME = 10.0 / BAUD


def wait_for(predicate, timeout):
    deadline = time.time() + timeout
    while time.time() < deadline:
        if predicate():
            return True
        time.sleep(0.05)
    return predicate()


def read(path):
    try:
        with open(path, encoding="utf-8", errors="replace") as f:
            return f.read()
    except FileNotFoundError:
        return ""


def parse_log(path):
    """Lines of the simulator's log: (time, 'RX'|'TX', bytes)."""
    out = []
    for line in read(path).splitlines():
        m = re.match(r"\s*([0-9.]+)\s+(RX|TX)\s+([0-9A-F ]+)", line)
        if m:
            out.append((float(m.group(1)), m.group(2), bytes.fromhex(m.group(3))))
    return out


def kind_of(frame):
    start = frame.find(0xA5)
    if start < 0 or len(frame) < start + 8:
        return None, None
    control = frame[start + 5]
    return (control >> 5) & 3, frame[start + 6] | (frame[start + 7] << 8)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser()
    parser.add_argument("--records", type=int, default=300)
    parser.add_argument("--build", default=os.environ.get("ZEKO_BUILD_DIR", os.path.join(root, "build")))
    args = parser.parse_args()

    work = tempfile.mkdtemp(prefix="zeko-bench-")
    try:
        measure(args, work)
    finally:
        shutil.rmtree(work, ignore_errors=True)


def measure(args, work):
    sim_log = os.path.join(work, "regsim.log")
    zeko_log = os.path.join(work, "zeko.log")
    script = os.path.join(work, "zeko.script")
    open(script, "w").close()
    sim = subprocess.Popen([os.path.join(args.build, "tools/regsim/regsim"), "--records", str(args.records),
                            "--first-index", "2300", "--pace", str(BAUD), "--log", sim_log],
                           stdout=subprocess.PIPE, text=True)
    pty = sim.stdout.readline().strip()
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", ZEKO_COM1=pty, ZEKO_PROGRAM_DIR=work + "/",
               ZEKO_TEST_LOG=zeko_log, ZEKO_TEST_SCRIPT=script)
    zeko = subprocess.Popen([os.path.join(args.build, "app/zeko")], env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        if not wait_for(lambda: "Nastavení načteno" in read(zeko_log), 120):
            sys.exit("the start-up reading did not end")
        with open(script, "a") as f:
            f.write("menu cmNactiZaznamy\n")
        if not wait_for(lambda: "Pozice záznamů PC zapsána" in read(zeko_log), 60 + args.records):
            sys.exit("the download did not end")
        with open(script, "a") as f:
            f.write("close\n")
        zeko.wait(30)
    finally:
        if zeko.poll() is None:
            zeko.kill()
        sim.terminate()
        sim.wait()

    log = parse_log(sim_log)
    # From the first record request to the last record reply.
    record_lines = [i for i, (_, d, b) in enumerate(log) if kind_of(b)[0] == 2]
    first, last = record_lines[0], record_lines[-1]
    window = log[first:last + 1]
    # The simulator logs a reply once its last byte is out.
    measured = window[-1][0] - window[0][0]
    program_bytes = sum(len(b) for _, d, b in window if d == "RX")
    regulator_bytes = sum(len(b) for _, d, b in window if d == "TX")
    polls = sum(1 for _, d, b in window if d == "RX" and kind_of(b) == (0, 0xFF00))
    records = args.records
    on_line = measured + program_bytes * BYTE_TIME
    allowed = (program_bytes + regulator_bytes) * BYTE_TIME
    print(f"records: {records}, live-value polls between them: {polls}")
    print(f"bytes on the wire: {program_bytes} sent, {regulator_bytes} received, "
          f"{(program_bytes + regulator_bytes) / records:.1f} per record")
    print(f"download time on a {BAUD} Bd line: {on_line:.2f} s ({records / on_line:.2f} records/s)")
    print(f"the line allows: {allowed:.2f} s ({records / allowed:.2f} records/s)")
    print(f"ratio: {allowed / on_line * 100:.1f} %")


if __name__ == "__main__":
    main()
