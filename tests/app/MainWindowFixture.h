#pragma once
// The main window in a program folder of its own, its ports COM1..COM8 mapped to a
// device that does not exist, so that it talks to no line.
#include "app/hlavni.h"

#include "platform/Notifier.h"
#include "platform/qt/QtMainThread.h"
#include "platform/qt/WindowPlacement.h"
#include "support/QtApp.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace zeko::test {

struct MainWindowTest : ::testing::Test {
    static constexpr int Ports = 8;

    MainWindowTest() {
        QtApp();
        // A screen that holds the default window; the placement tests set smaller ones.
        SetScreenInfoForTest(TScreenInfo{1280, 1024, 96, {{0, 0, 1280, 1024}}});
        mainThread.reset(InstallQtMainThread());
        for (int n = 1; n <= Ports; ++n)
            ::setenv(PortVariable(n).c_str(), (dir / "no-port").c_str(), 1);
    }
    ~MainWindowTest() override {
        form.reset();
        SetScreenInfoForTest(std::nullopt);
        for (int n = 1; n <= Ports; ++n)
            ::unsetenv(PortVariable(n).c_str());
    }
    // The window made, shown and created as the program starts it.
    THlavniForm& Start() {
        form = std::make_unique<THlavniForm>();
        form->show();
        form->FormCreate();
        return *form;
    }

    TempDir dir{true};
    std::unique_ptr<QtMainThread> mainThread;
    ScopedLoggingNotifier notifier;
    std::unique_ptr<THlavniForm> form;

private:
    static std::string PortVariable(int n) { return "ZEKO_COM" + std::to_string(n); }
};

} // namespace zeko::test
