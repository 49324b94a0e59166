#pragma once
// The cell editor of THyperGrid and its helpers: THgInplaceEdit takes the cell's
// colour and font, leaves room for the cell image, can show a button and a
// drop-down arrow, and shows typing suggestions in a ThgHintWindow; TPopupListbox
// is the drop-down list with incremental search.
#include <QListWidget>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "grids/HgGlobal.h"
#include "platform/qt/Grids.h"
#include "platform/qt/HintWindow.h"

namespace zeko {

class THyperGrid;
class ThgColumn;

// The small yellow window of cell hints and typing suggestions. It sizes itself
// to its text, stays on the screen and shows again whenever its text changes.
class ThgHintWindow : public THintWindow {
public:
    ThgHintWindow();
    void ActivateHint(TRect r, const std::string& text) override;
    void Paint(TCanvas& canvas) override;

protected:
    void CaptionChanged() override;

private:
    // The caption's width and 8 pixels (or its widest line), its wrapped height and 6.
    TSize FittingSize();
    void KeepOnScreen(TRect& r) const;
    bool activating_ = false;
};

// The drop-down list: a top-level list that does not take the focus, and that
// selects the first item beginning with what was typed within two seconds.
class TPopupListbox : public QListWidget {
public:
    static constexpr int SearchLimit = 32;
    static constexpr uint32_t SearchPauseMs = 2000;

    explicit TPopupListbox(QWidget* owner);

    void SetItems(const std::vector<std::string>& items);
    int ItemCount() const { return count(); }
    std::string ItemText(int index) const;
    int ItemIndex() const { return currentRow(); }
    void SetItemIndex(int index);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int height);
    int IndexOfExact(const std::string& text) const;  // without regard to case; -1 when absent
    void SetLook(TColor color, const TFont& font);
    const TFont& ListFont() const { return font_; }

    // A key typed while the list is dropped down.
    void SearchKey(char32_t& key);
    void NavigateKey(uint16_t key);
    const std::string& SearchText() const { return searchText_; }

    // Mouse release at a point of the list's client area.
    std::function<void(int x, int y)> OnMouseUp;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::string searchText_;
    uint32_t lastKeyTime_ = 0;
    int itemHeight_ = 11;
    TFont font_;
};

class THgInplaceEdit : public TInplaceEdit {
public:
    enum EditorControl : uint8_t { ecButton, ecArrow };
    using EditorControls = TSet<EditorControl>;

    explicit THgInplaceEdit(THyperGrid* grid);
    ~THgInplaceEdit() override;

    THyperGrid* HyperGrid() const { return hyperGrid_; }

    void UpdateContents() override;
    void BoundsChanged() override;
    void SetEditorControls(EditorControls value);
    EditorControls Controls() const { return editorControls_; }

    void DropDown();
    void CloseUp(bool accept);
    // Shows or hides the suggestion for the current text.
    void TextChanged();
    void ShowSuggestion(const std::string& suggestion);
    void AcceptSuggestion();
    void TrackButton(int x, int y);
    void StopTracking();

    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyPress(char32_t& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DoExit() override;
    void CancelMode(QWidget* sender) override;
    void Paint(TCanvas& canvas) override;

    // State, for the grid and for tests.
    int ButtonWidth() const { return buttonWidth_; }
    int ComboWidth() const { return comboWidth_; }
    TPopupListbox* ListBox() const { return listBox_.get(); }
    TPopupListbox* ActiveList() const { return activeList_; }
    bool DroppedDown() const { return droppedDown_; }
    bool Tracking() const { return tracking_; }
    ThgHintWindow* SuggestionWindow() const { return suggestionWindow_.get(); }
    bool ButtonPressed() const { return buttonPressed_; }
    bool ArrowPressed() const { return arrowPressed_; }
    const TRect& EditRect() const { return editRect_; }
    const TRect& ButtonRect() const { return buttonRect_; }
    const TRect& ArrowRect() const { return arrowRect_; }
    const TRect& ClientArea() const { return clientArea_; }
    int EditCol() const { return editCol_; }
    int EditRow() const { return editRow_; }
    const std::string& OriginalText() const { return originalText_; }

private:
    ThgColumn* CurrentColumn() const;
    bool ColumnReadOnly() const;
    bool OverList(int x, int y) const;  // the editor point lies over the shown list
    bool OverButton(int x, int y) const;
    bool OverArrow(int x, int y) const;
    void PaintButton(TCanvas& canvas);

    THyperGrid* hyperGrid_ = nullptr;
    int buttonWidth_;
    int comboWidth_;
    std::unique_ptr<TPopupListbox> listBox_;
    TPopupListbox* activeList_ = nullptr;
    EditorControls editorControls_;
    bool droppedDown_ = false;
    bool tracking_ = false;
    std::unique_ptr<ThgHintWindow> suggestionWindow_;
    bool buttonPressed_ = false;
    bool arrowPressed_ = false;
    TRect editRect_;
    TRect buttonRect_;
    TRect arrowRect_;
    TRect clientArea_;
    int editCol_ = -1;
    int editRow_ = -1;
    std::string originalText_;
};

} // namespace zeko
