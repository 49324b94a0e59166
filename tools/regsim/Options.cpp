#include "tools/regsim/Options.h"

#include "tools/regsim/RecordRing.h"

#include <cstdio>
#include <stdexcept>
#include <tuple>

namespace zeko::regsim {
namespace {

uint64_t Number(const std::string& option, const std::string& text, uint64_t max) {
    size_t used = 0;
    uint64_t value = 0;
    try {
        value = std::stoull(text, &used, 0);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || text.empty() || text[0] == '-' || value > max)
        throw std::invalid_argument(option + ": not a number up to " + std::to_string(max) + ": " + text);
    return value;
}

int Percent(const std::string& option, const std::string& text) {
    return static_cast<int>(Number(option, text, 100));
}

// "YYYY-MM-DD HH:MM[:SS]" (or with 'T' between date and time).
TDateTime DateTimeArg(const std::string& option, const std::string& text) {
    int y, mo, d, h = 0, mi = 0, s = 0;
    char sep;
    TDateTime date, time;
    const int n = std::sscanf(text.c_str(), "%d-%d-%d%c%d:%d:%d", &y, &mo, &d, &sep, &h, &mi, &s);
    if ((n != 3 && n < 6) || (n > 3 && sep != ' ' && sep != 'T') || !TryEncodeDate(y, mo, d, date) ||
        !TryEncodeTime(h, mi, s, 0, time))
        throw std::invalid_argument(option + ": not a date and time (YYYY-MM-DD HH:MM[:SS]): " + text);
    return date + time;
}

std::vector<uint8_t> HexArg(const std::string& option, const std::string& text) {
    std::vector<uint8_t> bytes;
    std::string digits;
    for (char c : text)
        if (c != ' ')
            digits += c;
    if (digits.empty() || digits.size() % 2)
        throw std::invalid_argument(option + ": not hex bytes: " + text);
    for (size_t i = 0; i < digits.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(Number(option, "0x" + digits.substr(i, 2), 255)));
    return bytes;
}

// "KIND:ADDR", the address in hex.
std::pair<uint8_t, uint16_t> RegisterArg(const std::string& option, const std::string& text) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos)
        throw std::invalid_argument(option + ": expected KIND:ADDR, e.g. 0:0E97: " + text);
    return {static_cast<uint8_t>(Number(option, text.substr(0, colon), 3)),
            static_cast<uint16_t>(Number(option, "0x" + text.substr(colon + 1), 0xFFFF))};
}

Poke PokeArg(const std::string& option, const std::string& text) {
    const size_t colon = text.find(':'), equals = text.find('=');
    if (colon == std::string::npos || equals == std::string::npos || equals < colon)
        throw std::invalid_argument(option + ": expected KIND:ADDR=HEX, e.g. 0:0E08=0B: " + text);
    Poke p;
    p.Kind = static_cast<uint8_t>(Number(option, text.substr(0, colon), 3));
    p.Address = static_cast<uint16_t>(Number(option, "0x" + text.substr(colon + 1, equals - colon - 1), 0xFFFF));
    p.Bytes = HexArg(option, text.substr(equals + 1));
    return p;
}

// "KIND:ADDR[+OFF]=HEX[/N]", the address in hex, the offset and count decimal.
Alteration AlterArg(const std::string& option, const std::string& text) {
    const size_t equals = text.find('=');
    if (equals == std::string::npos)
        throw std::invalid_argument(option + ": expected KIND:ADDR[+OFF]=HEX[/N], e.g. 1:FF00+4=13: " + text);
    std::string where = text.substr(0, equals), bytes = text.substr(equals + 1);
    Alteration a;
    if (const size_t plus = where.find('+'); plus != std::string::npos) {
        a.Offset = static_cast<size_t>(Number(option, where.substr(plus + 1), 64));
        where.erase(plus);
    }
    if (const size_t slash = bytes.find('/'); slash != std::string::npos) {
        a.Count = static_cast<uint32_t>(Number(option, bytes.substr(slash + 1), UINT32_MAX));
        if (a.Count == 0)
            throw std::invalid_argument(option + ": a count of at least 1: " + text);
        bytes.erase(slash);
    }
    std::tie(a.Kind, a.Address) = RegisterArg(option, where);
    a.Bytes = HexArg(option, bytes);
    return a;
}

} // namespace

const char* Usage() {
    return "regsim: the regulator (station 8) on a pseudo-terminal.\n"
           "Prints the pty's slave path as its first line, then answers telegrams until\n"
           "SIGINT or SIGTERM.\n"
           "\n"
           "  --log FILE               every telegram received and sent, in hex, with the\n"
           "                           seconds since start: \"12.345 RX FF A5 08 ...\",\n"
           "                           \"12.350 TX A5 3F 08 ... # note\"\n"
           "  --export-ring FILE       write the ring before starting: 75325 records of 27\n"
           "                           bytes in index order (0xFF for empty places)\n"
           "  --link PATH              make PATH a symbolic link to the pty's slave; SIGUSR2\n"
           "                           pulls the line out (the pty is closed, as the device\n"
           "                           of an adapter pulled out, and PATH removed) and, the\n"
           "                           next time, plugs a new pty in with PATH linked to\n"
           "                           it; the regulator's memory stays as it was\n"
           "Ring contents:\n"
           "  --records N              N quarter-hour records (default 0)\n"
           "  --start 'Y-M-D H:M[:S]'  stamp of the first record (default: the last record\n"
           "                           is the last quarter hour before the clock)\n"
           "  --first-index I          ring index of the first record (default 0)\n"
           "  --more-records N         N more quarter-hour records at the ring indices\n"
           "                           after those of --records, drawn with the seed S + 1\n"
           "  --more-start 'Y-M-D H:M[:S]'\n"
           "                           stamp of the first of them (needed with\n"
           "                           --more-records); one before the last record's\n"
           "                           repeats stamps, as after the clock was set back\n"
           "  --newest I               newest index (default: after the last record)\n"
           "  --oldest-unread I        oldest unread index (default: the first record)\n"
           "  --pointer-flag F         pointer flag (default 1 for a full ring, else 0)\n"
           "  --seed S                 values of the records and the fault choices (1)\n"
           "Other memory:\n"
           "  --clock 'Y-M-D H:M:S'    the regulator clock at start (default: local time)\n"
           "  --ident N=TEXT           identification text N (1..4), Windows-1250 bytes\n"
           "  --poke KIND:ADDR=HEX     set memory, e.g. --poke 0:0E08=0B (12 outputs)\n"
           "Faults (P = percentage of replies):\n"
           "  --drop P                 no reply\n"
           "  --delay MS               pause before each reply\n"
           "  --corrupt P              a wrong header or data check byte\n"
           "  --noise P                1..6 noise bytes before the reply\n"
           "  --split P                the reply in 2..3 pieces, 60 ms apart\n"
           "  --double P               the reply twice, 20 ms apart\n"
           "  --wrong-address P        the reply names the next register\n"
           "  --pace BAUD              send each byte after 10 bit times at BAUD, and\n"
           "                           answer only once the telegram's bytes would have\n"
           "                           come at BAUD\n"
           "  --turnaround MS          pause MS more before each reply; a reply never\n"
           "                           comes before the PC's 2 ms direction guard after\n"
           "                           the request's last byte has passed\n"
           "  --mute-after N           answer nothing after N replies; SIGUSR1 switches\n"
           "                           the silence on and off at any time\n"
           "  --lose-ack KIND:ADDR     the first acknowledgement of a write to that\n"
           "                           register is not sent (the write is taken), e.g.\n"
           "                           --lose-ack 0:0E97\n"
           "  --mute-at KIND:ADDR      answer nothing from a write to that register on\n"
           "                           (the write is taken), e.g. --mute-at 0:0E97\n"
           "  --alter KIND:ADDR[+OFF]=HEX[/N]\n"
           "                           in the read replies of that register the data\n"
           "                           bytes from OFF (0) on are HEX, the check bytes\n"
           "                           right; only the first N such replies when /N is\n"
           "                           given, e.g. --alter 1:FF00+4=13 (a clock of month\n"
           "                           13); may be given more than once\n";
}

Options ParseOptions(const std::vector<std::string>& args) {
    Options o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            o.Help = true;
            continue;
        }
        if (i + 1 >= args.size())
            throw std::invalid_argument(a + ": needs a value (or is unknown; see --help)");
        const std::string& v = args[++i];
        if (a == "--log")
            o.LogPath = v;
        else if (a == "--export-ring")
            o.ExportRingPath = v;
        else if (a == "--link")
            o.LinkPath = v;
        else if (a == "--records")
            o.Records = static_cast<uint32_t>(Number(a, v, 10'000'000));
        else if (a == "--start")
            o.Start = DateTimeArg(a, v);
        else if (a == "--more-records")
            o.MoreRecords = static_cast<uint32_t>(Number(a, v, 10'000'000));
        else if (a == "--more-start")
            o.MoreStart = DateTimeArg(a, v);
        else if (a == "--first-index")
            o.FirstIndex = static_cast<uint32_t>(Number(a, v, RingRecords - 1));
        else if (a == "--newest")
            o.Newest = static_cast<uint32_t>(Number(a, v, RingRecords - 1));
        else if (a == "--oldest-unread")
            o.OldestUnread = static_cast<uint32_t>(Number(a, v, RingRecords - 1));
        else if (a == "--pointer-flag")
            o.PointerFlag = static_cast<uint8_t>(Number(a, v, 255));
        else if (a == "--seed")
            o.Seed = o.Faults.Seed = Number(a, v, UINT64_MAX);
        else if (a == "--clock")
            o.Clock = DateTimeArg(a, v);
        else if (a == "--ident") {
            const size_t eq = v.find('=');
            if (eq == std::string::npos)
                throw std::invalid_argument(a + ": expected N=TEXT: " + v);
            o.IdentTexts.emplace_back(static_cast<int>(Number(a, v.substr(0, eq), 4)), v.substr(eq + 1));
        } else if (a == "--poke")
            o.Pokes.push_back(PokeArg(a, v));
        else if (a == "--drop")
            o.Faults.DropPercent = Percent(a, v);
        else if (a == "--delay")
            o.Faults.DelayMs = static_cast<uint32_t>(Number(a, v, 60'000));
        else if (a == "--corrupt")
            o.Faults.CorruptPercent = Percent(a, v);
        else if (a == "--noise")
            o.Faults.NoisePercent = Percent(a, v);
        else if (a == "--split")
            o.Faults.SplitPercent = Percent(a, v);
        else if (a == "--double")
            o.Faults.DoublePercent = Percent(a, v);
        else if (a == "--wrong-address")
            o.Faults.WrongAddressPercent = Percent(a, v);
        else if (a == "--mute-after")
            o.MuteAfter = static_cast<uint32_t>(Number(a, v, UINT32_MAX));
        else if (a == "--lose-ack")
            o.Faults.LoseFirstAck.push_back(RegisterArg(a, v));
        else if (a == "--alter")
            o.Faults.Alterations.push_back(AlterArg(a, v));
        else if (a == "--mute-at")
            o.Faults.MuteFromWrite = RegisterArg(a, v);
        else if (a == "--pace")
            o.PaceBaud = static_cast<uint32_t>(Number(a, v, 4'000'000));
        else if (a == "--turnaround")
            o.TurnaroundMs = static_cast<uint32_t>(Number(a, v, 60'000));
        else
            throw std::invalid_argument("unknown option " + a + " (see --help)");
    }
    if (o.MoreRecords > 0 && !o.MoreStart)
        throw std::invalid_argument("--more-records: needs --more-start");
    return o;
}

RingPlan PlanRing(const Options& o, TDateTime clock) {
    RingPlan plan;
    if (o.Start) {
        plan.FirstStamp = *o.Start;
    } else {
        // The last record is stamped with the last full quarter hour up to the clock.
        const int64_t last = ToSeconds(clock) / 900 * 900;
        plan.FirstStamp = FromSeconds(last - int64_t{o.Records > 0 ? o.Records - 1 : 0} * 900);
    }
    const uint64_t records = uint64_t{o.Records} + o.MoreRecords;
    const bool full = records >= RingRecords;
    plan.Newest = o.Newest.value_or(static_cast<uint32_t>((o.FirstIndex + records) % RingRecords));
    plan.OldestUnread = o.OldestUnread.value_or(full ? plan.Newest : o.FirstIndex);
    plan.Flag = o.PointerFlag.value_or(full ? 1 : 0);
    return plan;
}

void FillRing(const Options& o, const RingPlan& plan, RecordRing& ring) {
    ring.Generate(o.Seed, plan.FirstStamp, o.Records, o.FirstIndex);
    // Another seed: a quarter hour recorded again has values of its own.
    if (o.MoreRecords > 0)
        ring.Generate(o.Seed + 1, *o.MoreStart, o.MoreRecords,
                      static_cast<uint32_t>((uint64_t{o.FirstIndex} + o.Records) % RingRecords));
}

} // namespace zeko::regsim
