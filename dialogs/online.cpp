#include "dialogs/online.h"

#include "dialogs/OnlineLayout.h"

#include "core/ProgramGlobals.h"
#include "core/TextHelpers.h"
#include "core/ZekoMessages.h"
#include "platform/Exceptions.h"
#include "platform/FormatPatterns.h"
#include "platform/FormatSettings.h"
#include "platform/Notifier.h"
#include "platform/qt/FontTable.h"
#include "platform/qt/QtJpeg.h"
#include "platform/qt/QtText.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

// Resources of a static library are registered by hand.
static void InitOnlineResources() { Q_INIT_RESOURCE(online); }

namespace zeko {

namespace {

const QColor FormColour(5, 59, 149);
// Values that are no longer current, and the notice that says so.
const QColor OldValueColour(128, 128, 128);
const QColor NoticeColour(160, 0, 0);
const QColor NoticeBackground(255, 236, 160);
// The face the values are shown in.
constexpr const char* ValueFace = "Elektra";

// A value keeps this far from the side of its box it is aligned to.
constexpr int ValueIndent = 3;
// Below this a text no longer shrinks to fit; it is cut instead.
constexpr int SmallestPixels = 8;

} // namespace

QRect LabelTextRoom(const QLabel* label) {
    const int m = label->margin();
    QRect room = label->contentsRect().adjusted(m, m, -m, -m);
    const int indent = std::max(0, label->indent());
    if (label->alignment() & Qt::AlignLeft)
        room.setLeft(room.left() + indent);
    else if (label->alignment() & Qt::AlignRight)
        room.setRight(room.right() - indent);
    return room;
}

namespace {

// True when every glyph of the text, placed in the room as the label places it
// (aligned across, centred down), lies inside the room: the stand-in faces reach
// beyond their advance and their ascent here and there.
bool TextFits(const QFontMetrics& fm, const QString& text, const QRect& room, Qt::Alignment alignment) {
    if (fm.height() > room.height())
        return false;
    const int advance = fm.horizontalAdvance(text);
    const QRect glyphs = fm.tightBoundingRect(text);
    double x = 0;
    if (alignment & Qt::AlignRight)
        x = room.width() - advance;
    else if (alignment & Qt::AlignHCenter)
        x = (room.width() - advance) / 2.0;
    const double baseline = (room.height() - fm.height()) / 2.0 + fm.ascent();
    return glyphs.isEmpty() || (x + glyphs.left() >= 0 && x + glyphs.right() < room.width() &&
                                baseline + glyphs.top() >= 0 && baseline + glyphs.bottom() < room.height());
}

// The stand-in of the label's face at its design height, made smaller as long as
// the text does not fit the label's room: the boxes of the picture are as the
// layout gives them, the stand-in faces are not the original ones.
void FitFont(QLabel* label) {
    QFont font = label->font();
    font.setPixelSize(label->property("standInPixels").toInt());
    const QRect room = LabelTextRoom(label);
    while (font.pixelSize() > SmallestPixels && !TextFits(QFontMetrics(font), label->text(), room, label->alignment()))
        font.setPixelSize(font.pixelSize() - 1);
    label->setFont(font);
}

Qt::Alignment AlignmentOf(online::TLabelAlign align) {
    switch (align) {
    case online::AlignRight: return Qt::AlignRight;
    case online::AlignCentre: return Qt::AlignHCenter;
    default: return Qt::AlignLeft;
    }
}

void SetColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

QLabel* Place(QWidget* parent, const online::TLabelPlace& place, const QString& text, const char* face,
             const QColor& colour) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(place.Rect());
    label->setFont(StandInQFont(face, place.FontHeight, true));
    label->setProperty("standInPixels", label->font().pixelSize());
    label->setAlignment(AlignmentOf(place.Align) | Qt::AlignVCenter);
    label->setAttribute(Qt::WA_TranslucentBackground);
    SetColour(label, colour);
    FitFont(label);
    return label;
}

// A value label shows its text inside the frame line of its box, which may be
// lower than the label where labels overlap.
QLabel* Value(QWidget* p, size_t index) {
    const online::TLabelPlace& place = online::ValueLabels[index];
    QLabel* label = Place(p, place, QString(), ValueFace, Qt::black);
    label->setObjectName(place.Text);
    const QRect r = place.Rect();
    const QRect inside = online::ValueBox(index).adjusted(1, 1, -1, -1);
    label->setContentsMargins(inside.left() - r.left(), inside.top() - r.top(), r.right() - inside.right(),
                              r.bottom() - inside.bottom());
    label->setIndent(ValueIndent);
    return label;
}

// A label on a background of its own, framed, that stands out from the picture.
QLabel* Notice(QWidget* parent, const online::TLabelPlace& place) {
    auto* label = new QLabel(parent);
    label->setObjectName(place.Text);
    label->setGeometry(place.Rect());
    label->setFont(StandInQFont("Arial", place.FontHeight, true));
    label->setProperty("standInPixels", label->font().pixelSize());
    label->setAlignment(AlignmentOf(place.Align) | Qt::AlignVCenter);
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setAutoFillBackground(true);
    SetColour(label, NoticeColour);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, NoticeBackground);
    label->setPalette(palette);
    return label;
}

// Integer part of a value the labels can show; EConvertError for NaN, infinities
// and values no integer holds (a corrupted reading).
int64_t Truncate(double value) {
    if (!std::isfinite(value) || std::fabs(value) > 9.0e15)
        throw EConvertError("invalid floating point value");
    return static_cast<int64_t>(std::trunc(value));
}

void SetText(QLabel* label, const std::string& text) {
    label->setText(QString::fromStdString(text));
    FitFont(label);
}

// A clock reading outside the calendar shows nothing rather than stopping the
// refresh.
void SetClockText(QLabel* label, TDateTime value) {
    try {
        SetText(label, DateTimeToStr(value));
    } catch (const EConvertError&) {
        label->clear();
    }
}

} // namespace

std::string CosPhiText(double cosPhi) {
    const double truncated = static_cast<double>(Truncate(cosPhi * 1000)) / 1000;
    std::string text = FormatFixed(truncated, 3);
    for (char& c : text)
        if (c == ',' || c == FormatSettings().DecimalSeparator)
            c = '.';
    return text;
}

std::string TruncatedText(double value) { return std::to_string(Truncate(value)); }

std::string OldValuesText(TDateTime readAt, bool portLost) {
    const std::string text = portLost ? "Sériový port je odpojen." : "Regulátor neodpovídá.";
    return readAt == 0 ? text : text + " Poslední hodnoty z " + DateTimeToStr(readAt);
}

std::string RegulationStateText(uint8_t code, const std::string& previous) {
    switch (code) {
    case 0: return "    ";
    case 6: return "XXXX";
    case 12: return " Reg";
    case 18: return " Ind";
    case 24: return " Kap";
    case 30: return "-Kap";
    case 36: return "! P-";
    default: return previous;
    }
}

TOutputsText OutputsText(const TOnlineValues& v) {
    if (v.OutputCount < 0 || v.OutputCount > static_cast<int>(v.OutputValues.size()))
        throw EConvertError("output count out of range");
    TOutputsText out;
    for (int i = 0; i < v.OutputCount; ++i) {
        const bool on = (v.OutputStates >> i) & 1;
        const bool inductive = (v.OutputTypes >> i) & 1;
        out.Letters += inductive ? (on ? 'L' : 'l') : (on ? 'C' : 'c');
        if (on)
            (inductive ? out.Inductive : out.Capacitive) += v.OutputValues[static_cast<size_t>(i)] / 10.0;
    }
    if (v.FaultOutput > 0) {
        const bool on = v.OutputCount < 16 && ((v.OutputStates >> v.OutputCount) & 1);
        out.Letters += on ? 'P' : 'p';
    }
    return out;
}

TOnlineForm::TOnlineForm(QWidget* parent) : QWidget(parent), MessageTarget("TOnlineForm") {
    InitOnlineResources();
    setObjectName("OnlineForm");
    setWindowTitle(U("Aktuální hodnoty"));
    OnlineOpen = true;
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, FormColour);
    setPalette(palette);
    resize(DesignWidth, DesignHeight);
    LoadJpegResource(QStringLiteral(":/dialogs/online.jpg"), picture_);

    for (const online::TLabelPlace& place : online::FixedLabels)
        Place(this, place, U(place.Text), "Arial", FormColour);
    // The Symbol face wrote the phi as a "j"; the stand-in has the Greek letter.
    Label2 = Place(this, online::PhiLabel, U(online::PhiLabel.Text), "Symbol", FormColour);
    QLabel** values[] = {&Lbl_CosFi,         &Lbl_CinnyVykon,          &Lbl_IndukcniVykon,
                         &Lbl_KapacitniVykon, &Lbl_Vystupy,             &Lbl_AktCasZaznamu,
                         &Lbl_CasDoRegulace,  &Lbl_PasmoRegulace,       &Lbl_ZnakRegulace,
                         &Lbl_PripojenaIndukcnost, &Lbl_PripojenaKapacita, &Lbl_AktDTRegulatoru,
                         &Lbl_AktDTPC};
    static_assert(std::size(values) == online::ValueLabels.size());
    for (size_t i = 0; i < online::ValueLabels.size(); ++i)
        *values[i] = Value(this, i);
    Lbl_StareHodnoty = Notice(this, online::OldValuesNotice);
    Lbl_StareHodnoty->hide();
}

TOnlineForm::~TOnlineForm() { OnlineOpen = false; }

QSize TOnlineForm::minimumSizeHint() const { return picture_.size(); }

void TOnlineForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
}

void TOnlineForm::HandleMessage(const TMessage& message) {
    if (message.Msg == WM_ONLINE_REFRESH)
        WMOnlineRefresh();
}

void TOnlineForm::WMOnlineRefresh() {
    if (Source)
        Refresh(Source());
}

std::array<QLabel*, 12> TOnlineForm::RegulatorLabels() const {
    return {Lbl_CosFi,         Lbl_CinnyVykon,          Lbl_IndukcniVykon,     Lbl_KapacitniVykon,
            Lbl_Vystupy,       Lbl_PripojenaIndukcnost, Lbl_PripojenaKapacita, Lbl_CasDoRegulace,
            Lbl_PasmoRegulace, Lbl_ZnakRegulace,        Lbl_AktCasZaznamu,     Lbl_AktDTRegulatoru};
}

std::string TOnlineForm::ValuesText() const {
    std::string text;
    for (const QLabel* label : RegulatorLabels())
        text += (text.empty() ? "" : "|") + label->text().toStdString();
    if (!Lbl_StareHodnoty->isHidden())
        text += "|" + Lbl_StareHodnoty->text().toStdString();
    return text;
}

void TOnlineForm::Guarded(int block, const char* message, const std::function<void()>& body) {
    bool& failing = failing_[static_cast<size_t>(block)];
    try {
        body();
        failing = false;
    } catch (const std::exception&) {
        if (!failing) {
            failing = true;
            MessageDlg(message, TMsgDlgType::mtInformation, TMsgDlgButtons::mbOK);
        }
    }
}

void TOnlineForm::ShowAge(const TOnlineValues& v) {
    // The PC clock is current whatever the regulator does.
    for (QLabel* label : RegulatorLabels())
        SetColour(label, v.Old ? OldValueColour : QColor(Qt::black));
    if (v.Old)
        SetText(Lbl_StareHodnoty, OldValuesText(v.ReadAt, v.PortLost));
    Lbl_StareHodnoty->setVisible(v.Old);
}

void TOnlineForm::Refresh(const TOnlineValues& v) {
    ShowAge(v);
    if (v.Old && v.ReadAt == 0) {
        // Nothing has been read that could be shown.
        SetClockText(Lbl_AktDTPC, v.PcNow);
        if (OnRefreshed)
            OnRefreshed();
        return;
    }
    Guarded(0, "chyba pri vypoctu uciniku", [&] { SetText(Lbl_CosFi, CosPhiText(v.CosPhi)); });
    Guarded(1, "chyba pri vypoctu vykonu", [&] {
        const std::string p = TruncatedText(v.ActivePower);
        const std::string q = TruncatedText(std::fabs(v.ReactivePower));
        SetText(Lbl_CinnyVykon, p);
        SetText(Lbl_IndukcniVykon, v.ReactivePower < 0 ? "0" : q);
        SetText(Lbl_KapacitniVykon, v.ReactivePower < 0 ? q : "0");
    });
    TOutputsText outputs;
    bool outputsKnown = false;
    Guarded(2, "chyba pri vypoctu vystupu", [&] {
        outputs = OutputsText(v);
        outputsKnown = true;
        SetText(Lbl_Vystupy, outputs.Letters);
    });
    Guarded(3, "chyba pri vypoctupripojenych kapacit", [&] {
        if (!outputsKnown)
            return;  // the outputs block has said what went wrong
        SetText(Lbl_PripojenaKapacita, TruncatedText(outputs.Capacitive));
        SetText(Lbl_PripojenaIndukcnost, TruncatedText(outputs.Inductive));
    });
    Guarded(4, "chyba pri vypoctu casu a typu regulace", [&] {
        SetText(Lbl_CasDoRegulace, v.TimeToRegulation == 0xFFFF ? "----" : std::to_string(v.TimeToRegulation));
        SetText(Lbl_PasmoRegulace, v.BandWord != 0 ? "2" : "1");
        SetText(Lbl_ZnakRegulace, RegulationStateText(v.RegulationState, Lbl_ZnakRegulace->text().toStdString()));
    });
    Guarded(5, "chyba pri zobrazeni casu zaznamu",
            [&] { SetText(Lbl_AktCasZaznamu, SecondsToText(v.RecordTime, false, true, true)); });
    if (v.RegulatorClockKnown)
        SetClockText(Lbl_AktDTRegulatoru, v.RegulatorNow);
    else
        Lbl_AktDTRegulatoru->clear();
    SetClockText(Lbl_AktDTPC, v.PcNow);
    if (OnRefreshed)
        OnRefreshed();
}

} // namespace zeko
