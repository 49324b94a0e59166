#pragma once
// What a failed file operation tells the user, in Czech.
#include <string>

namespace zeko {

// The reason of a failed operation, as the system's error texts name it, for the
// place where such a text stands in a message ("...: <reason>"): the reasons the
// user meets (no space, a disk only for reading, no permission, a missing file or
// folder, a folder where the file should be and the other way round, an I/O error)
// in Czech; the system's own text for the rare rest. Capitalised, without a full stop.
std::string SystemErrorText(int error);

// A file that could not be read: the errno of the failed open or read in one short
// sentence.
std::string ReadFailureText(int error);

} // namespace zeko
