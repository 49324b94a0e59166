// The window hook: the order of the handlers, the handled cut-off, the window
// destroyed and made again, releasing and activating hooks, and the "IsForm" value.
#include "controls/ZcHook.h"

#include "QtTestApp.h"
#include "platform/Streams.h"

#include <QCoreApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zeko;

namespace {

constexpr auto Probe = static_cast<QEvent::Type>(QEvent::User + 7);

// A widget that notes the probe events its own handling sees.
class ProbeWidget : public QWidget {
public:
    explicit ProbeWidget(std::vector<std::string>& log, QWidget* parent = nullptr) : QWidget(parent), log_(log) {}

protected:
    bool event(QEvent* event) override {
        if (event->type() == Probe || IsWindowDestroyEvent(this, *event))
            log_.push_back("control");
        return QWidget::event(event);
    }

private:
    std::vector<std::string>& log_;
};

struct HookFixture : ::testing::Test {
    ~HookFixture() override { FreeHookList(); }

    // A hook on the widget whose handlers note their calls and mark the event
    // handled when told to.
    TZcWindowHook* AddHook(const std::string& name, QWidget* control) {
        auto* hook = new TZcWindowHook(&owner);
        hook->BeforeMessage = [this, name](TZcWindowHook*, QEvent& e, bool& handled) {
            if (e.type() != Probe && e.type() != QEvent::WinIdChange)
                return;
            log.push_back(name + ".before");
            handled = handled || handleAt == name + ".before";
        };
        hook->AfterMessage = [this, name](TZcWindowHook*, QEvent& e, bool& handled) {
            if (e.type() != Probe && e.type() != QEvent::WinIdChange)
                return;
            log.push_back(name + ".after");
            handled = handled || handleAt == name + ".after";
        };
        hook->SetWinControl(control);
        return hook;
    }

    void SendProbe(QWidget* to) {
        QEvent probe(Probe);
        QCoreApplication::sendEvent(to, &probe);
    }

    QObject owner;
    std::vector<std::string> log;
    std::string handleAt;
};

} // namespace

TEST_F(HookFixture, HandlersRunLastRegisteredFirstAndStopAtHandled) {
    struct Case {
        std::string handleAt;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"", {"B.before", "A.before", "control", "B.after", "A.after"}},
        {"B.before", {"B.before"}},  // kept from the widget and from A
        {"A.before", {"B.before", "A.before"}},
        {"B.after", {"B.before", "A.before", "control", "B.after"}},
        {"A.after", {"B.before", "A.before", "control", "B.after", "A.after"}},
    };
    ProbeWidget widget(log);
    AddHook("A", &widget);
    AddHook("B", &widget);
    for (const Case& c : cases) {
        log.clear();
        handleAt = c.handleAt;
        SendProbe(&widget);
        EXPECT_EQ(log, c.calls) << "handled at " << c.handleAt;
    }
    EXPECT_EQ(HookList().Count(), 1) << "both hooks share one TControlHook";
}

TEST_F(HookFixture, WindowDestroyedReachesTheWidgetAndIsHookedAgainWhenThePostedMessageArrives) {
    ProbeWidget widget(log);
    widget.show();
    AddHook("A", &widget);
    AddHook("B", &widget);
    TControlHook* controlHook = HookList().GetControlHook(&widget);
    ASSERT_TRUE(controlHook->Installed());

    handleAt = "B.before";  // even handled, the destruction reaches the widget
    widget.setWindowFlags(Qt::Tool);  // the native window is destroyed and made again
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ((std::vector<std::string>(log.begin(), log.begin() + 3)),
              (std::vector<std::string>{"B.before", "control", "B.after"}));
    EXPECT_FALSE(controlHook->Installed());

    handleAt.clear();
    log.clear();
    SendProbe(&widget);
    EXPECT_EQ(log, std::vector<std::string>{"control"}) << "unhooked until the message is handled";

    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(controlHook->Installed());
    log.clear();
    SendProbe(&widget);
    EXPECT_EQ(log, (std::vector<std::string>{"B.before", "A.before", "control", "B.after", "A.after"}));
}

TEST_F(HookFixture, DroppingTheOnlyHookUnhooksAtOnceAndFreesTheControlHookLater) {
    ProbeWidget widget(log);
    TZcWindowHook* hook = AddHook("A", &widget);
    TControlHook* controlHook = hook->ControlHook();
    ASSERT_NE(controlHook, nullptr);

    hook->SetWinControl(nullptr);
    EXPECT_EQ(hook->ControlHook(), nullptr);
    EXPECT_FALSE(controlHook->Installed());
    SendProbe(&widget);
    EXPECT_EQ(log, std::vector<std::string>{"control"});
    EXPECT_TRUE(HookList().Contains(controlHook));

    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(HookList().Contains(controlHook));
    EXPECT_EQ(HookList().Count(), 0);
}

TEST_F(HookFixture, ReleaseIsSkippedWhenAnotherHookRegisteredMeanwhile) {
    ProbeWidget widget(log);
    TZcWindowHook* first = AddHook("A", &widget);
    TControlHook* controlHook = first->ControlHook();
    first->SetWinControl(nullptr);  // CM_RELEASEHOOK posted
    AddHook("B", &widget);          // the same TControlHook is taken up again
    QCoreApplication::sendPostedEvents();
    ASSERT_TRUE(HookList().Contains(controlHook));
    SendProbe(&widget);
    EXPECT_EQ(log, (std::vector<std::string>{"B.before", "control", "B.after"}));
}

TEST_F(HookFixture, AnInactiveHookHoldsItsWidgetButSeesNothingUntilActivated) {
    ProbeWidget widget(log);
    auto* hook = new TZcWindowHook(&owner);
    hook->SetActive(false);
    hook->BeforeMessage = [this](TZcWindowHook*, QEvent& e, bool&) {
        if (e.type() == Probe)
            log.push_back("before");
    };
    hook->SetWinControl(&widget);
    EXPECT_EQ(hook->WinControl(), &widget);
    EXPECT_EQ(hook->ControlHook(), nullptr);
    SendProbe(&widget);
    EXPECT_EQ(log, std::vector<std::string>{"control"});

    log.clear();
    hook->SetActive(true);
    SendProbe(&widget);
    EXPECT_EQ(log, (std::vector<std::string>{"before", "control"}));

    log.clear();
    hook->SetActive(false);
    SendProbe(&widget);
    EXPECT_EQ(log, std::vector<std::string>{"control"});
}

TEST_F(HookFixture, MovingAHookToAnotherWidgetFollowsIt) {
    ProbeWidget first(log), second(log);
    TZcWindowHook* hook = AddHook("A", &first);
    hook->SetWinControl(&second);
    SendProbe(&first);
    EXPECT_EQ(log, std::vector<std::string>{"control"});
    log.clear();
    SendProbe(&second);
    EXPECT_EQ(log, (std::vector<std::string>{"A.before", "control", "A.after"}));
}

TEST_F(HookFixture, AWidgetDestroyedLeavesItsHooksWithoutAWidget) {
    auto* widget = new ProbeWidget(log);
    TZcWindowHook* hook = AddHook("A", widget);
    delete widget;
    EXPECT_EQ(hook->WinControl(), nullptr);
    EXPECT_EQ(hook->ControlHook(), nullptr);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(HookList().Count(), 0);
}

TEST_F(HookFixture, DestroyingAHookUnhooksItsWidget) {
    ProbeWidget widget(log);
    TZcWindowHook* hook = AddHook("A", &widget);
    delete hook;
    SendProbe(&widget);
    EXPECT_EQ(log, std::vector<std::string>{"control"});
}

TEST_F(HookFixture, FreeingTheListFreesItsControlHooksAndUnregistersTheirHooks) {
    ProbeWidget widget(log);
    TZcWindowHook* hook = AddHook("A", &widget);
    FreeHookList();
    EXPECT_EQ(hook->ControlHook(), nullptr);
    EXPECT_FALSE(HookListExists());
}

TEST_F(HookFixture, IsFormIsWrittenAndReadForAHookWatchingItsOwnerWindow) {
    QWidget form;
    auto* hook = new TZcWindowHook(&form);
    hook->SetWinControl(&form);
    QWidget child(&form);
    auto* childHook = new TZcWindowHook(&form);
    childHook->SetWinControl(&child);

    auto written = [](TZcWindowHook* h) {
        TMemoryStream stream;
        TWriter writer(stream);
        WriteDefinedProperties(writer, [h](TFiler& f) { h->DefineProperties(f); });
        return stream.Bytes();
    };
    const std::vector<uint8_t> isForm = written(hook);
    EXPECT_EQ(isForm.back(), vaNull);
    EXPECT_EQ(isForm[isForm.size() - 2], vaTrue);
    const std::vector<uint8_t> notForm = written(childHook);
    EXPECT_EQ(notForm[notForm.size() - 2], vaFalse);

    auto* loaded = new TZcWindowHook(&form);
    TMemoryStream stream(isForm);
    TReader reader(stream);
    ReadDefinedProperties(reader, [loaded](TFiler& f) { loaded->DefineProperties(f); });
    EXPECT_EQ(loaded->WinControl(), &form);
}
