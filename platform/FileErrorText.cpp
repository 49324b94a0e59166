#include "platform/FileErrorText.h"

#include <cerrno>

namespace zeko {

std::string ReadFailureText(int error) {
    switch (error) {
    case EISDIR: return "Je to složka, ne soubor.";
    case ENOENT:
    case ENOTDIR: return "Soubor neexistuje.";
    case EACCES:
    case EPERM: return "Ke čtení souboru chybí oprávnění.";
    default: return "Chyba při čtení souboru.";
    }
}

} // namespace zeko
