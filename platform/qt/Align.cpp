#include "platform/qt/Align.h"

#include <QEvent>
#include <QVariant>

#include <algorithm>
#include <vector>

namespace zeko {

namespace {

constexpr const char* AlignProperty = "zekoAlign";
constexpr const char* SuspendProperty = "zekoAlignSuspended";

// Arranges an ordinary parent whenever it is resized.
class ResizeRealigner : public QObject {
public:
    explicit ResizeRealigner(QWidget* parent) : QObject(parent) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize)
            Realign(static_cast<QWidget*>(watched));
        return false;
    }
};

// Arranges the parent of an aligned control again when the control is shown or hidden.
class VisibilityRealigner : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)
            if (QWidget* parent = static_cast<QWidget*>(watched)->parentWidget())
                Realign(parent);
        return false;
    }
};

QObject* VisibilityWatcher() {
    static VisibilityRealigner watcher;
    return &watcher;
}

void EnsureRealigner(QWidget* parent) {
    if (dynamic_cast<TAlignContainer*>(parent) != nullptr)
        return;
    for (QObject* child : parent->children())
        if (dynamic_cast<ResizeRealigner*>(child) != nullptr)
            return;
    parent->installEventFilter(new ResizeRealigner(parent));
}

// Controls of one side in the order they stack from that side.
bool StacksBefore(TAlign align, const QWidget* a, const QWidget* b) {
    switch (align) {
    case alTop: return a->y() < b->y();
    case alBottom: return a->y() + a->height() > b->y() + b->height();
    case alLeft: return a->x() < b->x();
    case alRight: return a->x() + a->width() > b->x() + b->width();
    default: return false;
    }
}

} // namespace

TAlign ControlAlign(const QWidget* control) {
    const QVariant v = control->property(AlignProperty);
    return v.isValid() ? static_cast<TAlign>(v.toInt()) : alNone;
}

void SetControlAlign(QWidget* control, TAlign align) {
    control->setProperty(AlignProperty, static_cast<int>(align));
    control->removeEventFilter(VisibilityWatcher());
    control->installEventFilter(VisibilityWatcher());
    if (QWidget* parent = control->parentWidget()) {
        EnsureRealigner(parent);
        Realign(parent);
    }
}

void AlignChildren(QWidget* parent, const TRect& area) {
    TRect rest = area;
    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
        std::vector<QWidget*> controls;
        for (QObject* child : parent->children()) {
            auto* w = qobject_cast<QWidget*>(child);
            if (w != nullptr && !w->isWindow() && !w->isHidden() && ControlAlign(w) == align)
                controls.push_back(w);
        }
        std::stable_sort(controls.begin(), controls.end(),
                         [align](const QWidget* a, const QWidget* b) { return StacksBefore(align, a, b); });
        for (QWidget* w : controls) {
            const int width = std::max(0, rest.Width());
            const int height = std::max(0, rest.Height());
            switch (align) {
            case alTop:
                w->setGeometry(rest.Left, rest.Top, width, w->height());
                rest.Top += w->height();
                break;
            case alBottom:
                w->setGeometry(rest.Left, rest.Bottom - w->height(), width, w->height());
                rest.Bottom -= w->height();
                break;
            case alLeft:
                w->setGeometry(rest.Left, rest.Top, w->width(), height);
                rest.Left += w->width();
                break;
            case alRight:
                w->setGeometry(rest.Right - w->width(), rest.Top, w->width(), height);
                rest.Right -= w->width();
                break;
            default: w->setGeometry(rest.Left, rest.Top, width, height); break;
            }
        }
    }
}

void Realign(QWidget* parent) {
    if (parent->property(SuspendProperty).toInt() > 0)
        return;
    if (auto* container = dynamic_cast<TAlignContainer*>(parent))
        container->RealignControls();
    else
        AlignChildren(parent, {0, 0, parent->width(), parent->height()});
}

void DisableAlign(QWidget* parent) { parent->setProperty(SuspendProperty, parent->property(SuspendProperty).toInt() + 1); }

void EnableAlign(QWidget* parent) {
    const int count = std::max(0, parent->property(SuspendProperty).toInt() - 1);
    parent->setProperty(SuspendProperty, count);
    if (count == 0)
        Realign(parent);
}

} // namespace zeko
