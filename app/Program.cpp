#include "app/Program.h"

#include "app/TestHook.h"
#include "app/hlavni.h"
#include "controls/ZcConst.h"
#include "dialogs/TypUnit.h"
#include "dialogs/info.h"
#include "platform/FormatSettings.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtMainThread.h"
#include "platform/qt/QtNotifier.h"

#include <QApplication>

#include <clocale>
#include <memory>

namespace zeko {

int RunProgram(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZEKO"));
    QApplication::setApplicationDisplayName(QStringLiteral("ZEKO"));
    // The desktop shows the icon of the installed desktop entry for the windows.
    QGuiApplication::setDesktopFileName(QStringLiteral("zeko"));
    LoadLocaleFormatSettings();
    std::setlocale(LC_NUMERIC, "C");  // Qt set the locale; numbers are formatted by FormatSettings
    std::unique_ptr<QtMainThread> mainThread(InstallQtMainThread());
    QtNotifier dialogs;
    SetNotifier(&dialogs);
    SetDialogs(&dialogs);
    TQtClipboard clipboard;  // the grids copy and paste through the desktop's clipboard
    SetClipboard(&clipboard);
    TTestAutomation::InstallFromEnvironment();
    InitZcConst();  // the controls' cursors

    int result;
    {
        auto main = std::make_unique<THlavniForm>();
        InfoForm = new TInfoForm(main.get());
        TypForm = new TTypForm(main.get());
        if (TTestAutomation* automation = TTestAutomation::Instance())
            automation->Attach(main.get());
        main->show();
        main->FormCreate();
        result = app.exec();
        InfoForm = nullptr;
        TypForm = nullptr;
    }
    delete TTestAutomation::Instance();
    SetNotifier(nullptr);
    SetDialogs(nullptr);
    SetClipboard(nullptr);
    return result;
}

} // namespace zeko
