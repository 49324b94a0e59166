#include "core/ProgramGlobals.h"

namespace zeko {

#ifndef ZEKO_PROGRAM_VERSION
#error "The build names the program's version (ZEKO_PROGRAM_VERSION)."
#endif
const char* const BuildVersion = ZEKO_PROGRAM_VERSION;
std::string ProgramVersion = BuildVersion;

int ComPort = 1;
int BaudRate = 4800;
int WindowWidth = 1023;
int WindowHeight = 767;
int WindowLeft = 0;
int WindowTop = 0;
int OsaKL = 0;
int OsaZAP = 0;
std::string Velkoodber;
std::string OdberneMisto;
int TechMaximum = DefaultTechMaximum;

bool PouzivejSvatky = true;

uint16_t RegulatorMeasurementId = 0;

std::array<std::string, 4> TariffNames = {"", "Tarif 1", "Tarif 2", "Tarif 3"};
std::array<std::string, 4> TariffAbbrevs = {"", "T1", "T2", "T3"};
std::array<std::string, 4> ShiftNames = {"", "Směna 1", "Směna 2", "Směna 3"};
std::array<std::string, 4> ShiftAbbrevs = {"", "S1", "S2", "S3"};
std::array<std::string, 4> ShiftNamesEdit = ShiftNames;
std::array<std::string, 4> ShiftAbbrevsEdit = ShiftAbbrevs;

bool OnlineOpen = false;
bool ServiceViewerOpen = false;
bool DayTableOpen = false;
bool MonthTableOpen = false;
bool YearTableOpen = false;
bool ArchiveOpen = false;

} // namespace zeko
