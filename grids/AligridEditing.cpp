// Editing in the alignment grid. The editor reports through the grid's own
// messages, so that the events come in order after the key or focus change that
// caused them:
//   before-edit  AGM_BEGINEDIT (sent)   when the editor opens on a cell
//   end          AGM_ENDEDIT (posted)   Enter: validate, after-edit, next cell
//   leave        AGM_LEAVEEDIT (posted) the current cell moved while editing
//   cancel       AGM_CANCELEDIT (posted) Escape
//   restore      AGM_RESTOREEDITOR      the focus came back to an interrupted edit
#include "grids/Aligrid.h"

namespace zeko {

namespace {

TAlignment EditorAlignment(TMyAlign align) {
    switch (align) {
    case alLeft: return taLeftJustify;
    case alCenter: return taCenter;
    case alRight:
    case alDefault: break;
    }
    return taRightJustify;
}

int CellIndex(uintptr_t param) { return static_cast<int>(static_cast<intptr_t>(param)); }

} // namespace

// ---------------------------------------------------------------- the editor

TNewInplaceEdit::TNewInplaceEdit(TStringAlignGrid* grid) : TInplaceEdit(grid), alignGrid_(grid) {
    SetAlignment(EditorAlignment(EditAlignment));
}

void TNewInplaceEdit::SetEditAlignment(TMyAlign align) {
    if (align == EditAlignment)
        return;
    EditAlignment = align;
    const int start = SelStart(), length = SelLength();
    SetAlignment(EditorAlignment(align));
    SetSelStart(start);
    SetSelLength(length);
}

void TNewInplaceEdit::UpdateContents() {
    alignGrid_->PrepareEditor(*this);
    TInplaceEdit::UpdateContents();
    if (!alignGrid_->SelectEditText())
        Deselect();
    alignGrid_->PostMessage(AGM_NOTHING, 0, 0);
}

void TNewInplaceEdit::KeyDown(uint16_t& key, TShiftState shift) {
    // Page, End, Home and the arrows move inside a multi-line text.
    if (Multiline() && key >= VK_PRIOR && key <= VK_DOWN)
        return;
    TInplaceEdit::KeyDown(key, shift);
}

void TNewInplaceEdit::KeyPress(char32_t& key) {
    if (!HasCell()) {
        key = 0;
        return;
    }
    switch (key) {
    case CH_RETURN:
        if (Multiline()) {
            if (!alignGrid_->CanEditModify())
                key = 0;
            return;  // a new line in the text
        }
        alignGrid_->PostMessage(AGM_ENDEDIT, EditCol, EditRow);
        TInplaceEdit::KeyPress(key);  // on to the grid, which closes the editor
        return;
    case CH_ESCAPE:
        SetText(OldText);
        alignGrid_->PostMessage(AGM_CANCELEDIT, EditCol, EditRow);
        if (Multiline()) {
            // The grid keeps Enter for a multi-line editor: close it here.
            if (!alignGrid_->Options().Contains(goAlwaysShowEditor))
                alignGrid_->HideEditor();
            key = 0;
            return;
        }
        key = CH_RETURN;
        TInplaceEdit::KeyPress(key);  // on to the grid as Enter, which closes the editor
        return;
    case CH_TAB:
        key = 0;
        return;
    default:
        TInplaceEdit::KeyPress(key);
    }
}

// ---------------------------------------------------------------- the grid's side

TInplaceEdit* TStringAlignGrid::CreateEditor() { return new TNewInplaceEdit(this); }

TNewInplaceEdit* TStringAlignGrid::AlignEditor() const { return static_cast<TNewInplaceEdit*>(InplaceEditor()); }

bool TStringAlignGrid::CanEditShow() {
    bool result = TStringGrid::CanEditShow();
    TNewInplaceEdit* editor = AlignEditor();
    if (editor && (editor->EditCol != Col() || editor->EditRow != Row())) {
        if (editor->HasCell())
            PostMessage(AGM_LEAVEEDIT, editor->EditCol, editor->EditRow);
        editor->Started = false;
    }
    if (!ComponentState().Contains(csDesigning))
        result = result && (GetEditCell(Col(), Row()) || editAll_);
    if (!result) {
        if (editor)
            editor->ResetCell();
        if (EditorMode())
            HideEditor();
    }
    return result;
}

// The editor opens on the current cell: it takes the cell's look, and a new edit
// announces itself.
void TStringAlignGrid::PrepareEditor(TNewInplaceEdit& editor) {
    const int col = Col(), row = Row();
    editor.SetEditAlignment(GetAlignCell(col, row));
    editor.Font().Assign(GetCellFont(col, row));
    editor.SetColor(GetColorCell(col, row));
    editor.EditCol = col;
    editor.EditRow = row;
    editor.SetMultiline(editMultiline_);
    if (!editor.Started) {
        editor.Started = true;
        SendMessage(AGM_BEGINEDIT, col, row);
        editor.OldText = Cells(col, row);
    }
}

void TStringAlignGrid::HandleMessage(const TMessage& message) {
    const int col = CellIndex(message.WParam);
    const int row = static_cast<int>(message.LParam);
    switch (message.Msg) {
    case AGM_CANCELEDIT: CancelEdit(col, row); break;
    case AGM_ENDEDIT: FinishEdit(col, row, true); break;
    case AGM_LEAVEEDIT: FinishEdit(col, row, false); break;
    case AGM_BEGINEDIT: BeginEditMessage(col, row); break;
    case AGM_RESTOREEDITOR: RestoreEditor(); break;
    case AGM_NOTHING: break;
    case WM_CUT: CutToClipboard(); break;
    case WM_COPY: CopySelectionToClipboard(); break;
    case WM_PASTE: PasteSelectionFromClipboard(); break;
    default: TStringGrid::HandleMessage(message);
    }
}

// Ends the edit of (col, row). Only an edit still held by the editor is closed
// there; the editor may already have moved on to the next cell.
void TStringAlignGrid::FinishEdit(int col, int row, bool moveOn) {
    editorShown_ = false;
    TNewInplaceEdit* editor = AlignEditor();
    const bool ownCell = editor && editor->EditCol == col && editor->EditRow == row;
    if (editor && ownCell)
        editor->Started = false;
    const bool valid = col >= 0 && row >= 0;
    if (valid) {
        bool accepted = true;
        if (OnValidateEdit)
            OnValidateEdit(this, col, row, accepted);
        if (!accepted) {
            // Back to the cell with the typed text, still in the same edit.
            if (editor && ownCell)
                editor->Started = true;
            FocusCell(col, row);
            ShowEditor();
            editorShown_ = true;
            return;
        }
        if (editor && ownCell && !(editor->Visible() && Col() == col && Row() == row))
            editor->ResetCell();  // a later move must not end this edit again
        if (OnAfterEdit)
            OnAfterEdit(this, col, row);
    }
    if (moveOn && autoEditNextCell_ && valid) {
        int nextCol = Col(), nextRow = Row();
        NextEditableCell(nextCol, nextRow);
        if (nextCol >= 0 && nextRow >= 0 && !(nextCol == col && nextRow == row)) {
            if (editor)
                editor->ResetCell();
            FocusCell(nextCol, nextRow);
            ShowEditor();
            editorShown_ = true;
        }
    }
}

void TStringAlignGrid::CancelEdit(int col, int row) {
    editorShown_ = false;
    TNewInplaceEdit* editor = AlignEditor();
    if (editor && editor->EditCol == col && editor->EditRow == row) {
        editor->Started = false;
        if (!editor->Visible())
            editor->ResetCell();
    }
    if (col >= 0 && row >= 0 && OnCancelEdit)
        OnCancelEdit(this, col, row);
}

void TStringAlignGrid::BeginEditMessage(int col, int row) {
    if (col >= 0 && row >= 0 && OnBeforeEdit)
        OnBeforeEdit(this, col, row);
    editorShown_ = true;
}

void TStringAlignGrid::RestoreEditor() {
    ShowEditor();
    TNewInplaceEdit* editor = AlignEditor();
    if (!editor || !editor->Visible())
        return;
    if (savedSelLength_ < 0) {
        editor->SelectAll();
    } else {
        editor->SetSelStart(savedSelStart_);
        editor->SetSelLength(savedSelLength_);
    }
}

void TStringAlignGrid::EndEdit(bool cancel) {
    editorShown_ = false;
    TNewInplaceEdit* editor = AlignEditor();
    if (!editor || !editor->Visible())
        return;
    if (cancel) {
        editor->TypeKey(CH_ESCAPE);
        return;
    }
    const int col = editor->HasCell() ? editor->EditCol : Col();
    const int row = editor->HasCell() ? editor->EditRow : Row();
    HideEditor();
    FinishEdit(col, row, false);
}

void TStringAlignGrid::KeyPress(char32_t& key) {
    if (key == CH_RETURN && editMultiline_) {
        key = 0;
        return;
    }
    TStringGrid::KeyPress(key);
}

void TStringAlignGrid::DoExit() {
    if (EditorMode()) {
        editorReturn_ = true;
        if (TNewInplaceEdit* editor = AlignEditor()) {
            savedSelStart_ = editor->SelStart();
            savedSelLength_ = editor->SelLength();
        }
        EndEdit(false);
        if (editorShown_) {
            // Validation sent the user back to the cell.
            TNewInplaceEdit* editor = AlignEditor();
            if (editor && editor->Visible())
                editor->SetFocus();
            else
                setFocus();
            return;
        }
        TStringGrid::DoExit();
        HideEditor();
        return;
    }
    TStringGrid::DoExit();
}

void TStringAlignGrid::DoEnter() {
    TStringGrid::DoEnter();
    if (editorReturn_ && Options().Contains(goAlwaysShowEditor))
        PostMessage(AGM_RESTOREEDITOR, 0, 0);
}

} // namespace zeko
