#include "platform/report/ReportPrinting.h"

#include <QApplication>
#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>

#include <cmath>
#include <cstring>

#include "platform/Notifier.h"
#include "platform/TextFiles.h"
#include "platform/qt/FontTable.h"
#include "platform/qt/StandardDialogs.h"
#include "platform/report/ReportPreview.h"
#include "platform/FileErrorText.h"

namespace zeko {

namespace {

TReportPrinting* installed = nullptr;

constexpr double ReportPixelsPerInch = 96.0;

// The installed stand-in of the face, at the report's own size: a printed page has
// no cells that a screen size would have to fit.
QFont ReportQFont(const TReportFont& font) {
    const int pixels = static_cast<int>(std::lround(font.Size * ReportPixelsPerInch / 72.0));
    QFont f(QString::fromStdString(StandInFor(font.Name, pixels, font.Bold).Family));
    f.setPixelSize(pixels);
    f.setBold(font.Bold);
    return f;
}

int TextFlags(TAlignment alignment) {
    const int horizontal = alignment == taCenter ? Qt::AlignHCenter
                           : alignment == taRightJustify ? Qt::AlignRight
                                                        : Qt::AlignLeft;
    return horizontal | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine;
}

} // namespace

void PaintReportPage(QPainter& painter, const TReportPage& page) {
    for (const TPageItem& item : page.Items) {
        const QRect r(item.Bounds.Left, item.Bounds.Top, item.Bounds.Width(), item.Bounds.Height());
        switch (item.Kind) {
        case TPageItemKind::Text:
            painter.setFont(ReportQFont(item.Font));
            painter.setPen(Qt::black);
            painter.drawText(r, TextFlags(item.Alignment), QString::fromStdString(item.Text));
            break;
        case TPageItemKind::Line: {
            painter.setPen(QPen(Qt::black, item.PenWidth));
            if (r.width() >= r.height())
                painter.drawLine(r.left(), r.top(), r.right(), r.top());
            else
                painter.drawLine(r.left(), r.top(), r.left(), r.bottom());
            break;
        }
        case TPageItemKind::Frame:
            painter.setPen(QPen(Qt::black, item.PenWidth));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(r.adjusted(0, 0, -1, -1));
            break;
        }
    }
}

namespace {

void SetReportPaper(QPrinter& printer) {
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
}

void PaintReportPages(const TReportDocument& document, QPainter& painter, QPagedPaintDevice& device) {
    const double scale = device.logicalDpiX() / ReportPixelsPerInch;
    painter.scale(scale, scale);
    for (size_t i = 0; i < document.Pages.size(); ++i) {
        if (i > 0)
            device.newPage();
        PaintReportPage(painter, document.Pages[i]);
    }
}

} // namespace

std::optional<std::string> PaintOnPrinter(QPrinter& printer,
                                          const std::function<void(QPainter&, QPagedPaintDevice&)>& paint) {
    const std::string file = printer.outputFileName().toStdString();
    if (file.empty()) {
        // A printer of the system: its driver's word is all there is to go by.
        QPainter painter;
        if (!painter.begin(&printer))
            return std::optional<std::string>("");
        paint(painter, printer);
        if (!painter.end() || printer.printerState() == QPrinter::Error)
            return std::optional<std::string>("");
        return std::nullopt;
    }
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(printer.resolution());
        QPageLayout layout = printer.pageLayout();
        if (printer.fullPage())
            layout.setMode(QPageLayout::FullPageMode);
        writer.setPageLayout(layout);
        writer.setTitle(printer.docName());
        writer.setCreator(printer.creator());
        QPainter painter;
        if (!painter.begin(&writer))
            return file;
        paint(painter, writer);
        if (!painter.end())
            return file;
    }
    const QByteArray& bytes = pdf.data();
    if (bytes.isEmpty())
        return file;
    if (const int error = ReplaceChosenFile(file, bytes.constData(), static_cast<size_t>(bytes.size())); error != 0)
        return file + ": " + SystemErrorText(error);
    return std::nullopt;
}

std::string PrinterFailureText(const std::string& reason) {
    return reason.empty() ? std::string(PrinterNotValidText) : std::string(PrinterNotValidText) + "\n" + reason;
}

bool PrintReport(const TReportDocument& document, QPrinter& printer, std::string* failure) {
    SetReportPaper(printer);
    const std::optional<std::string> reason = PaintOnPrinter(
        printer, [&document](QPainter& painter, QPagedPaintDevice& device) { PaintReportPages(document, painter, device); });
    if (reason && failure)
        *failure = *reason;
    return !reason;
}

namespace {

// The preview's print, whoever presses its button: a page that cannot be printed
// is told, not passed over in silence.
bool PrintOrTell(const TReportDocument& document, QPrinter& printer) {
    std::string failure;
    if (PrintReport(document, printer, &failure))
        return true;
    MessageDlg(PrinterFailureText(failure), TMsgDlgType::mtError);
    return false;
}

} // namespace

QImage ReportPageImage(const TReportDocument& document, int index, double scale) {
    QImage image(static_cast<int>(document.PageWidth * scale), static_cast<int>(document.PageHeight * scale),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(scale, scale);
    PaintReportPage(painter, document.Pages.at(static_cast<size_t>(index)));
    return image;
}

TReportPrinting& CurrentReportPrinting() {
    static ScriptedReportPrinting fallback;
    return installed ? *installed : fallback;
}

void SetReportPrinting(TReportPrinting* printing) { installed = printing; }

bool QtReportPrinting::PrinterSetup(QPrinter& printer) {
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    FitPrintDialog(dialog);
    return dialog.exec() == QDialog::Accepted;
}

void QtReportPrinting::Preview(const TReportDocument& document, QPrinter& printer) {
    SetReportPaper(printer);
    TReportPreview preview(
        printer, [&document](QPainter& painter, QPagedPaintDevice& device) { PaintReportPages(document, painter, device); },
        [&document, &printer] { return PrintOrTell(document, printer); }, QApplication::activeWindow());
    preview.exec();
}

void ScriptedReportPrinting::Write(const std::string& line) {
    log_.push_back(line);
    if (sink_)
        sink_(line);
}

bool ScriptedReportPrinting::PrinterSetup(QPrinter& printer) {
    std::string file;
    if (!answers_.empty()) {
        file = answers_.front();
        answers_.pop_front();
    }
    Write("PrinterSetup -> " + (file.empty() ? std::string("cancel") : file));
    if (file.empty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(file));
    return true;
}

void ScriptedReportPrinting::Preview(const TReportDocument& document, QPrinter& printer) {
    const bool printed = PrintOrTell(document, printer);
    Write("Preview " + std::to_string(document.Pages.size()) + " pages -> " + printer.outputFileName().toStdString() +
          (printed ? "" : " failed"));
}

} // namespace zeko
