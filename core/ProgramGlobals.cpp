#include "core/ProgramGlobals.h"

namespace zeko {

std::string ProgramVersion = "0.90beta14";

int ComPort = 1;
int BaudRate = 4800;
int WindowWidth = 1023;
int WindowHeight = 767;
int WindowLeft = 0;
int WindowTop = 0;
int OsaKL = 0;
int OsaZAP = 0;

bool PouzivejSvatky = true;

std::array<std::string, 4> TariffNames = {"", "Tarif 1", "Tarif 2", "Tarif 3"};
std::array<std::string, 4> TariffAbbrevs = {"", "T1", "T2", "T3"};
std::array<std::string, 4> ShiftNames = {"", "Směna 1", "Směna 2", "Směna 3"};
std::array<std::string, 4> ShiftAbbrevs = {"", "S1", "S2", "S3"};

std::string LimitLength(const std::string& text, size_t characters) {
    size_t count = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        // A character starts at every byte that is no UTF-8 continuation byte.
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (count == characters)
                return text.substr(0, i);
            ++count;
        }
    }
    return text;
}

bool OnlineOpen = false;
bool ServiceViewerOpen = false;
bool DayTableOpen = false;
bool MonthTableOpen = false;
bool YearTableOpen = false;
bool ArchiveOpen = false;

bool DownloadRunning = false;
bool DownloadRequested = false;
bool SettingsReadRunning = false;

} // namespace zeko
