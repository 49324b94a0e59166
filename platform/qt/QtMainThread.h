#pragma once
// The main-thread hand-over bound to the Qt event loop: every queued call wakes the
// loop, which pumps the queue between its other events. Install it right after the
// QApplication exists, in the main thread.
#include "platform/MainThread.h"

class QObject;

namespace zeko {

class QtMainThread : public PumpedMainThread {
public:
    QtMainThread();
    ~QtMainThread() override;

protected:
    void Wake() override;

private:
    QObject* receiver_ = nullptr;  // lives in the main thread; queued invocations run there
};

// Creates the queue, makes it the program-wide one and answers it (the caller owns it).
QtMainThread* InstallQtMainThread();

} // namespace zeko
