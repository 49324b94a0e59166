#pragma once
// The print preview: the pages as the printer chosen in the printer set-up will
// have them, with page and zoom buttons, and "Tisk", which prints on that printer
// (or into that PDF file) at once. The printer was asked for before the preview, so
// the preview asks for none again.
#include <QDialog>

#include <functional>

class QLabel;
class QPainter;
class QPagedPaintDevice;
class QPrintPreviewWidget;
class QPrinter;

namespace zeko {

class TReportPreview : public QDialog {
    Q_OBJECT
public:
    // `paint` draws the pages for the preview; `print` prints them on the printer
    // and answers whether they got there (it tells the user when not), which closes
    // the preview.
    TReportPreview(QPrinter& printer, std::function<void(QPainter&, QPagedPaintDevice&)> paint,
                   std::function<bool()> print, QWidget* parent = nullptr);

    QPrintPreviewWidget* Pages() const { return pages_; }
    // What "Tisk" does.
    void PrintPages();

private:
    void ShowPageNumber();

    std::function<void(QPainter&, QPagedPaintDevice&)> paint_;
    std::function<bool()> print_;
    QPrintPreviewWidget* pages_ = nullptr;
    QLabel* pageNumber_ = nullptr;
};

} // namespace zeko
