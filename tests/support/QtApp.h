#pragma once
// One QApplication for a whole test program (Qt allows one per process).
#include <QApplication>
#include <QElapsedTimer>

#include <functional>

namespace zeko::test {

inline QApplication& QtApp() {
    static int argc = 1;
    static char name[] = "zeko-test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
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
