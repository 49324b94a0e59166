// The speed bar's interactive and stored side: dragging it to another side of its
// parent, resizing it in whole rows, dragging items about while customising, and
// its layout in a placement's storage.
#include "controls/SpeedBar.h"

#include "controls/Placemnt.h"
#include "controls/StrUtils.h"
#include "controls/VCLUtils.h"
#include "controls/ZcConst.h"
#include "platform/qt/Cursors.h"
#include "platform/qt/WindowPlacement.h"

#include <QCoreApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace zeko {

namespace {

constexpr int DragFrameWidth = 3;
constexpr int DragThreshold = 5;

bool IsSide(TAlign align) { return align == alTop || align == alBottom || align == alLeft || align == alRight; }

// Sides in the order the parent takes them.
int SideOrder(TAlign align) { return static_cast<int>(align); }

// A sibling of that side lies between the parent's edge and the bar.
bool LiesBefore(const QWidget* control, const QWidget* bar, TAlign side) {
    switch (side) {
    case alTop: return control->y() < bar->y();
    case alBottom: return control->y() + control->height() > bar->y() + bar->height();
    case alLeft: return control->x() < bar->x();
    default: return control->x() + control->width() > bar->x() + bar->width();
    }
}

TPoint ToPoint(const QPoint& p) { return {p.x(), p.y()}; }

} // namespace

// ---------------------------------------------------------------- docking

TAlign TSpeedBar::DockSide(TPoint clientPoint, bool* accepted) {
    QWidget* parent = parentWidget();
    TAlign side = align_;
    if (parent != nullptr) {
        const QPoint p = mapToParent(QPoint(clientPoint.X, clientPoint.Y));
        side = DockSideAt(ToPoint(p), parent->width(), parent->height(), align_);
    }
    bool apply = true;
    if (OnApplyAlign)
        OnApplyAlign(this, side, apply);
    if (accepted)
        *accepted = apply;
    return side;
}

TRect TSpeedBar::DockRect(TPoint clientPoint) {
    bool accepted = false;
    const TAlign side = DockSide(clientPoint, &accepted);
    QWidget* parent = parentWidget();
    if (!accepted || parent == nullptr)
        return dragRect_;
    TRect r{0, 0, parent->width(), parent->height()};
    for (QObject* child : parent->children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (control == nullptr || control == this || control->isWindow() || control->isHidden())
            continue;
        const TAlign a = ControlAlign(control);
        if (!IsSide(a) || !(SideOrder(a) < SideOrder(side) || (a == side && LiesBefore(control, this, side))))
            continue;
        switch (a) {
        case alTop: r.Top += control->height(); break;
        case alBottom: r.Bottom -= control->height(); break;
        case alLeft: r.Left += control->width(); break;
        default: r.Right -= control->width(); break;
        }
    }
    const QPoint origin = parent->mapToGlobal(QPoint(0, 0));
    r = {r.Left + origin.x(), r.Top + origin.y(), r.Right + origin.x(), r.Bottom + origin.y()};
    const int thickness = Orientation() == boHorizontal ? height() : width();
    switch (side) {
    case alTop: r.Bottom = r.Top + thickness; break;
    case alBottom: r.Top = r.Bottom - thickness; break;
    case alLeft: r.Right = r.Left + thickness; break;
    default: r.Left = r.Right - thickness; break;
    }
    dragAlign_ = side;
    return r;
}

bool TSpeedBar::OnResizeEdge(TPoint p) const {
    if (customizeWindow_ == nullptr || !options_.Contains(sbAllowResize) || dragging_)
        return false;
    const int w = width(), h = height();
    switch (align_) {
    case alTop: return p.X >= 1 && p.X <= w && p.Y > h - 4 && p.Y <= h + 4;
    case alBottom: return p.X >= 1 && p.X <= w && p.Y >= -3 && p.Y < 5;
    case alLeft: return p.Y >= 1 && p.Y <= h && p.X > w - 4 && p.X <= w + 4;
    case alRight: return p.Y >= 1 && p.Y <= h && p.X >= -3 && p.X < 5;
    default: return false;
    }
}

void TSpeedBar::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton || parentWidget() == nullptr)
        return;
    const TPoint p = ToPoint(event->position().toPoint());
    if (OnResizeEdge(p)) {
        resizing_ = true;
    } else if (options_.Contains(sbAllowDrag) && IsSide(align_)) {
        pressed_ = true;
        dragStart_ = p;
    }
}

void TSpeedBar::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    const TPoint p = ToPoint(event->position().toPoint());
    const bool vertical = align_ == alTop || align_ == alBottom;
    if (!resizing_) {
        if (OnResizeEdge(p))
            setCursor(vertical ? Qt::SizeVerCursor : Qt::SizeHorCursor);
        else if (!dragging_)
            unsetCursor();
    }
    if (!(event->buttons() & Qt::LeftButton))
        return;
    QWidget* parent = parentWidget();
    if (resizing_ && parent != nullptr) {
        const QPoint q = mapToParent(QPoint(p.X, p.Y));
        if (q.x() < 0 || q.y() < 0 || q.x() > parent->width() || q.y() > parent->height())
            return;
        if (vertical)
            resize(width(), RowsThickness(align_, ToPoint(q), parent->width(), parent->height(), BtnHeight(), BtnOffsetVert()));
        else
            resize(RowsThickness(align_, ToPoint(q), parent->width(), parent->height(), BtnWidth(), BtnOffsetHorz()), height());
        Realign(parent);
        return;
    }
    if (!pressed_ || !options_.Contains(sbAllowDrag))
        return;
    if (!dragging_) {
        if (std::abs(p.X - dragStart_.X) < DragThreshold && std::abs(p.Y - dragStart_.Y) < DragThreshold)
            return;
        const QPoint origin = mapToGlobal(QPoint(0, 0));
        dragRect_ = {origin.x(), origin.y(), origin.x() + width(), origin.y() + height()};
        dragAlign_ = align_;
        DrawXorFrame(dragRect_, DragFrameWidth);
        setCursor(ScreenCursor(crGrabHand));
        dragging_ = true;
    }
    const TRect r = DockRect(p);
    if (r != dragRect_) {
        DrawXorFrame(dragRect_, DragFrameWidth);
        setCursor(ScreenCursor(crGrabHand));
        DrawXorFrame(r, DragFrameWidth);
        dragRect_ = r;
    }
}

void TSpeedBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        if (resizing_) {
            resizing_ = false;
            unsetCursor();
        }
        if (dragging_)
            EndDrag(ToPoint(event->position().toPoint()));
        pressed_ = false;
    }
    QWidget::mouseReleaseEvent(event);
}

void TSpeedBar::EndDrag(TPoint clientPoint) {
    DrawXorFrame(dragRect_, DragFrameWidth);
    unsetCursor();
    dragging_ = false;
    QWidget* parent = parentWidget();
    if (!IsSide(align_) || parent == nullptr)
        return;
    bool accepted = false;
    const TAlign side = DockSide(clientPoint, &accepted);
    DisableAlign(parent);
    SetAlign(accepted ? side : dragAlign_);
    EnableAlign(parent);
    if (OnPosChanged)
        OnPosChanged(this);
}

// ---------------------------------------------------------------- customising

void TSpeedBar::SetCustomizeWindow(QObject* window) {
    customizeWindow_ = window;
    const bool editing = window != nullptr;
    ForEachItem([editing](TSpeedItem* item) { item->SetEditing(editing); });
}

void TSpeedBar::NotifyCustomizer(int wParam, QObject* lParam) {
    if (customizeWindow_ == nullptr)
        return;
    TSpeedbarChangedEvent message(wParam, lParam);
    QCoreApplication::sendEvent(customizeWindow_, &message);
}

bool TSpeedBar::AcceptDropItem(TSpeedItem* item, int x, int y) {
    if (item == nullptr || item->SpeedBar() != this)
        return false;
    const TPoint p = SnapToGrid({x, y}, Orientation(), offset_, gridStep_);
    item->SetLeft(p.X);
    item->SetTop(p.Y);
    const bool inside = p.X >= 0 && p.Y >= 0 && p.X < width() && p.Y < height();
    if (inside)
        item->Button()->raise();
    else
        item->Button()->lower();
    item->SetVisible(inside);
    return inside;
}

void TSpeedbarButton::Paint() {
    // Dragged about, the button keeps the mouse but is not seen.
    if (!dragImage_)
        TZcSpeedButton::Paint();
}

void TSpeedbarButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TSpeedBar* bar = item_->SpeedBar();
    if (!item_->Editing() || bar == nullptr || button != mbLeft || isHidden()) {
        TZcSpeedButton::MouseDown(button, shift, x, y);
        return;
    }
    QCursor::setPos(mapToGlobal(QPoint(bar->BtnWidth(), bar->BtnHeight())));
    if (!dragImage_) {
        auto* image = new TBtnControl(this);
        image->Alignment = Alignment();
        image->Image().Glyph().SetGlyph(Glyph());
        image->Image().Glyph().SetNumGlyphs(NumGlyphs());
        image->Image().Glyph().SetWordWrap(WordWrap());
        image->Image().Caption = Caption();
        image->Spacing = Spacing();
        image->Margin = Margin();
        image->Layout = Layout();
        image->ImageIndex = item_->ImageIndex();
        image->Images = bar->Images();
        image->Font.Assign(Font());
        image->resize(bar->BtnWidth(), bar->BtnHeight());
        dragImage_ = image;
    }
    raise();
}

void TSpeedbarButton::MouseMove(TShiftState shift, int x, int y) {
    TSpeedBar* bar = item_->SpeedBar();
    if (!dragImage_ || bar == nullptr) {
        TZcSpeedButton::MouseMove(shift, x, y);
        return;
    }
    const QPoint topLeft = QCursor::pos() - QPoint(dragImage_->width(), dragImage_->height());
    update();
    if (!bar->rect().contains(bar->mapFromGlobal(topLeft)))
        dragImage_->hide();
    else
        static_cast<TBtnControl*>(dragImage_.data())->MoveTo(ToPoint(topLeft));
}

void TSpeedbarButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TSpeedBar* bar = item_->SpeedBar();
    if (!dragImage_ || bar == nullptr) {
        TZcSpeedButton::MouseUp(button, shift, x, y);
        return;
    }
    const QPoint topLeft = QCursor::pos() - QPoint(dragImage_->width(), dragImage_->height());
    delete dragImage_;
    const QPoint p = bar->mapFromGlobal(topLeft);
    if (!bar->rect().contains(p)) {
        lower();
        item_->SetVisible(false);
        bar->NotifyCustomizer(SBR_CHANGED, bar);
    } else if (bar->AcceptDropItem(item_, p.x(), p.y())) {
        bar->NotifyCustomizer(SBR_BTNSELECT, item_);
        update();
    } else {
        bar->NotifyCustomizer(SBR_CHANGED, bar);
    }
}

// ---------------------------------------------------------------- TBtnControl

TBtnControl::TBtnControl(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setEnabled(false);
    setCursor(ScreenCursor(crGrabHand));
}

void TBtnControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    image_.ButtonSize = {width(), height()};
}

void TBtnControl::paintEvent(QPaintEvent*) {
    TWidgetPaint paint(canvas_, this);
    image_.DrawEx(canvas_, 0, 0, Margin, Spacing, Layout, &Font, Images, ImageIndex, AlignmentTextFlags(Alignment));
}

void TBtnControl::MoveTo(TPoint screenPoint) {
    move(screenPoint.X, screenPoint.Y);
    show();
    raise();
    setCursor(ScreenCursor(crGrabHand));
}

// ---------------------------------------------------------------- layout storage

std::string TSpeedBar::LayoutSection() const {
    return iniLink_->RootSection() + GetDefaultSection(this);
}

void TSpeedBar::SaveLayout(const TIniObject& ini, const std::string& section) {
    IniEraseSection(ini, section);
    IniWriteInteger(ini, section, "Position", align_);
    if (align_ == alTop || align_ == alBottom)
        IniWriteInteger(ini, section, "Width", height());
    else if (align_ == alLeft || align_ == alRight)
        IniWriteInteger(ini, section, "Width", width());
    IniWriteInteger(ini, section, "Version", version_);
    IniWriteInteger(ini, section, "PixelsPerInch", ScreenInfo().PixelsPerInch);
    IniWriteInteger(ini, section, "BtnWidth", BtnWidth());
    IniWriteInteger(ini, section, "BtnHeight", BtnHeight());
    int count = 0;
    ForEachItem([&](TSpeedItem* item) {
        if (!item->Visible() || !item->Stored())
            return;
        ++count;
        IniWriteString(ini, section, "Button" + std::to_string(count),
                       item->Name() + "," + std::to_string(item->Left()) + "," + std::to_string(item->Top()));
    });
    IniWriteInteger(ini, section, "Count", count);
}

namespace {

const TCharSet LayoutDelimiters{' ', ','};


} // namespace

void TSpeedBar::LoadLayout(const TIniObject& ini, const std::string& section) {
    const TAlign before = align_;
    if (IniReadInteger(ini, section, "Version", version_) < version_)
        return;
    if (options_.Contains(sbAllowDrag)) {
        // A damaged value falls back to the top, as a side the bar cannot take does.
        const long long position = IniReadInteger(ini, section, "Position", align_);
        try {
            SetAlign(position >= alNone && position <= alClient ? static_cast<TAlign>(position) : alTop);
        } catch (const ESpeedbarError&) {
            SetAlign(alTop);
        }
    }
    const int formPixels = window() != this ? ScreenInfo().PixelsPerInch : 0;
    const bool moved = align_ != before;
    if (IniReadInteger(ini, section, "PixelsPerInch", formPixels) != ScreenInfo().PixelsPerInch) {
        if (moved && OnPosChanged)
            OnPosChanged(this);
        return;
    }
    if (options_.Contains(sbAllowResize)) {
        QWidget* parent = parentWidget();
        const bool across = align_ == alTop || align_ == alBottom;
        const bool along = align_ == alLeft || align_ == alRight;
        if (across || along) {
            // At least one row, at most the parent.
            const int row = across ? 2 * BtnOffsetVert() + BtnHeight() : 2 * BtnOffsetHorz() + BtnWidth();
            const int most = parent == nullptr ? 1 << 20 : std::max(row, across ? parent->height() : parent->width());
            const int current = across ? height() : width();
            const int size = static_cast<int>(std::clamp<long long>(IniReadInteger(ini, section, "Width", current), row, most));
            if (across)
                resize(width(), size);
            else
                resize(size, height());
            if (parent)
                Realign(parent);
        }
    }
    if (moved && OnPosChanged)
        OnPosChanged(this);
    const long long count = std::clamp<long long>(IniReadInteger(ini, section, "Count", 0), 0, ItemsCount());
    if (count > 0) {
        ForEachItem([](TSpeedItem* item) { item->SetVisible(false); });
        for (long long i = 1; i <= count; ++i) {
            const std::string entry = IniReadString(ini, section, "Button" + std::to_string(i), "");
            TSpeedItem* item = entry.empty() ? nullptr : SearchItem(WordAt(1, entry, LayoutDelimiters));
            if (item == nullptr)
                continue;
            item->SetLeft(std::max(WordAsInteger(2, entry, LayoutDelimiters, item->Left()), BtnOffsetHorz()));
            item->SetTop(std::max(WordAsInteger(3, entry, LayoutDelimiters, item->Top()), BtnOffsetVert()));
            item->SetVisible(true);
        }
    }
    update();
}

} // namespace zeko
