#include "platform/qt/MdiChild.h"

#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QStyle>

#include <algorithm>

namespace zeko {

namespace {

// How many children step down before the next starts at the top again.
constexpr int CascadeDepth = 8;

// Keeps the form at least as large as its content, so that the scroll area around
// it shows scroll bars for what lies beyond the child window rather than shrinking
// the form over its controls.
class TContentExtent : public QObject {
public:
    explicit TContentExtent(QWidget* form) : QObject(form), form_(form) {
        form->installEventFilter(this);
        for (QObject* child : form->children())
            Watch(child);
        Update();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::ChildAdded:
            if (watched == form_)
                Watch(static_cast<QChildEvent*>(event)->child());
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            if (watched != form_)
                Update();
            break;
        default:
            break;
        }
        return false;
    }

private:
    void Watch(QObject* child) {
        if (child->isWidgetType())
            child->installEventFilter(this);
    }
    void Update() {
        const QRect children = form_->childrenRect();
        QSize extent = form_->minimumSizeHint().expandedTo(QSize(0, 0));
        if (!children.isEmpty())
            extent = extent.expandedTo(QSize(children.right() + 1, children.bottom() + 1));
        form_->setMinimumSize(extent);
    }

    QWidget* form_;
};

// The outer size of the child when restored: the design size, or the form's content
// with the child's frame and title bar around it; at most the area's room, so that
// no edge of a restored child lies out of reach.
QSize RestoredSize(const QMdiArea* area, const QMdiSubWindow* child, const QWidget* form, QSize designSize) {
    const QSize room = area->viewport()->size();
    QSize size = designSize;
    if (!size.isValid()) {
        size = form->minimumSize().grownBy(child->contentsMargins());
        // Content wider (taller) than the room scrolls: the bar takes room of its own.
        if (!room.isEmpty()) {
            const int bar = child->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, child);
            const QSize whole = size;
            if (whole.width() > room.width())
                size.rheight() += bar;
            if (whole.height() > room.height())
                size.rwidth() += bar;
        }
    }
    if (!room.isEmpty())
        size = size.boundedTo(room);
    return size.expandedTo(child->minimumSizeHint());
}

// Where the child lies when restored: each child one title bar lower and further
// right than the one before, as cascaded windows lie, but never with an edge
// beyond the area.
QPoint RestoredPlace(const QMdiArea* area, const QMdiSubWindow* child, QSize size) {
    const int step = child->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, child);
    const auto others = static_cast<int>(area->subWindowList().size()) - 1;
    const int offset = std::max(0, others % CascadeDepth) * step;
    const QSize room = area->viewport()->size();
    return {std::clamp(offset, 0, std::max(0, room.width() - size.width())),
            std::clamp(offset, 0, std::max(0, room.height() - size.height()))};
}

} // namespace

QMdiSubWindow* AddMdiChild(QMdiArea* area, QWidget* form, QSize designSize) {
    auto* scroller = new QScrollArea;
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setWidget(form);
    new TContentExtent(form);
    QMdiSubWindow* child = area->addSubWindow(scroller);
    child->setAttribute(Qt::WA_DeleteOnClose);
    child->setWindowTitle(form->windowTitle());
    // The geometry a child has when it is maximised is the one it gets back when restored.
    const QSize size = RestoredSize(area, child, form, designSize);
    child->setGeometry(QRect(RestoredPlace(area, child, size), size));
    child->showMaximized();
    return child;
}

QMdiSubWindow* MdiChildOf(const QWidget* form) {
    for (QWidget* w = form ? form->parentWidget() : nullptr; w != nullptr; w = w->parentWidget())
        if (auto* child = qobject_cast<QMdiSubWindow*>(w))
            return child;
    return nullptr;
}

} // namespace zeko
