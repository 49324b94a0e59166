#include "app/Program.h"

#include "app/CommandLine.h"
#include "app/DocumentOpener.h"
#include "app/ProgramIcon.h"
#include "app/SpreadsheetProgram.h"
#include "app/TestHook.h"
#include "app/hlavni.h"
#include "controls/ZcConst.h"
#include "dialogs/TypUnit.h"
#include "dialogs/info.h"
#include "graph/kalendar.h"
#include "platform/FormatSettings.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtMainThread.h"
#include "platform/qt/QtNotifier.h"
#include "platform/qt/Translations.h"
#include "platform/report/ReportPrinting.h"
#include "core/TextHelpers.h"

#include <QApplication>

#include <clocale>
#include <cstdio>
#include <memory>
#include <optional>

namespace zeko {

int RunProgram(int argc, char** argv) {
    // Before anything is made: "zeko --version" needs no display.
    if (const std::optional<int> answered = AnswerCommandLine(argc, argv, stdout, stderr))
        return *answered;
    QApplication app(argc, argv);
    // Czech whatever the session's locale: the standard dialogs (Qt's translations,
    // and ours for the words they lack), and Qt's dates and names of months.
    InstallCzechSupplement(&app);
    InstallQtTranslations(&app);
    UseCzechLocale();
    QApplication::setApplicationName(QStringLiteral("ZEKO"));
    QApplication::setApplicationDisplayName(QStringLiteral("ZEKO"));
    // The desktop shows the icon of the installed desktop entry for the windows.
    QGuiApplication::setDesktopFileName(QStringLiteral("zeko"));
    QApplication::setWindowIcon(ProgramIcon());  // also where no desktop entry is installed
    LoadLocaleFormatSettings();
    std::setlocale(LC_NUMERIC, "C");  // Qt set the locale; numbers are formatted by FormatSettings
    std::unique_ptr<QtMainThread> mainThread(InstallQtMainThread());
    QtNotifier dialogs;
    SetNotifier(&dialogs);
    SetDialogs(&dialogs);
    TQtClipboard clipboard;  // the grids copy and paste through the desktop's clipboard
    SetClipboard(&clipboard);
    QtReportPrinting printing;
    SetReportPrinting(&printing);
    TTestAutomation::InstallFromEnvironment();
    InitZcConst();  // the controls' cursors

    int result;
    {
        auto main = std::make_unique<THlavniForm>();
        InfoForm = new TInfoForm(main.get());
        TypForm = new TTypForm(main.get());
        KalendarForm = new TKalendarForm(main.get());
        TTestAutomation* automation = TTestAutomation::Instance();
        if (automation)
            automation->Attach(main.get());
        THlavniForm* window = main.get();
        // Gone before the window: an opener that ends later tells nobody.
        TDocumentOpener opener;
        InstallSpreadsheetProgram(
            [automation, &opener](const std::string& file, std::function<void(const std::string&)> failed) {
                if (automation) {
                    automation->Log("OpenDocument " + file);
                    if (!automation->OpensDocuments())
                        return;
                }
                opener.Open(file, std::move(failed));
            },
            [window](const std::string& text) { window->SetStatusLine(StampedLine(text)); });
        main->show();
        main->FormCreate();
        result = app.exec();
        RemoveSpreadsheetProgram();
        InfoForm = nullptr;
        TypForm = nullptr;
        KalendarForm = nullptr;
    }
    delete TTestAutomation::Instance();
    SetNotifier(nullptr);
    SetDialogs(nullptr);
    SetClipboard(nullptr);
    SetReportPrinting(nullptr);
    return result;
}

} // namespace zeko
