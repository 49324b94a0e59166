// The day graph's mouse handling, its two popup menus and its events.
#include "graph/FullOkno.h"

#include "platform/Exceptions.h"
#include "platform/FormatSettings.h"
#include "platform/Notifier.h"
#include "platform/UserDialogs.h"

#include <QAction>

#include <algorithm>
#include <climits>
#include <utility>

namespace zeko::graph {

namespace {

constexpr int UserMaxPosition = 4;

} // namespace

// ---------------------------------------------------------------- mouse

void TFullOkno::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    lastMouse_ = QPoint(X, Y);
    if (Shift.Contains(ssShift)) {
        Zooming = true;
        ZoomRect = {X, 5, X, 6};
    }
    if (X >= UpperFrame.Left && X <= GraphWidth - UpperFrame.Right)
        SetCursorX(X);
    if (!Shift.Contains(ssRight))
        return;
    const QPoint screen = mapToGlobal(QPoint(X, Y));
    int kind = 0, number = 0;
    if (X < UpperFrame.Left + 2 && Y > UpperFrame.Top && Y < SplitY - UpperFrame.Bottom) {
        MaxMenu->SetPopupComponent(this);
        MaxMenu->Popup(screen.x(), screen.y());
    } else if (LegendHitTest(X, Y, kind, number)) {
        if (OnAboveSeriesRightClick)
            OnAboveSeriesRightClick(*this, kind, number);
    } else if (X > GraphWidth - UpperFrame.Right + 2) {
        ViewMenu->SetPopupComponent(this);
        ViewMenu->Popup(screen.x(), screen.y());
    } else {
        PanX = X;
    }
}

void TFullOkno::MouseMove(TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    if (Shift.Contains(ssRight) && std::abs(X - PanX) > PanThreshold) {
        if (X - PanX > 0 && MinMinute < ViewStart) {
            ViewStart -= TimeStep;
            ViewEnd -= TimeStep;
            PanX = X;
            RedrawAll();
        }
        if (X - PanX < 0 && MaxMinute > ViewEnd) {
            ViewStart += TimeStep;
            ViewEnd += TimeStep;
            PanX = X;
            RedrawAll();
        }
    }
    if (Shift.Contains(ssLeft) && X >= UpperFrame.Left && X <= GraphWidth - UpperFrame.Right)
        SetCursorX(X);
    if (Zooming && X > UpperFrame.Left && X < GraphWidth - UpperFrame.Right) {
        TCanvas& c = *BufferCanvas;
        const int width = c.Pen().Width();
        c.Pen().SetWidth(2);
        c.Pen().SetStyle(psSolid);
        c.Pen().SetColor(BackColor);
        c.MoveTo(ZoomRect.Left, ZoomRect.Top);
        c.LineTo(ZoomRect.Right, ZoomRect.Top);
        ZoomRect.Right = X;
        c.Pen().SetColor(ZoomColor);
        c.MoveTo(ZoomRect.Left, ZoomRect.Top);
        c.LineTo(ZoomRect.Right, ZoomRect.Top);
        c.Pen().SetWidth(width);
        Invalidate();
    }
}

void TFullOkno::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!Zooming)
        return;
    Zooming = false;
    ZoomRect.Right = X;
    ZoomRect.Bottom = Y;
    if (ZoomRect.Left > ZoomRect.Right)
        std::swap(ZoomRect.Left, ZoomRect.Right);
    // A plot without width has no minutes to choose.
    if (PixelsPerMinute > 0) {
        const int start = ViewStart;
        ViewEnd = start + static_cast<int>(Round((ZoomRect.Right - UpperFrame.Left) / PixelsPerMinute));
        ViewStart = start + static_cast<int>(Round((ZoomRect.Left - UpperFrame.Left) / PixelsPerMinute));
        ViewStart = std::max<int>(ViewStart, MinMinute);
        ViewEnd = std::min<int>(ViewEnd, MaxMinute);
    }
    RedrawAll();
}

void TFullOkno::DblClick() {
    if (!CanDblClick)
        return;
    const int x = lastMouse_.x(), y = lastMouse_.y();
    int kind = 0, number = 0;
    if (LegendHitTest(x, y, kind, number)) {
        TSet& set = kind == 1 ? Series[number] : LowerSeries[number];
        set.Visible = !set.Visible;
        DoSeriesVisibleChanged(kind, number);
        RedrawAll();
    } else if (!IsRectEmpty(CosPhiBox) && PointInBox(CosPhiBox, x, y)) {
        CosPhiSeries.Visible = !CosPhiSeries.Visible;
        RedrawAll();
    }
}

void TFullOkno::DoSeriesVisibleChanged(int Kind, int Number) {
    if (OnSeriesVisibleChanged)
        OnSeriesVisibleChanged(*this, Kind, Number);
}

bool TFullOkno::PointInBox(const TRect& Box, int X, int Y) {
    return Box.Left <= X && X <= Box.Right && Box.Top <= Y && Y <= Box.Bottom;
}

bool TFullOkno::LegendHitTest(int X, int Y, int& Kind, int& Number) const {
    // A box never drawn is empty and takes no point.
    for (int i = 1; i <= UpperSeriesCount; ++i)
        if (!IsRectEmpty(SeriesBoxes[i]) && PointInBox(SeriesBoxes[i], X, Y)) {
            Kind = 1;
            Number = i;
            return true;
        }
    for (int j = 1; j <= LowerSeriesCount; ++j)
        if (!IsRectEmpty(LowerBoxes[j]) && PointInBox(LowerBoxes[j], X, Y)) {
            Kind = 2;
            Number = j;
            return true;
        }
    return false;
}

// ---------------------------------------------------------------- cursor

void TFullOkno::SetCursorX(int X) {
    OldCursorX = CursorX;
    CursorX = X;
    FullRedraw = false;
    Redraw();
    Invalidate();
}

void TFullOkno::SetCursorMinute(int M) {
    uint16_t minute = static_cast<uint16_t>(M);
    if (minute > 1440)
        minute = 1439;
    SetCursorX(static_cast<int>(Round((minute - ViewStart) * PixelsPerMinute + UpperFrame.Left)));
}

void TFullOkno::CursorToLastPoint() {
    const std::vector<TGraphPoint>& points = Series[1].Points();
    SetCursorMinute(points.empty() ? 0 : points.back().Minute);
}

// ---------------------------------------------------------------- menus

QAction* TFullOkno::AddMenuItem(TPopupMenu* menu, const std::string& caption, int tag,
                                void (TFullOkno::*onClick)(QAction*)) {
    QAction* item = caption == "-" ? menu->addSeparator() : menu->addAction(QString::fromStdString(caption));
    item->setData(tag);
    if (item->isSeparator())
        return item;
    item->setCheckable(true);
    connect(item, &QAction::triggered, this, [this, item, onClick](bool checked) {
        item->setChecked(!checked);  // as a radio item of the class library: the handler checks
        if (onClick)
            (this->*onClick)(item);
    });
    return item;
}

void TFullOkno::CheckMenuItem(TPopupMenu* menu, QAction* item) {
    for (QAction* a : menu->actions())
        a->setChecked(a == item);
}

int TFullOkno::MenuTag(const QAction* Item) { return Item->data().toInt(); }

// ---------------------------------------------------------------- the Y maximum

uint8_t TFullOkno::UkazatelMaxima() const {
    for (const QAction* a : MaxMenu->actions())
        if (a->isChecked())
            return static_cast<uint8_t>(MenuTag(a));
    return 0;
}

void TFullOkno::SetUkazatelMaxima(uint8_t value) {
    const int choice = std::clamp<int>(value, 1, MaximaCount);
    const QList<QAction*> items = MaxMenu->actions();
    if (!items.isEmpty()) {
        QAction* chosen = items.front();
        for (QAction* a : items)
            if (MenuTag(a) == choice) {
                chosen = a;
                break;
            }
        CheckMenuItem(MaxMenu, chosen);
    }
    MaxChoice = static_cast<uint8_t>(choice);
    ApplyMaxChoice();
}

void TFullOkno::ApplyMaxChoice() {
    SetYMax(Maxima[MaxChoice]);
    RedrawAll();
}

void TFullOkno::BuildMaxMenu() {
    MaxMenu->clear();
    AddMenuItem(MaxMenu, "Tech. maximum", 1, &TFullOkno::MaxMenuClick);
    AddMenuItem(MaxMenu, "Reg. maximum", 2, &TFullOkno::MaxMenuClick);
    AddMenuItem(MaxMenu, "Reg. maximum T2", 3, &TFullOkno::MaxMenuClick);
    AddMenuItem(MaxMenu, "-", 0, nullptr);
    AddMenuItem(MaxMenu, "Uživatelské maximum", 4, &TFullOkno::MaxMenuClick);
    AddMenuItem(MaxMenu, "Změnit uživ. maximum", 0, &TFullOkno::UserMaxItemClick);
    AddMenuItem(MaxMenu, "-", 0, nullptr);
    for (int i = 1; i <= UpperSeriesCount; ++i)
        AddMenuItem(MaxMenu, Captions[i], 4 + i, &TFullOkno::MaxMenuClick);
}

void TFullOkno::MaxMenuClick(QAction* Item) {
    CheckMenuItem(MaxMenu, Item);
    MaxChoice = static_cast<uint8_t>(MenuTag(Item));
    ApplyMaxChoice();
    if (OnYAxisMaxChanged)
        OnYAxisMaxChanged(*this, UzivatelskeMaximum(), MaxChoice);
}

void TFullOkno::UserMaxMenuClick() {
    std::string text = IntToStr(UzivatelskeMaximum());
    if (!CurrentDialogs().InputQuery("Uživatelské maximum osy y", "Hodnota:", text))
        return;
    int64_t value = 0;
    try {
        value = StrToInt(text);
    } catch (const EConvertError& e) {
        MessageDlg(e.what(), TMsgDlgType::mtError);
        return;
    }
    // A maximum below 1 would turn the value axis upside down.
    if (value < 1) {
        MessageDlg("Uživatelské maximum musí být alespoň 1.", TMsgDlgType::mtError);
        return;
    }
    SetUzivatelskeMaximum(static_cast<int>(std::min<int64_t>(value, INT32_MAX)));
    MaxChoice = 4;
    if (MaxMenu->actions().size() > UserMaxPosition)
        CheckMenuItem(MaxMenu, MaxMenu->actions()[UserMaxPosition]);
    ApplyMaxChoice();
    if (OnYAxisMaxChanged)
        OnYAxisMaxChanged(*this, UzivatelskeMaximum(), 4);
}

// ---------------------------------------------------------------- views

void TFullOkno::AddView(const std::string& Name) {
    Views.push_back(Name);
    BuildViewMenu();
}

void TFullOkno::BuildViewMenu() {
    ViewMenu->clear();
    AddMenuItem(ViewMenu, "&Upravit pohledy", 0, &TFullOkno::ViewMenuClick);
    AddMenuItem(ViewMenu, "-", 1, &TFullOkno::ViewMenuClick);
    for (size_t i = 0; i < Views.size(); ++i)
        AddMenuItem(ViewMenu, Views[i], static_cast<int>(i) + 2, &TFullOkno::ViewMenuClick);
}

void TFullOkno::ViewMenuClick(QAction* Item) {
    const int tag = MenuTag(Item);
    if (tag == 1)
        return;
    if (ViewMessage < 0) {
        MessageDlg("Range check error", TMsgDlgType::mtError);
        return;
    }
    const auto msg = static_cast<uint32_t>(ViewMessage);
    if (tag == 0)
        PostMessageTo(ViewWindow, msg, 255, 0);
    else if (ViewWindow != nullptr)
        PostMessageTo(ViewWindow, msg, 0, tag - 2);
}

} // namespace zeko::graph
