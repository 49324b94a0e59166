#pragma once
// What the control tests share: a shown window to place controls on (the mouse
// reaches them through the window system, so the pressed buttons and the control
// under the pointer are as in the program), a hand-stepped clock for the repeat
// timers, and the folder for pictures a person looks at.
#include <QDir>
#include <QImage>
#include <QWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "ImageProbe.h"
#include "platform/Graphics.h"
#include "platform/Timer.h"
#include "support/QtApp.h"

namespace zeko::test {

class ControlHost : public ::testing::Test {
protected:
    ControlHost() {
        ResetSysColors();
        SetTimerService(&clock);
        host.resize(320, 200);
        host.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&host));
        host.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&host));
    }
    ~ControlHost() override {
        SetTimerService(nullptr);
        ResetSysColors();
    }

    QApplication& app = QtApp();  // before any widget
    ManualTimerService clock;
    QWidget host;
};

inline void SaveArtefact(const QImage& image, const std::string& name) {
    QDir().mkpath(ZEKO_ARTEFACT_DIR);
    image.save(QString::fromStdString(std::string(ZEKO_ARTEFACT_DIR) + "/" + name));
}

// The lines of a text file without their line ends (CR LF or LF).
inline std::vector<std::string> FileLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

} // namespace zeko::test
