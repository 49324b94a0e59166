#include "support/PdfText.h"

#include <cstdio>
#include <cstdlib>
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

bool PdfPagePicture(const std::string& pdf, const std::string& png, int dpi) {
    std::string root = png;
    if (root.size() > 4 && root.compare(root.size() - 4, 4, ".png") == 0)
        root.resize(root.size() - 4);  // pdftoppm adds the extension itself
    const std::string command = "pdftoppm -png -singlefile -f 1 -r " + std::to_string(dpi) + " '" + pdf + "' '" +
                                root + "' > /dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

} // namespace zeko::test
