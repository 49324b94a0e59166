#pragma once
// Program-wide settings and state flags shared by the main window, the dialogs and
// the table windows. All of them are used in the main thread only. The defaults are
// those that "Zeko.ini" gives when a key is missing.
#include <array>
#include <cstdint>
#include <string>

namespace zeko {

// The version the build gives the program (ZEKO_PROGRAM_VERSION of CMakeLists.txt).
extern const char* const BuildVersion;
extern std::string ProgramVersion;  // BuildVersion

// "Zeko.ini": serial line, main window placement, power-factor axis.
extern int ComPort;       // n of COMn, 1
extern int BaudRate;      // 4800
extern int WindowWidth;   // 1023
extern int WindowHeight;  // 767
extern int WindowLeft;    // 0
extern int WindowTop;     // 0
extern int OsaKL;         // 0
extern int OsaZAP;        // 0

// "Zeko.ini" [Graf]: the consumer and the place of consumption named on the printed
// day graph (empty: the line is left out), and the site's technical maximum, the
// archive graph's first choice of Y maximum and the printed "Tech. max.".
extern std::string Velkoodber;    // "Velkoodber", ""
extern std::string OdberneMisto;  // "OdberneMisto", ""
constexpr int DefaultTechMaximum = 2000;
extern int TechMaximum;           // "TechMaximum", 1..65535

// Holidays count as days of the second tariff day type.
extern bool PouzivejSvatky;  // true

// The channel id of the regulator's own measurement: its inputs id, id + 1 and
// id + 2 are the active, the consumed and the supplied reactive energy.
extern uint16_t RegulatorMeasurementId;  // 0

// Names and abbreviations of tariffs and shifts, numbered 1..3 (index 0 unused).
constexpr size_t ScheduleNameLength = 20;
constexpr size_t ScheduleAbbrevLength = 2;
extern std::array<std::string, 4> TariffNames;    // "Tarif 1" ..
extern std::array<std::string, 4> TariffAbbrevs;  // "T1" ..
extern std::array<std::string, 4> ShiftNames;     // "Směna 1" ..
extern std::array<std::string, 4> ShiftAbbrevs;   // "S1" ..
// The shift editor's working copies, taken over on OK.
extern std::array<std::string, 4> ShiftNamesEdit;
extern std::array<std::string, 4> ShiftAbbrevsEdit;

// Each child window exists at most once and keeps its flag while it exists.
extern bool OnlineOpen;
extern bool ServiceViewerOpen;
extern bool DayTableOpen;
extern bool MonthTableOpen;
extern bool YearTableOpen;
extern bool ArchiveOpen;

} // namespace zeko
