#include "platform/qt/MdiChild.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <vector>

#include "QtTestApp.h"
#include "QtPrinters.h"

namespace zeko {
namespace {

// A form that paints a picture of its own beside its controls.
class PictureForm : public QWidget {
public:
    QSize minimumSizeHint() const override { return {700, 100}; }
};

struct MdiChildTest : ::testing::Test {
    MdiChildTest() {
        area.resize(400, 300);
        area.show();
    }
    // The scroll bars of the child that holds `form`, after the layout settled.
    std::pair<QScrollBar*, QScrollBar*> Bars(QWidget* form) {
        QApplication::processEvents();
        auto* scroller = qobject_cast<QScrollArea*>(MdiChildOf(form)->widget());
        return {scroller->horizontalScrollBar(), scroller->verticalScrollBar()};
    }
    QMdiArea area;
};

TEST_F(MdiChildTest, AChildSmallerThanItsFormsControlsScrollsToThem) {
    auto* form = new QWidget;
    form->setWindowTitle("Tabulka");
    auto* far = new QWidget(form);
    far->setGeometry(500, 400, 50, 50);
    QMdiSubWindow* child = AddMdiChild(&area, form);
    EXPECT_TRUE(child->isMaximized());
    EXPECT_EQ(child->windowTitle(), "Tabulka");
    EXPECT_EQ(MdiChildOf(form), child);
    EXPECT_EQ(MdiChildOf(far), child);
    auto [horizontal, vertical] = Bars(form);
    EXPECT_GE(form->width(), 550);
    EXPECT_GE(form->height(), 450);
    EXPECT_GT(horizontal->maximum(), 0);
    EXPECT_GT(vertical->maximum(), 0);

    // A control moved, or added, later counts as well.
    far->move(10, 10);
    std::tie(horizontal, vertical) = Bars(form);
    EXPECT_EQ(horizontal->maximum(), 0);
    EXPECT_EQ(vertical->maximum(), 0);
    auto* late = new QWidget(form);
    late->setGeometry(0, 600, 10, 10);
    late->show();
    std::tie(horizontal, vertical) = Bars(form);
    EXPECT_EQ(horizontal->maximum(), 0);
    EXPECT_GT(vertical->maximum(), 0);

    // Closing the child frees the form.
    bool gone = false;
    QObject::connect(form, &QObject::destroyed, [&] { gone = true; });
    child->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(gone);
}

TEST_F(MdiChildTest, AFormsOwnPictureCountsAsContent) {
    auto* form = new PictureForm;
    AddMdiChild(&area, form);
    auto [horizontal, vertical] = Bars(form);
    EXPECT_GT(horizontal->maximum(), 0);
    EXPECT_EQ(vertical->maximum(), 0);
}

// Restored from maximised, a child takes its design size, or the size that shows its
// form's controls whole, never more than the area has room for.
TEST_F(MdiChildTest, ARestoredChildHasItsDesignSizeOrItsContentsSize) {
    struct Case {
        const char* what;
        QSize area;
        QSize design;
        QSize expected;  // empty: the content with the child's frame around it
    };
    const Case cases[] = {
        {"a design size", {1000, 700}, {696, 480}, {696, 480}},
        {"a design size larger than the area", {640, 400}, {958, 706}, {640, 400}},
        {"no design size", {1000, 700}, {}, {}},
        {"no design size, content larger than the area", {300, 200}, {}, {300, 200}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        area.resize(c.area);
        QApplication::processEvents();
        auto* form = new QWidget;
        (new QWidget(form))->setGeometry(0, 0, 420, 260);
        QMdiSubWindow* child = AddMdiChild(&area, form, c.design);
        QApplication::processEvents();
        ASSERT_TRUE(child->isMaximized());
        child->showNormal();
        QApplication::processEvents();
        if (c.expected.isValid()) {
            EXPECT_EQ(child->size(), c.expected);
        } else {
            EXPECT_EQ(child->widget()->size(), QSize(420, 260));
            auto [horizontal, vertical] = Bars(form);
            EXPECT_EQ(horizontal->maximum(), 0);
            EXPECT_EQ(vertical->maximum(), 0);
        }
        delete child;
    }
}

// Restored, the children lie cascaded, each with every edge inside the area, not
// where a free spot below the others would put them half out of sight.
TEST_F(MdiChildTest, RestoredChildrenLieCascadedInsideTheArea) {
    area.resize(640, 400);
    QApplication::processEvents();
    std::vector<QMdiSubWindow*> children;
    for (const QSize design : {QSize(600, 360), QSize(300, 200), QSize(300, 200), QSize(640, 400)})
        children.push_back(AddMdiChild(&area, new QWidget, design));
    QApplication::processEvents();
    for (QMdiSubWindow* child : children)
        child->showNormal();
    QApplication::processEvents();
    const QRect room = area.viewport()->rect();
    for (QMdiSubWindow* child : children)
        EXPECT_TRUE(room.contains(child->geometry())) << testing::PrintToString(child->geometry());
    EXPECT_EQ(children[0]->pos(), QPoint(0, 0));
    EXPECT_GT(children[2]->y(), children[1]->y());
    EXPECT_GT(children[2]->x(), children[1]->x());
    EXPECT_EQ(children[3]->pos(), QPoint(0, 0));  // the area's size: at its corner
    for (QMdiSubWindow* child : children)
        delete child;
}

TEST(MdiChild, AWidgetOutsideAnyChildHasNone) {
    QWidget alone;
    EXPECT_EQ(MdiChildOf(&alone), nullptr);
    EXPECT_EQ(MdiChildOf(nullptr), nullptr);
}

} // namespace
} // namespace zeko
