#include "grids/HgEdit.h"

#include <QMouseEvent>

#include <algorithm>

#include "grids/HgGrid.h"
#include "platform/TextFiles.h"
#include "platform/TickClock.h"

namespace zeko {

namespace {

std::string Upper(const std::string& s) { return QString::fromStdString(s).toUpper().toStdString(); }

} // namespace

// ================================================================ ThgHintWindow

ThgHintWindow::ThgHintWindow() {
    SetColor(clInfoBk);
    Font().SetColor(clInfoText);
}

void ThgHintWindow::Paint(TCanvas& canvas) {
    TRect r = ClientRect();
    InflateRect(r, -1, -1);
    canvas.Brush().SetColor(Color());
    canvas.Brush().SetStyle(bsSolid);
    canvas.FillRect(r);
    r = ClientRect();
    r.Left += 2;
    r.Top += 2;
    canvas.SetFont(Font());
    canvas.Font().SetColor(clInfoText);
    canvas.Brush().SetStyle(bsClear);
    canvas.DrawText(Caption(), r, HintTextFlags);
}

TSize ThgHintWindow::FittingSize() {
    TCanvas& c = Canvas();
    c.SetFont(Font());
    const int width = c.TextWidth(Caption()) + 8;
    TRect m{2, 2, width, 2};
    const int h = c.DrawText(Caption(), m, DT_CALCRECT | HintTextFlags);
    return {std::max(width, m.Width()), h + 6};
}

void ThgHintWindow::KeepOnScreen(TRect& r) const {
    const TSize screen = ScreenSize();
    const int w = r.Width(), h = r.Height();
    if (r.Bottom > screen.cy)
        r.Top = screen.cy - h;
    if (r.Right > screen.cx)
        r.Left = screen.cx - w;
    r.Left = std::max(0, r.Left);
    r.Top = std::max(0, r.Top);
    r.Right = r.Left + w;
    r.Bottom = r.Top + h;
}

void ThgHintWindow::ActivateHint(TRect r, const std::string& text) {
    activating_ = true;
    SetCaption(text);
    activating_ = false;
    const TSize size = FittingSize();
    r = Bounds(r.Left, r.Top, size.cx, size.cy);
    KeepOnScreen(r);
    SetBoundsRect(r);
    ShowNoActivate();
}

void ThgHintWindow::CaptionChanged() {
    if (activating_)
        return;
    const TSize size = FittingSize();
    const TRect b = BoundsRect();
    hide();
    SetBoundsRect(Bounds(b.Left, b.Top, size.cx, size.cy));
    ShowNoActivate();
}

// ================================================================ TPopupListbox

TPopupListbox::TPopupListbox(QWidget* owner)
    : QListWidget(owner) {
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUniformItemSizes(true);
    hide();
}

void TPopupListbox::SetItems(const std::vector<std::string>& items) {
    clear();
    for (const std::string& s : items) {
        auto* item = new QListWidgetItem(QString::fromStdString(s), this);
        item->setSizeHint(QSize(0, itemHeight_));
    }
}

std::string TPopupListbox::ItemText(int index) const {
    const QListWidgetItem* i = item(index);
    return i ? i->text().toStdString() : std::string();
}

void TPopupListbox::SetItemIndex(int index) {
    if (index < 0 || index >= count()) {
        setCurrentRow(-1);
        clearSelection();
        return;
    }
    setCurrentRow(index);
}

void TPopupListbox::SetItemHeight(int height) {
    itemHeight_ = height;
    for (int i = 0; i < count(); ++i)
        item(i)->setSizeHint(QSize(0, height));
}

int TPopupListbox::IndexOfExact(const std::string& text) const {
    const QString t = QString::fromStdString(text);
    for (int i = 0; i < count(); ++i)
        if (item(i)->text().compare(t, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void TPopupListbox::SetLook(TColor color, const TFont& font) {
    font_.Assign(font);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, ToQColor(color));
    pal.setColor(QPalette::Text, ToQColor(font.Color()));
    setPalette(pal);
    setFont(ToQFont(font));
}

void TPopupListbox::SearchKey(char32_t& key) {
    if (key == CH_BACK || key == CH_ESCAPE) {
        searchText_.clear();
        return;
    }
    if (key < 32 || key == 127)
        return;
    const uint32_t now = GetTickCount();
    if (TicksBetween(lastKeyTime_, now) > SearchPauseMs)
        searchText_.clear();
    lastKeyTime_ = now;
    const QString search = QString::fromStdString(searchText_);
    if (search.size() < SearchLimit)
        searchText_ = (search + QString::fromUcs4(&key, 1)).toStdString();
    const QString wanted = QString::fromStdString(searchText_);
    for (int i = 0; i < count(); ++i)
        if (item(i)->text().startsWith(wanted, Qt::CaseInsensitive)) {
            setCurrentRow(i);
            break;
        }
    key = 0;
}

void TPopupListbox::NavigateKey(uint16_t key) {
    const int page = std::max(1, height() / std::max(1, itemHeight_) - 1);
    int row = currentRow();
    switch (key) {
    case VK_UP: --row; break;
    case VK_DOWN: ++row; break;
    case VK_PRIOR: row -= page; break;
    case VK_NEXT: row += page; break;
    case VK_HOME: row = 0; break;
    case VK_END: row = count() - 1; break;
    default: return;
    }
    if (count() > 0)
        setCurrentRow(std::clamp(row, 0, count() - 1));
}

void TPopupListbox::mouseReleaseEvent(QMouseEvent* event) {
    QListWidget::mouseReleaseEvent(event);
    if (OnMouseUp) {
        const QPoint p = viewport()->mapTo(this, event->position().toPoint());
        OnMouseUp(p.x(), p.y());
    }
}

// ================================================================ THgInplaceEdit

THgInplaceEdit::THgInplaceEdit(THyperGrid* grid)
    : TInplaceEdit(grid), hyperGrid_(grid), buttonWidth_(GetScrollBarWidth()), comboWidth_(GetScrollBarWidth()),
      suggestionWindow_(std::make_unique<ThgHintWindow>()) {
    setCursor(Qt::ArrowCursor);  // over the button, the arrow and the margins
}

THgInplaceEdit::~THgInplaceEdit() = default;

ThgColumn* THgInplaceEdit::CurrentColumn() const {
    try {
        return hyperGrid_->ColumnFromGridIndex(hyperGrid_->Col());
    } catch (const EhgException&) {
        return nullptr;
    }
}

bool THgInplaceEdit::ColumnReadOnly() const {
    const ThgColumn* c = CurrentColumn();
    return c && c->ReadOnly();
}

void THgInplaceEdit::UpdateContents() {
    EditorControls controls;
    if (const ThgColumn* c = CurrentColumn()) {
        if (c->ControlType().Contains(hgctlButton))
            controls.Include(ecButton);
        if (c->ControlType().Contains(hgctlComboBox))
            controls.Include(ecArrow);
    }
    SetEditorControls(controls);
    TInplaceEdit::UpdateContents();
    originalText_ = Text();
}

void THgInplaceEdit::SetEditorControls(EditorControls value) {
    if (value == editorControls_)
        return;
    editorControls_ = value;
    if (value.Contains(ecArrow)) {
        if (!listBox_) {
            listBox_ = std::make_unique<TPopupListbox>(this);
            listBox_->SetItemHeight(11);
            listBox_->OnMouseUp = [this](int x, int y) {
                CloseUp(PtInRect({0, 0, listBox_->width(), listBox_->height()}, {x, y}));
            };
        }
        activeList_ = listBox_.get();
    } else {
        activeList_ = nullptr;
    }
    update();
}

void THgInplaceEdit::BoundsChanged() {
    editRect_ = {2, 2, Width() - 2, Height()};
    clientArea_ = ClientRect();
    THyperGrid& g = *hyperGrid_;
    ThgColumn* column = CurrentColumn();
    editCol_ = g.Col();
    editRow_ = g.Row();
    if (column) {
        TBevelCut inner = bvNone, outer = bvNone;
        THgDrawInfo info;
        TFont font;
        TColor color = clWindow;
        ThgCellStates states;
        g.GetCellAttributes(editCol_, editRow_, inner, outer, info, font, color, states,
                            TGridDrawState{gdSelected, gdFocused}, column);
        Font().Assign(font);
        SetColor(color);
        g.DrawCellImage(editCol_, editRow_, Canvas(), false, editRect_, -1);
    }
    const bool custom = column && column->ButtonStyle() == hgbstCustom && !column->ButtonPicture().Empty();
    buttonWidth_ = custom ? column->ButtonPicture().Width() + 4 : GetScrollBarWidth();
    comboWidth_ = GetScrollBarWidth();
    TRect format = editRect_;
    if (editorControls_.Contains(ecButton)) {
        buttonRect_ = {editRect_.Right + 2 - buttonWidth_, editRect_.Top - 2, editRect_.Right + 2, editRect_.Bottom};
        format.Right -= buttonWidth_;
    }
    if (editorControls_.Contains(ecArrow)) {
        const int right = editorControls_.Contains(ecButton) ? buttonRect_.Left : editRect_.Right + 2;
        arrowRect_ = {right - comboWidth_, editRect_.Top - 2, right, editRect_.Bottom};
        format.Right -= comboWidth_;
    }
    SetFormatRect(format);
    bool readOnly = column && column->ReadOnly();
    if (g.OnGetReadOnly)
        g.OnGetReadOnly(&g, editCol_, editRow_, readOnly);
    const bool listOnly = column && column->ControlType().Contains(hgctlComboBox) && column->DropDownList();
    SetReadOnly(readOnly || listOnly);
    SetMaxLength(column ? column->MaxTextLength() : 0);
}

// ---------------------------------------------------------------- painting

void THgInplaceEdit::PaintButton(TCanvas& canvas) {
    const ThgColumn* column = CurrentColumn();
    const ThgButtonStyle style = column ? column->ButtonStyle() : hgbstEllipsis;
    const int shift = buttonPressed_ ? 1 : 0;
    TRect r = buttonRect_;
    switch (style) {
    case hgbstEllipsis: {
        DrawEdge(canvas, r, EDGE_RAISED, BF_RECT | BF_MIDDLE | (buttonPressed_ ? BF_FLAT : 0));
        const int cx = (buttonRect_.Left + buttonRect_.Right) / 2 + shift;
        const int cy = (buttonRect_.Top + buttonRect_.Bottom) / 2 + shift;
        canvas.Brush().SetColor(clBlack);
        canvas.Brush().SetStyle(bsSolid);
        for (int i = -1; i <= 1; ++i)
            canvas.FillRect(Bounds(cx - 1 + 4 * i, cy - 1, 2, 2));
        break;
    }
    case hgbstDropDown:
        DrawFrameControl(canvas, r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (buttonPressed_ ? DFCS_PUSHED | DFCS_FLAT : 0));
        break;
    case hgbstCustom: {
        if (column && column->DrawButtonface()) {
            DrawEdge(canvas, r, EDGE_RAISED, BF_RECT | BF_MIDDLE | (buttonPressed_ ? BF_FLAT : 0));
        } else {
            canvas.Brush().SetColor(Color());
            canvas.FillRect(r);
        }
        if (!column || column->ButtonPicture().Empty())
            break;
        const TPicture& picture = column->ButtonPicture();
        const int h = buttonRect_.Bottom - buttonRect_.Top;
        int y = buttonRect_.Top + 2;
        if (column->ButtonVAlignment() == hgvaCenter)
            y = buttonRect_.Top + 2 + (h - picture.Height()) / 2;
        else if (column->ButtonVAlignment() == hgvaBottom)
            y = buttonRect_.Bottom - 2 - picture.Height();
        canvas.Draw(buttonRect_.Left + 2 + shift, y + shift, picture.Graphic());
        break;
    }
    }
}

void THgInplaceEdit::Paint(TCanvas& canvas) {
    TInplaceEdit::Paint(canvas);
    TRect area = clientArea_;
    hyperGrid_->DrawCellImage(editCol_, editRow_, canvas, true, area, -1);
    if (editorControls_.Contains(ecButton))
        PaintButton(canvas);
    if (editorControls_.Contains(ecArrow)) {
        uint32_t state = DFCS_SCROLLCOMBOBOX;
        if (!activeList_)
            state |= DFCS_INACTIVE;
        if (arrowPressed_)
            state |= DFCS_PUSHED | DFCS_FLAT;
        DrawFrameControl(canvas, arrowRect_, DFC_SCROLL, state);
    }
}

// ---------------------------------------------------------------- keys

void THgInplaceEdit::KeyDown(uint16_t& key, TShiftState shift) {
    if (key == VK_RETURN && !shift.Contains(ssCtrl) && suggestionWindow_->Visible()) {
        AcceptSuggestion();
        suggestionWindow_->hide();
    }
    if (editorControls_.Contains(ecButton) && key == VK_RETURN && shift == TShiftState{ssShift}) {
        hyperGrid_->DoButtonClick(hyperGrid_->Col(), hyperGrid_->Row());
        key = 0;
        DropKeyPress();
        return;
    }
    if (editorControls_.Contains(ecArrow)) {
        const bool alt = shift.Contains(ssAlt);
        if (droppedDown_ && !alt && (key == VK_RETURN || key == VK_ESCAPE)) {
            CloseUp(key == VK_RETURN);
            key = 0;
            DropKeyPress();
            return;
        }
        if (alt && (key == VK_UP || key == VK_DOWN)) {
            if (droppedDown_)
                CloseUp(true);
            else
                DropDown();
            key = 0;
            DropKeyPress();
            return;
        }
        if (droppedDown_ && activeList_) {
            activeList_->NavigateKey(key);
            key = 0;
            return;
        }
    }
    TInplaceEdit::KeyDown(key, shift);
}

void THgInplaceEdit::KeyPress(char32_t& key) {
    if (editorControls_.Contains(ecArrow) && droppedDown_ && activeList_) {
        activeList_->SearchKey(key);
        key = 0;
        return;
    }
    TInplaceEdit::KeyPress(key);
}

// ---------------------------------------------------------------- mouse

bool THgInplaceEdit::OverList(int x, int y) const {
    if (!droppedDown_ || !activeList_)
        return false;
    const TPoint s = ClientToScreen({x, y});
    const QPoint l = activeList_->mapFromGlobal(QPoint(s.X, s.Y));
    return activeList_->rect().contains(l);
}

bool THgInplaceEdit::OverButton(int x, int y) const {
    return editorControls_.Contains(ecButton) && PtInRect(buttonRect_, {x, y});
}

bool THgInplaceEdit::OverArrow(int x, int y) const {
    return editorControls_.Contains(ecArrow) && PtInRect(arrowRect_, {x, y});
}

void THgInplaceEdit::TrackButton(int x, int y) {
    const bool onButton = OverButton(x, y);
    const bool onArrow = OverArrow(x, y);
    if (onButton != buttonPressed_) {
        buttonPressed_ = onButton;
        update(ToQRect(buttonRect_));
    }
    if (onArrow != arrowPressed_) {
        arrowPressed_ = onArrow;
        update(ToQRect(arrowRect_));
    }
}

void THgInplaceEdit::StopTracking() {
    if (!tracking_)
        return;
    TrackButton(-1, -1);
    tracking_ = false;
}

void THgInplaceEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    const bool onButton = OverButton(x, y);
    const bool onArrow = OverArrow(x, y);
    if (button == mbLeft && (onButton || onArrow)) {
        if (!droppedDown_) {
            tracking_ = true;
            TrackButton(x, y);
            if (onArrow && activeList_)
                DropDown();
        } else {
            CloseUp(false);
        }
    }
    TInplaceEdit::MouseDown(button, shift, x, y);
}

void THgInplaceEdit::MouseMove(TShiftState shift, int x, int y) {
    if (tracking_) {
        TrackButton(x, y);
        if (OverList(x, y)) {
            // Dragging from the arrow into the list selects there.
            StopTracking();
            const TPoint s = ClientToScreen({x, y});
            const QPoint l = activeList_->viewport()->mapFromGlobal(QPoint(s.X, s.Y));
            if (QListWidgetItem* item = activeList_->itemAt(l))
                activeList_->setCurrentItem(item);
            return;
        }
    }
    TInplaceEdit::MouseMove(shift, x, y);
    if (hyperGrid_->HintFollowsMouse())
        hyperGrid_->SetHintCell({hyperGrid_->Col(), hyperGrid_->Row()});
}

void THgInplaceEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    const bool buttonWasPressed = buttonPressed_;
    StopTracking();
    if (button == mbLeft && editorControls_.Contains(ecButton) && buttonWasPressed)
        hyperGrid_->DoButtonClick(hyperGrid_->Col(), hyperGrid_->Row());
    else if (button == mbLeft && OverList(x, y))
        CloseUp(true);  // the release of a drag into the list reaches the editor here
    TInplaceEdit::MouseUp(button, shift, x, y);
}

// ---------------------------------------------------------------- the list

void THgInplaceEdit::DropDown() {
    if (droppedDown_ || !activeList_)
        return;
    ThgColumn* column = CurrentColumn();
    suggestionWindow_->hide();
    const std::string text = TrimBlanks(hyperGrid_->Cells(hyperGrid_->Col(), hyperGrid_->Row()));
    activeList_->SetLook(Color(), Font());
    activeList_->SetItems(column ? column->Items() : std::vector<std::string>{});
    int w = BothEdgesWidth(editRect_);
    if (editorControls_.Contains(ecButton))
        w -= buttonWidth_;
    const bool maxWidth = column && column->ComboMaxWidth();
    if (maxWidth) {
        TCanvas measure;
        measure.SetFont(Font());
        for (const std::string& item : column->Items())
            w = std::max(w, measure.TextWidth(item));
    }
    const int dropCount = column ? column->DropDownCount() : 8;
    const int ih = activeList_->ItemHeight();
    int h;
    if (activeList_->ItemCount() < dropCount) {
        h = activeList_->ItemCount() * ih + 4;
    } else {
        h = dropCount * ih + 4;
        if (maxWidth)
            w += 16;  // room for the scroll bar
    }
    if (maxWidth && w > Width())
        w += 4;
    activeList_->SetItemIndex(activeList_->IndexOfExact(text));
    const TPoint p = ClientToScreen({editRect_.Left, editRect_.Top});
    int y = p.Y + BothEdgesHeight(editRect_);
    if (y + h > ScreenSize().cy)
        y = p.Y - h;
    activeList_->setGeometry(p.X, y, std::max(1, w), std::max(1, h));
    activeList_->show();
    droppedDown_ = true;
    update();
}

void THgInplaceEdit::CloseUp(bool accept) {
    suggestionWindow_->hide();
    if (!droppedDown_)
        return;
    const int index = activeList_ ? activeList_->ItemIndex() : -1;
    const std::string value = index >= 0 ? activeList_->ItemText(index) : std::string();
    if (activeList_)
        activeList_->hide();
    droppedDown_ = false;
    update();
    if (accept && hyperGrid_->CanEditModify() && !ColumnReadOnly()) {
        hyperGrid_->SetCells(hyperGrid_->Col(), hyperGrid_->Row(), value);
        hyperGrid_->DoComboSelection(hyperGrid_->Col(), hyperGrid_->Row());
    }
}

// ---------------------------------------------------------------- suggestions

void THgInplaceEdit::TextChanged() {
    const ThgColumn* column = CurrentColumn();
    std::string suggestion;
    if (editorControls_.Contains(ecArrow) && column && column->AutoSuggest()) {
        const std::string typed = Upper(TrimBlanks(Text()));
        if (!typed.empty())
            for (const std::string& item : column->Items())
                if (StartsWith(typed, Upper(item))) {
                    suggestion = item;
                    break;
                }
        if (suggestion == Text())
            suggestion.clear();  // typed in full: nothing left to suggest
    } else if (hyperGrid_->OnGetSuggestion) {
        hyperGrid_->OnGetSuggestion(hyperGrid_, hyperGrid_->Col(), hyperGrid_->Row(), Text(), suggestion);
    } else {
        return;
    }
    ShowSuggestion(suggestion);  // an empty one hides the window
}

void THgInplaceEdit::ShowSuggestion(const std::string& suggestion) {
    if (TrimBlanks(suggestion).empty()) {
        suggestionWindow_->hide();
        return;
    }
    if (suggestionWindow_->Visible()) {
        suggestionWindow_->SetCaption(suggestion);
        return;
    }
    suggestionWindow_->Canvas().SetFont(suggestionWindow_->Font());
    const int lift = suggestionWindow_->Canvas().TextHeight("Wg") + 8;
    const TPoint p = ClientToScreen({editRect_.Left + 4, editRect_.Top - lift});
    suggestionWindow_->ActivateHint(Bounds(p.X, p.Y, 0, 0), suggestion);
}

void THgInplaceEdit::AcceptSuggestion() {
    if (!suggestionWindow_->Visible())
        return;
    const std::string text = suggestionWindow_->Caption();
    SetText(text);
    hyperGrid_->SetCells(hyperGrid_->Col(), hyperGrid_->Row(), text);
    if (editorControls_.Contains(ecArrow))
        hyperGrid_->DoComboSelection(hyperGrid_->Col(), hyperGrid_->Row());
}

// ---------------------------------------------------------------- focus

void THgInplaceEdit::DoExit() {
    if (Text() != originalText_)
        hyperGrid_->DoCellEdited(editCol_, editRow_);
    TInplaceEdit::DoExit();
    CloseUp(false);
}

void THgInplaceEdit::CancelMode(QWidget* sender) {
    StopTracking();
    const bool own = sender == this || isAncestorOf(sender) || (listBox_ && sender == listBox_.get());
    if (!own) {
        AcceptSuggestion();
        CloseUp(false);
    }
    TInplaceEdit::CancelMode(sender);
}

} // namespace zeko
