// Form placement: default names, the INI and registry wrappers, the placement keys
// and their fallbacks, positions kept on the screens there are, and the component
// that restores on showing and saves on closing and destruction.
#include "controls/Placemnt.h"

#include "ControlsTestSupport.h"
#include "controls/SpeedBar.h"
#include "platform/Registry.h"
#include "platform/qt/WindowPlacement.h"
#include "support/TempDir.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMdiArea>


using namespace zeko;

namespace {

const TScreenInfo Screen1024{1024, 768, 96, {{0, 0, 1024, 768}}};

struct PlacementFixture : test::ControlHost {
    PlacementFixture() {
        SetScreenInfoForTest(Screen1024);
        SetRegistryFilePath(dir / "registry.reg");
    }
    ~PlacementFixture() override {
        SetScreenInfoForTest(std::nullopt);
        SetRegistryFilePath(std::nullopt);
        SetApplicationMainForm(nullptr);
    }
    test::TempDir dir;
};

} // namespace

TEST(ClampToWorkAreas, AWindowLandsOnTheMonitorItOverlapsMostOrOnTheFirst) {
    const std::vector<TRect> two{{0, 0, 1024, 768}, {1024, 0, 2048, 768}};
    const std::vector<TRect> one{{0, 0, 1024, 740}};
    struct Case {
        TRect window;
        std::vector<TRect> areas;
        TRect placed;
    };
    const Case cases[] = {
        {{10, 20, 310, 220}, one, {10, 20, 310, 220}},            // already there
        {{1100, 100, 1400, 300}, two, {1100, 100, 1400, 300}},    // on the second monitor
        {{1100, 100, 1400, 300}, one, {724, 100, 1024, 300}},     // the second monitor has gone
        {{-500, -40, -200, 160}, one, {0, 0, 300, 200}},
        {{900, 600, 1200, 900}, one, {724, 440, 1024, 740}},      // sticking out at the corner
        {{-10, -10, 2000, 1000}, one, {0, 0, 1024, 740}},         // larger than the screen
        {{1000, 10, 1100, 110}, two, {1024, 10, 1124, 110}},      // across both: onto the one it overlaps most
        {{10, 20, 310, 220}, {}, {10, 20, 310, 220}},             // no screen known
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClampToWorkAreas(c.window, c.areas), c.placed) << c.window.Left << "," << c.window.Top;
}

TEST_F(PlacementFixture, DefaultSectionsNameTheFormAndTheComponent) {
    QMainWindow form;
    form.setObjectName("Main");
    QWidget edit(&form);
    edit.setObjectName("Edit1");
    QObject component(&form);
    component.setObjectName("Comp");
    QObject loose;
    loose.setObjectName("Loose");
    EXPECT_EQ(GetDefaultSection(nullptr), "");
    EXPECT_EQ(GetDefaultSection(&form), "QMainWindow");
    EXPECT_EQ(GetDefaultSection(&edit), "QMainWindowEdit1");
    EXPECT_EQ(GetDefaultSection(&component), "QMainWindow.Comp");
    EXPECT_EQ(GetDefaultSection(&loose), "Loose");
}

TEST_F(PlacementFixture, DefaultStorageNamesComeFromTheProgram) {
    EXPECT_EQ(GetDefaultIniName(), "test_controls.INI");
    IniNameOverride = [] { return std::string("other.ini"); };
    EXPECT_EQ(GetDefaultIniName(), "other.ini");
    IniNameOverride = nullptr;

    EXPECT_EQ(GetDefaultIniRegKey(), "Software\\test_controls");
    RegistryCompany = "Company";
    EXPECT_EQ(GetDefaultIniRegKey(), "Software\\Company\\test_controls");
    const QString title = QGuiApplication::applicationDisplayName();
    QGuiApplication::setApplicationDisplayName("ZEKO");
    RegistryUseTitle = true;
    EXPECT_EQ(GetDefaultIniRegKey(), "Software\\Company\\ZEKO");
    RegistryUseTitle = false;
    RegistryCompany.clear();
    QGuiApplication::setApplicationDisplayName(title);
}

TEST_F(PlacementFixture, QuotedTextsGetOneMorePairOfQuotesInAnIniFileOnly) {
    struct Case {
        std::string value, line;
    };
    const Case cases[] = {
        {"\"quoted\"", "Key=\"\"quoted\"\""},
        {"'single'", "Key=\"'single'\""},
        {"plain", "Key=plain"},
        {"\"half", "Key=\"half"},
        {"\"", "Key=\""},
        {"'mixed\"", "Key='mixed\""},
    };
    for (const Case& c : cases) {
        TIniFile ini(dir / "quotes.ini");
        IniWriteString(&ini, "S", "Key", c.value);
        EXPECT_EQ(test::FileLines(dir / "quotes.ini").back(), c.line) << c.value;
        TRegIniFile reg("Software\\Test");
        IniWriteString(&reg, "S", "Key", c.value);
        EXPECT_EQ(IniReadString(&reg, "S", "Key", ""), c.value) << "the registry keeps it as it is";
    }
    TIniFile ini(dir / "quotes.ini");
    IniWriteString(&ini, "S", "Key", "\"quoted\"");
    EXPECT_EQ(IniReadString(&ini, "S", "Key", ""), "\"quoted\"") << "and reading gives it back whole";
    EXPECT_EQ(IniReadString(TIniObject{}, "S", "Key", "fallback"), "fallback");
    EXPECT_EQ(IniReadInteger(TIniObject{}, "S", "Key", 7), 7);
}

TEST_F(PlacementFixture, APlacementIsWrittenKeyByKeyUnderBothScreenKeys) {
    QWidget form;
    form.setGeometry(10, 20, 300, 200);
    form.show();
    TIniFile ini(dir / "place.ini");
    WriteFormPlacement(&form, &ini, "Form");
    const QRect g = form.geometry();
    const std::string norm = std::to_string(g.left()) + "," + std::to_string(g.top()) + "," +
                             std::to_string(g.left() + g.width()) + "," + std::to_string(g.top() + g.height());
    EXPECT_EQ(test::FileLines(dir / "place.ini"),
              (std::vector<std::string>{"[Form]", "Flags=0", "ShowCmd=1", "PixelsPerInch=96",
                                        "MinMaxPos(1024x768)=-1,-1,-1,-1", "MinMaxPos=-1,-1,-1,-1",
                                        "NormPos(1024x768)=" + norm, "NormPos=" + norm}));
}

TEST_F(PlacementFixture, StoredPositionsAndStatesComeBackWithTheirFallbacks) {
    struct Case {
        std::string keys;
        TScreenInfo screen;
        QRect geometry;
        Qt::WindowStates state;
    };
    const TScreenInfo screen800{800, 600, 96, {{0, 0, 800, 600}}};
    const Case cases[] = {
        {"NormPos(1024x768)=40,50,440,350\r\nNormPos=60,70,460,370", Screen1024, {40, 50, 400, 300}, {}},
        {"NormPos(1024x768)=40,50,440,350\r\nNormPos=60,70,460,370", screen800, {60, 70, 400, 300}, {}},
        {"PixelsPerInch=120\r\nNormPos=60,70,460,370\r\nShowCmd=3", Screen1024, {100, 100, 200, 150},
         Qt::WindowMaximized},  // sizes of another density are not applied; the state is
        {"NormPos=60,70", Screen1024, {60, 70, 240, 180}, {}},  // the missing words: the form's right and bottom
        {"NormPos=3000,2000,3300,2200", Screen1024, {724, 568, 300, 200}, {}},  // kept on the screen
        {"NormPos=1100,100,1400,300", Screen1024, {724, 100, 300, 200}, {}},    // a monitor that has gone
        {"ShowCmd=5", Screen1024, {100, 100, 200, 150}, {}},
        {"ShowCmd=7", Screen1024, {100, 100, 200, 150}, Qt::WindowMinimized},
        {"ShowCmd=4", Screen1024, {100, 100, 200, 150}, {}},  // no show command it knows: the default
        {"NormPos=x,y,z", Screen1024, {100, 100, 200, 150}, {}},
    };
    QWidget mainForm;
    SetApplicationMainForm(&mainForm);  // the forms below are not the main one
    for (const Case& c : cases) {
        SetScreenInfoForTest(c.screen);
        dir.Write("place.ini", "[Form]\r\n" + c.keys + "\r\n");
        TIniFile ini(dir / "place.ini");
        QWidget form;
        form.setGeometry(100, 100, 200, 150);
        ReadFormPlacement(&form, &ini, "Form", true, true);
        EXPECT_EQ(form.geometry(), c.geometry) << c.keys;
        EXPECT_EQ(form.windowState(), c.state) << c.keys;
    }
}

TEST_F(PlacementFixture, ANonSizeableFormKeepsItsOwnSize) {
    dir.Write("place.ini", "[Form]\r\nNormPos=40,50,440,350\r\n");
    TIniFile ini(dir / "place.ini");
    QWidget form;
    form.setFixedSize(120, 90);
    ReadFormPlacement(&form, &ini, "Form", true, false);
    EXPECT_EQ(form.geometry(), QRect(40, 50, 120, 90));
}

TEST_F(PlacementFixture, AMainFormStoredMinimizedStartsNormalAndMinimizesOnceTheRequestArrives) {
    dir.Write("place.ini", "[Form]\r\nShowCmd=2\r\n");
    TIniFile ini(dir / "place.ini");
    QWidget form;
    SetApplicationMainForm(&form);
    form.show();
    ReadFormPlacement(&form, &ini, "Form", false, true);
    EXPECT_FALSE(form.isMinimized());
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_TRUE(form.windowState().testFlag(Qt::WindowMinimized));
}

TEST_F(PlacementFixture, AMainMdiFrameWithoutAStoredStateOpensMaximized) {
    dir.Write("place.ini", "[Form]\r\n");
    TIniFile ini(dir / "place.ini");
    QMainWindow frame;
    frame.setCentralWidget(new QMdiArea);
    ReadFormPlacement(&frame, &ini, "Form", false, true);
    EXPECT_TRUE(frame.windowState().testFlag(Qt::WindowMaximized));
}

// ---------------------------------------------------------------- the component

namespace {

// A form whose closing can be refused.
class ClosingForm : public QWidget {
public:
    bool allowClose = true;

protected:
    void closeEvent(QCloseEvent* event) override { event->setAccepted(allowClose); }
};

} // namespace

TEST_F(PlacementFixture, TheComponentRestoresWhenShownAndSavesWhenTheFormMayClose) {
    dir.Write("place.ini", "[Form]\r\nNormPos=40,50,440,350\r\n");
    ClosingForm form;
    form.setGeometry(100, 100, 200, 150);
    auto* placement = new TFormPlacement(&form);
    placement->SetIniFileName(dir / "place.ini");
    placement->SetIniSection("Form");
    int restored = 0, saved = 0;
    placement->OnRestorePlacement = [&restored](TFormPlacement*) { ++restored; };
    placement->OnSavePlacement = [&saved](TFormPlacement*) { ++saved; };
    placement->Loaded();

    form.show();
    EXPECT_EQ(restored, 1);
    EXPECT_EQ(form.geometry(), QRect(40, 50, 400, 300));

    form.setGeometry(70, 80, 400, 300);
    form.allowClose = false;
    form.close();
    EXPECT_EQ(saved, 0) << "a refused close saves nothing";
    form.allowClose = true;
    form.close();
    EXPECT_EQ(saved, 1);
    TIniFile ini(dir / "place.ini");
    EXPECT_EQ(ini.ReadString("Form", "NormPos", ""), "70,80,470,380");
    EXPECT_EQ(ini.ReadString("Form", "Visible", ""), "0");
}

TEST_F(PlacementFixture, AFormDestroyedWithoutBeingShownKeepsWhatIsStored) {
    dir.Write("place.ini", "[Form]\r\nNormPos=40,50,440,350\r\n");
    {
        QWidget form;
        auto* placement = new TFormPlacement(&form);
        placement->SetIniFileName(dir / "place.ini");
        placement->SetIniSection("Form");
        placement->Loaded();
        form.setGeometry(300, 300, 10, 10);
    }
    TIniFile ini(dir / "place.ini");
    EXPECT_EQ(ini.ReadString("Form", "NormPos", ""), "40,50,440,350");
    EXPECT_FALSE(ini.ValueExists("Form", "Visible"));
}

TEST_F(PlacementFixture, AShownFormDestroyedWithoutClosingSavesOnceMarkedVisible) {
    {
        QWidget form;
        form.setGeometry(30, 40, 200, 100);
        auto* placement = new TFormPlacement(&form);
        placement->SetIniFileName(dir / "place.ini");
        placement->SetIniSection("Form");
        placement->Loaded();
        form.show();
    }
    TIniFile ini(dir / "place.ini");
    EXPECT_EQ(ini.ReadString("Form", "NormPos", ""), "30,40,230,140");
    EXPECT_EQ(ini.ReadString("Form", "Visible", ""), "1");
}

TEST_F(PlacementFixture, ThePlacementGoesToTheRegistryWhenAsked) {
    QWidget form;
    form.setGeometry(30, 40, 200, 100);
    form.show();
    TFormPlacement placement(&form);
    placement.SetUseRegistry(true);
    placement.SetIniFileName("Software\\Zeko\\Placement");
    placement.SetActive(false);  // an inactive component saves without a restore
    placement.SaveFormPlacement();
    TRegIniFile reg("Software\\Zeko\\Placement");
    EXPECT_EQ(reg.ReadString("QWidget", "NormPos(1024x768)", ""), "30,40,230,140");
    EXPECT_EQ(reg.ReadInteger("QWidget", "ShowCmd", -1), 1);

    form.setGeometry(500, 500, 10, 10);
    placement.RestoreFormPlacement();
    EXPECT_EQ(form.geometry(), QRect(30, 40, 200, 100));
}

TEST_F(PlacementFixture, LinksSaveAndLoadWithThePlacementUnderItsRootSection) {
    QWidget form;
    form.show();
    TFormPlacement placement(&form);
    placement.SetIniFileName(dir / "place.ini");
    placement.SetIniSection("Layouts");
    placement.SetOptions({});  // the links alone
    auto* bar = new TSpeedBar(&form);
    bar->setObjectName("SpeedBar1");
    bar->SetIniStorage(&placement);
    EXPECT_EQ(bar->LayoutSection(), "Layouts\\QWidgetSpeedBar1");

    TIniLink link;
    std::vector<std::string> calls;
    link.OnSave = [&calls](TIniLink* l) { calls.push_back("save " + l->RootSection()); };
    link.OnLoad = [&calls](TIniLink* l) {
        calls.push_back("load " + IniReadString(l->IniObject(), "Layouts\\QWidgetSpeedBar1", "Count", "?"));
    };
    link.SetStorage(&placement);
    placement.RestoreFormPlacement();
    placement.SaveFormPlacement();
    placement.RestoreFormPlacement();
    EXPECT_EQ(calls, (std::vector<std::string>{"load ?", "save Layouts\\", "load 0"}));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(link.IniObject())) << "closed after each run";
    delete bar;
}

TEST_F(PlacementFixture, PreventResizeFixesTheSizeAndTakesAwayMaximizing) {
    QWidget form;
    form.resize(300, 200);
    auto* placement = new TFormPlacement(&form);
    placement->SetIniFileName(dir / "place.ini");
    placement->Loaded();
    EXPECT_FALSE(placement->LimitsHooked());
    form.show();
    placement->SetPreventResize(true);
    EXPECT_TRUE(placement->LimitsHooked());
    EXPECT_EQ(form.minimumSize(), QSize(300, 200));
    EXPECT_EQ(form.maximumSize(), QSize(300, 200));
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(form.isVisible());
    placement->SetPreventResize(false);
    EXPECT_FALSE(placement->LimitsHooked());
    EXPECT_EQ(form.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

TEST_F(PlacementFixture, SizeLimitsBoundTheForm) {
    QWidget form;
    auto* placement = new TFormPlacement(&form);
    placement->Loaded();
    placement->MinMaxInfo().SetValue(TWinMinMaxInfo::MinTrackWidth, 150);
    placement->MinMaxInfo().SetValue(TWinMinMaxInfo::MaxTrackHeight, 400);
    EXPECT_TRUE(placement->LimitsHooked());
    EXPECT_EQ(form.minimumSize(), QSize(150, 0));
    EXPECT_EQ(form.maximumSize(), QSize(QWIDGETSIZE_MAX, 400));

    TFormPlacement other(nullptr);
    placement->SetMinMaxInfo(other.MinMaxInfo());  // all limits 0 again
    EXPECT_FALSE(placement->LimitsHooked());
    EXPECT_EQ(form.minimumSize(), QSize(0, 0));
}
