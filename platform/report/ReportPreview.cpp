#include "platform/report/ReportPreview.h"

#include <QLabel>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QVBoxLayout>

namespace zeko {

TReportPreview::TReportPreview(QPrinter& printer, std::function<void(QPainter&, QPagedPaintDevice&)> paint,
                               std::function<bool()> print, QWidget* parent)
    : QDialog(parent), paint_(std::move(paint)), print_(std::move(print)) {
    setObjectName("NahledTisku");
    setWindowTitle("Náhled tisku");
    auto* bar = new QToolBar(this);
    bar->setObjectName("NahledTiskuNastroje");
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    pages_ = new QPrintPreviewWidget(&printer, this);
    pages_->setObjectName("NahledTiskuStranky");
    connect(pages_, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* target) {
        QPainter painter(target);
        paint_(painter, *target);
    });
    connect(pages_, &QPrintPreviewWidget::previewChanged, this, [this] { ShowPageNumber(); });

    QAction* printAction = bar->addAction("Tisk", this, [this] { PrintPages(); });
    printAction->setObjectName("NahledTiskuTisk");
    bar->addSeparator();
    bar->addAction("Celá strana", pages_, &QPrintPreviewWidget::fitInView);
    bar->addAction("Na šířku", pages_, &QPrintPreviewWidget::fitToWidth);
    bar->addAction("Zvětšit", pages_, [this] { pages_->zoomIn(); });
    bar->addAction("Zmenšit", pages_, [this] { pages_->zoomOut(); });
    bar->addSeparator();
    bar->addAction("Předchozí", pages_, [this] {
        pages_->setCurrentPage(pages_->currentPage() - 1);
        ShowPageNumber();
    });
    pageNumber_ = new QLabel(bar);
    pageNumber_->setObjectName("NahledTiskuStrana");
    pageNumber_->setContentsMargins(8, 0, 8, 0);
    bar->addWidget(pageNumber_);
    bar->addAction("Další", pages_, [this] {
        pages_->setCurrentPage(pages_->currentPage() + 1);
        ShowPageNumber();
    });
    bar->addSeparator();
    bar->addAction("Zavřít", this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(pages_, 1);
    resize(900, 700);
}

void TReportPreview::PrintPages() {
    if (print_())
        accept();
}

void TReportPreview::ShowPageNumber() {
    pageNumber_->setText(QString("Strana %1 z %2").arg(pages_->currentPage()).arg(pages_->pageCount()));
}

} // namespace zeko
