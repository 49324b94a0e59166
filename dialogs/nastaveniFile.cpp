#include "dialogs/nastaveniFile.h"

#include "core/PowerFactor.h"
#include "core/TextHelpers.h"
#include "core/Zeko.h"
#include "dialogs/nastaveniChecks.h"
#include "platform/FileErrorText.h"
#include "platform/FormatSettings.h"
#include "platform/IniFile.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>

namespace zeko {

namespace {

constexpr uint8_t SpeedTypeBits = 0x11;  // the two lists: bit 0 under-, bit 4 over-compensated

// What a key may hold: what the control that shows it takes as typed or chosen.
struct TValueRule {
    bool (*Passes)(int64_t value);
    const char* Allowed;  // for the message
};

bool IsCode(int64_t v) { return v >= 0 && v <= UINT8_MAX; }
bool IsBandChoice(int64_t v) { return v == 0 || v == 1; }
bool IsBandTime(int64_t v) {
    return v >= 0 && v <= UINT16_MAX && BandTimeMinutes(BandTimeText(static_cast<uint16_t>(v))) == v;
}
bool IsRegulationTime(int64_t v) {
    const std::string typed = IntToStr(v);
    return CheckNumber(typed, NumberChecks::RegulationTime) == typed;
}

TValueRule RuleOf(const TRegulationKey& key) {
    if (key.WordField == &TZEKO::Band2Start || key.WordField == &TZEKO::Band2End)
        return {IsBandTime, "0 až 1439 (00:00 až 23:59)"};
    if (key.WordField != nullptr)
        return {IsRegulationTime, "1 až 65535"};
    if (key.ByteField == &TZEKO::UseBand2)
        return {IsBandChoice, "0 (ANO) nebo 1 (NE)"};
    // A band edge (every code stands for a cos phi), or the speed type, of which the
    // lists take their bits.
    return {IsCode, "0 až 255"};
}

// The exit check of each band edit against its neighbour: the lower edge and the
// upper edge against the centre, the centre against the lower edge. The lower edge's
// and the centre's checks judge one pair from its two sides and differ only at the
// ends of the code range, where the edit holds the value at the end: a lower edge of
// code 0 passes its own check beside a centre of code 0, which the centre's edit
// would move one code up.
struct TBandRule {
    uint8_t TZEKO::*Edge;
    TBandEdge Kind;
    uint8_t TZEKO::*Neighbour;
};
constexpr TBandRule BandRules[] = {
    {&TZEKO::BandLow, TBandEdge::Lower, &TZEKO::BandCentre},
    {&TZEKO::BandCentre, TBandEdge::Centre, &TZEKO::BandLow},
    {&TZEKO::BandHigh, TBandEdge::Upper, &TZEKO::BandCentre},
    {&TZEKO::Band2Low, TBandEdge::Lower, &TZEKO::Band2Centre},
    {&TZEKO::Band2Centre, TBandEdge::Centre, &TZEKO::Band2Low},
    {&TZEKO::Band2High, TBandEdge::Upper, &TZEKO::Band2Centre},
};

const char* KeyOf(uint8_t TZEKO::*field) {
    for (const TRegulationKey& key : RegulationKeys)
        if (key.ByteField == field)
            return key.Key;
    return "";
}

// "Stred pasma necitlivosti = 98 (0,970)"
std::string CodeText(uint8_t TZEKO::*field, const TZEKO& s) {
    return std::string(KeyOf(field)) + " = " + IntToStr(s.*field) + " (" + BandText(s.*field) + ")";
}

// The band rules the values break, a line each (a pair broken from both sides, once);
// a rule is judged only when both its edges are codes of the file (`taken`).
std::vector<std::string> BrokenBandRules(const TZEKO& s, const std::vector<uint8_t TZEKO::*>& taken) {
    const auto isTaken = [&](uint8_t TZEKO::*field) { return std::find(taken.begin(), taken.end(), field) != taken.end(); };
    std::vector<std::string> lines;
    bool lowerBroken = false;
    for (const TBandRule& rule : BandRules) {
        if (rule.Kind == TBandEdge::Lower)
            lowerBroken = false;
        if (!isTaken(rule.Edge) || !isTaken(rule.Neighbour))
            continue;
        const uint8_t edge = s.*rule.Edge;
        const double kept = CheckBandValue(rule.Kind, CosPhiFromByte(edge), CosPhiFromByte(s.*rule.Neighbour));
        const bool broken = CosPhiToByte(kept) != edge;
        if (broken && !(rule.Kind == TBandEdge::Centre && lowerBroken))
            lines.push_back(CodeText(rule.Edge, s) + (rule.Kind == TBandEdge::Lower ? " musí ležet pod " : " musí ležet nad ") +
                            CodeText(rule.Neighbour, s));
        if (rule.Kind == TBandEdge::Lower)
            lowerBroken = broken;
    }
    return lines;
}

// A file that is there and could be read; else the errno.
int ReadErrorOf(const TIniFile& ini) {
    struct stat info {};
    if (stat(ini.FileName().c_str(), &info) != 0)
        return errno;
    if (S_ISDIR(info.st_mode))
        return EISDIR;
    return ini.ReadError();
}

} // namespace

TSettingsFileCheck LoadSettingsFile(const std::string& fileName, TZEKO& settings) {
    TSettingsFileCheck check;
    const TIniFile ini(fileName);
    if ((check.ReadError = ReadErrorOf(ini)) != 0) {
        check.Fault = TSettingsFileFault::Unreadable;
        return check;
    }
    if (!ini.SectionExists(RegulationSection)) {
        check.Fault = TSettingsFileFault::NotSettingsFile;
        return check;
    }
    for (const TRegulationKey& key : RegulationKeys)
        if (!ini.ValueExists(RegulationSection, key.Key))
            check.Details.push_back(key.Key);
    if (!check.Details.empty()) {
        check.Fault = TSettingsFileFault::NotSettingsFile;
        return check;
    }

    TZEKO loaded = settings;
    std::vector<uint8_t TZEKO::*> taken;
    for (const TRegulationKey& key : RegulationKeys) {
        constexpr int64_t NoInteger = INT64_MIN;
        const int64_t value = ini.ReadInteger(RegulationSection, key.Key, NoInteger);
        const TValueRule rule = RuleOf(key);
        if (value == NoInteger || !rule.Passes(value)) {
            const std::string text = ini.ReadString(RegulationSection, key.Key, "");
            check.Details.push_back(std::string(key.Key) + " = " + (text.empty() ? "(bez hodnoty)" : text) +
                                    ": povoleno je " + rule.Allowed);
        } else if (key.ByteField == &TZEKO::SpeedType) {
            loaded.SpeedType = static_cast<uint8_t>((loaded.SpeedType & ~SpeedTypeBits) | (value & SpeedTypeBits));
        } else if (key.ByteField != nullptr) {
            loaded.*key.ByteField = static_cast<uint8_t>(value);
            taken.push_back(key.ByteField);
        } else {
            loaded.*key.WordField = static_cast<uint16_t>(value);
        }
    }
    const std::vector<std::string> order = BrokenBandRules(loaded, taken);
    check.Details.insert(check.Details.end(), order.begin(), order.end());
    if (!check.Details.empty()) {
        check.Fault = TSettingsFileFault::InvalidValues;
        return check;
    }
    settings = loaded;
    return check;
}

std::string SettingsFileRefusal(const std::string& fileName, const TSettingsFileCheck& check) {
    std::string head, body;
    switch (check.Fault) {
    case TSettingsFileFault::None: return "";
    case TSettingsFileFault::Unreadable:
        head = "Soubor nastavení nelze přečíst:";
        body = ReadFailureText(check.ReadError);
        break;
    case TSettingsFileFault::NotSettingsFile:
        head = "Soubor není souborem nastavení regulátoru:";
        body = check.Details.empty() ? "Chybí v něm oddíl [Regulace]."
                                     : "V oddílu [Regulace] chybí: " + Joined(check.Details, ", ") + ".";
        break;
    case TSettingsFileFault::InvalidValues:
        head = "Soubor nastavení obsahuje neplatné hodnoty:";
        body = Joined(check.Details, "\n");
        break;
    }
    return head + "\n" + fileName + "\n" + body + "\n" + "Nastavení nebylo načteno.";
}

} // namespace zeko
