#include "platform/qt/StandardDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QListView>
#include <QLocale>
#include <QPrintDialog>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTreeView>

#include <algorithm>

namespace zeko {
namespace {

constexpr int SizeColumn = 1, DateColumn = 3;
// The dialog where the screen has room for it.
constexpr int DialogWidth = 760, DialogHeight = 460;

// The file system model writes sizes and dates in the session's locale ("12 bytes",
// "11 Dec 2026" under C); the list shows them in Czech, as the program's own texts.
class TCzechFileList : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override {
        auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || files == nullptr)
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        if (index.column() == DateColumn)
            return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
        if (index.column() == SizeColumn && !files->isDir(source))
            return QLocale().formattedDataSize(files->size(source));
        return QIdentityProxyModel::data(index, role);
    }
};

// The places (the computer, the home folder) with their names whole.
void FitSidebar(QListView& places) {
    const QFontMetrics metrics(places.font());
    int widest = 0;
    if (QAbstractItemModel* model = places.model())
        for (int row = 0; row < model->rowCount(); ++row)
            widest = std::max(widest, metrics.horizontalAdvance(model->index(row, 0).data().toString()));
    // The icon (the style's, unless the list sets its own), the gaps round it and
    // the item's margins, and the frame.
    const int icon = places.iconSize().width() > 0 ? places.iconSize().width()
                                                   : places.style()->pixelMetric(QStyle::PM_ListViewIconSize);
    places.setMinimumWidth(widest + icon + 4 * metrics.averageCharWidth() + 2 * places.frameWidth());
}

} // namespace

void FitFileDialog(QFileDialog& dialog) {
    dialog.setProxyModel(new TCzechFileList(&dialog));
    if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = list->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    if (auto* places = dialog.findChild<QListView*>(QStringLiteral("sidebar")))
        FitSidebar(*places);
    const QScreen* screen = dialog.screen() ? dialog.screen() : QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, DialogWidth, DialogHeight);
    dialog.resize(std::min(DialogWidth, room.width() - 20), std::min(DialogHeight, room.height() - 40));
}

void FitPrintDialog(QPrintDialog& dialog) {
    // The button that shows and hides the options ends in ">>" or "<<" in any
    // language; Qt keeps the dialog at the size it had, too narrow for the Czech
    // "Strany od".
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text().endsWith(QStringLiteral(">>")) || button->text().endsWith(QStringLiteral("<<")))
            QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog] { dialog.adjustSize(); });
}

} // namespace zeko
