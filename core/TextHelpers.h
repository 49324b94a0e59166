#pragma once
// Small text helpers of the tables, dialogs and status lines: times of day as
// two-digit parts, dates of the record viewer, clamped numbers of edit fields.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zeko {

// Minutes of the day as "hh:mm"; a value above 1440 loses 1440 once (1440 stays
// "24:00", 1441 gives "00:01").
// "%.2d": at least two digits, "07", "24", "123".
std::string TwoDigits(int value);
std::string MinutesToHHMM(int minutes);
// Hours, minutes and seconds of a count of seconds; hours above 23 lose 24 once.
void SplitSeconds(int seconds, int& hours, int& minutes, int& secs);
// The chosen parts of SplitSeconds, two digits each, joined by ":".
std::string SecondsToText(int seconds, bool showHours, bool showMinutes, bool showSeconds);
// "dd.mm.yyyy" of a day, month and two-digit year.
std::string DateToText(int day, int month, int year2);
// "hh:mm" to minutes of the day; 0 without a ":"; a part that is no number sets
// `error` and gives 0.
uint16_t ParseHHMM(const std::string& text, bool& error);
// The number in `text` (decimal separator of the locale) clamped into
// [minimum, maximum]; `fallback` when the text is no number.
double StrToFloatClamped(const std::string& text, double minimum, double maximum, double fallback);

// A status-bar line: the current date and time in the session's format, "> ", the
// text.
std::string StampedLine(const std::string& text);

// The first `characters` characters of a UTF-8 text (names held to a length).
std::string LimitLength(const std::string& text, size_t characters);

std::string ReplaceChar(const std::string& text, char oldChar, char newChar);
std::string RemoveChar(const std::string& text, char ch);
// The texts one after another, the separator between each two ("a, b, c").
std::string Joined(const std::vector<std::string>& texts, const std::string& separator);

} // namespace zeko
