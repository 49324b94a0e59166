#pragma once
// One QApplication for a whole test program (Qt allows one per process): made at
// the first call, drawing through the offscreen platform unless another one is
// chosen; one made before (QtTestApp.h) is used as it is.
#include <QApplication>
#include <QElapsedTimer>

#include <functional>

namespace zeko::test {

inline QApplication& QtApp() {
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return *existing;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "zeko-test";
    static char* argv[] = {name, nullptr};
    return *new QApplication(argc, argv);
}

// Runs the event loop until done() holds or timeoutMs has passed; answers done().
inline bool ProcessEventsUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs) {
        QtApp().processEvents(QEventLoop::AllEvents, 10);
        // Outside a running event loop deleteLater() waits for this.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return done();
}

} // namespace zeko::test
