#pragma once
// The options the program answers on its command line without starting, as a
// Debian command does: --help (a short usage) and --version. They are looked at
// before anything else is made: no display, no port, no file. The texts are Czech
// when the locale for messages is Czech, else English, as the manual page is.
// Every other argument is left to the windowing toolkit.
#include <cstdio>
#include <optional>
#include <string>

namespace zeko {

// "zeko 0.90beta14".
std::string VersionText();
// The usage, Czech or English.
std::string UsageText(bool czech);
// Whether the locale for messages (LC_ALL, else LC_MESSAGES, else LANG) is Czech.
bool CzechMessages();

// With --help or --version among the arguments: writes the text to `out` and
// answers the exit status (0, or 1 when the text could not be written, which is
// said on `err`). Otherwise nothing: the program starts.
std::optional<int> AnswerCommandLine(int argc, char** argv, std::FILE* out, std::FILE* err);

} // namespace zeko
