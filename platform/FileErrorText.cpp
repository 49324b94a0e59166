#include "platform/FileErrorText.h"

#include <cerrno>
#include <cstring>

namespace zeko {

std::string SystemErrorText(int error) {
    switch (error) {
    case ENOSPC: return "Na disku není volné místo";
    case EDQUOT: return "Na disku je vyčerpáno místo vyhrazené uživateli";
    case EROFS: return "Disk je jen pro čtení";
    case EACCES:
    case EPERM: return "Chybí oprávnění";
    case ENOENT: return "Soubor nebo složka neexistuje";
    case EISDIR: return "Na místě souboru je složka";
    case ENOTDIR: return "Na místě složky je soubor";
    case EIO: return "Chyba čtení nebo zápisu na disku nebo zařízení";
    case EFBIG: return "Soubor je příliš velký";
    default: return std::strerror(error);
    }
}

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
