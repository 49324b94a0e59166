#pragma once
// The window hook: a component that sees every event of a widget before and after
// the widget's own handling.
//
// Several TZcWindowHook components may watch one widget; they share one
// TControlHook per widget, which is a Qt event filter on it. For each event the
// filter calls the before-handlers (the hook registered last first), then, unless
// one of them marked the event handled, the widget's own event handling, and then
// the after-handlers the same way round; the filter itself always answers that the
// event has been delivered. All TControlHooks live in the program-wide HookList(),
// whose utility object takes the two messages the hooks post to themselves.
//
// A widget's native window may be destroyed and made again while the widget lives
// (a change of window flags does that): the hook lets go of it when the window goes
// and takes hold again once the posted CM_REHOOKWINDOW has been handled.
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

#include "platform/FormStream.h"

namespace zeko {

// Posted to the hook list's utility object; the event carries the TControlHook.
constexpr int CM_REHOOKWINDOW = 0xB052;  // install the filter again
constexpr int CM_RELEASEHOOK = 0xB053;   // free the TControlHook when nothing uses it

class TControlHook;
class TZcWindowHook;

// Sender, the event, and whether it has been handled (stops the later handlers
// and, before the widget, keeps the event from it).
using THookMessageEvent = std::function<void(TZcWindowHook* sender, QEvent& message, bool& handled)>;

// The event that stands for the destruction of the widget's window: its window id
// changing to none. It always reaches the widget.
bool IsWindowDestroyEvent(const QWidget* control, const QEvent& event);

class TZcWindowHook : public QObject {
public:
    explicit TZcWindowHook(QObject* owner = nullptr);
    ~TZcWindowHook() override;

    bool Active() const { return active_; }
    void SetActive(bool value);
    // The TControlHook's widget while registered, else the one assigned.
    QWidget* WinControl() const;
    void SetWinControl(QWidget* value);
    TControlHook* ControlHook() const { return controlHook_; }

    THookMessageEvent BeforeMessage;
    THookMessageEvent AfterMessage;

    // "IsForm": whether the widget watched is the hook's owner and a window; on
    // reading True the owner (when it is a window) becomes the widget watched.
    void DefineProperties(TFiler& filer);

private:
    friend class TControlHook;
    void ControlDestroyed(QObject* control);
    bool WatchesOwnerForm() const;

    QPointer<QWidget> control_;
    QMetaObject::Connection freeNotification_;
    TControlHook* controlHook_ = nullptr;
    bool active_ = true;
    bool destroying_ = false;
};

class TControlHook : public QObject {
public:
    TControlHook();
    ~TControlHook() override;

    QWidget* Control() const { return control_; }
    // Unhooks the old widget, takes the new one and hooks it when a hook is registered.
    void SetControl(QWidget* value);
    void RegisterHook(TZcWindowHook* hook);
    void UnregisterHook(TZcWindowHook* hook);
    // Installs the filter unless it is installed or the widget is going.
    void HookControl();
    void UnhookControl();

    bool Installed() const { return installed_; }
    const std::vector<TZcWindowHook*>& Hooks() const { return hooks_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void NotifyHooks(bool before, QEvent& event, bool& handled);
    bool ControlGoing() const;

    QPointer<QWidget> control_;
    std::vector<TZcWindowHook*> hooks_;  // in registration order
    bool installed_ = false;
    bool destroying_ = false;
};

class THookList {
public:
    THookList();
    ~THookList();  // frees the TControlHooks left, the last one first
    THookList(const THookList&) = delete;
    THookList& operator=(const THookList&) = delete;

    // The first TControlHook of the widget, else a new one for it.
    TControlHook* GetControlHook(QWidget* control);
    bool Contains(const TControlHook* hook) const;
    void Remove(TControlHook* hook);
    int Count() const { return static_cast<int>(hooks_.size()); }
    // Queues CM_REHOOKWINDOW or CM_RELEASEHOOK for the hook.
    void Post(int message, TControlHook* hook);

private:
    class Utility;
    void HandlePosted(int message, TControlHook* hook);

    std::vector<TControlHook*> hooks_;
    std::unique_ptr<Utility> utility_;
};

// The program-wide list, made on first use and freed when the application ends.
THookList& HookList();
bool HookListExists();
void FreeHookList();

} // namespace zeko
