// The speed bar: grid steps, sections and their names, items and their captions,
// hints and visibility, alignment and orientation, offsets, and the pixels of its
// edge lines with a child kept clear of them.
#include "controls/SpeedBar.h"

#include "ControlsTestSupport.h"
#include "platform/FormStream.h"
#include "platform/Streams.h"

#include <QLabel>

using namespace zeko;

namespace {

struct BarFixture : test::ControlHost {
    BarFixture() {
        host.resize(400, 300);
        bar = new TSpeedBar(&host);
        bar->setObjectName("SpeedBar1");
        bar->show();
    }
    TSpeedItem* AddItem(const std::string& name, int section = 0) {
        auto* item = new TSpeedItem(&owner);
        item->SetName(name);
        bar->AddItem(section, item);
        return item;
    }
    QObject owner;
    TSpeedBar* bar;
};

} // namespace

TEST(SpeedbarGridStep, IsADivisorOfTheButtonSizeUpToEightElseTheLargestBelowIt) {
    struct Case {
        int size, step;
    };
    const Case cases[] = {{24, 8}, {23, 1}, {25, 5}, {16, 8}, {30, 10}, {49, 7}, {9, 3}, {6, 2},
                          {3, 1},  {2, 1},  {1, 1},  {0, 1}};
    for (const Case c : cases)
        EXPECT_EQ(SpeedbarGridStep(c.size), c.step) << "button " << c.size;
}

TEST_F(BarFixture, StartsAsAHorizontalBarAtTheTopWithItsDefaults) {
    EXPECT_EQ(bar->Align(), alTop);
    EXPECT_EQ(bar->Orientation(), boHorizontal);
    EXPECT_EQ(bar->BtnWidth(), 24);
    EXPECT_EQ(bar->BtnHeight(), 23);
    EXPECT_EQ(bar->GridStep(), (TPoint{8, 23}));
    EXPECT_EQ(bar->MinButtonsOffset(), 3) << "button frame 2 and the raised bevel 1";
    EXPECT_EQ(bar->BtnOffsetHorz(), 3);
    EXPECT_EQ(bar->height(), 29);
    EXPECT_EQ(bar->width(), 400) << "aligned to the top of its parent";
    host.resize(500, 300);
    EXPECT_EQ(bar->width(), 500) << "and follows it";
    EXPECT_EQ(bar->Options(), (TSpeedbarOptions{sbAllowDrag, sbGrayedBtns}));
}

TEST_F(BarFixture, SectionsOfOneCaptionAreNumberedAndRenamingOneOntoAnotherFails) {
    EXPECT_EQ(bar->AppendSection("Untitled"), 0);
    EXPECT_EQ(bar->AppendSection("Untitled"), 1);
    EXPECT_EQ(bar->AppendSection("Untitled"), 2);
    EXPECT_EQ(bar->Sections(0)->Caption(), "Untitled");
    EXPECT_EQ(bar->Sections(1)->Caption(), "Untitled (1)");
    EXPECT_EQ(bar->Sections(2)->Caption(), "Untitled (2)");
    EXPECT_EQ(bar->SearchSection("Untitled (2)"), 2);
    EXPECT_EQ(bar->SearchSection("untitled"), -1) << "captions compare exactly";

    try {
        bar->Sections(2)->SetCaption("Untitled");
        FAIL() << "a duplicate caption";
    } catch (const ESpeedbarError& e) {
        EXPECT_STREQ(e.what(), "String list does not allow duplicates");
    }
    EXPECT_EQ(bar->Sections(2)->Caption(), "Untitled (2)");
    bar->Sections(2)->SetCaption("Untitled (2)");  // its own caption is no clash

    bar->SetLoading(true);
    bar->Sections(2)->SetCaption("Untitled");  // a form being read is not checked
    bar->SetLoading(false);
    EXPECT_EQ(bar->Sections(2)->Caption(), "Untitled");
}

TEST_F(BarFixture, SectionsMoveAndAreRemovedWithTheirItems) {
    bar->AppendSection("A");
    bar->AppendSection("B");
    TSpeedItem* b = AddItem("b", 1);
    bar->Sections(1)->SetIndex(-5);  // clamped to the first place
    EXPECT_EQ(bar->Sections(0)->Caption(), "B");
    EXPECT_EQ(b->Section(), 0);

    bar->RemoveSection(0);  // detached, not freed
    EXPECT_EQ(bar->SectionCount(), 1);
    EXPECT_EQ(b->SpeedBar(), nullptr);
    EXPECT_EQ(b->Section(), -1);
    EXPECT_EQ(bar->ItemsCount(), 0);
}

TEST_F(BarFixture, ItemsFindTheirSection) {
    auto* first = new TSpeedItem(&owner);
    bar->AddItem(0, first);
    ASSERT_EQ(bar->SectionCount(), 1) << "an item on a bar without sections makes one";
    EXPECT_EQ(bar->Sections(0)->Caption(), "");

    bar->AppendSection("Second");
    auto* late = new TSpeedItem(&owner);
    bar->AddItem(7, late);  // beyond the last section: the last
    EXPECT_EQ(late->Section(), 1);

    auto* redirected = new TSpeedItem(&owner);
    bar->OnAddItem = [](TSpeedBar*, TSpeedItem* item) { item->SetTag(item->Section()); };
    bar->AddItem(1, redirected);
    EXPECT_EQ(redirected->Tag(), 1);

    auto* named = new TSpeedItem(&owner);
    named->SetSectionName("Nowhere");
    named->ReadFromForm(bar);
    EXPECT_EQ(named->Section(), 0) << "a section name that names no section gives section 0";
    auto* found = new TSpeedItem(&owner);
    found->SetSectionName("Second");
    found->ReadFromForm(bar);
    EXPECT_EQ(found->Section(), 1);

    bar->AddItem(0, late);  // an item on the bar moves to the end of the section
    EXPECT_EQ(late->Section(), 0);
    EXPECT_EQ(bar->Sections(0)->Items(bar->Sections(0)->Count() - 1), late);
    EXPECT_EQ(bar->SearchItem("NOSUCH"), nullptr);
}

TEST_F(BarFixture, SearchItemIgnoresLetterCase) {
    TSpeedItem* item = AddItem("btnOpen");
    EXPECT_EQ(bar->SearchItem("BTNOPEN"), item);
}

TEST_F(BarFixture, TheHintFollowsTheCaption) {
    struct Case {
        std::string hint, caption, expected;
    };
    const Case cases[] = {
        {"", "Open", "Open|"},
        {"Old|the long text", "New", "New|the long text"},
        {"Old|the long text", "A|B", "A|B"},
        {"Old|the long text", "A|", "A|the long text"},
        {"Old", "New", "New|"},
    };
    for (const Case& c : cases) {
        TSpeedItem item;  // no owner: the hint always follows
        item.SetHint(c.hint);
        item.SetCaption(c.caption);
        EXPECT_EQ(item.Hint(), c.expected) << c.hint << " + " << c.caption;
    }

    TSpeedItem owned(&host);  // owned by a control: only a hint in step follows
    owned.SetHint("Other|long");
    owned.SetCaption("Mine");
    EXPECT_EQ(owned.Hint(), "Other|long");
}

TEST_F(BarFixture, RenamingAnItemWhoseCaptionIsItsNameRenamesTheCaption) {
    TSpeedItem item;
    item.SetName("btnOpen");
    EXPECT_EQ(item.Caption(), "btnOpen");
    EXPECT_EQ(item.Hint(), "btnOpen|");
    item.SetName("btnLoad");
    EXPECT_EQ(item.Caption(), "btnLoad");
    EXPECT_EQ(item.Hint(), "btnLoad|");
    item.SetCaption("Load");
    item.SetName("btnRead");
    EXPECT_EQ(item.Caption(), "Load");
}

TEST_F(BarFixture, AnItemShowsItsButtonOnlyWhileTheBarIsShown) {
    TSpeedItem* item = AddItem("btnOpen");
    EXPECT_TRUE(item->Button()->isHidden()) << "added items start hidden";
    bar->hide();
    item->SetVisible(true);
    EXPECT_TRUE(item->Visible());
    EXPECT_TRUE(item->Button()->isHidden());
    bar->show();
    EXPECT_FALSE(item->Button()->isHidden());
    EXPECT_EQ(item->Button()->parentWidget(), bar);
    item->SetVisible(false);
    EXPECT_TRUE(item->Button()->isHidden());
}

TEST_F(BarFixture, AnItemIsEnabledOnlyWithItsBar) {
    TSpeedItem* item = AddItem("btnOpen");
    item->SetVisible(true);
    bar->setEnabled(false);
    EXPECT_FALSE(item->Button()->isEnabled());
    bar->setEnabled(true);
    EXPECT_TRUE(item->Button()->isEnabled());
    item->SetEnabled(false);
    EXPECT_FALSE(item->Button()->isEnabled());
    item->SetEditing(true);  // customising: every button takes the mouse
    EXPECT_TRUE(item->Button()->isEnabled());
    item->SetEditing(false);
    EXPECT_FALSE(item->Button()->isEnabled());
}

TEST_F(BarFixture, NoneAndClientAreRefusedWhileThePositionIsAutomatic) {
    for (TAlign refused : {alNone, alClient}) {
        try {
            bar->SetAlign(refused);
            FAIL() << "align " << refused;
        } catch (const ESpeedbarError& e) {
            EXPECT_STREQ(e.what(), "Cannot set this property value while Position is bpAuto");
        }
        EXPECT_EQ(bar->Align(), alTop);
    }
    bar->SetPosition(bpCustom);
    bar->SetAlign(alNone);
    EXPECT_EQ(bar->Align(), alNone);
}

TEST_F(BarFixture, AnAutomaticBarTurnsItsButtonsWithItsSideACustomOneDoesNot) {
    TSpeedItem* item = AddItem("btnOpen");
    bar->SetAlign(alLeft);
    EXPECT_EQ(bar->Orientation(), boVertical);
    EXPECT_EQ(bar->BtnWidth(), 23);
    EXPECT_EQ(bar->BtnHeight(), 24);
    EXPECT_EQ(bar->GridStep(), (TPoint{23, 8}));
    EXPECT_EQ(item->Button()->size(), QSize(23, 24));
    EXPECT_EQ(bar->width(), 29) << "the bar keeps its thickness";
    EXPECT_EQ(bar->height(), 300);

    bar->SetAlign(alTop);
    bar->SetPosition(bpCustom);
    bar->SetAlign(alLeft);
    EXPECT_EQ(bar->Orientation(), boHorizontal);
    EXPECT_EQ(bar->BtnWidth(), 24);
    EXPECT_EQ(bar->BtnHeight(), 23);
}

TEST_F(BarFixture, ButtonOffsetsAreHeldToTheSmallestOffset) {
    struct Case {
        TBevelCut outer;
        bool flat;
        int borderWidth;
        int expected;
    };
    const Case cases[] = {
        {bvNone, false, 0, 2},    // the button frame
        {bvNone, true, 0, 0},     // flat buttons have none
        {bvRaised, false, 0, 3},  // plus the bevel
        {bvLowered, true, 4, 5},  // plus the border
    };
    TSpeedItem* item = AddItem("btnOpen");
    for (const Case& c : cases) {
        bar->SetBevelOuter(c.outer);
        bar->SetBorderWidth(c.borderWidth);
        TSpeedbarOptions options = bar->Options();
        bar->SetOptions(options.Set(sbFlatBtns, c.flat));
        bar->SetBtnOffsetHorz(0);
        bar->SetBtnOffsetVert(0);
        EXPECT_EQ(bar->BtnOffsetHorz(), c.expected);
        EXPECT_EQ(bar->BtnOffsetVert(), c.expected);
        EXPECT_EQ(item->Top(), bar->BtnOffsetVert()) << "the buttons move with the offset";
    }
}

TEST_F(BarFixture, ButtonSizesAndOptionsReachTheItemButtons) {
    TSpeedItem* item = AddItem("btnOpen");
    bar->SetBtnWidth(30);
    bar->SetBtnHeight(40);
    EXPECT_EQ(item->Button()->size(), QSize(30, 40));
    EXPECT_EQ(bar->GridStep(), (TPoint{10, 40}));
    EXPECT_GE(bar->height(), 2 * bar->BtnOffsetVert() + 40) << "a row of the new buttons fits";
    bar->SetOptions({sbFlatBtns, sbTransparentBtns});
    EXPECT_TRUE(item->Button()->Flat());
    EXPECT_TRUE(item->Button()->Transparent());
    EXPECT_FALSE(item->Button()->GrayedInactive());
}

TEST_F(BarFixture, ItemsDroppedOnTheBarSnapToTheGrid) {
    bar->SetBevelOuter(bvNone);
    bar->SetBtnOffsetHorz(2);  // grid 8 along and 23 across
    bar->SetBtnOffsetVert(2);
    bar->resize(400, 60);
    TSpeedItem* item = AddItem("btnOpen");
    struct Case {
        int x, y;
        bool accepted;
        int left, top;
    };
    const Case cases[] = {
        {14, 10, true, 18, 2},     // 1.5 steps: halves go to the even step
        {7, 10, true, 10, 2},
        {6, 10, true, 2, 2},       // 0.5 step: to the even step 0
        {30, 30, true, 34, 25},    // a step across the bar: cut, not rounded
        {-20, 10, false, -22, 2},  // left of the bar
        {395, 90, false, 394, 71},  // below the bar
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bar->AcceptDropItem(item, c.x, c.y), c.accepted) << c.x << "," << c.y;
        EXPECT_EQ(item->Visible(), c.accepted);
        EXPECT_EQ(item->Left(), c.left) << c.x << "," << c.y;
        EXPECT_EQ(item->Top(), c.top) << c.x << "," << c.y;
    }
    TSpeedItem other;
    EXPECT_FALSE(bar->AcceptDropItem(&other, 10, 10)) << "an item of no bar";
}

TEST(SnapToGrid, VerticalBarsRoundDownTheBarAndCutAcross) {
    EXPECT_EQ(SnapToGrid({30, 15}, boVertical, {2, 2}, {23, 8}), (TPoint{25, 18}));
    EXPECT_EQ(SnapToGrid({30, 6}, boVertical, {2, 2}, {23, 8}), (TPoint{25, 2}));
    EXPECT_EQ(SnapToGrid({30, 6}, boVertical, {2, 2}, {0, 0}), (TPoint{30, 6})) << "no step is a step of 1";
}

TEST_F(BarFixture, DestroyingTheBarFreesItsItemsAndTellsTheCustomiser) {
    struct Customiser : QObject {
        std::vector<int> notes;
        bool event(QEvent* e) override {
            if (e->type() == CM_SPEEDBARCHANGED)
                notes.push_back(static_cast<TSpeedbarChangedEvent*>(e)->WParam);
            return true;
        }
    } customiser;
    QPointer<TSpeedItem> item = AddItem("btnOpen");
    bar->SetCustomizeWindow(&customiser);
    EXPECT_TRUE(item->Editing());
    bar->SetBtnWidth(30);
    delete bar;
    EXPECT_EQ(customiser.notes, (std::vector<int>{SBR_BTNSIZECHANGED, SBR_DESTROYED}));
    EXPECT_TRUE(item.isNull());
}

// ---------------------------------------------------------------- pixels

TEST_F(BarFixture, BoundLinesOfA32PixelBarAndATopAlignedChildClearOfThem) {
    bar->SetBevelOuter(bvNone);
    bar->SetBoundLines({blTop, blBottom});
    bar->resize(bar->width(), 32);
    auto* label = new QLabel("Label", bar);
    label->resize(60, 14);
    SetControlAlign(label, alTop);
    label->show();
    EXPECT_EQ(label->geometry(), QRect(0, 2, 400, 14));

    label->hide();  // the lines alone
    const QImage shot = bar->grab().toImage();
    const TColor shadow = ColorToRGB(clBtnShadow), light = ColorToRGB(clBtnHighlight), face = ColorToRGB(clBtnFace);
    for (int x : {0, 200, 399}) {
        EXPECT_EQ(test::PixelAt(shot, x, 0), shadow) << x;
        EXPECT_EQ(test::PixelAt(shot, x, 1), light) << x;
        EXPECT_EQ(test::PixelAt(shot, x, 30), shadow) << x;
        EXPECT_EQ(test::PixelAt(shot, x, 31), light) << x;
        for (int y : {2, 15, 29})
            EXPECT_EQ(test::PixelAt(shot, x, y), face) << x << "," << y;
    }
    test::SaveArtefact(shot, "speedbar-boundlines.png");
}

TEST_F(BarFixture, SideLinesAndChildrenAlignedToEverySide) {
    bar->SetBevelOuter(bvNone);
    bar->SetPosition(bpCustom);
    bar->SetBoundLines({blTop, blBottom, blLeft, blRight});
    bar->resize(bar->width(), 40);
    auto* left = new QWidget(bar);
    left->resize(10, 10);
    SetControlAlign(left, alLeft);
    auto* rest = new QWidget(bar);
    SetControlAlign(rest, alClient);
    left->show();
    rest->show();
    EXPECT_EQ(left->geometry(), QRect(2, 2, 10, 36));
    EXPECT_EQ(rest->geometry(), QRect(12, 2, 400 - 2 - 12, 36));

    left->hide();
    rest->hide();
    const QImage shot = bar->grab().toImage();
    const TColor shadow = ColorToRGB(clBtnShadow), light = ColorToRGB(clBtnHighlight);
    EXPECT_EQ(test::PixelAt(shot, 0, 20), shadow);
    EXPECT_EQ(test::PixelAt(shot, 1, 20), light);
    EXPECT_EQ(test::PixelAt(shot, 398, 20), shadow);
    EXPECT_EQ(test::PixelAt(shot, 399, 20), light);
}

TEST_F(BarFixture, TheWallpaperIsTiledInsideTheBevel) {
    QImage tile(10, 10, QImage::Format_RGB32);
    tile.fill(QColor(0, 0, 255));
    bar->Wallpaper().SetGraphic(tile);
    bar->update();
    const QImage shot = bar->grab().toImage();
    EXPECT_EQ(test::InkBox(shot, {0, 0, shot.width(), shot.height()}, clBlue),
              (TRect{1, 1, shot.width() - 1, shot.height() - 1}));
}

// A form designed at 96 pixels per inch shown at 120: every size and offset, or
// while the form is read only those its resource set, and the items back on the
// new grid.
TEST_F(BarFixture, ScalingTakesTheButtonsAndOffsetsAndPutsTheItemsOnTheNewGrid) {
    TSpeedItem* item = AddItem("btnOpen");
    item->SetLeft(27);
    item->SetTop(3);
    item->SetVisible(true);
    auto* label = new QLabel("Stav:", bar);
    label->setGeometry(100, 4, 40, 16);
    bar->ChangeScale(120, 96);
    EXPECT_EQ(bar->height(), 36) << "the panel scales with its buttons";
    EXPECT_EQ(bar->width(), 400) << "and keeps the width of its side";
    EXPECT_EQ(label->geometry(), QRect(125, 5, 50, 20));
    EXPECT_EQ(bar->BtnWidth(), 30);
    EXPECT_EQ(bar->BtnHeight(), 29);  // 28.75
    EXPECT_EQ(bar->BtnOffsetHorz(), 4);
    EXPECT_EQ(bar->GridStep(), (TPoint{10, 29}));
    EXPECT_EQ(item->Left(), 34);  // 27 scaled, then 4 + 3 steps of the new grid
    EXPECT_EQ(item->Top(), 4);

    bar->SetLoading(true);
    bar->SetBtnWidth(24);
    bar->ChangeScale(120, 96);
    bar->Loaded();
    EXPECT_EQ(bar->BtnWidth(), 30);
    EXPECT_EQ(bar->BtnHeight(), 29) << "not set by the resource: not scaled again";
    EXPECT_EQ(bar->BtnOffsetVert(), 4);
}

TEST_F(BarFixture, AFormResourceAddsItsMissingSectionsAndItsDragSwitch) {
    bar->AppendSection("Untitled (0)");
    TMemoryStream written;
    TWriter writer(written);
    writer.WritePropName("Sections");
    writer.WriteListBegin();
    writer.WriteString("Untitled (0)");
    writer.WriteString("Druhá");
    writer.WriteListEnd();
    writer.WritePropName("NewStyle");
    writer.WriteBoolean(true);
    writer.WritePropName("AllowDrag");
    writer.WriteBoolean(false);
    writer.WriteListEnd();
    TMemoryStream stream(written.Bytes());
    TReader reader(stream);
    ReadDefinedProperties(reader, [this](TFiler& f) { bar->DefineProperties(f); });
    ASSERT_EQ(bar->SectionCount(), 2);
    EXPECT_EQ(bar->Sections(1)->Caption(), "Druhá");
    EXPECT_FALSE(bar->Options().Contains(sbAllowDrag));
    EXPECT_EQ(bar->InternalVersion(), 0);

    // The bar writes its version of the layout, 1.
    TMemoryStream out;
    TWriter again(out);
    WriteDefinedProperties(again, [this](TFiler& f) { bar->DefineProperties(f); });
    const std::vector<uint8_t> bytes = out.Bytes();
    const std::string name = "InternalVer";
    EXPECT_EQ(bytes[0], name.size());
    EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 1 + name.size()), name);
    EXPECT_EQ(bytes.back(), vaNull);
}
