#include "core/TextHelpers.h"

#include "core/Calendar.h"
#include "platform/FormatPatterns.h"
#include "platform/FormatSettings.h"

#include <algorithm>
#include <cstdio>

namespace zeko {
std::string TwoDigits(int value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.2d", value);
    return buf;
}

std::string MinutesToHHMM(int minutes) {
    if (minutes > 1440)
        minutes -= 1440;
    return TwoDigits(minutes / 60) + ":" + TwoDigits(minutes % 60);
}

void SplitSeconds(int seconds, int& hours, int& minutes, int& secs) {
    hours = seconds / 3600;
    minutes = seconds % 3600 / 60;
    secs = seconds % 60;
    if (hours > 23)
        hours -= 24;
}

std::string SecondsToText(int seconds, bool showHours, bool showMinutes, bool showSeconds) {
    int h, m, s;
    SplitSeconds(seconds, h, m, s);
    std::string text;
    auto add = [&text](int part) {
        if (!text.empty())
            text += ':';
        text += TwoDigits(part);
    };
    if (showHours)
        add(h);
    if (showMinutes)
        add(m);
    if (showSeconds)
        add(s);
    return text;
}

std::string DateToText(int day, int month, int year2) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2d.%.2d.%.4d", day, month, ExpandYear(year2));
    return buf;
}

uint16_t ParseHHMM(const std::string& text, bool& error) {
    error = false;
    const size_t colon = text.find(':');
    if (colon == std::string::npos)
        return 0;
    int64_t hours, minutes;
    if (!TryStrToInt(text.substr(0, colon), hours) || !TryStrToInt(text.substr(colon + 1), minutes)) {
        error = true;
        return 0;
    }
    return static_cast<uint16_t>(hours * 60 + minutes);
}

double StrToFloatClamped(const std::string& text, double minimum, double maximum, double fallback) {
    double value;
    if (!TryStrToFloat(text, value))
        return fallback;
    return std::min(std::max(value, minimum), maximum);
}

std::string StampedLine(const std::string& text) {
    return DateTimeToStr(Now()) + "> " + text;
}

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

std::string ReplaceChar(const std::string& text, char oldChar, char newChar) {
    std::string out = text;
    std::replace(out.begin(), out.end(), oldChar, newChar);
    return out;
}

std::string RemoveChar(const std::string& text, char ch) {
    std::string out = text;
    out.erase(std::remove(out.begin(), out.end(), ch), out.end());
    return out;
}

std::string Joined(const std::vector<std::string>& texts, const std::string& separator) {
    std::string out;
    for (size_t i = 0; i < texts.size(); ++i)
        out += (i > 0 ? separator : "") + texts[i];
    return out;
}

} // namespace zeko
