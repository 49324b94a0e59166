#pragma once
// The number and date conventions of the user's session, and the few conversions
// that follow them. The decimal separator and the long time format come from the
// locale; the short date format is set by the program at start ("dd.mm.yyyy").
#include <array>
#include <cstdint>
#include <string>

namespace zeko {

struct TFormatSettings {
    char DecimalSeparator = ',';
    char ThousandSeparator = ' ';
    char DateSeparator = '.';
    char TimeSeparator = ':';
    std::string ShortDateFormat = "dd/mm/yyyy";  // "/" stands for DateSeparator
    std::string LongTimeFormat = "hh:nn:ss";
    std::string ShortTimeFormat = "hh:nn";
    std::string LongDateFormat = "d. mmmm yyyy";
    std::string TimeAMString = "dop.";  // "ampm" in a time format shows these
    std::string TimePMString = "odp.";
    // A Chinese, Japanese or Korean locale, whose long dates carry words after the
    // date; never set for the program's Czech settings.
    bool FarEastLocale = false;
    // Czech names as the Czech locale writes them; days from Sunday (index 0),
    // months from January.
    std::array<std::string, 7> ShortDayNames = {"ne", "po", "út", "st", "čt", "pá", "so"};
    std::array<std::string, 7> LongDayNames = {"neděle", "pondělí", "úterý", "středa",
                                               "čtvrtek", "pátek", "sobota"};
    std::array<std::string, 12> ShortMonthNames = {"led", "úno", "bře", "dub", "kvě", "čvn",
                                                   "čvc", "srp", "zář", "říj", "lis", "pro"};
    std::array<std::string, 12> LongMonthNames = {"leden", "únor", "březen", "duben",
                                                  "květen", "červen", "červenec", "srpen",
                                                  "září", "říjen", "listopad", "prosinec"};
};

TFormatSettings& FormatSettings();
// Takes the decimal separator, the long time format and the AM/PM strings from the
// environment's locale (LC_NUMERIC, LC_TIME); the rest stays as it is. Under the
// plain C locale (none chosen, or "C", "C.UTF-8", "POSIX") the decimal separator
// stays the Czech ",".
void LoadLocaleFormatSettings();

// Fixed notation with `decimals` places and the decimal separator; halves round
// away from zero on the decimal value as written (10.25 -> "10,3").
std::string FormatFixed(double value, int decimals);
// The shortest decimal text that reads back as the same double, e.g. "0.1".
std::string ShortestDecimal(double value);
// The class library's general format: up to 15 significant digits, no trailing
// zeros, exponent only for very large or small values; decimal separator applied.
std::string FloatToStr(double value);

// Round half to even, as computations round.
int64_t Round(double value);

// Text to number with the decimal separator; spaces around are allowed.
bool TryStrToFloat(const std::string& text, double& value);
double StrToFloat(const std::string& text);  // EConvertError on a bad text
bool TryStrToInt(const std::string& text, int64_t& value);  // decimal or $hex
int64_t StrToInt(const std::string& text);  // EConvertError on a bad text
int64_t StrToIntDef(const std::string& text, int64_t fallback);
std::string IntToStr(int64_t value);

} // namespace zeko
