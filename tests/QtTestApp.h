#pragma once
// One QApplication for a test program, made before its first test runs; widgets
// draw through the offscreen platform unless another one is chosen.
#include <QApplication>

#include <gtest/gtest.h>

namespace zeko::test {

class QtAppEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (QApplication::instance())
            return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char arg0[] = "test";
        static char* argv[] = {arg0, nullptr};
        new QApplication(argc, argv);
    }
};

inline ::testing::Environment* const qtAppEnvironment = ::testing::AddGlobalTestEnvironment(new QtAppEnvironment);

} // namespace zeko::test
