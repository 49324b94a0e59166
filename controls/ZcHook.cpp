#include "controls/ZcHook.h"

#include <QCoreApplication>

#include <algorithm>

namespace zeko {

bool IsWindowDestroyEvent(const QWidget* control, const QEvent& event) {
    return event.type() == QEvent::WinIdChange && control != nullptr && control->internalWinId() == 0;
}

// ---------------------------------------------------------------- TZcWindowHook

TZcWindowHook::TZcWindowHook(QObject* owner) : QObject(owner) {}

TZcWindowHook::~TZcWindowHook() {
    destroying_ = true;
    SetActive(false);
    SetWinControl(nullptr);
}

QWidget* TZcWindowHook::WinControl() const { return controlHook_ ? controlHook_->Control() : control_.data(); }

void TZcWindowHook::SetActive(bool value) {
    if (value) {
        if (control_ && !destroying_)
            HookList().GetControlHook(control_)->RegisterHook(this);
    } else if (controlHook_) {
        controlHook_->UnregisterHook(this);
    }
    active_ = value;
}

void TZcWindowHook::SetWinControl(QWidget* value) {
    if (value == WinControl())
        return;
    const bool wasActive = active_;
    TControlHook* left = controlHook_;
    if (controlHook_)
        controlHook_->UnregisterHook(this);
    QObject::disconnect(freeNotification_);
    control_ = value;
    if (value)
        freeNotification_ = connect(value, &QObject::destroyed, this, [this](QObject* c) { ControlDestroyed(c); });
    // Freed when the message arrives, outside whatever call chain runs now.
    if (left && left->Hooks().empty() && HookListExists())
        HookList().Post(CM_RELEASEHOOK, left);
    if (wasActive)
        SetActive(true);
}

void TZcWindowHook::ControlDestroyed(QObject* control) {
    if (control == control_.data() || control_.isNull() || control == parent() || parent() == nullptr)
        SetWinControl(nullptr);
}

bool TZcWindowHook::WatchesOwnerForm() const {
    auto* owner = qobject_cast<QWidget*>(parent());
    return owner != nullptr && owner->isWindow() && WinControl() == owner;
}

void TZcWindowHook::DefineProperties(TFiler& filer) {
    filer.DefineProperty(
        "IsForm",
        [this](TReader& reader) {
            auto* owner = qobject_cast<QWidget*>(parent());
            if (reader.ReadBoolean() && owner != nullptr && owner->isWindow())
                SetWinControl(owner);
        },
        [this](TWriter& writer) { writer.WriteBoolean(WatchesOwnerForm()); }, true);
}

// ---------------------------------------------------------------- TControlHook

TControlHook::TControlHook() = default;

TControlHook::~TControlHook() {
    destroying_ = true;
    if (HookListExists())
        HookList().Remove(this);
    while (!hooks_.empty())
        UnregisterHook(hooks_.back());
    control_ = nullptr;
}

void TControlHook::SetControl(QWidget* value) {
    if (value == control_.data())
        return;
    UnhookControl();
    control_ = value;
    if (!hooks_.empty())
        HookControl();
}

void TControlHook::RegisterHook(TZcWindowHook* hook) {
    if (std::find(hooks_.begin(), hooks_.end(), hook) != hooks_.end())
        return;
    hooks_.push_back(hook);
    hook->controlHook_ = this;
    SetControl(hook->control_);
    HookControl();
}

void TControlHook::UnregisterHook(TZcWindowHook* hook) {
    hook->controlHook_ = nullptr;
    hooks_.erase(std::remove(hooks_.begin(), hooks_.end(), hook), hooks_.end());
    if (hooks_.empty())
        UnhookControl();
}

bool TControlHook::ControlGoing() const { return control_.isNull(); }

void TControlHook::HookControl() {
    if (ControlGoing() || destroying_ || installed_)
        return;
    control_->installEventFilter(this);
    installed_ = true;
}

void TControlHook::UnhookControl() {
    if (installed_ && control_)
        control_->removeEventFilter(this);
    installed_ = false;
}

bool TControlHook::eventFilter(QObject* watched, QEvent* event) {
    if (watched != control_.data() || !installed_)
        return false;
    QWidget* control = control_;
    bool handled = false;
    if (event->type() != QEvent::Quit)
        NotifyHooks(true, *event, handled);
    const bool destroyed = IsWindowDestroyEvent(control, *event);
    if (!handled || destroyed) {
        // The widget's own handling, as the next procedure in the chain.
        static_cast<QObject*>(control)->event(event);
        NotifyHooks(false, *event, handled);
    }
    if (destroyed) {
        UnhookControl();
        if (HookListExists() && !destroying_ && !ControlGoing())
            HookList().Post(CM_REHOOKWINDOW, this);
    }
    return true;
}

void TControlHook::NotifyHooks(bool before, QEvent& event, bool& handled) {
    if (hooks_.empty() || ControlGoing() || destroying_)
        return;
    // A handler may unregister hooks; walk a copy and skip the ones that left.
    const std::vector<TZcWindowHook*> hooks = hooks_;
    for (auto it = hooks.rbegin(); it != hooks.rend(); ++it) {
        if (std::find(hooks_.begin(), hooks_.end(), *it) == hooks_.end())
            continue;
        const THookMessageEvent& handler = before ? (*it)->BeforeMessage : (*it)->AfterMessage;
        if (handler)
            handler(*it, event, handled);
        if (handled)
            break;
    }
}

// ---------------------------------------------------------------- THookList

namespace {

class HookEvent : public QEvent {
public:
    HookEvent(int message, TControlHook* hook) : QEvent(static_cast<QEvent::Type>(message)), Hook(hook) {}
    TControlHook* Hook;
};

std::unique_ptr<THookList>& HookListInstance() {
    static std::unique_ptr<THookList> instance;
    return instance;
}

} // namespace

class THookList::Utility : public QObject {
public:
    explicit Utility(THookList& list) : list_(list) {}

protected:
    bool event(QEvent* event) override {
        const int type = event->type();
        if (type != CM_REHOOKWINDOW && type != CM_RELEASEHOOK)
            return QObject::event(event);
        list_.HandlePosted(type, static_cast<HookEvent*>(event)->Hook);
        return true;
    }

private:
    THookList& list_;
};

THookList::THookList() : utility_(std::make_unique<Utility>(*this)) {}

THookList::~THookList() {
    // The list is already gone for HookListExists(): take each hook out here.
    while (!hooks_.empty()) {
        TControlHook* hook = hooks_.back();
        hooks_.pop_back();
        delete hook;
    }
}

TControlHook* THookList::GetControlHook(QWidget* control) {
    for (TControlHook* hook : hooks_)
        if (hook->Control() == control)
            return hook;
    auto* hook = new TControlHook;
    hooks_.push_back(hook);
    hook->SetControl(control);
    return hook;
}

bool THookList::Contains(const TControlHook* hook) const {
    return std::find(hooks_.begin(), hooks_.end(), hook) != hooks_.end();
}

void THookList::Remove(TControlHook* hook) { hooks_.erase(std::remove(hooks_.begin(), hooks_.end(), hook), hooks_.end()); }

void THookList::Post(int message, TControlHook* hook) {
    QCoreApplication::postEvent(utility_.get(), new HookEvent(message, hook));
}

void THookList::HandlePosted(int message, TControlHook* hook) {
    // The hook may have been freed since the message was posted.
    if (!Contains(hook))
        return;
    if (message == CM_REHOOKWINDOW)
        hook->HookControl();
    else if (hook->Hooks().empty())
        delete hook;
}

THookList& HookList() {
    auto& instance = HookListInstance();
    if (!instance) {
        instance = std::make_unique<THookList>();
        qAddPostRoutine(FreeHookList);
    }
    return *instance;
}

bool HookListExists() { return HookListInstance() != nullptr; }

void FreeHookList() { HookListInstance().reset(); }

} // namespace zeko
