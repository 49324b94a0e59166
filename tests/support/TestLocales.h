#pragma once
// Locales of other languages for a test, made from the system's locale sources
// (localedef of the C library) into a folder of the test's own, since a machine
// left as installed has only the C locale. A program finds them through LOCPATH.
#include "support/TempDir.h"

#include <cstdlib>
#include <string>

namespace zeko::test {

class TestLocales {
public:
    // The locale `name` ("en_US", "cs_CZ") in UTF-8 under Folder(); false when it
    // could not be made (no locale sources, no localedef).
    bool Make(const std::string& name) const {
        const std::string command = "localedef -i " + name + " -f UTF-8 '" + dir_.Path() + name +
                                    ".UTF-8' > /dev/null 2>&1";
        return std::system(command.c_str()) == 0;
    }
    // The value for LOCPATH.
    std::string Folder() const { return dir_.Path(); }

private:
    TempDir dir_;
};

} // namespace zeko::test
