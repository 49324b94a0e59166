#pragma once
// What a file that could not be read tells the user, in Czech: the errno of the
// failed open or read in one short sentence.
#include <string>

namespace zeko {

std::string ReadFailureText(int error);

} // namespace zeko
