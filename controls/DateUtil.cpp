#include "controls/DateUtil.h"

#include "controls/StrUtils.h"
#include "platform/Exceptions.h"
#include "platform/FormatSettings.h"
#include "platform/TextFiles.h"
#include "platform/TextScanner.h"
#include "platform/Utf8.h"

#include <cctype>
#include <climits>
#include <cmath>

namespace zeko {
namespace {

// A number of a typed date grows while it stays below 1000, so 12345 reads as 1234.
constexpr int ScanNumberLimit = 1000;
constexpr size_t MostCollected = 20;

std::string UpperAscii(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool ScanNumber(TTextScanner& sc, int& value) { return sc.Number(value, nullptr, INT_MAX, ScanNumberLimit); }

// Far-east long dates carry an era or weekday word after the date, which is passed
// over up to the time or the AM/PM word.
void SkipFarEastTail(TTextScanner& sc) {
    const TFormatSettings& fs = FormatSettings();
    if (!fs.FarEastLocale || LowerAscii(fs.ShortDateFormat).find("ddd") == std::string::npos)
        return;
    if (!fs.ShortTimeFormat.empty() && std::isdigit(static_cast<unsigned char>(fs.ShortTimeFormat[0]))) {
        sc.ToNumber();
        return;
    }
    while (sc.Pos() < sc.Text().size() && !sc.StartsWith(fs.TimeAMString) && !sc.StartsWith(fs.TimePMString))
        sc.SkipWord();
}

} // namespace

bool FourDigitYear() {
    static const bool four = UpperAscii(FormatSettings().ShortDateFormat).find("YYYY") != std::string::npos;
    return four;
}

bool IsValidDate(int year, int month, int day) {
    return year >= MinYear && year <= MaxYear && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysPerMonth(year, month);
}

bool ValidDate(TDateTime value) {
    static const double first = EncodeDate(MinYear, 1, 1);
    static const double afterLast = EncodeDate(MaxYear, 12, 31) + 1;
    if (!std::isfinite(value) || value < first || value >= afterLast)
        return false;
    const DateParts d = DecodeDate(value);
    return IsValidDate(d.Year, d.Month, d.Day);
}

int CurrentYear() { return DecodeDate(Now()).Year; }

int ExpandShortYear(int year) {
    if (year >= 100)
        return year;
    const int current = CurrentYear();
    const int century = current / 100 * 100;
    const int threshold = (current - century) + CenturyOffset - 100;
    return year > threshold ? year + century : year + century + 100;
}

int MonthFromName(const std::string& text, int length) {
    if (text.empty() || length <= 0)
        return 0;
    const std::u32string wanted = LowerText(Utf8ToUtf32(text)).substr(0, length);
    const auto& names = FormatSettings().LongMonthNames;
    for (size_t i = 0; i < names.size(); ++i)
        if (!names[i].empty() && LowerText(Utf8ToUtf32(names[i])).substr(0, length) == wanted)
            return static_cast<int>(i) + 1;
    return 0;
}

bool ScanDate(const std::string& text, const std::string& format, int& pos, int& year, int& month, int& day) {
    year = month = day = 0;
    const TFormatSettings& fs = FormatSettings();
    const char separator = fs.DateSeparator;
    TTextScanner sc(text, pos > 0 ? static_cast<size_t>(pos - 1) : 0);
    if (!fs.ShortDateFormat.empty() && fs.ShortDateFormat[0] == 'g')
        sc.ToNumber();  // past the era
    int n1 = 0, n2 = 0, n3 = 0;
    if (!ScanNumber(sc, n1) || !sc.Char(separator) || !ScanNumber(sc, n2))
        return false;
    const TDateOrder order = GetDateOrder(format);
    const size_t afterTwo = sc.Pos();
    // A separator with no number behind it ends a date without a year ("5.3.").
    if (sc.Char(separator) && ScanNumber(sc, n3)) {
        PlaceDateNumbers(order, n1, n2, n3, year, month, day);
        year = ExpandShortYear(year);
    } else {
        sc.SetPos(afterTwo);
        year = CurrentYear();
        PlaceDayAndMonth(order, n1, n2, month, day);
    }
    sc.Char(separator);
    sc.SkipBlanks();
    SkipFarEastTail(sc);
    pos = static_cast<int>(sc.Pos()) + 1;
    return IsValidDate(year, month, day) && sc.Pos() >= text.size();
}

int ExtractMask(const std::string& format, const std::string& text, char letter, int count, int blank,
                int fallback) {
    const char wanted = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    const std::u32string chars = Utf8ToUtf32(text);
    if (chars.size() > format.size())
        return fallback;
    const size_t limit = chars.size();
    const std::string upper = UpperAscii(format);
    const size_t start = upper.find(RepeatChar(wanted, count));
    if (count < 1 || start == std::string::npos)
        return fallback;
    std::u32string collected;
    for (size_t i = start; i < limit && upper[i] == wanted; ++i)
        if (chars[i] != U' ' && collected.size() < MostCollected)
            collected += chars[i];
    if (collected.empty())
        return blank;
    if (count > 1) {
        const int month = MonthFromName(Utf32ToUtf8(collected), static_cast<int>(collected.size()));
        return month != 0 ? month : -1;
    }
    int64_t value = 0;
    if (!TryStrToInt(Utf32ToUtf8(collected), value) || value < INT_MIN || value > INT_MAX)
        return -1;
    return static_cast<int>(value);
}

bool ScanDateStr(const std::string& format, const std::string& text, int& day, int& month, int& year) {
    month = ExtractMask(format, text, 'm', 3, -1, 0);
    if (month == 0)
        month = ExtractMask(format, text, 'm', 1, -1, 0);
    day = ExtractMask(format, text, 'd', 1, -1, 1);
    year = ExtractMask(format, text, 'y', 1, -1, CurrentYear());
    // A year left blank stays no year: expanded, -1 would pass as 1999.
    if (year >= 0)
        year = ExpandShortYear(year);
    if (IsValidDate(year, month, day))
        return true;
    int pos = 1;
    return ScanDate(text, format, pos, year, month, day);
}

bool TryStrToDateFmt(const std::string& format, const std::string& text, TDateTime& date) {
    if (text.empty()) {
        date = NullDate;
        return true;
    }
    int day = 0, month = 0, year = 0;
    return ScanDateStr(format, text, day, month, year) && TryEncodeDate(year, month, day, date);
}

TDateTime StrToDateFmt(const std::string& format, const std::string& text) {
    TDateTime date = NullDate;
    if (!TryStrToDateFmt(format, text, date))
        throw EConvertError("''" + text + "'' is not a valid date");
    return date;
}

TDateTime StrToDateFmtDef(const std::string& format, const std::string& text, TDateTime fallback) {
    TDateTime date = NullDate;
    return TryStrToDateFmt(format, text, date) ? date : std::trunc(fallback);
}

std::string DefDateFormat(bool fourDigits) {
    const std::string year = fourDigits ? "YYYY" : "YY";
    switch (GetDateOrder(FormatSettings().ShortDateFormat)) {
    case doMDY: return "MM/DD/" + year;
    case doYMD: return year + "/MM/DD";
    case doDMY: break;
    }
    return "DD/MM/" + year;
}

std::string DefDateMask(char blank, bool fourDigits) {
    std::string mask = "!99/99/99;1;";
    if (fourDigits)
        mask = GetDateOrder(FormatSettings().ShortDateFormat) == doYMD ? "!9999/99/99;1;" : "!99/99/9999;1;";
    return mask + blank;
}

} // namespace zeko
