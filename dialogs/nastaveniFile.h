#pragma once
// A settings file of the user's choice as the settings dialog loads it ("Načti
// nast."): its section "Regulace" is taken only when it is a settings file and every
// value in it is one the dialog takes as typed; otherwise nothing of it is taken and
// the user is told why, with the file and the keys named.
//
// A settings file holds all twelve keys of "Regulace". A missing key is not filled in
// with the reader's default: each default (the second band on from 00:00 to 00:00,
// regulation times of 1 s, linear speeds) would go to the regulator as if the file
// held it. A value passes when the check of its edit, list or radio group leaves it
// as it stands: a band's lower edge below its centre, its centre above its lower
// edge and its upper edge above its centre (in code order, as each edit's check
// judges it, so that a lower edge and a centre both of code 0 do not pass),
// regulation times 1 to 65535, band times 00:00 to 23:59, "Pouzij P2" 0 or 1 (its
// two radio buttons), the other values within their bytes.
//
// No Qt: the fuzz entry of the loader drives it too.
#include <cstdint>
#include <string>
#include <vector>

namespace zeko {

class TZEKO;

enum class TSettingsFileFault : uint8_t {
    None,             // loaded
    Unreadable,       // a folder, a file that is gone or cannot be read
    NotSettingsFile,  // "Regulace" or some of its keys missing
    InvalidValues,    // values the dialog would not take as typed
};

struct TSettingsFileCheck {
    TSettingsFileFault Fault = TSettingsFileFault::None;
    int ReadError = 0;  // Unreadable: the errno
    // NotSettingsFile: the keys missing (none: the section is missing);
    // InvalidValues: a line per value refused, each naming its key.
    std::vector<std::string> Details;
};

// Loads the regulation fields of the file into `settings` when it passes; else
// `settings` stays as it was. Of "Rychlost typ" the bits of the two lists are taken
// (bit 0 under-, bit 4 over-compensated); the others stay, as the lists leave them.
TSettingsFileCheck LoadSettingsFile(const std::string& fileName, TZEKO& settings);

// The message of a file refused (Czech, the file named in it).
std::string SettingsFileRefusal(const std::string& fileName, const TSettingsFileCheck& check);

} // namespace zeko
