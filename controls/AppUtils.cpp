#include "controls/AppUtils.h"

#include "controls/StrUtils.h"
#include "platform/qt/WindowPlacement.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

#include <cstdio>
#include <cstdlib>

namespace zeko {

std::function<std::string()> IniNameOverride;
std::string RegistryCompany;
bool RegistryUseTitle = false;

namespace {

QPointer<QWidget>& MainFormPointer() {
    static QPointer<QWidget> form;
    return form;
}

std::string ProgramBaseName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString();
}

bool QuotedBy(const std::string& s, char quote) { return s.size() >= 2 && s.front() == quote && s.back() == quote; }

const TCharSet PosDelimiters{' ', ','};

// Word n (1-based) of a position text as an integer, or the fallback.
int PosWord(const std::string& text, int n, int fallback) { return WordAsInteger(n, text, PosDelimiters, fallback); }

std::string PosText(int a, int b, int c, int d) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d,%d,%d,%d", a, b, c, d);
    return buf;
}

bool IsMdiFrame(const QWidget* form) { return form->findChild<QMdiArea*>() != nullptr; }
bool IsMdiChild(const QWidget* form) { return qobject_cast<QMdiSubWindow*>(form->parentWidget()) != nullptr; }
bool IsSizeable(const QWidget* form) { return form->minimumSize() != form->maximumSize(); }
bool IsMainFormOrNone(const QWidget* form) { return ApplicationMainForm() == nullptr || ApplicationMainForm() == form; }

// "ShowCmd" as a window state; other values keep the default.
Qt::WindowState StateOfShowCmd(long long showCmd, Qt::WindowState fallback) {
    switch (showCmd) {
    case 1: case 5: case 9: return Qt::WindowNoState;
    case 2: case 6: case 7: return Qt::WindowMinimized;
    case 3: return Qt::WindowMaximized;
    default: return fallback;
    }
}

} // namespace

std::string ComponentClassName(const QObject* component) {
    std::string name = component->metaObject()->className();
    if (const size_t colon = name.rfind("::"); colon != std::string::npos)
        name.erase(0, colon + 2);
    return name;
}

bool IsForm(const QObject* component) {
    const auto* widget = qobject_cast<const QWidget*>(component);
    return widget != nullptr && widget->isWindow();
}

std::string GetDefaultSection(const QObject* component) {
    if (component == nullptr)
        return "";
    const std::string name = component->objectName().toStdString();
    if (IsForm(component))
        return ComponentClassName(component);
    if (const auto* control = qobject_cast<const QWidget*>(component)) {
        if (const QWidget* form = control->parentWidget() ? control->window() : nullptr)
            return ComponentClassName(form) + name;
        return (control->parent() ? control->parent()->objectName().toStdString() : "") + name;
    }
    if (IsForm(component->parent()))
        return ComponentClassName(component->parent()) + "." + name;
    return name;
}

std::string GetDefaultIniName() {
    if (IniNameOverride)
        return IniNameOverride();
    return ProgramBaseName() + ".INI";
}

std::string GetDefaultIniRegKey() {
    std::string key = ProgramBaseName();
    const std::string title = QGuiApplication::applicationDisplayName().toStdString();
    if (RegistryUseTitle && !title.empty())
        key = title;
    if (!RegistryCompany.empty())
        key = RegistryCompany + "\\" + key;
    return "Software\\" + key;
}

std::string IniReadString(const TIniObject& ini, const std::string& section, const std::string& key,
                          const std::string& fallback) {
    if (auto* reg = std::get_if<TRegIniFile*>(&ini))
        return (*reg)->ReadString(section, key, fallback);
    if (auto* file = std::get_if<TIniFile*>(&ini))
        return (*file)->ReadString(section, key, fallback);
    return fallback;
}

void IniWriteString(const TIniObject& ini, const std::string& section, const std::string& key,
                    const std::string& value) {
    if (auto* reg = std::get_if<TRegIniFile*>(&ini))
        (*reg)->WriteString(section, key, value);
    else if (auto* file = std::get_if<TIniFile*>(&ini))
        (*file)->WriteString(section, key, QuotedBy(value, '"') || QuotedBy(value, '\'') ? "\"" + value + "\"" : value);
}

long long IniReadInteger(const TIniObject& ini, const std::string& section, const std::string& key,
                         long long fallback) {
    if (auto* reg = std::get_if<TRegIniFile*>(&ini))
        return (*reg)->ReadInteger(section, key, fallback);
    if (auto* file = std::get_if<TIniFile*>(&ini))
        return (*file)->ReadInteger(section, key, fallback);
    return fallback;
}

void IniWriteInteger(const TIniObject& ini, const std::string& section, const std::string& key, long long value) {
    if (auto* reg = std::get_if<TRegIniFile*>(&ini))
        (*reg)->WriteInteger(section, key, value);
    else if (auto* file = std::get_if<TIniFile*>(&ini))
        (*file)->WriteInteger(section, key, value);
}

void IniEraseSection(const TIniObject& ini, const std::string& section) {
    if (auto* reg = std::get_if<TRegIniFile*>(&ini))
        (*reg)->EraseSection(section);
    else if (auto* file = std::get_if<TIniFile*>(&ini))
        (*file)->EraseSection(section);
}

std::string ScreenSizeSuffix() {
    const TScreenInfo screen = ScreenInfo();
    return "(" + std::to_string(screen.Width) + "x" + std::to_string(screen.Height) + ")";
}

std::string ReadPosStr(const TIniObject& ini, const std::string& section, const std::string& key) {
    const std::string sized = IniReadString(ini, section, key + ScreenSizeSuffix(), "");
    return sized.empty() ? IniReadString(ini, section, key, "") : sized;
}

void WritePosStr(const TIniObject& ini, const std::string& section, const std::string& key, const std::string& text) {
    IniWriteString(ini, section, key + ScreenSizeSuffix(), text);
    IniWriteString(ini, section, key, text);
}

QWidget* ApplicationMainForm() { return MainFormPointer(); }
void SetApplicationMainForm(QWidget* form) { MainFormPointer() = form; }

void WriteFormPlacement(QWidget* form, const TIniObject& ini, const std::string& section) {
    const TWindowPlacement p = GetWindowPlacement(form);
    int flags = p.Flags;
    if (IsMdiChild(form) && form->isMinimized())
        flags |= WPF_SETMINPOSITION;
    IniWriteInteger(ini, section, "Flags", flags);
    IniWriteInteger(ini, section, "ShowCmd", p.ShowCmd);
    IniWriteInteger(ini, section, "PixelsPerInch", ScreenInfo().PixelsPerInch);
    WritePosStr(ini, section, "MinMaxPos", PosText(p.MinPosition.X, p.MinPosition.Y, p.MaxPosition.X, p.MaxPosition.Y));
    const TRect& n = p.NormalPosition;
    WritePosStr(ini, section, "NormPos", PosText(n.Left, n.Top, n.Right, n.Bottom));
}

namespace {

void ReadPosition(QWidget* form, const TIniObject& ini, const std::string& section, TWindowPlacement& p) {
    p.Flags = static_cast<int>(IniReadInteger(ini, section, "Flags", p.Flags));
    bool found = false;
    if (const std::string text = ReadPosStr(ini, section, "MinMaxPos"); !text.empty()) {
        found = true;
        p.MinPosition = {PosWord(text, 1, 0), PosWord(text, 2, 0)};
        p.MaxPosition = {PosWord(text, 3, 0), PosWord(text, 4, 0)};
    }
    const QRect g = form->geometry();
    if (const std::string text = ReadPosStr(ini, section, "NormPos"); !text.empty()) {
        found = true;
        p.NormalPosition = {PosWord(text, 1, g.left()), PosWord(text, 2, g.top()),
                            PosWord(text, 3, g.left() + g.width()), PosWord(text, 4, g.top() + g.height())};
    }
    // Sizes stored at another pixel density would not fit this one.
    if (IniReadInteger(ini, section, "PixelsPerInch", ScreenInfo().PixelsPerInch) != ScreenInfo().PixelsPerInch)
        found = false;
    if (!found)
        return;
    TRect& r = p.NormalPosition;
    if (!IsSizeable(form))
        r = {r.Left, r.Top, r.Left + g.width(), r.Top + g.height()};
    if (r.Right > r.Left)
        SetWindowPlacement(form, p);
}

void ReadState(QWidget* form, const TIniObject& ini, const std::string& section) {
    const bool mainForm = IsMainFormOrNone(form);
    const Qt::WindowState fallback = mainForm && IsMdiFrame(form) ? Qt::WindowMaximized : Qt::WindowNoState;
    const Qt::WindowState state = StateOfShowCmd(IniReadInteger(ini, section, "ShowCmd", 0), fallback);
    if (state == Qt::WindowMinimized && mainForm) {
        // The main window minimizes the whole program once the request arrives.
        form->setWindowState(Qt::WindowNoState);
        QMetaObject::invokeMethod(form, &QWidget::showMinimized, Qt::QueuedConnection);
        return;
    }
    form->setWindowState(state);
}

} // namespace

void ReadFormPlacement(QWidget* form, const TIniObject& ini, const std::string& section, bool loadPosition,
                       bool loadState) {
    if (!loadPosition && !loadState)
        return;
    TWindowPlacement p = GetWindowPlacement(form);
    if (form->isHidden())
        p.ShowCmd = SW_HIDE;
    if (loadPosition)
        ReadPosition(form, ini, section, p);
    if (loadState)
        ReadState(form, ini, section);
    form->update();
}

} // namespace zeko
