#include "platform/FormatPatterns.h"

#include "platform/DecimalDigits.h"
#include "platform/Exceptions.h"
#include "platform/FormatSettings.h"
#include "platform/TextFiles.h"

#include <cmath>
#include <vector>

namespace zeko {
namespace {

// ---- numbers ----

std::vector<std::string> SplitSections(const std::string& pattern) {
    std::vector<std::string> sections(1);
    char quote = 0;
    for (char ch : pattern) {
        if (quote) {
            if (ch == quote)
                quote = 0;
        } else if (ch == '"' || ch == '\'') {
            quote = ch;
        } else if (ch == ';') {
            if (sections.size() == 3)
                break;
            sections.emplace_back();
            continue;
        }
        sections.back() += ch;
    }
    return sections;
}

// A pattern character, and whether it stood inside quotes (then it is text).
struct PatternChar {
    char ch;
    bool literal;
};
using Pattern = std::vector<PatternChar>;

Pattern Tokenize(const std::string& section) {
    Pattern p;
    char quote = 0;
    for (char ch : section) {
        if (quote) {
            if (ch == quote)
                quote = 0;
            else
                p.push_back({ch, true});
        } else if (ch == '"' || ch == '\'') {
            quote = ch;
        } else {
            p.push_back({ch, false});
        }
    }
    return p;
}

bool IsPlaceholder(const PatternChar& c) {
    return !c.literal && (c.ch == '0' || c.ch == '#');
}

bool IsExponentAt(const Pattern& p, size_t i) {
    return !p[i].literal && (p[i].ch == 'E' || p[i].ch == 'e') && i + 1 < p.size() &&
           !p[i + 1].literal && (p[i + 1].ch == '+' || p[i + 1].ch == '-');
}

// What a section asks for, gathered before any digit is written.
struct NumberLayout {
    int intPlaces = 0;        // 0 and # before the decimal point
    int intFirstZero = -1;    // index among them of the first 0
    int fracPlaces = 0;
    int fracLastZero = -1;    // index among the fraction places of the last 0
    bool thousands = false;
    bool scientific = false;
};

NumberLayout Analyse(const Pattern& p) {
    NumberLayout l;
    bool afterPoint = false;
    for (size_t i = 0; i < p.size(); ++i) {
        const char ch = p[i].ch;
        if (p[i].literal)
            continue;
        if (IsPlaceholder(p[i])) {
            if (afterPoint) {
                if (ch == '0')
                    l.fracLastZero = l.fracPlaces;
                ++l.fracPlaces;
            } else {
                if (ch == '0' && l.intFirstZero < 0)
                    l.intFirstZero = l.intPlaces;
                ++l.intPlaces;
            }
        } else if (ch == '.') {
            afterPoint = true;
        } else if (ch == ',') {
            l.thousands = true;
        } else if (IsExponentAt(p, i)) {
            l.scientific = true;
            break;  // what follows are exponent digits and text
        }
    }
    return l;
}

// The digits a section shows: integer part, fraction part (exactly fracPlaces long)
// and, in scientific notation, the exponent.
struct NumberDigits {
    std::string intDigits;
    std::string fracDigits;
    int exponent = 0;
    bool zero = true;
};

NumberDigits Digitise(double magnitude, const NumberLayout& l) {
    Decimal d = ToDecimal(magnitude);
    NumberDigits n;
    if (l.scientific) {
        const int intCount = l.intPlaces > 0 ? l.intPlaces : 1;
        DropBinaryError(d, intCount + l.fracPlaces);
        RoundDigits(d, intCount + l.fracPlaces);
        n.zero = d.digits.empty();
        std::string all = d.digits;
        all.resize(intCount + l.fracPlaces, '0');
        n.intDigits = all.substr(0, intCount);
        n.fracDigits = all.substr(intCount);
        n.exponent = n.zero ? 0 : d.exponent - intCount;
        return n;
    }
    DropBinaryError(d, d.exponent + l.fracPlaces);
    RoundDigits(d, d.exponent + l.fracPlaces);
    n.zero = d.digits.empty();
    if (!n.zero) {
        if (d.exponent > 0) {
            n.intDigits = d.digits.substr(0, std::min<size_t>(d.exponent, d.digits.size()));
            n.intDigits.resize(d.exponent, '0');
            if (static_cast<int>(d.digits.size()) > d.exponent)
                n.fracDigits = d.digits.substr(d.exponent);
        } else {
            n.fracDigits = std::string(-d.exponent, '0') + d.digits;
        }
    }
    n.fracDigits.resize(l.fracPlaces, '0');
    return n;
}

std::string ExponentText(int exponent, bool alwaysSign, int minDigits) {
    std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
    if (static_cast<int>(digits.size()) < minDigits)
        digits.insert(0, minDigits - digits.size(), '0');
    if (exponent < 0)
        return "-" + digits;
    return alwaysSign ? "+" + digits : digits;
}

std::string Render(const Pattern& p, const NumberLayout& l, const NumberDigits& n) {
    const TFormatSettings& fs = FormatSettings();
    std::string intDigits = n.intDigits;
    const int minInt = l.intFirstZero < 0 ? 0 : l.intPlaces - l.intFirstZero;
    if (static_cast<int>(intDigits.size()) < minInt)
        intDigits.insert(0, minInt - intDigits.size(), '0');
    const int len = static_cast<int>(intDigits.size());
    // Digit at position q from the right, with a thousand separator behind it.
    auto digitAt = [&](int q) {
        std::string out(1, intDigits[len - 1 - q]);
        if (l.thousands && q > 0 && q % 3 == 0)
            out += fs.ThousandSeparator;
        return out;
    };
    int significant = 0;
    for (int j = 0; j < l.fracPlaces; ++j)
        if (n.fracDigits[j] != '0')
            significant = j + 1;
    const int fracShown = std::max(significant, l.fracLastZero + 1);

    std::string out;
    int intIndex = 0, fracIndex = 0;
    bool afterPoint = false, exponentDone = false;
    for (size_t i = 0; i < p.size(); ++i) {
        const char ch = p[i].ch;
        if (p[i].literal || exponentDone) {
            out += ch;  // quoted text, and everything after the exponent
        } else if (IsPlaceholder(p[i]) && !afterPoint) {
            const int q = l.intPlaces - 1 - intIndex;  // position from the right
            if (intIndex == 0)
                for (int extra = len - 1; extra > q; --extra)
                    out += digitAt(extra);
            if (q < len)
                out += digitAt(q);
            ++intIndex;
        } else if (IsPlaceholder(p[i])) {
            if (fracIndex < fracShown)
                out += n.fracDigits[fracIndex];
            ++fracIndex;
        } else if (ch == '.') {
            if (!afterPoint) {
                if (l.intPlaces == 0)  // no integer places: the digits go here
                    for (int q = len - 1; q >= 0; --q)
                        out += digitAt(q);
                if (fracShown > 0)
                    out += fs.DecimalSeparator;
                afterPoint = true;
            }
        } else if (ch == ',') {
            // thousand separators are placed with the digits
        } else if (IsExponentAt(p, i) && l.scientific) {
            const bool alwaysSign = p[i + 1].ch == '+';
            size_t j = i + 2;
            int zeros = 0;
            while (j < p.size() && !p[j].literal && p[j].ch == '0' && zeros < 4) {
                ++zeros;
                ++j;
            }
            out += ch;
            out += ExponentText(n.exponent, alwaysSign, zeros);
            i = j - 1;
            exponentDone = true;
        } else {
            out += ch;
        }
    }
    return out;
}

std::string FormatSection(const std::string& section, double magnitude) {
    const Pattern pattern = Tokenize(section);
    const NumberLayout layout = Analyse(pattern);
    return Render(pattern, layout, Digitise(magnitude, layout));
}

// ---- dates ----

struct DateTimeParts {
    DateParts date;
    TimeParts time;
    int dayOfWeek = 1;  // 1 = Sunday
    bool midnight = true;
};

std::string Padded(int value, int width) {
    std::string s = std::to_string(value);
    if (static_cast<int>(s.size()) < width)
        s.insert(0, width - s.size(), '0');
    return s;
}

// True when the pattern holds an am/pm, a/p or ampm specifier outside quotes.
bool UsesTwelveHours(const std::string& s) {
    char quote = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (quote) {
            if (s[i] == quote)
                quote = 0;
        } else if (s[i] == '"' || s[i] == '\'') {
            quote = s[i];
        } else if (MatchesNoCaseAt(s, i, "am/pm") || MatchesNoCaseAt(s, i, "a/p") ||
                   MatchesNoCaseAt(s, i, "ampm")) {
            return true;
        }
    }
    return false;
}

void AppendDateTime(std::string& out, const std::string& s, const DateTimeParts& p, int depth) {
    if (depth > 2)
        return;  // a locale format that names itself
    const TFormatSettings& fs = FormatSettings();
    const bool twelve = UsesTwelveHours(s);
    const bool pm = p.time.Hour >= 12;
    char lastToken = 0;
    for (size_t i = 0; i < s.size();) {
        const char ch = s[i];
        const char lower = LowerAscii(ch);
        if (ch == '"' || ch == '\'') {
            size_t end = s.find(ch, i + 1);
            if (end == std::string::npos)
                end = s.size();
            out += s.substr(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        size_t run = 1;
        while (i + run < s.size() && LowerAscii(s[i + run]) == lower)
            ++run;
        switch (lower) {
        case 'c':
            AppendDateTime(out, fs.ShortDateFormat, p, depth + 1);
            if (!p.midnight) {
                out += ' ';
                AppendDateTime(out, fs.LongTimeFormat, p, depth + 1);
            }
            i += 1;
            lastToken = 'c';
            continue;
        case 'd':
            if (run == 1 || run == 2)
                out += Padded(p.date.Day, static_cast<int>(run));
            else if (run == 3)
                out += fs.ShortDayNames[p.dayOfWeek - 1];
            else if (run == 4)
                out += fs.LongDayNames[p.dayOfWeek - 1];
            else if (run == 5)
                AppendDateTime(out, fs.ShortDateFormat, p, depth + 1);
            else
                AppendDateTime(out, fs.LongDateFormat, p, depth + 1);
            run = std::min<size_t>(run, 6);
            break;
        case 'm':
            if (lastToken == 'h' && run <= 2) {
                out += Padded(p.time.Minute, static_cast<int>(run));
            } else if (run <= 2) {
                out += Padded(p.date.Month, static_cast<int>(run));
            } else if (run == 3) {
                out += fs.ShortMonthNames[p.date.Month - 1];
            } else {
                out += fs.LongMonthNames[p.date.Month - 1];
                run = 4;
            }
            break;
        case 'y':
            if (run <= 2)
                out += Padded(p.date.Year % 100, 2);
            else
                out += Padded(p.date.Year, 4);
            run = std::min<size_t>(run, 4);
            break;
        case 'h': {
            run = std::min<size_t>(run, 2);
            int hour = p.time.Hour;
            if (twelve) {
                hour %= 12;
                if (hour == 0)
                    hour = 12;
            }
            out += Padded(hour, static_cast<int>(run));
            break;
        }
        case 'n':
            run = std::min<size_t>(run, 2);
            out += Padded(p.time.Minute, static_cast<int>(run));
            break;
        case 's':
            run = std::min<size_t>(run, 2);
            out += Padded(p.time.Second, static_cast<int>(run));
            break;
        case 'z':
            run = run >= 3 ? 3 : 1;
            out += Padded(p.time.MSec, static_cast<int>(run));
            break;
        case 't':
            run = std::min<size_t>(run, 2);
            AppendDateTime(out, run == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, p, depth + 1);
            break;
        case 'a':
            if (MatchesNoCaseAt(s, i, "am/pm")) {
                out += pm ? s.substr(i + 3, 2) : s.substr(i, 2);
                run = 5;
            } else if (MatchesNoCaseAt(s, i, "a/p")) {
                out += pm ? s[i + 2] : s[i];
                run = 3;
            } else if (MatchesNoCaseAt(s, i, "ampm")) {
                out += pm ? fs.TimePMString : fs.TimeAMString;
                run = 4;
            } else {
                out += ch;
                run = 1;
            }
            i += run;
            continue;  // not a token for the minute rule
        case '/':
            out += fs.DateSeparator;
            i += 1;
            continue;
        case ':':
            out += fs.TimeSeparator;
            i += 1;
            continue;
        default:
            out += ch;
            i += 1;
            continue;
        }
        lastToken = lower;
        i += run;
    }
}

DateTimeParts SplitDateTime(TDateTime value) {
    if (!std::isfinite(value) || value < EncodeDate(MinYear, 1, 1) ||
        value >= EncodeDate(MaxYear, 12, 31) + 1)
        throw EConvertError("Invalid argument to date encode");
    DateTimeParts p;
    p.date = DecodeDate(value);
    p.time = DecodeTime(value);
    p.dayOfWeek = DayOfWeek(value);
    p.midnight = p.time.Hour == 0 && p.time.Minute == 0 && p.time.Second == 0 && p.time.MSec == 0;
    return p;
}

} // namespace

std::string FormatFloat(const std::string& pattern, double value) {
    if (!std::isfinite(value))
        return FloatToStr(value);
    const std::vector<std::string> sections = SplitSections(pattern);
    if (sections[0].empty())
        return FloatToStr(value);
    const bool haveNegative = sections.size() > 1 && !sections[1].empty();
    const bool haveZero = sections.size() > 2 && !sections[2].empty();
    const double magnitude = std::fabs(value);
    const Pattern main = Tokenize((value < 0 && haveNegative) ? sections[1] : sections[0]);
    const NumberLayout layout = Analyse(main);
    const NumberDigits digits = Digitise(magnitude, layout);
    if (digits.zero) {
        // Rounded to nothing: the zero section, else no minus sign.
        if (haveZero)
            return FormatSection(sections[2], 0);
        return Render(main, layout, digits);
    }
    std::string text = Render(main, layout, digits);
    return value < 0 && !haveNegative ? "-" + text : text;
}

std::string FormatDateTime(const std::string& pattern, TDateTime value) {
    const DateTimeParts parts = SplitDateTime(value);
    std::string out;
    AppendDateTime(out, pattern.empty() ? std::string("c") : pattern, parts, 0);
    return out;
}

std::string DateToStr(TDateTime value) {
    return FormatDateTime(FormatSettings().ShortDateFormat, value);
}

std::string TimeToStr(TDateTime value) {
    return FormatDateTime(FormatSettings().LongTimeFormat, value);
}

std::string DateTimeToStr(TDateTime value) {
    return FormatDateTime("c", value);
}

} // namespace zeko
