#include "controls/Placemnt.h"

#include "platform/Notifier.h"
#include "platform/qt/WindowPlacement.h"

#include <QCloseEvent>
#include <QDialog>

#include <algorithm>

namespace zeko {

// ---------------------------------------------------------------- TWinMinMaxInfo

void TWinMinMaxInfo::SetValue(TField field, int value) {
    if (values_[field] == value)
        return;
    values_[field] = value;
    owner_->LimitsChanged();
}

void TWinMinMaxInfo::Assign(const TWinMinMaxInfo& other) {
    values_ = other.values_;
    owner_->LimitsChanged();
}

bool TWinMinMaxInfo::DefaultMinMaxInfo() const {
    return std::all_of(values_.begin(), values_.end(), [](int v) { return v == 0; });
}

// ---------------------------------------------------------------- TIniLink

TIniLink::~TIniLink() {
    OnSave = nullptr;
    OnLoad = nullptr;
    SetStorage(nullptr);
}

void TIniLink::SetStorage(TFormPlacement* storage) {
    if (storage_ == storage)
        return;
    if (storage_)
        std::erase(storage_->links_, this);
    storage_ = storage;
    if (storage_)
        storage_->links_.push_back(this);
}

TIniObject TIniLink::IniObject() const { return storage_ ? storage_->IniObject() : TIniObject{}; }

std::string TIniLink::RootSection() const {
    if (storage_ == nullptr || storage_->IniSectionAsSet().empty())
        return "";
    return storage_->IniSectionAsSet() + "\\";
}

// ---------------------------------------------------------------- TFormPlacement

TFormPlacement::TFormPlacement(QObject* owner)
    : QObject(owner), minMaxInfo_(this), hook_(new TZcWindowHook(this)), formEvents_(new TZcWindowHook(this)) {
    if (IsForm(owner))
        options_ = {fpState, fpPosition};
    hook_->AfterMessage = [this](TZcWindowHook*, QEvent& event, bool&) { HookAfterMessage(event); };
    formEvents_->BeforeMessage = [this](TZcWindowHook*, QEvent& event, bool&) {
        if (event.type() == QEvent::Show)
            FormShow();
    };
    formEvents_->AfterMessage = [this](TZcWindowHook*, QEvent& event, bool&) {
        if (event.type() == QEvent::Close)
            FormCloseQuery(event.isAccepted());
    };
}

TFormPlacement::~TFormPlacement() {
    // The component ends with its form.
    if (attached_ && Form() != nullptr)
        FormDestroy();
    CloseStorage();
    while (!links_.empty())
        links_.back()->SetStorage(nullptr);
}

QWidget* TFormPlacement::Form() const { return IsForm(parent()) ? static_cast<QWidget*>(parent()) : nullptr; }

std::string TFormPlacement::IniFileName() const {
    if (!iniFileName_.empty())
        return iniFileName_;
    return useRegistry_ ? GetDefaultIniRegKey() : GetDefaultIniName();
}

std::string TFormPlacement::IniSection() const { return iniSection_.empty() ? GetDefaultSection(parent()) : iniSection_; }

TIniObject TFormPlacement::IniObject() const {
    if (regIniFile_)
        return regIniFile_.get();
    if (iniFile_)
        return iniFile_.get();
    return {};
}

void TFormPlacement::OpenStorage() {
    if (iniFile_ || regIniFile_)
        return;
    if (useRegistry_)
        regIniFile_ = std::make_unique<TRegIniFile>(IniFileName());
    else
        iniFile_ = std::make_unique<TIniFile>(IniFileName());
}

void TFormPlacement::CloseStorage() {
    iniFile_.reset();
    regIniFile_.reset();
}

namespace {
// Closes the storage when the call that opened it ends, also by an exception.
struct StorageSession {
    StorageSession(bool wasOpen, std::function<void()> close) : close_(wasOpen ? nullptr : std::move(close)) {}
    ~StorageSession() {
        if (close_)
            close_();
    }
    std::function<void()> close_;
};
} // namespace

void TFormPlacement::SaveFormPlacement() {
    if (!restored_ && active_)
        return;
    StorageSession session(false, [this] { CloseStorage(); });
    OpenStorage();
    SavePlacement();
    if (OnSavePlacement)
        OnSavePlacement(this);
    saved_ = true;
}

void TFormPlacement::RestoreFormPlacement() {
    saved_ = false;
    {
        StorageSession session(false, [this] { CloseStorage(); });
        OpenStorage();
        RestorePlacement();
        restored_ = true;
        if (OnRestorePlacement)
            OnRestorePlacement(this);
        QWidget* form = Form();
        if (options_.Contains(fpActiveControl) && form != nullptr) {
            const std::string name = IniReadString(IniObject(), IniSection(), "ActiveControl", "");
            auto* control = name.empty() ? nullptr : form->findChild<QWidget*>(QString::fromStdString(name));
            if (control != nullptr && control->focusPolicy() != Qt::NoFocus && control->isEnabled())
                control->setFocus();
        }
    }
    UpdatePlacement();
}

void TFormPlacement::SavePlacement() {
    if (QWidget* form = Form()) {
        const std::string section = IniSection();
        WriteFormPlacement(form, IniObject(), section);
        if (options_.Contains(fpActiveControl) && form->focusWidget() != nullptr)
            IniWriteString(IniObject(), section, "ActiveControl", form->focusWidget()->objectName().toStdString());
        IniWriteInteger(IniObject(), section, "Visible", destroying_ ? 1 : 0);
    }
    // A handler may attach or detach links.
    const std::vector<TIniLink*> links = links_;
    for (TIniLink* link : links)
        if (link->OnSave)
            link->OnSave(link);
}

void TFormPlacement::RestorePlacement() {
    if (QWidget* form = Form())
        ReadFormPlacement(form, IniObject(), IniSection(), options_.Contains(fpPosition), options_.Contains(fpState));
    const std::vector<TIniLink*> links = links_;
    for (TIniLink* link : links)
        if (link->OnLoad)
            link->OnLoad(link);
}

std::string TFormPlacement::ReadString(const std::string& section, const std::string& key,
                                       const std::string& fallback) {
    StorageSession session(iniFile_ || regIniFile_, [this] { CloseStorage(); });
    OpenStorage();
    return IniReadString(IniObject(), section, key, fallback);
}

void TFormPlacement::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    StorageSession session(iniFile_ || regIniFile_, [this] { CloseStorage(); });
    OpenStorage();
    IniWriteString(IniObject(), section, key, value);
}

void TFormPlacement::Loaded() {
    QWidget* form = Form();
    if (form == nullptr)
        return;
    formEvents_->SetWinControl(form);
    attached_ = true;
    hadMaximizeIcon_ = form->windowFlags().testFlag(Qt::WindowMaximizeButtonHint);
    if (preventResize_) {
        preventResize_ = false;
        SetPreventResize(true);
    }
    UpdateHook();
}

template <typename Call>
void TFormPlacement::ReportingFailures(Call call) {
    try {
        call();
    } catch (const std::exception& e) {
        MessageDlg(e.what(), TMsgDlgType::mtError);
    }
}

void TFormPlacement::FormShow() {
    if (active_)
        ReportingFailures([this] { RestoreFormPlacement(); });
}

void TFormPlacement::FormCloseQuery(bool canClose) {
    if (canClose && active_ && Form() != nullptr)
        ReportingFailures([this] { SaveFormPlacement(); });
}

void TFormPlacement::FormDestroy() {
    if (!active_ || saved_)
        return;
    destroying_ = true;
    ReportingFailures([this] { SaveFormPlacement(); });
    destroying_ = false;
}

void TFormPlacement::SetPreventResize(bool value) {
    if (value == preventResize_)
        return;
    preventResize_ = value;
    QWidget* form = Form();
    if (form == nullptr)
        return;
    UpdatePlacement();
    if (!attached_)
        return;
    if (value)
        hadMaximizeIcon_ = form->windowFlags().testFlag(Qt::WindowMaximizeButtonHint);
    // Changing the window's flags shows it again; that is no showing to restore at.
    const bool wasActive = active_;
    active_ = false;
    const bool visible = form->isVisible();
    form->setWindowFlag(Qt::WindowMaximizeButtonHint, !value && hadMaximizeIcon_ && qobject_cast<QDialog*>(form) == nullptr);
    if (visible)
        form->show();
    active_ = wasActive;
    UpdateHook();
    ApplyLimits();
}

void TFormPlacement::LimitsChanged() {
    UpdatePlacement();
    UpdateHook();
    ApplyLimits();
}

void TFormPlacement::UpdatePlacement() {
    QWidget* form = Form();
    if (form == nullptr || preventResize_ || !minMaxInfo_.DefaultMinMaxInfo())
        return;
    const TPoint frame = WindowFrameSize(form);
    SetMaximizedPosition(form, {-frame.X, -frame.Y});
}

void TFormPlacement::UpdateHook() {
    QWidget* form = attached_ ? Form() : nullptr;
    const bool watch = form != nullptr && (preventResize_ || !minMaxInfo_.DefaultMinMaxInfo());
    hook_->SetWinControl(watch ? form : nullptr);
}

void TFormPlacement::ApplyLimits() {
    QWidget* form = Form();
    if (form == nullptr || !attached_)
        return;
    if (preventResize_) {
        if (form->isVisible())
            form->setFixedSize(form->size());
        return;
    }
    using F = TWinMinMaxInfo;
    const auto limit = [this](F::TField f, int none) { return minMaxInfo_.Value(f) != 0 ? minMaxInfo_.Value(f) : none; };
    form->setMinimumSize(limit(F::MinTrackWidth, 0), limit(F::MinTrackHeight, 0));
    form->setMaximumSize(limit(F::MaxTrackWidth, QWIDGETSIZE_MAX), limit(F::MaxTrackHeight, QWIDGETSIZE_MAX));
    if (minMaxInfo_.DefaultMinMaxInfo())
        SetMaximizedPosition(form, {0, 0});
    else if (minMaxInfo_.Value(F::MaxPosLeft) != 0 || minMaxInfo_.Value(F::MaxPosTop) != 0)
        SetMaximizedPosition(form, {minMaxInfo_.Value(F::MaxPosLeft), minMaxInfo_.Value(F::MaxPosTop)});
}

void TFormPlacement::HookAfterMessage(QEvent& event) {
    // Qt keeps the limits as the window's own sizes; a window shown anew takes them again.
    if (event.type() == QEvent::Show)
        ApplyLimits();
}

} // namespace zeko
