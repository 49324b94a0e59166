#pragma once
// The text of a PDF file as pdftotext reads it (poppler-utils), its error output
// included, so that a test that does not find its text shows why; and a page of it
// as a picture for a person to look at (pdftoppm).
#include <string>
#include <vector>

namespace zeko::test {

// With `layout` the words keep their places on the line (-layout).
std::string PdfText(const std::string& file, bool layout = true);
// A word of the first page and the box it takes, in points from the top left.
struct PdfWord {
    std::string Text;
    double Left = 0, Top = 0, Right = 0, Bottom = 0;
};
std::vector<PdfWord> PdfWords(const std::string& file);
// The first page as a PNG file of `dpi` pixels to the inch; false when it could
// not be made.
bool PdfPagePicture(const std::string& pdf, const std::string& png, int dpi = 100);

} // namespace zeko::test
