#pragma once
// TFormPlacement: keeps a form's position, size and state in an INI file or the
// registry, restoring it when the form is shown and saving it when the form may
// close and when it is destroyed; can keep the form from being resized and impose
// minimum and maximum sizes (TWinMinMaxInfo); other components store their own
// settings at the same moments through a TIniLink.
//
// A restore has to come before a save: a form destroyed without having been shown
// does not overwrite what is stored.
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/AppUtils.h"
#include "controls/ZcHook.h"
#include "platform/Sets.h"

namespace zeko {

enum TPlacementOption : uint8_t { fpState, fpPosition, fpActiveControl };
using TPlacementOptions = TSet<TPlacementOption>;

class TFormPlacement;

// The limits of a form's size and of its maximized size and position; 0 is no limit.
class TWinMinMaxInfo {
public:
    explicit TWinMinMaxInfo(TFormPlacement* owner) : owner_(owner) {}

    enum TField : uint8_t { MaxSizeWidth, MaxSizeHeight, MaxPosLeft, MaxPosTop, MinTrackWidth, MinTrackHeight,
                            MaxTrackWidth, MaxTrackHeight, FieldCount };
    int Value(TField field) const { return values_[field]; }
    void SetValue(TField field, int value);
    void Assign(const TWinMinMaxInfo& other);
    // No limit is set.
    bool DefaultMinMaxInfo() const;

private:
    TFormPlacement* owner_ = nullptr;
    std::array<int, FieldCount> values_{};
};

// A client's share of a placement's storage.
class TIniLink {
public:
    TIniLink() = default;
    ~TIniLink();
    TIniLink(const TIniLink&) = delete;
    TIniLink& operator=(const TIniLink&) = delete;

    TFormPlacement* Storage() const { return storage_; }
    void SetStorage(TFormPlacement* storage);
    // The storage's open INI or registry object; none without storage or when none is open.
    TIniObject IniObject() const;
    // The storage's section as set (not its default) followed by "\", or empty.
    std::string RootSection() const;

    std::function<void(TIniLink*)> OnSave, OnLoad;

private:
    friend class TFormPlacement;
    TFormPlacement* storage_ = nullptr;
};

class TFormPlacement : public QObject {
public:
    // The owner is the form whose placement it keeps (or any component).
    explicit TFormPlacement(QObject* owner);
    ~TFormPlacement() override;

    bool Active() const { return active_; }
    void SetActive(bool value) { active_ = value; }
    // Empty gives the default: the registry key or the INI name of the program.
    std::string IniFileName() const;
    void SetIniFileName(const std::string& value) { iniFileName_ = value; }
    // Empty gives the owner's default section.
    std::string IniSection() const;
    const std::string& IniSectionAsSet() const { return iniSection_; }
    void SetIniSection(const std::string& value) { iniSection_ = value; }
    bool UseRegistry() const { return useRegistry_; }
    void SetUseRegistry(bool value) { useRegistry_ = value; }
    TPlacementOptions Options() const { return options_; }
    void SetOptions(TPlacementOptions value) { options_ = value; }
    bool PreventResize() const { return preventResize_; }
    void SetPreventResize(bool value);
    TWinMinMaxInfo& MinMaxInfo() { return minMaxInfo_; }
    void SetMinMaxInfo(const TWinMinMaxInfo& value) { minMaxInfo_.Assign(value); }

    std::function<void(TFormPlacement*)> OnSavePlacement, OnRestorePlacement;

    void SaveFormPlacement();
    void RestoreFormPlacement();
    // Reads or writes one text of the storage, opening it around the call when needed.
    std::string ReadString(const std::string& section, const std::string& key, const std::string& fallback);
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    TIniObject IniObject() const;

    // The end of reading the form: from now on the component follows the form's
    // showing, closing and destruction.
    void Loaded();

    // The form's events as the component handles them.
    void FormShow();
    void FormCloseQuery(bool canClose);
    void FormDestroy();

    bool Saved() const { return saved_; }
    bool Restored() const { return restored_; }
    // Whether the hook that applies the limits watches the form.
    bool LimitsHooked() const { return hook_->WinControl() != nullptr; }

protected:
    virtual void SavePlacement();
    virtual void RestorePlacement();

private:
    friend class TWinMinMaxInfo;
    friend class TIniLink;
    QWidget* Form() const;
    void OpenStorage();
    void CloseStorage();
    void LimitsChanged();
    void UpdatePlacement();
    void UpdateHook();
    void ApplyLimits();
    void HookAfterMessage(QEvent& event);
    template <typename Call>
    void ReportingFailures(Call call);

    bool active_ = true;
    std::string iniFileName_;
    std::string iniSection_;
    std::unique_ptr<TIniFile> iniFile_;
    bool useRegistry_ = false;
    std::unique_ptr<TRegIniFile> regIniFile_;
    std::vector<TIniLink*> links_;
    TPlacementOptions options_;
    bool saved_ = false;
    bool restored_ = false;
    bool destroying_ = false;
    bool preventResize_ = false;
    TWinMinMaxInfo minMaxInfo_;
    bool hadMaximizeIcon_ = true;
    bool attached_ = false;
    TZcWindowHook* hook_ = nullptr;        // the limits and PreventResize
    TZcWindowHook* formEvents_ = nullptr;  // showing and closing
};

} // namespace zeko
