#pragma once
// Painting a prepared report and the two dialogs around printing: the printer
// set-up (a printer of the system, or a PDF file) and the preview, which prints to
// the printer chosen in the set-up. The program binds the dialogs to Qt's
// (QtReportPrinting); tests and the test automation to ScriptedReportPrinting,
// which prints into a PDF file without a dialog.
#include <QImage>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/report/ReportPage.h"

class QPainter;
class QPagedPaintDevice;
class QPrinter;

namespace zeko {

// What the user is told when the chosen printer (or PDF file) takes no page.
constexpr const char* PrinterNotValidText = "Printer selected is not valid";

// Pages onto the printer: `paint` gets a painter begun on the device and the device
// itself, for its page breaks. A PDF file is made whole in memory and only then
// written, beside an earlier file of that name and renamed over it, so that a file
// that cannot be written (a full disk, a folder in its place) is found and leaves
// the earlier file as it was. Answers why the pages did not get there, nullopt when
// they did.
std::optional<std::string> PaintOnPrinter(QPrinter& printer,
                                          const std::function<void(QPainter&, QPagedPaintDevice&)>& paint);
// PrinterNotValidText, and on a line of its own the reason when there is one.
std::string PrinterFailureText(const std::string& reason);

// Page `index` into a painter whose coordinates are report pixels.
void PaintReportPage(QPainter& painter, const TReportPage& page);
// Every page on A4 portrait paper, the whole sheet addressed; false (with the reason
// in `failure` when given) when the printer cannot take the document.
bool PrintReport(const TReportDocument& document, QPrinter& printer, std::string* failure = nullptr);
// A page as a picture, `scale` pixels to the report pixel.
QImage ReportPageImage(const TReportDocument& document, int index, double scale = 1.0);

class TReportPrinting {
public:
    virtual ~TReportPrinting() = default;
    // False when the user cancels.
    virtual bool PrinterSetup(QPrinter& printer) = 0;
    // Returns when the preview is closed; the user may have printed from it, on
    // `printer` as the set-up left it.
    virtual void Preview(const TReportDocument& document, QPrinter& printer) = 0;
};

// The program-wide service; until one is installed a ScriptedReportPrinting
// without a script serves (every set-up counts as cancelled).
TReportPrinting& CurrentReportPrinting();
void SetReportPrinting(TReportPrinting* printing);

class QtReportPrinting : public TReportPrinting {
public:
    bool PrinterSetup(QPrinter& printer) override;
    void Preview(const TReportDocument& document, QPrinter& printer) override;
};

// Each set-up takes the next answer: a PDF file to print into, or a cancel (also
// when none is left); the preview prints at once, as a user pressing its print
// button. Log lines: "PrinterSetup -> <file>|cancel", "Preview <n> pages -> <file>"
// (followed by " failed" when the file could not be written). A print that fails
// tells the user PrinterFailureText, here as from the preview of the program.
class ScriptedReportPrinting : public TReportPrinting {
public:
    void PrintToPdf(std::string fileName) { answers_.push_back(std::move(fileName)); }
    void Cancel() { answers_.push_back({}); }
    void SetLogSink(std::function<void(const std::string&)> sink) { sink_ = std::move(sink); }
    const std::vector<std::string>& Log() const { return log_; }

    bool PrinterSetup(QPrinter& printer) override;
    void Preview(const TReportDocument& document, QPrinter& printer) override;

private:
    void Write(const std::string& line);
    std::deque<std::string> answers_;
    std::vector<std::string> log_;
    std::function<void(const std::string&)> sink_;
};

} // namespace zeko
