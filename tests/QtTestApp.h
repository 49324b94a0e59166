#pragma once
// One QApplication for a test program, made before its first test runs; widgets
// draw through the offscreen platform unless another one is chosen.
#include "support/QtApp.h"

#include <gtest/gtest.h>

namespace zeko::test {

class QtAppEnvironment : public ::testing::Environment {
public:
    void SetUp() override { QtApp(); }
};

inline ::testing::Environment* const qtAppEnvironment = ::testing::AddGlobalTestEnvironment(new QtAppEnvironment);

} // namespace zeko::test
