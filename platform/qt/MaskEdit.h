#pragma once
// TCustomMaskEdit: the class library's masked edit on our one-line edit. With an
// EditMask (TEditMask syntax) the text always holds one character per place: the
// literals stay, typed characters overwrite places, removing blanks them, pasting
// types the clipboard's characters. Text reads the places back, blanks as the
// blank character. Without a mask it is a plain edit.
//
// Leaving the edit with a required place blank is refused: the focus comes back
// and the error is shown ("Invalid input value").
#include <functional>
#include <string>

#include "platform/EditMask.h"
#include "platform/qt/Edits.h"

namespace zeko {

class TCustomMaskEdit : public TCustomEdit {
public:
    explicit TCustomMaskEdit(QWidget* parent = nullptr);

    const std::string& EditMask() const { return editMask_; }
    // The text is put onto the new mask's places.
    void SetEditMask(const std::string& mask);
    bool IsMasked() const { return !mask_.Empty(); }
    const TEditMask& Mask() const { return mask_; }

    std::string Text() const override;
    void SetText(const std::string& text) override;  // put onto the places
    // The text as shown, blanks and literals included.
    std::string EditText() const;

    // EConvertError when a required place is blank; the cursor goes there.
    void ValidateEdit();
    // The clipboard operations through the mask.
    void CutToClipboard() override;
    void PasteFromClipboard() override;
    void DeleteSelection() override;
    void DoExit() override;
    // A refused exit's error waits to be shown until the focus change under way has
    // ended; true until then.
    bool ErrorPending() const { return errorPending_; }

protected:
    void TypeCharacter(char32_t ch) override;
    void EditKey(QKeyEvent* event) override;
    // Runs the check of leaving the edit; when it raises the conversion error, the
    // focus comes back to the edit and the error is shown (once the focus change
    // under way has ended), and the answer is false.
    bool PassesExitCheck(const std::function<void()>& check);

private:
    std::u32string Shown() const;
    void Apply(const TEditMask::Edit& edit);
    void Erase(bool backward);
    size_t SelStart() const;
    size_t SelLength() const;

    std::string editMask_;
    TEditMask mask_;
    bool errorPending_ = false;
};

} // namespace zeko
