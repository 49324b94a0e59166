#include "fuzz/QtApplication.h"

#include <QApplication>

namespace zeko::fuzz {

void EnsureApplication() {
    if (QCoreApplication::instance() != nullptr)
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "zeko-fuzz";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

} // namespace zeko::fuzz
