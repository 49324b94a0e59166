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

std::vector<PdfWord> PdfWords(const std::string& file) {
    // pdftotext -bbox writes each word as
    // <word xMin="1.0" yMin="2.0" xMax="3.0" yMax="4.0">text</word>
    const std::string command = "pdftotext -bbox -f 1 -l 1 '" + file + "' - 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    std::vector<PdfWord> words;
    char line[4096];
    while (pipe && std::fgets(line, sizeof line, pipe.get())) {
        PdfWord w;
        char text[2048] = {};
        if (std::sscanf(line, " <word xMin=\"%lf\" yMin=\"%lf\" xMax=\"%lf\" yMax=\"%lf\">%2047[^<]", &w.Left, &w.Top,
                        &w.Right, &w.Bottom, text) == 5) {
            w.Text = text;
            words.push_back(w);
        }
    }
    return words;
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
