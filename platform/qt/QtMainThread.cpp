#include "platform/qt/QtMainThread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>

namespace zeko {

QtMainThread::QtMainThread() : receiver_(new QObject) {
    SetMainThreadId(std::this_thread::get_id());
}

QtMainThread::~QtMainThread() {
    if (&MainThread() == this)
        SetMainThread(nullptr);
    delete receiver_;
}

void QtMainThread::Wake() {
    QMetaObject::invokeMethod(receiver_, [this] { Pump(); }, Qt::QueuedConnection);
}

QtMainThread* InstallQtMainThread() {
    auto* queue = new QtMainThread;
    SetMainThread(queue);
    return queue;
}

} // namespace zeko
