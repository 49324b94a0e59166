#include "platform/qt/Translations.h"

#include "support/QtApp.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTranslator>

#include <gtest/gtest.h>

#include <string>

using namespace zeko;

namespace {

std::string Text(const QString& text) { return text.toStdString(); }

// The words of the standard dialogs the program opens: print, print preview, open,
// save; with `pictures`, a picture of each among the test pictures.
struct DialogWords {
    std::string print, preview, lookIn, save;
};

void SavePicture(QWidget& dialog, const char* name) {
    QDir().mkpath(ZEKO_ARTEFACT_DIR);
    dialog.show();
    QApplication::processEvents();
    EXPECT_TRUE(dialog.grab().save(QString(ZEKO_ARTEFACT_DIR "/") + name)) << name;
    dialog.hide();
}

DialogWords Words(bool pictures = false) {
    QPrinter printer;
    QPrintDialog print(&printer);
    QPrintPreviewDialog preview(&printer);
    QFileDialog open;
    open.setOption(QFileDialog::DontUseNativeDialog);
    QFileDialog save;
    save.setOption(QFileDialog::DontUseNativeDialog);
    save.setAcceptMode(QFileDialog::AcceptSave);
    if (pictures) {
        SavePicture(print, "tisk.png");
        SavePicture(preview, "nahled.png");
        SavePicture(open, "otevrit.png");
        SavePicture(save, "ulozit.png");
    }
    return {Text(print.windowTitle()), Text(preview.windowTitle()), Text(open.labelText(QFileDialog::LookIn)),
            Text(save.labelText(QFileDialog::Accept))};
}

} // namespace

TEST(QtTranslations, TheStandardDialogsSpeakCzech) {
    QApplication& app = test::QtApp();
    QTranslator* texts = InstallQtTranslations(&app);
    ASSERT_NE(texts, nullptr) << "Qt's Czech translations are not installed (scripts/deps)";
    const DialogWords words = Words(true);
    QCoreApplication::removeTranslator(texts);
    delete texts;
    EXPECT_EQ(words.print, "Tisk");
    EXPECT_EQ(words.preview, "Náhled tisku");
    EXPECT_EQ(words.lookIn, "Hledat v:");
    EXPECT_EQ(words.save, "&Uložit");
}

TEST(QtTranslations, WithoutCzechTextsTheDialogsKeepQtsOwnWords) {
    QApplication& app = test::QtApp();
    const test::TempDir none;
    EXPECT_EQ(InstallQtTranslations(&app, QString::fromStdString(none.Path())), nullptr);
    const DialogWords words = Words();
    EXPECT_EQ(words.print, "Print");
    EXPECT_EQ(words.lookIn, "Look in:");
}
