// Writes the inputs of realistic size into the kept fuzz corpora, each with the
// program's own writer: a month file of several hundred records, full histories, a
// full "Zeko.ini", "Zarizeni.ini" and settings file, the background picture, the
// registry store of every table's column widths, and a start-up reading with a
// download of the regulator's replies, also as bytes on the line.
//
//   cmake --build build --target fuzz_corpus_writer && build/fuzz/fuzz_corpus_writer fuzz/corpus
#include "core/HistoryFormat.h"
#include "core/RecordMemory.h"
#include "core/RegulatorRecord.h"
#include "core/RegulatorReplies.h"
#include "core/Telegram.h"
#include "core/WireRecord.h"
#include "core/Zeko.h"
#include "platform/IniFile.h"
#include "platform/Jpeg.h"
#include "platform/Registry.h"
#include "platform/TextFiles.h"

#include <jpeglib.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>

namespace fs = std::filesystem;
using namespace zeko;

namespace {

using TBytes = std::vector<uint8_t>;

fs::path corpus;

void Put(const std::string& target, const std::string& name, const TBytes& bytes) {
    const fs::path path = corpus / target / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
    std::cout << path.string() << ": " << bytes.size() << " bytes\n";
}

TBytes FileBytes(const fs::path& path) {
    std::string text;
    if (!ReadFileBytes(path.string(), text))
        throw std::runtime_error("cannot read " + path.string());
    return {text.begin(), text.end()};
}

// A folder of its own for the files the writers make.
fs::path Scratch(const std::string& name) {
    const fs::path path = fs::temp_directory_path() / ("zeko-corpus-" + std::to_string(::getpid())) / name;
    fs::create_directories(path.parent_path());
    fs::remove(path);
    return path;
}

// Quarter hours of March 2024 from the 1st, as a regulator stores them.
TRegulatorRecord QuarterHour(int n) {
    TRegulatorRecord r;
    r.Year = 24;
    r.Month = 3;
    r.Day = static_cast<uint8_t>(1 + n / 96);
    r.Hour = static_cast<uint8_t>(n % 96 / 4);
    r.Minute = static_cast<uint8_t>(n % 4 * 15);
    r.Index = static_cast<uint32_t>(1200 + n);
    r.Status = static_cast<uint16_t>(n % 7 == 0 ? 0x0010 : 0);
    r.Counts = {static_cast<uint16_t>(400 + n % 90), static_cast<uint16_t>(120 + n % 40), static_cast<uint16_t>(n % 5),
                static_cast<uint16_t>(60 + n % 11)};
    r.Constants = {2.5f, 2.5f, 2.5f, 1.0f};
    r.Values24 = {static_cast<uint32_t>(2300 + n % 17), static_cast<uint32_t>(n * 3), 0};
    r.Value16 = static_cast<uint16_t>(985 - n % 9);
    return r;
}

void MonthFiles() {
    // 8 new records (day, hour, minute, second, count), then 300 stored ones.
    TBytes in = {8};
    for (int i = 0; i < 8; ++i) {
        const TRegulatorRecord r = QuarterHour(290 + i * 3);
        in.insert(in.end(), {r.Day, r.Hour, r.Minute, r.Second, static_cast<uint8_t>(r.Counts[0])});
    }
    for (int n = 0; n < 300; ++n) {
        const auto bytes = QuarterHour(n).Bytes();
        in.insert(in.end(), bytes.begin(), bytes.end());
    }
    Put("month_file_merge", "realistic-month-300-records", in);
}

void Histories() {
    TBytes tariffs = {1};
    for (int year = 2013; year <= 2024; ++year) {
        TTariffTable t;
        for (int day = 0; day < 2; ++day)
            for (int tariff = 1; tariff <= 3; ++tariff)
                for (int band = 1; band <= 4; ++band) {
                    TTariffZone& z = t.Zone(day, tariff, band);
                    z.Start = static_cast<uint16_t>((tariff - 1) * 360 + (band - 1) * 90 + year % 4 * 15);
                    z.End = static_cast<uint16_t>(z.Start + 75);
                    z.State = band <= (day == 0 ? 4 : 2) ? ZoneInUse : ZoneNotInUse;
                }
        THistoryRecord::Of(EncodeDate(year, 1 + year % 12, 1), t).AppendBytes(tariffs);
    }
    Put("history_reader", "realistic-tariffs-12-records", tariffs);

    TBytes shifts = {0};
    for (int n = 0; n < 24; ++n) {
        TShiftTable t;
        t.Shifts[0] = {360, 840};
        t.Shifts[1] = {840, 1320};
        if (n % 3 != 0)
            t.Shifts[2] = {1320, 360};
        THistoryRecord::Of(EncodeDate(2020 + n / 6, 1 + n % 6 * 2, 1), t).AppendBytes(shifts);
    }
    Put("history_reader", "realistic-shifts-24-records", shifts);
}

void ZekoIni() {
    const fs::path path = Scratch("Zeko.ini");
    TIniFile ini(path.string());
    ini.WriteInteger("ComPort", "Com", 3);
    ini.WriteInteger("ComPort", "BaudRate", 9600);
    ini.WriteInteger("Program", "Sirka", 1023);
    ini.WriteInteger("Program", "Vyska", 767);
    ini.WriteInteger("Program", "PoziceX", 40);
    ini.WriteInteger("Program", "PoziceY", 25);
    ini.WriteInteger("Ucinik", "OsaKL", 1);
    ini.WriteInteger("Ucinik", "OsaZAP", 0);
    ini.WriteBool("Tarify", "PouzivejSvatky", true);
    const char* tariffs[] = {"Vysoký tarif", "Nízký tarif", "Víkendový"};
    const char* shifts[] = {"Ranní", "Odpolední", "Noční"};
    for (int n = 0; n < 3; ++n) {
        const std::string digit = std::to_string(n + 1);
        ini.WriteString("Tarify", "Tarif" + digit, tariffs[n]);
        ini.WriteString("Tarify", "Tarif" + digit + "Zkratka", "T" + digit);
        ini.WriteString("Smeny", "Smena" + digit, shifts[n]);
        ini.WriteString("Smeny", "Smena" + digit + "Zkratka", "S" + digit);
    }
    Put("ini_reader", "realistic-zeko-ini", FileBytes(path));
}

void DeviceIni() {
    const fs::path path = Scratch("Zarizeni.ini");
    TIniFile ini(path.string());
    ini.WriteString("ZEKO", "Nazev_z", "Rozvodna R2 - hala B");
    const char* names[] = {"Činný", "Jalový", "Jal.dodávka", "1P měření"};
    const char* multipliers[] = {"40", "40", "40,5", "1.25"};
    for (int n = 1; n <= 4; ++n) {
        const std::string k = std::to_string(n);
        ini.WriteString("ZEKO", "Nazev_v" + k, names[n - 1]);
        ini.WriteInteger("ZEKO", "Jednotka_v" + k, n == 2 || n == 3 ? 1 : 0);
        ini.WriteInteger("ZEKO", "PocetDesMist_v" + k, n % 3);
        ini.WriteString("ZEKO", "OffsetTeploty_v" + k, n == 4 ? "-2,5" : "0");
        ini.WriteInteger("ZEKO", "PocitadloZapnuto_v" + k, n <= 2 ? 1 : 0);
        ini.WriteString("ZEKO", "PocStavPocitadla_v" + k, n == 1 ? "123456,75" : "0");
        ini.WriteString("ZEKO", "NasobitelElmeru_v" + k, multipliers[n - 1]);
        ini.WriteInteger("ZEKO", "PocatekDne_v" + k, n == 3 ? 6 : 0);
        ini.WriteString("ZEKO", "ZtratyTRF_v" + k, n == 1 ? "1.8" : "0");
    }
    Put("device_list", "realistic-zarizeni-ini", FileBytes(path));
}

// The settings of an installation of 16 outputs.
TZEKO Installation() {
    TZEKO s;
    s.OutputCount = 16;
    for (int i = 0; i < MaxOutputs; ++i) {
        s.OutputValues[i] = static_cast<uint16_t>(25 * (1 + i % 4) * 10);
        s.DischargeTimes[i] = static_cast<uint8_t>(6 + i % 3);
    }
    s.OutputTypes = 0x8000;
    s.MeterConstants = {250000, 250000, 250000, 100000};
    s.SpeedUnder = 60;
    s.SpeedOver = 30;
    s.SpeedType = 0x11;
    s.BandLow = 78;
    s.BandCentre = 98;
    s.BandHigh = 118;
    s.Band2Low = 100;
    s.Band2Centre = 110;
    s.Band2High = 120;
    s.Band2Start = 360;
    s.Band2End = 1320;
    s.FaultOutput = 1;
    s.FaultDelay = 20;
    return s;
}

void SettingsFile() {
    const TZEKO s = Installation();
    const fs::path path = Scratch("nastaveni.set");
    s.SaveToIni(path.string());
    Put("settings_file", "realistic-16-outputs", FileBytes(path));
}

// The background picture: a dial on the window's face colour, as the program's
// "logo.jpg" shows.
TRgbImage Logo(int width, int height) {
    TRgbImage image;
    image.Resize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = image.Pixel(x, y);
            const double dx = x - width * 0.3, dy = y - height * 0.55;
            const bool dial = std::hypot(dx, dy) < height * 0.35;
            p[0] = dial ? 255 : static_cast<uint8_t>(212 - y / 8);
            p[1] = dial ? 255 : static_cast<uint8_t>(208 - x / 12);
            p[2] = dial ? 255 : 200;
            if (std::fabs(dy + dx * 0.8) < 2 && dial)
                p[0] = 200, p[1] = 40, p[2] = 40;
        }
    return image;
}

// libjpeg itself, for the kinds the program's encoder does not make.
TBytes EncodeWith(const TRgbImage& image, bool grey, bool progressive, int restartRows) {
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long length = 0;
    jpeg_mem_dest(&info, &buffer, &length);
    info.image_width = static_cast<JDIMENSION>(image.Width);
    info.image_height = static_cast<JDIMENSION>(image.Height);
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 80, TRUE);
    if (progressive)
        jpeg_simple_progression(&info);
    info.restart_in_rows = restartRows;
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(image.Width) * 3);
    while (info.next_scanline < info.image_height) {
        const uint8_t* rgb = image.Pixel(0, static_cast<int>(info.next_scanline));
        if (grey)
            for (int x = 0; x < image.Width; ++x)
                row[x] = static_cast<uint8_t>((rgb[3 * x] * 3 + rgb[3 * x + 1] * 6 + rgb[3 * x + 2]) / 10);
        else
            std::copy(rgb, rgb + row.size(), row.begin());
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    TBytes out(buffer, buffer + length);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

void Pictures() {
    TBytes logo;
    if (!EncodeJpeg(Logo(360, 200), 75, logo))
        throw std::runtime_error("cannot encode the picture");
    Put("jpeg_decoder", "realistic-logo-360x200", logo);
    Put("jpeg_decoder", "logo-cut-short", TBytes(logo.begin(), logo.begin() + static_cast<long>(logo.size() / 2)));
    Put("jpeg_decoder", "grey-progressive-120x80", EncodeWith(Logo(120, 80), true, true, 0));
    Put("jpeg_decoder", "colour-progressive-restarts-96x64", EncodeWith(Logo(96, 64), false, true, 2));
    Put("jpeg_decoder", "grey-baseline-1x1", EncodeWith(Logo(1, 1), true, false, 0));
}

void Registry() {
    const fs::path path = Scratch("registry.reg");
    SetRegistryFilePath(path.string());
    const char* tables[] = {"Denni", "Denni1", "Tydenni", "Mesicni", "Rocni", "Smeny", "Tarify"};
    for (int layout : {800, 1024})
        for (const char* table : tables) {
            TRegistry registry;
            registry.OpenKey("SOFTWARE\\Vadro\\ColWidths" + std::to_string(layout) + "\\" + table, true);
            const int columns = std::string(table) == "Denni" ? 8 : 14;
            for (int c = 1; c <= columns; ++c)
                registry.WriteInteger("Column " + std::to_string(c), (c == 1 ? 70 : 48) * layout / 800 + c % 3);
        }
    {
        TRegistry registry;
        registry.OpenKey("SOFTWARE\\Vadro\\Zeko", true);
        registry.WriteString("Export", "C:\\Data\\Export\\\"ZEKO\"");
        registry.WriteBinaryData("Okno", {0x2c, 0x00, 0x00, 0x00, 0xff, 0x01});
    }
    SetRegistryFilePath(std::nullopt);
    Put("registry_store", "realistic-every-table", FileBytes(path));
}

// The fuzz entry's replies: selector, count, data.
void Reply(TBytes& in, uint8_t selector, const TBytes& data) {
    in.push_back(selector);
    in.push_back(static_cast<uint8_t>(data.size()));
    in.insert(in.end(), data.begin(), data.end());
}

void Replies() {
    TZEKO s = Installation();
    s.InputFunctions = {0, 1, 2, 3};
    s.ActivePower = 183.5;
    s.ReactivePower = -12.25;
    s.LiveWords.OutputStates = 0x0FF;
    s.LiveWords.RecordTime = 412;
    TBytes in;
    // The start-up reading: the settings of the chain, the clock, the last block, the
    // live values; then the pointers and 280 records of a download.
    for (size_t i = 0; i < StartupSettingsIndices.size(); ++i)
        Reply(in, static_cast<uint8_t>(4 + i), EncodeStartupSettings(RegisterOf(StartupSettingsIndices[i]), s));
    const auto clock = EncodeClock(EncodeDate(2024, 3, 15) + 0.5);
    Reply(in, 2, {clock.begin(), clock.end()});
    const auto block = EncodeLastSettingsBlock(s);
    Reply(in, 1, {block.begin(), block.end()});
    const auto live = EncodeLiveValues(s);
    Reply(in, 0, {live.begin(), live.end()});
    const auto pointers = EncodePointerBlock({1480, 0, 1200});
    Reply(in, 3, {pointers.begin(), pointers.end()});
    for (int n = 0; n < 280; ++n) {
        const TRegulatorRecord r = QuarterHour(n);
        TWireRecord w;
        w.Stamp = {r.Second, r.Minute, r.Hour, r.Day, r.Month, r.Year};
        w.Status = r.Status;
        w.Counts = r.Counts;
        w.Values24 = r.Values24;
        w.Value16 = r.Value16;
        const TWireBytes bytes = EncodeWireRecord(w);
        Reply(in, 15, {bytes.begin(), bytes.end()});
    }
    Put("reply_decoders", "realistic-startup-and-280-records", in);

    // The same replies as they come over the line, handed over raw in pieces.
    TBytes raw;
    const auto frame = [&raw](uint8_t kind, uint16_t address, const TBytes& data) {
        TBytes f = EncodeReply(tlg::StationPC, tlg::StationRegulator,
                               tlg::Control(false, kind, static_cast<uint8_t>(data.size())), address, data);
        f.insert(f.begin(), tlg::LeadByte);
        for (size_t at = 0; at < f.size(); at += 20)
            Reply(raw, 0xFF, TBytes(f.begin() + static_cast<long>(at), f.begin() + static_cast<long>(std::min(f.size(), at + 20))));
    };
    frame(tlg::KindWorking, Registers::Clock, {clock.begin(), clock.end()});
    frame(tlg::KindSettings, Registers::LiveValues, {live.begin(), live.end()});
    frame(tlg::KindSettings, Registers::RecordPointers, {pointers.begin(), pointers.end()});
    for (int n = 0; n < 60; ++n) {
        const TRegulatorRecord r = QuarterHour(n);
        TWireRecord w;
        w.Stamp = {r.Second, r.Minute, r.Hour, r.Day, r.Month, r.Year};
        w.Counts = r.Counts;
        const TWireBytes bytes = EncodeWireRecord(w);
        frame(tlg::KindRecords, static_cast<uint16_t>(RecordAddress(1200 + n)), {bytes.begin(), bytes.end()});
    }
    Put("reply_decoders", "realistic-frames-on-the-line", raw);

    // The link layer's fuzz entry takes the frames alone: no checks switched on, the
    // whole address window, nothing queued, pieces of the port's polls.
    TBytes line = {0, 0x00, 0xFF, 0, 5};
    for (size_t at = 0; at < raw.size();) {
        const size_t count = raw[at + 1];
        line.insert(line.end(), raw.begin() + static_cast<long>(at + 2), raw.begin() + static_cast<long>(at + 2 + count));
        at += 2 + count;
    }
    Put("frame_checks", "realistic-download-on-the-line", line);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "fuzz_corpus_writer <corpus folder>\n";
        return 2;
    }
    corpus = argv[1];
    try {
        for (const char* target : {"frame_checks", "month_file_merge", "history_reader", "ini_reader", "device_list", "settings_file",
                                   "jpeg_decoder", "registry_store", "reply_decoders"})
            fs::create_directories(corpus / target);
        MonthFiles();
        Histories();
        ZekoIni();
        DeviceIni();
        SettingsFile();
        Pictures();
        Registry();
        Replies();
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
