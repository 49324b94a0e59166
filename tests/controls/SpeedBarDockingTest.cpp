// The speed bar's docking side and rectangle, dragging it to another side,
// resizing it in rows, dragging items while customising, and its stored layout
// with what a damaged one is held to.
#include "controls/SpeedBar.h"

#include "ControlsTestSupport.h"
#include "controls/VCLUtils.h"
#include "platform/Registry.h"
#include "platform/qt/WindowPlacement.h"
#include "support/TempDir.h"

#include <QCursor>
#include <QMouseEvent>


using namespace zeko;

namespace {

// A bar at the top of an 800 x 600 parent, on a screen of 96 pixels per inch.
struct DockFixture : test::ControlHost {
    DockFixture() {
        SetScreenInfoForTest(TScreenInfo{1024, 768, 96, {{0, 0, 1024, 768}}});
        host.resize(800, 600);
        bar = new TSpeedBar(&host);
        bar->setObjectName("SpeedBar1");
        bar->show();
    }
    ~DockFixture() override { SetScreenInfoForTest(std::nullopt); }

    void Mouse(QEvent::Type type, QPoint barPoint, Qt::MouseButtons held) {
        const QPointF local(barPoint);
        QMouseEvent e(type, local, bar->mapToGlobal(local), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      held, Qt::NoModifier);
        QCoreApplication::sendEvent(bar, &e);
    }
    // Presses at the bar point, moves to the parent points and lets go at the last.
    void Drag(QPoint from, std::initializer_list<QPoint> parentPoints) {
        Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        QPoint last = from;
        for (QPoint p : parentPoints) {
            last = bar->mapFromParent(p);
            Mouse(QEvent::MouseMove, last, Qt::LeftButton);
        }
        Mouse(QEvent::MouseButtonRelease, last, Qt::NoButton);
    }
    TSpeedItem* AddItem(const std::string& name, int left, bool visible) {
        auto* item = new TSpeedItem(&owner);
        item->SetName(name);
        bar->AddItem(0, item);
        item->SetLeft(left);
        item->SetVisible(visible);
        return item;
    }

    QObject owner;
    TSpeedBar* bar;
};

} // namespace

TEST(DockSideAt, EachTriangleOfAn800By600ParentIsASide) {
    struct Case {
        int x, y;
        TAlign side;
    };
    const Case cases[] = {
        {400, 50, alTop},    {400, 550, alBottom}, {100, 300, alLeft}, {700, 300, alRight},
        {400, 300, alBottom},  // the centre lies on both diagonals
        {0, 0, alLeft},        // a corner: on the first diagonal, above the second
        {799, 0, alTop},       {0, 599, alLeft},     {799, 300, alRight},
        {799, 599, alRight},   // just above the first diagonal
        {-50, 300, alLeft},    // outside the parent still has a side
    };
    for (const Case c : cases)
        EXPECT_EQ(DockSideAt({c.x, c.y}, 800, 600, alNone), c.side) << c.x << "," << c.y;
}

TEST(DockSideAt, AParentWithoutAreaKeepsTheFallback) {
    EXPECT_EQ(DockSideAt({10, 10}, 0, 600, alRight), alRight);
    EXPECT_EQ(DockSideAt({10, 10}, 800, 0, alBottom), alBottom);
    EXPECT_EQ(DockSideAt({0, 0}, 0, 0, alTop), alTop);
}

TEST(RowsThickness, WholeRowsBetweenOneRowAndTheParent) {
    struct Case {
        TAlign align;
        int x, y, parentW, parentH, button, offset, thickness;
    };
    const Case cases[] = {
        {alTop, 100, 10, 800, 600, 23, 3, 29},     // less than a row: one row
        {alTop, 100, 60, 800, 600, 23, 3, 52},     // 54 / 23: two rows
        {alTop, 100, 2, 800, 600, 23, 3, 29},      // above the offsets
        {alBottom, 100, 540, 800, 600, 23, 3, 52}, // measured from the bottom
        {alLeft, 100, 10, 800, 600, 24, 3, 78},
        {alRight, 700, 10, 800, 600, 24, 3, 78},
        {alTop, 100, 90, 800, 40, 23, 3, 40},      // never more than the parent
        {alTop, 100, 90, 800, 0, 23, 3, 0},
        {alTop, 100, 90, 800, 600, 0, 3, 90},      // no button size counts as 1
    };
    for (const Case c : cases)
        EXPECT_EQ(RowsThickness(c.align, {c.x, c.y}, c.parentW, c.parentH, c.button, c.offset), c.thickness)
            << c.align << " at " << c.x << "," << c.y;
}

TEST_F(DockFixture, AMoveOfLessThanFivePixelsStartsNoDrag) {
    Mouse(QEvent::MouseButtonPress, {50, 10}, Qt::LeftButton);
    Mouse(QEvent::MouseMove, {54, 14}, Qt::LeftButton);
    EXPECT_FALSE(bar->Dragging());
    EXPECT_EQ(XorFramesShown(), 0);
    Mouse(QEvent::MouseMove, {55, 10}, Qt::LeftButton);
    EXPECT_TRUE(bar->Dragging());
    EXPECT_EQ(XorFramesShown(), 1);
    Mouse(QEvent::MouseButtonRelease, {55, 10}, Qt::NoButton);
    EXPECT_FALSE(bar->Dragging());
    EXPECT_EQ(XorFramesShown(), 0);
    EXPECT_EQ(bar->Align(), alTop);
}

TEST_F(DockFixture, DroppedInTheLeftTriangleTheBarDocksLeftAndTurns) {
    int moved = 0;
    bar->OnPosChanged = [&moved](TSpeedBar*) { ++moved; };
    Drag({50, 10}, {{300, 200}, {100, 300}});
    EXPECT_EQ(bar->Align(), alLeft);
    EXPECT_EQ(bar->Orientation(), boVertical);
    EXPECT_EQ(bar->geometry(), QRect(0, 0, 29, 600));
    EXPECT_EQ(moved, 1);
    EXPECT_EQ(XorFramesShown(), 0);
}

TEST_F(DockFixture, ARefusedSideKeepsTheLastAcceptedOne) {
    bar->OnApplyAlign = [](TSpeedBar*, TAlign align, bool& apply) { apply = align != alLeft; };
    Drag({50, 10}, {{300, 200}, {700, 300}, {100, 300}});
    EXPECT_EQ(bar->Align(), alRight);
}

TEST_F(DockFixture, ABarThatMayNotBeDraggedStays) {
    bar->SetOptions({sbGrayedBtns});
    Drag({50, 10}, {{300, 200}, {100, 300}});
    EXPECT_FALSE(bar->Dragging());
    EXPECT_EQ(bar->Align(), alTop);
}

TEST_F(DockFixture, TheDockingRectangleLeavesOutControlsAlignedBeforeIt) {
    auto* menu = new QWidget(&host);
    menu->resize(800, 20);
    menu->move(0, 0);
    menu->show();
    bar->move(0, 20);
    SetControlAlign(menu, alTop);
    ASSERT_EQ(bar->y(), 20) << "the menu lies above the bar";
    const QPoint origin = host.mapToGlobal(QPoint(0, 0));
    const auto screen = [origin](int l, int t, int r, int b) {
        return TRect{l + origin.x(), t + origin.y(), r + origin.x(), b + origin.y()};
    };
    EXPECT_EQ(bar->DockRect(TPoint{100, 300 - 20}), screen(0, 20, 29, 600));
    EXPECT_EQ(bar->DockRect(TPoint{400, 560}), screen(0, 571, 800, 600));
    EXPECT_EQ(bar->DockRect(TPoint{400, 10}), screen(0, 20, 800, 49)) << "the menu before the bar";
}

TEST_F(DockFixture, TheBarIsResizedInWholeRowsOnlyWhileCustomising) {
    bar->SetOptions({sbAllowDrag, sbAllowResize});
    const int edge = bar->height() - 2;
    Drag({100, edge}, {{100, 60}});
    EXPECT_EQ(bar->height(), 29) << "without a customising window the edge is no edge";

    QObject customiser;
    bar->SetCustomizeWindow(&customiser);
    EXPECT_TRUE(bar->OnResizeEdge({100, edge}));
    Drag({100, edge}, {{100, 60}});
    EXPECT_EQ(bar->height(), 52);
    EXPECT_FALSE(bar->Resizing());
    Drag({100, bar->height() - 1}, {{100, 10}});
    EXPECT_EQ(bar->height(), 29);
}

TEST_F(DockFixture, ItemsDraggedWhileCustomisingLandOnTheGridOrLeaveTheBar) {
    struct Customiser : QObject {
        std::vector<std::pair<int, QObject*>> notes;
        bool event(QEvent* e) override {
            if (e->type() != CM_SPEEDBARCHANGED)
                return QObject::event(e);
            auto* m = static_cast<TSpeedbarChangedEvent*>(e);
            notes.emplace_back(m->WParam, m->LParam);
            return true;
        }
    } customiser;
    TSpeedItem* item = AddItem("btnOpen", 3, true);
    bar->SetCustomizeWindow(&customiser);
    TSpeedbarButton* button = item->Button();
    const auto dropAt = [&](QPoint barTopLeft) {
        button->MouseDown(mbLeft, {}, 5, 5);
        ASSERT_NE(button->DragImage(), nullptr);
        QCursor::setPos(bar->mapToGlobal(barTopLeft + QPoint(bar->BtnWidth(), bar->BtnHeight())));
        button->MouseMove({}, 0, 0);
        button->MouseUp(mbLeft, {}, 0, 0);
        EXPECT_EQ(button->DragImage(), nullptr);
    };

    dropAt({70, 5});
    EXPECT_TRUE(item->Visible());
    EXPECT_EQ(item->Left(), 67);  // (70 - 3) / 8 = 8.4 steps
    EXPECT_EQ(item->Top(), 3);
    ASSERT_EQ(customiser.notes.size(), 1u);
    EXPECT_EQ(customiser.notes[0], (std::pair<int, QObject*>{SBR_BTNSELECT, item}));

    dropAt({70, 200});
    EXPECT_FALSE(item->Visible());
    ASSERT_EQ(customiser.notes.size(), 2u);
    EXPECT_EQ(customiser.notes[1], (std::pair<int, QObject*>{SBR_CHANGED, bar}));
}

// ---------------------------------------------------------------- layout

TEST_F(DockFixture, TheLayoutIsWrittenKeyByKey) {
    test::TempDir dir;
    TIniFile ini(dir / "layout.ini");
    ini.WriteString("Bar", "Stale", "gone after the save");
    bar->SetVersion(4);
    AddItem("btnOpen", 11, true);
    AddItem("btnHidden", 35, false);
    TSpeedItem* unstored = AddItem("btnUnstored", 59, true);
    unstored->SetStored(false);
    AddItem("btnSave", 83, true);
    bar->SaveLayout(&ini, "Bar");
    EXPECT_EQ(test::FileLines(dir / "layout.ini"),
              (std::vector<std::string>{"[Bar]", "Position=1", "Width=29", "Version=4", "PixelsPerInch=96",
                                        "BtnWidth=24", "BtnHeight=23", "Button1=btnOpen,11,3", "Button2=btnSave,83,3",
                                        "Count=2"}));
}

TEST_F(DockFixture, ALayoutComesBackOnAnotherBar) {
    test::TempDir dir;
    TIniFile ini(dir / "layout.ini");
    bar->SetOptions({sbAllowDrag, sbAllowResize});
    AddItem("btnOpen", 3, true);
    AddItem("btnSave", 27, true);
    AddItem("btnHidden", 51, false);
    bar->SetAlign(alLeft);
    bar->resize(52, bar->height());
    bar->SaveLayout(&ini, "Bar");
    delete bar;

    bar = new TSpeedBar(&host);
    bar->SetOptions({sbAllowDrag, sbAllowResize});
    TSpeedItem* open = AddItem("btnopen", 3, false);  // names compare without case
    TSpeedItem* save = AddItem("btnSave", 3, false);
    TSpeedItem* hidden = AddItem("btnHidden", 3, true);
    bar->show();
    int moved = 0;
    bar->OnPosChanged = [&moved](TSpeedBar*) { ++moved; };
    bar->LoadLayout(&ini, "Bar");
    EXPECT_EQ(bar->Align(), alLeft);
    EXPECT_EQ(bar->width(), 52);
    EXPECT_EQ(moved, 1);
    EXPECT_TRUE(open->Visible());
    EXPECT_TRUE(save->Visible());
    EXPECT_FALSE(hidden->Visible()) << "an item the layout does not name is hidden";
    EXPECT_EQ(open->Left(), 3);
    EXPECT_EQ(save->Left(), 27);
}

TEST_F(DockFixture, ADamagedLayoutIsHeldToWhatTheBarCanTake) {
    struct Case {
        std::string keys;
        TAlign align;
        int height;
        bool openVisible, saveVisible;
    };
    const Case cases[] = {
        {"Position=9", alTop, 29, false, true},
        {"Position=-3", alTop, 29, false, true},
        {"Position=0", alTop, 29, false, true},  // none: refused while the position is automatic
        {"Position=two", alBottom, 29, false, true},
        {"Position=2\r\nWidth=1", alBottom, 29, false, true},       // at least one row
        {"Position=1\r\nWidth=99999", alTop, 600, false, true},     // at most the parent
        {"Count=2000000000\r\nButton1=btnOpen,3,3", alBottom, 29, true, false},
        {"Count=-4\r\nButton1=btnOpen,3,3", alBottom, 29, false, true},
        {"Count=2\r\nButton1=,,\r\nButton2=btnOpen,x,-50", alBottom, 29, true, false},
    };
    bar->SetOptions({sbAllowDrag, sbAllowResize});
    TSpeedItem* open = AddItem("btnOpen", 3, false);
    TSpeedItem* save = AddItem("btnSave", 27, true);
    for (const Case& c : cases) {
        test::TempDir dir;
        dir.Write("layout.ini", "[Bar]\r\n" + c.keys + "\r\n");
        TIniFile ini(dir / "layout.ini");
        bar->SetAlign(alBottom);
        bar->resize(bar->width(), 29);
        open->SetVisible(false);
        save->SetVisible(true);
        bar->LoadLayout(&ini, "Bar");
        EXPECT_EQ(bar->Align(), c.align) << c.keys;
        EXPECT_EQ(bar->height(), c.height) << c.keys;
        EXPECT_EQ(open->Visible(), c.openVisible) << c.keys;
        EXPECT_EQ(save->Visible(), c.saveVisible) << c.keys;
        EXPECT_GE(open->Top(), bar->BtnOffsetVert()) << c.keys;
    }
}

TEST_F(DockFixture, AnOlderVersionIsIgnoredAndAnotherPixelDensityRestoresOnlyTheSide) {
    bar->SetOptions({sbAllowDrag, sbAllowResize});
    bar->SetVersion(3);
    TSpeedItem* open = AddItem("btnOpen", 3, false);
    struct Case {
        std::string keys;
        TAlign align;
        bool openVisible;
    };
    const Case cases[] = {
        {"Version=2\r\nPosition=3\r\nCount=1\r\nButton1=btnOpen,3,3", alTop, false},
        {"Version=3\r\nPixelsPerInch=120\r\nPosition=3\r\nWidth=80\r\nCount=1\r\nButton1=btnOpen,3,3", alLeft, false},
        {"Version=4\r\nPosition=3\r\nCount=1\r\nButton1=btnOpen,3,3", alLeft, true},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        dir.Write("layout.ini", "[Bar]\r\n" + c.keys + "\r\n");
        TIniFile ini(dir / "layout.ini");
        bar->SetAlign(alTop);
        open->SetVisible(false);
        bar->LoadLayout(&ini, "Bar");
        EXPECT_EQ(bar->Align(), c.align) << c.keys;
        EXPECT_EQ(bar->width(), c.align == alLeft ? 29 : 800) << c.keys;
        EXPECT_EQ(open->Visible(), c.openVisible) << c.keys;
    }
}

TEST_F(DockFixture, TheLayoutRoundTripsThroughTheRegistryToo) {
    test::TempDir dir;
    SetRegistryFilePath(dir / "registry.reg");
    TRegIniFile reg("Software\\Zeko\\Test");
    AddItem("btnOpen", 19, true);
    bar->SaveLayout(&reg, "Bar");
    EXPECT_EQ(reg.ReadString("Bar", "Button1", ""), "btnOpen,19,3");
    EXPECT_EQ(reg.ReadInteger("Bar", "Count", 0), 1);
    bar->SearchItem("btnOpen")->SetLeft(200);
    bar->LoadLayout(&reg, "Bar");
    EXPECT_EQ(bar->SearchItem("btnOpen")->Left(), 19);
    SetRegistryFilePath(std::nullopt);
}
