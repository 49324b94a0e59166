#!/usr/bin/env python3
"""The program zeko itself on a simulated line: records per second of a download
against the rate the line allows, and the processor time the program takes during
the download and while it only polls the live values.

    bench/download_rate.py [--records N] [--baud B] [--idle S] [--build DIR]

The simulator paces its bytes at the rate and answers a telegram only once its
bytes would have come over the line and the program's 2 ms direction guard behind
them has passed, so the measured time is a real line's. The line allows (as
bench/LinkBench.cpp counts it): every telegram of the program between its two 2 ms
direction guards, the reply once the second has passed, 10 bit times a byte,
and a live-values poll after the first reply 450 ms or more after the poll before.
The program runs with its own timing (send timer 500 ms, port polling 40 ms); the
polling alone is measured in a run without the test automation, the download in a
run with it (it looks at its script every 50 ms).
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

GUARD = 0.002
POLL_INTERVAL = 0.45


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


def processor_seconds(pid):
    """The time the threads of a process have run, in nanoseconds from the scheduler."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                total += int(f.read().split()[0])
        except (FileNotFoundError, ProcessLookupError):
            pass
    return total / 1e9


def processor_use(pid, seconds):
    """The share of a core a process takes over `seconds`."""
    cpu, wall = processor_seconds(pid), time.time()
    time.sleep(seconds)
    return (processor_seconds(pid) - cpu) / (time.time() - wall)


def line_seconds(window, records, baud):
    """What a real line needs for the download in `window` (see the top)."""
    byte_time = 10.0 / baud
    sizes = {}
    writes = 0
    for (_, d, b), nxt in zip(window, window[1:] + [None]):
        if d != "RX" or nxt is None or nxt[1] != "TX":
            continue
        kind = kind_of(b)
        sizes[kind] = (len(b), len(nxt[2]))
        writes += kind == (0, 0x0113)
    exchange = lambda k: 2 * GUARD + sum(sizes[k]) * byte_time
    record = next(k for k in sizes if k[0] == 2)
    t = last_poll = 0.0
    for _ in range(records):
        if t - last_poll >= POLL_INTERVAL:
            last_poll = t
            t += exchange((0, 0xFF00))
        t += exchange(record)
    return t + writes * (exchange((0, 0x0113)) if writes else 0)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser()
    parser.add_argument("--records", type=int, default=300)
    parser.add_argument("--baud", type=int, default=4800)
    parser.add_argument("--idle", type=float, default=10.0, help="seconds of polling alone")
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
                            "--first-index", "2300", "--pace", str(args.baud), "--log", sim_log],
                           stdout=subprocess.PIPE, text=True)
    pty = sim.stdout.readline().strip()
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", ZEKO_COM1=pty, ZEKO_PROGRAM_DIR=work + "/")
    if args.baud != 4800:
        ini = os.path.join(work, "Zeko.ini")
        with open(ini, "w", newline="\r\n") as f:
            f.write(f"[ComPort]\nBaudRate={args.baud}\n")
    program = os.path.join(args.build, "app/zeko")
    zeko = None
    try:
        # Polling alone, without the test automation (which looks at its script
        # every 50 ms): from the first live-values poll on.
        zeko = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        polled = lambda: any(d == "RX" and kind_of(b) == (0, 0xFF00) for _, d, b in parse_log(sim_log))
        if not wait_for(polled, 120):
            sys.exit("the live values were not polled")
        time.sleep(2)  # the live-values window opens and draws
        idle = processor_use(zeko.pid, args.idle)
        zeko.terminate()
        zeko.wait(30)

        # The download, driven by the test automation.
        zeko = subprocess.Popen([program], env=dict(env, ZEKO_TEST_LOG=zeko_log, ZEKO_TEST_SCRIPT=script),
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if not wait_for(lambda: "Nastavení načteno" in read(zeko_log), 120):
            sys.exit("the start-up reading did not end")
        cpu, wall = processor_seconds(zeko.pid), time.time()
        with open(script, "a") as f:
            f.write("menu cmNactiZaznamy\n")
        if not wait_for(lambda: "Pozice záznamů PC zapsána" in read(zeko_log), 60 + args.records):
            sys.exit("the download did not end")
        busy = (processor_seconds(zeko.pid) - cpu) / (time.time() - wall)
        with open(script, "a") as f:
            f.write("close\n")
        zeko.wait(30)
    finally:
        if zeko and zeko.poll() is None:
            zeko.kill()
        sim.terminate()
        sim.wait()

    log = parse_log(sim_log)
    # From the first record request to the last record reply.
    record_lines = [i for i, (_, d, b) in enumerate(log) if kind_of(b)[0] == 2]
    first, last = record_lines[0], record_lines[-1]
    window = log[first:last + 1]
    # The simulator logs a request when it has come, a reply once its last byte is out.
    measured = window[-1][0] - window[0][0]
    polls = sum(1 for _, d, b in window if d == "RX" and kind_of(b) == (0, 0xFF00))
    records = args.records
    allowed = line_seconds(window, records, args.baud)
    print(f"records: {records} at {args.baud} Bd, live-value polls between them: {polls}")
    print(f"download: {measured:.2f} s ({records / measured:.2f} records/s)")
    print(f"the line allows: {allowed:.2f} s ({records / allowed:.2f} records/s)")
    print(f"ratio: {allowed / measured * 100:.1f} %")
    print(f"processor: {busy * 100:.2f} % of a core during the download, {idle * 100:.2f} % polling alone")


if __name__ == "__main__":
    main()
