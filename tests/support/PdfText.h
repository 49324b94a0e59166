#pragma once
// The text of a PDF file as pdftotext reads it (poppler-utils), its error output
// included, so that a test that does not find its text shows why.
#include <string>

namespace zeko::test {

// With `layout` the words keep their places on the line (-layout).
std::string PdfText(const std::string& file, bool layout = true);

} // namespace zeko::test
