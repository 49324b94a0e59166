#include "e2e/E2eSupport.h"

#include "core/RegulatorReplies.h"
#include "core/WireRecord.h"
#include "core/BinaryData.h"
#include "core/Calendar.h"
#include "core/Komunikace.h"
#include "core/RecordStore.h"
#include "core/Telegram.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace zeko::e2e {

std::string Hex(const Bytes& bytes) { return HexBytes(bytes); }

std::map<std::string, std::string> FastTiming(const test::RegsimProcess& sim, int sendTimerMs) {
    return {{"ZEKO_COM1", sim.PtyPath()}, {"ZEKO_TEST_POLL_MS", "5"}, {"ZEKO_TEST_SEND_MS", std::to_string(sendTimerMs)}};
}

namespace {

Bytes Built(const TKomunikace& k) {
    Bytes bytes(k.Built().begin(), k.Built().end());
    bytes.insert(bytes.begin(), tlg::LeadByte);
    return bytes;
}

TKomunikace& Builder() {
    static TKomunikace* k = [] {
        auto* made = new TKomunikace;
        made->CrcDestinations.set(8);
        return made;
    }();
    return *k;
}

} // namespace

Bytes Table(uint8_t write, uint8_t mode, uint8_t index) {
    TKomunikace& k = Builder();
    k.BuildTableTelegram(63, 8, write, mode, index);
    return Built(k);
}

Bytes Explicit(uint8_t write, uint8_t mode, uint16_t address, const Bytes& data, uint8_t key, uint8_t count) {
    TKomunikace& k = Builder();
    for (size_t i = 0; i < data.size(); ++i)
        k.SetDataByte(static_cast<uint8_t>(i + 1), data[i]);
    k.BuildTelegram(63, 8, write, mode, address, count ? count : static_cast<uint8_t>(data.size()), key, 0);
    return Built(k);
}

Bytes LiveValuesRead() { return {0xFF, 0xA5, 0x08, 0x3F, 0x02, 0x12, 0x10, 0x00, 0xFF, 0xF1}; }

std::vector<std::string> StartupChain() {
    std::vector<std::string> chain{Hex(Table(0, 0, 22))};
    for (uint8_t i = 0; i <= 3; ++i)
        chain.push_back(Hex(Table(0, 3, i)));
    for (uint8_t i : {6, 7, 8, 9, 10, 11, 12, 13, 14, 16})
        chain.push_back(Hex(Table(0, 0, i)));
    chain.push_back(Hex(Table(0, 1, 28)));
    chain.push_back(Hex(Table(0, 0, 21)));
    return chain;
}

std::vector<std::string> RxTelegrams(const test::RegsimLog& log) {
    std::vector<std::string> out;
    for (const test::RegsimLogLine& line : log)
        if (line.Received)
            out.push_back(Hex(line.Bytes));
    return out;
}

std::vector<std::string> Collapse(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const std::string& line : lines)
        if (out.empty() || out.back() != line)
            out.push_back(line);
    return out;
}

size_t Count(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
}

bool PolledAgain(const test::RegsimProcess& sim, size_t times) {
    const size_t polls = Count(RxTelegrams(sim.Log()), Hex(LiveValuesRead()));
    return sim.WaitForLog([&](const test::RegsimLog& log) {
        return Count(RxTelegrams(log), Hex(LiveValuesRead())) >= polls + times;
    });
}

namespace {

// The frame from the first start byte on, or empty.
Bytes FromStart(const Bytes& bytes) {
    const auto start = std::find(bytes.begin(), bytes.end(), tlg::StartByte);
    return start == bytes.end() ? Bytes{} : Bytes(start, bytes.end());
}

} // namespace

std::vector<Request> Requests(const test::RegsimLog& log) {
    std::vector<Request> out;
    for (const test::RegsimLogLine& line : log) {
        if (!line.Received)
            continue;
        const Bytes f = FromStart(line.Bytes);
        if (f.size() < 9)
            continue;
        const uint8_t control = f[tlg::OffControl];
        Request r;
        r.Write = (control & tlg::WriteBit) != 0;
        r.Mode = tlg::KindOf(control);
        r.Count = control & tlg::CountMask;
        r.Address = ReadWordLE(&f[tlg::OffAddressLow]);
        if (r.Write && f.size() >= tlg::OffData + r.Count)
            r.Data.assign(f.begin() + tlg::OffData, f.begin() + tlg::OffData + r.Count);
        out.push_back(r);
    }
    return out;
}

std::vector<Bytes> WritesTo(const test::RegsimLog& log, uint8_t mode, uint16_t address) {
    std::vector<Bytes> out;
    for (const Request& r : Requests(log))
        if (r.Write && r.Mode == mode && r.Address == address)
            out.push_back(r.Data);
    return out;
}

std::vector<Bytes> RepliesOf(const test::RegsimLog& log, uint8_t mode, uint16_t address) {
    // Replies may come in pieces and behind noise: look at all the simulator sent
    // as one stream.
    std::vector<Bytes> replies;
    Bytes stream;
    for (const test::RegsimLogLine& line : log)
        if (!line.Received)
            stream.insert(stream.end(), line.Bytes.begin(), line.Bytes.end());
    for (size_t p = 0; p + 9 <= stream.size(); ++p) {
        const uint8_t* f = &stream[p];
        if (f[0] != tlg::StartByte || f[1] != 63 || f[2] != 8 || NegatedSum(f, 4) != f[4])
            continue;
        const size_t length = (f[3] & tlg::LengthMask) + 7u;
        if (p + length > stream.size() || NegatedSum(f + 5, length - 6) != f[length - 1])
            continue;
        const uint8_t control = f[tlg::OffControl];
        if (tlg::KindOf(control) == mode && !(control & tlg::WriteBit) && ReadWordLE(f + tlg::OffAddressLow) == address)
            replies.emplace_back(f + tlg::OffData, f + length - 1);
    }
    return replies;
}

Bytes ReplyData(const test::RegsimLog& log, uint8_t mode, uint16_t address) {
    const std::vector<Bytes> replies = RepliesOf(log, mode, address);
    return replies.empty() ? Bytes{} : replies.front();
}

std::array<uint32_t, 4> InputConstantsFrom(const test::RegsimLog& log) {
    TZEKO state;
    for (uint16_t address : {Registers::MeterConstants, Registers::InputFunctions}) {
        const Bytes data = ReplyData(log, tlg::KindSettings, address);
        if (!DecodeStartupSettings(address, data.data(), static_cast<int>(data.size()), state))
            return {};
    }
    return state.InputConstants;
}

std::map<std::string, std::string> ExpectedMonthFiles(const test::RegsimProcess& sim, uint32_t first, uint32_t count,
                                                      const std::array<uint32_t, 4>& constants,
                                                      const std::set<uint32_t>& leftOut) {
    std::map<std::string, std::string> files;
    uint32_t index = first;
    for (uint32_t n = 0; n < count; ++n, index = NextRingIndex(index)) {
        if (leftOut.count(index) != 0)
            continue;
        const Bytes wire = sim.RingRecord(index);
        TRegulatorRecord record;
        DecodeRecord(wire.data(), record, index, constants);
        const auto bytes = record.Bytes();
        const std::string path = YearFolderName(ExpandYear(record.Year)) + "/" + MonthFileName(record.Month);
        files[path].append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    return files;
}

std::map<std::string, std::string> MonthFiles(const test::TempDir& dir) {
    std::map<std::string, std::string> files;
    namespace fs = std::filesystem;
    for (const fs::directory_entry& year : fs::directory_iterator(dir.Path())) {
        if (!year.is_directory() || year.path().filename().string().rfind("ROK", 0) != 0)
            continue;
        for (const fs::directory_entry& month : fs::directory_iterator(year.path())) {
            std::ifstream in(month.path(), std::ios::binary);
            files[year.path().filename().string() + "/" + month.path().filename().string()] =
                std::string(std::istreambuf_iterator<char>(in), {});
        }
    }
    return files;
}

Bytes PositionData(uint32_t next) {
    const auto data = ReadPositionData(next);
    return Bytes(data.begin(), data.end());
}

} // namespace zeko::e2e
