#include "support/PdfText.h"

#include <cstdio>
#include <memory>

namespace zeko::test {

std::string PdfText(const std::string& file, bool layout) {
    const std::string command = std::string("pdftotext ") + (layout ? "-layout " : "") + "'" + file + "' - 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    std::string text;
    char buffer[4096];
    for (size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;)
        text.append(buffer, n);
    return text;
}

} // namespace zeko::test
