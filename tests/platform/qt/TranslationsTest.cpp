// The standard dialogs in Czech under the tests' C locale (LC_ALL=C.UTF-8), as on a
// desktop left as installed: Qt's Czech translations with ours for the words they
// lack, the Czech locale for the dates of the file list; without Qt's translations
// the words ours supply stay Czech.
#include "platform/qt/Translations.h"

#include "platform/UserDialogs.h"
#include "platform/qt/QtNotifier.h"
#include "platform/qt/StandardDialogs.h"
#include "support/QtApp.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QListView>
#include <QLocale>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTranslator>
#include <QTreeView>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

using namespace zeko;

namespace {

std::string Text(const QString& text) { return text.toStdString(); }

void SavePicture(QWidget& dialog, const char* name) {
    QDir().mkpath(ZEKO_ARTEFACT_DIR);
    dialog.show();
    QApplication::processEvents();
    EXPECT_TRUE(dialog.grab().save(QString(ZEKO_ARTEFACT_DIR "/") + name)) << name;
    dialog.hide();
}

// The words of the standard dialogs the program opens: print (with its options
// shown), print preview, open, save; with `pictures`, a picture of each among the
// test pictures.
struct DialogWords {
    std::string print, preview, lookIn, save, pages, doubleSided;
};

DialogWords Words(bool pictures = false) {
    QPrinter printer;
    QPrintDialog print(&printer);
    FitPrintDialog(print);
    print.show();
    QApplication::processEvents();
    for (QPushButton* button : print.findChildren<QPushButton*>())
        if (button->text().endsWith(">>"))
            button->click();  // the options, where "Pages" stands
    QApplication::processEvents();
    QPrintPreviewDialog preview(&printer);
    QFileDialog open;
    open.setOption(QFileDialog::DontUseNativeDialog);
    QFileDialog save;
    save.setOption(QFileDialog::DontUseNativeDialog);
    save.setAcceptMode(QFileDialog::AcceptSave);
    if (pictures) {
        SavePicture(print, "tisk.png");
        SavePicture(preview, "nahled.png");
    }
    // Every choice of the page range whole.
    for (QRadioButton* choice : print.findChildren<QRadioButton*>())
        if (choice->isVisible())
            EXPECT_GE(choice->width(), choice->sizeHint().width()) << Text(choice->text());
    auto* pages = print.findChild<QRadioButton*>("pagesRadioButton");
    auto* duplex = print.findChild<QGroupBox*>("duplex");
    return {Text(print.windowTitle()),
            Text(preview.windowTitle()),
            Text(open.labelText(QFileDialog::LookIn)),
            Text(save.labelText(QFileDialog::Accept)),
            pages ? Text(pages->text()) : "",
            duplex ? Text(duplex->title()) : ""};
}

// The texts of the file list for a folder with one folder and one file in it.
struct FileListTexts {
    std::string folderType, fileDate, fileSize;
    QDateTime changed;
};

FileListTexts ListOf(QFileDialog& dialog, const test::TempDir& dir) {
    auto* model = dialog.findChild<QFileSystemModel*>();
    auto* list = dialog.findChild<QTreeView*>("treeView");
    if (model == nullptr || list == nullptr || list->model() == nullptr)
        return {};
    const QModelIndex root = model->index(QString::fromStdString(dir.Path()));
    EXPECT_TRUE(test::ProcessEventsUntil([&] { return model->rowCount(root) == 2; }));
    FileListTexts texts;
    for (int row = 0; row < model->rowCount(root); ++row) {
        const QModelIndex source = model->index(row, 0, root);
        const QModelIndex shown = list->model()->index(row, 0, list->rootIndex());
        if (model->isDir(source))
            texts.folderType = Text(list->model()->index(shown.row(), 2, list->rootIndex()).data().toString());
        else {
            texts.fileDate = Text(list->model()->index(shown.row(), 3, list->rootIndex()).data().toString());
            texts.fileSize = Text(list->model()->index(shown.row(), 1, list->rootIndex()).data().toString());
            texts.changed = model->lastModified(source);
        }
    }
    return texts;
}

struct CzechSession {
    explicit CzechSession(bool qtTexts = true, const QString& folder = {}) {
        QApplication& app = test::QtApp();
        supplement = InstallCzechSupplement(&app);
        if (qtTexts)
            texts = InstallQtTranslations(&app, folder);
        UseCzechLocale();
    }
    ~CzechSession() {
        for (QTranslator* t : {texts, supplement})
            if (t) {
                QCoreApplication::removeTranslator(t);
                delete t;
            }
        QLocale::setDefault(saved);
    }
    QLocale saved;
    QTranslator* supplement = nullptr;
    QTranslator* texts = nullptr;
};

} // namespace

TEST(QtTranslations, TheStandardDialogsSpeakCzech) {
    const CzechSession czech;
    ASSERT_NE(czech.texts, nullptr) << "Qt's Czech translations are not installed (scripts/deps)";
    ASSERT_NE(czech.supplement, nullptr);
    const DialogWords words = Words(true);
    EXPECT_EQ(words.print, "Tisk");
    EXPECT_EQ(words.preview, "Náhled tisku");
    EXPECT_EQ(words.lookIn, "Hledat v:");
    EXPECT_EQ(words.save, "&Uložit");
    EXPECT_EQ(words.pages, "Strany");
    EXPECT_EQ(words.doubleSided, "Oboustranný tisk");
}

// The file dialogs of the program: Czech words and dates in the list under the C
// locale, the filter as its description says it (not "(*.set) (*.SET)"), and every
// place and column as wide as its text.
TEST(QtTranslations, TheFileDialogsListFoldersAndDatesInCzech) {
    const CzechSession czech;
    const test::TempDir dir;
    std::filesystem::create_directory(dir / "ROK2024");
    dir.Write("nastaveni.SET", "[Regulace]\r\n");
    TFileDialogRequest request;
    request.Title = "Načíst nastavení";
    request.InitialDir = dir.Path();
    request.Filter = "Záložní soubory nastavení (*.set)|*.SET|Všechny soubory (*.*)|*.*";
    for (const bool save : {false, true}) {
        const std::unique_ptr<QFileDialog> dialog = save ? MakeSaveFileDialog(request) : MakeOpenFileDialog(request);
        dialog->show();
        const FileListTexts list = ListOf(*dialog, dir);
        EXPECT_EQ(list.folderType, "Složka") << save;
        EXPECT_EQ(list.fileDate, Text(QLocale(QLocale::Czech, QLocale::CzechRepublic)
                                          .toString(list.changed, QLocale::ShortFormat)))
            << save;
        EXPECT_NE(list.fileDate.find('.'), std::string::npos) << list.fileDate;
        EXPECT_EQ(list.fileSize.find("bytes"), std::string::npos) << list.fileSize;
        auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
        ASSERT_NE(types, nullptr);
        ASSERT_EQ(types->count(), 2);
        EXPECT_EQ(Text(types->itemText(0)), "Záložní soubory nastavení (*.set)") << save;
        EXPECT_EQ(Text(types->itemText(1)), "Všechny soubory (*.*)") << save;
        // The places at the left with their names whole ("Počítač", the home folder).
        auto* places = dialog->findChild<QListView*>("sidebar");
        ASSERT_NE(places, nullptr);
        for (int row = 0; row < places->model()->rowCount(); ++row) {
            const QModelIndex place = places->model()->index(row, 0);
            // The text, its icon and the gaps of an item beside them.
            const int needed = places->fontMetrics().horizontalAdvance(place.data().toString()) +
                               places->style()->pixelMetric(QStyle::PM_ListViewIconSize) + 16;
            EXPECT_LT(needed, places->viewport()->width()) << Text(place.data().toString());
        }
        // The columns of size, type and date as wide as their texts.
        auto* files = dialog->findChild<QTreeView*>("treeView");
        ASSERT_NE(files, nullptr);
        QApplication::processEvents();
        EXPECT_GE(files->columnWidth(3), files->fontMetrics().horizontalAdvance(QString::fromStdString(list.fileDate)))
            << list.fileDate;
        EXPECT_LE(dialog->width(), 800);
        EXPECT_LE(dialog->height(), 600);
        SavePicture(*dialog, save ? "ulozit.png" : "otevrit.png");
    }
}

TEST(QtTranslations, WithoutCzechTextsTheDialogsKeepQtsOwnWordsButOurs) {
    const test::TempDir none;
    const CzechSession czech(true, QString::fromStdString(none.Path()));
    EXPECT_EQ(czech.texts, nullptr);
    const DialogWords words = Words();
    EXPECT_EQ(words.print, "Print");
    EXPECT_EQ(words.lookIn, "Look in:");
    EXPECT_EQ(words.pages, "Strany");
}
