#include "platform/DateParsing.h"

#include "platform/Exceptions.h"
#include "platform/FormatSettings.h"
#include "platform/TextFiles.h"
#include "platform/TextScanner.h"

namespace zeko {
namespace {

constexpr int CenturyWindow = 50;

int ExpandTwoDigitYear(int year) {
    const int threshold = DecodeDate(Today()).Year - CenturyWindow;
    year += threshold / 100 * 100;
    if (year < threshold)
        year += 100;
    return year;
}

bool ScanDate(TTextScanner& sc, TDateTime& value) {
    const TFormatSettings& fs = FormatSettings();
    int n1, n2, n3 = 0, firstDigits = 0, yearDigits = 0;
    if (!sc.Number(n1, &firstDigits) || !sc.Char(fs.DateSeparator) || !sc.Number(n2))
        return false;
    int year = 0, month = 0, day = 0;
    const TDateOrder order = GetDateOrder(fs.ShortDateFormat);
    const size_t afterTwo = sc.Pos();
    if (sc.Char(fs.DateSeparator) && sc.Number(n3, &yearDigits)) {
        PlaceDateNumbers(order, n1, n2, n3, year, month, day);
        if (order == doYMD)
            yearDigits = firstDigits;
        if (yearDigits <= 2)
            year = ExpandTwoDigitYear(year);
        sc.Char(fs.DateSeparator);
    } else {
        sc.SetPos(afterTwo);
        sc.Char(fs.DateSeparator);  // "15.3." ends with a separator
        year = DecodeDate(Today()).Year;
        PlaceDayAndMonth(order, n1, n2, month, day);
    }
    return TryEncodeDate(year, month, day, value);
}

bool ScanTime(TTextScanner& sc, TDateTime& value) {
    const TFormatSettings& fs = FormatSettings();
    int hour, minute = 0, second = 0, msec = 0;
    if (!sc.Number(hour))
        return false;
    bool hasMinutes = false;
    if (sc.Char(fs.TimeSeparator)) {
        if (!sc.Number(minute))
            return false;
        hasMinutes = true;
        if (sc.Char(fs.TimeSeparator)) {
            if (!sc.Number(second))
                return false;
            if (sc.Char(fs.DecimalSeparator)) {
                int digits = 0;
                if (!sc.Number(msec, &digits) || digits > 3)
                    return false;
                for (; digits < 3; ++digits)
                    msec *= 10;
            }
        }
    }
    int half = -1;  // 0 am, 1 pm
    if (sc.Word(fs.TimeAMString) || sc.Word("AM"))
        half = 0;
    else if (sc.Word(fs.TimePMString) || sc.Word("PM"))
        half = 1;
    if (!hasMinutes && half < 0)
        return false;
    if (half >= 0) {
        if (hour > 12 || hour == 0)
            return false;
        hour = hour % 12 + (half == 1 ? 12 : 0);
    }
    return TryEncodeTime(hour, minute, second, msec, value);
}

// The whole text must be what `scan` reads.
bool ScanWhole(const std::string& text, bool (*scan)(TTextScanner&, TDateTime&), TDateTime& value) {
    TTextScanner sc(text);
    TDateTime read;
    if (!scan(sc, read) || !sc.AtEnd())
        return false;
    value = read;
    return true;
}

TDateTime ConvertOrRaise(bool (*tryConvert)(const std::string&, TDateTime&),
                         const std::string& text, const char* what) {
    TDateTime v;
    if (!tryConvert(text, v))
        throw EConvertError("'" + text + "' is not a valid " + what);
    return v;
}

} // namespace

TDateOrder GetDateOrder(const std::string& format) {
    for (char ch : format) {
        switch (LowerAscii(ch)) {
        case 'd': return doDMY;
        case 'm': return doMDY;
        case 'y': case 'e': return doYMD;
        default: break;
        }
    }
    return doDMY;
}

void PlaceDateNumbers(TDateOrder order, int n1, int n2, int n3, int& year, int& month, int& day) {
    switch (order) {
    case doMDY: month = n1; day = n2; year = n3; break;
    case doDMY: day = n1; month = n2; year = n3; break;
    case doYMD: year = n1; month = n2; day = n3; break;
    }
}

void PlaceDayAndMonth(TDateOrder order, int n1, int n2, int& month, int& day) {
    month = order == doDMY ? n2 : n1;
    day = order == doDMY ? n1 : n2;
}

bool TryStrToDate(const std::string& text, TDateTime& value) {
    return ScanWhole(text, ScanDate, value);
}

bool TryStrToTime(const std::string& text, TDateTime& value) {
    return ScanWhole(text, ScanTime, value);
}

bool TryStrToDateTime(const std::string& text, TDateTime& value) {
    TTextScanner sc(text);
    TDateTime date = 0, time = 0;
    if (ScanDate(sc, date)) {
        if (!sc.AtEnd() && (!ScanTime(sc, time) || !sc.AtEnd()))
            return false;
    } else if (!ScanWhole(text, ScanTime, time)) {
        return false;
    }
    value = date + time;
    return true;
}

TDateTime StrToDate(const std::string& text) {
    return ConvertOrRaise(TryStrToDate, text, "date");
}

TDateTime StrToTime(const std::string& text) {
    return ConvertOrRaise(TryStrToTime, text, "time");
}

TDateTime StrToDateTime(const std::string& text) {
    return ConvertOrRaise(TryStrToDateTime, text, "date and time");
}

} // namespace zeko
