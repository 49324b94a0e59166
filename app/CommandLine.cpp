#include "app/CommandLine.h"

#include "core/ProgramGlobals.h"
#include "platform/FileErrorText.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace zeko {

std::string VersionText() { return std::string("zeko ") + BuildVersion + "\n"; }

std::string UsageText(bool czech) {
    if (czech)
        return "Použití: zeko [VOLBA]\n"
               "Program k regulátoru kompenzace jalového výkonu: aktuální hodnoty, načítání\n"
               "záznamů, denní, měsíční a roční tabulky, graf dne a nastavení regulátoru.\n"
               "\n"
               "  --help       vypíše tuto nápovědu a skončí\n"
               "  --version    vypíše verzi programu a skončí\n"
               "\n"
               "Sériový port \"Com n\" je zařízení z proměnné ZEKO_COMn, jinak /dev/ttyS<n-1>.\n"
               "Data programu jsou ve složce $ZEKO_PROGRAM_DIR, jinak ~/.local/share/zeko.\n"
               "Podrobnosti: man zeko\n";
    return "Usage: zeko [OPTION]\n"
           "The PC program of a reactive-power compensation regulator: live values, record\n"
           "download, day, month and year tables, the day graph and the regulator's\n"
           "settings. Its windows are in Czech.\n"
           "\n"
           "  --help       show this help and exit\n"
           "  --version    show the version and exit\n"
           "\n"
           "The port \"Com n\" is the device in ZEKO_COMn, else /dev/ttyS<n-1>.\n"
           "The program keeps its data in $ZEKO_PROGRAM_DIR, else ~/.local/share/zeko.\n"
           "More: man zeko\n";
}

bool CzechMessages() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != 0)
            return std::string_view(value).substr(0, 2) == "cs";
    }
    return false;
}

std::optional<int> AnswerCommandLine(int argc, char** argv, std::FILE* out, std::FILE* err) {
    std::string text;
    for (int i = 1; i < argc && text.empty(); ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--")
            break;
        if (arg == "--help")
            text = UsageText(CzechMessages());
        else if (arg == "--version")
            text = VersionText();
    }
    if (text.empty())
        return std::nullopt;
    errno = 0;
    if (std::fputs(text.c_str(), out) >= 0 && std::fflush(out) == 0)
        return 0;
    const int error = errno != 0 ? errno : EIO;
    const std::string reason = CzechMessages() ? SystemErrorText(error) : std::strerror(error);
    std::fprintf(err, "zeko: %s\n", reason.c_str());
    return 1;
}

} // namespace zeko
