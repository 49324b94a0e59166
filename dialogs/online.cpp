#include "dialogs/online.h"

#include "core/ProgramGlobals.h"
#include "core/TextHelpers.h"
#include "core/ZekoMessages.h"
#include "platform/Exceptions.h"
#include "platform/FormatPatterns.h"
#include "platform/FormatSettings.h"
#include "platform/Notifier.h"
#include "platform/qt/QtJpeg.h"
#include "platform/qt/QtText.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>

#include <cmath>
#include <limits>

// Resources of a static library are registered by hand.
static void InitOnlineResources() { Q_INIT_RESOURCE(online); }

namespace zeko {

namespace {

const QColor FormColour(5, 59, 149);

QFont LabelFont(const char* family, int pixelHeight) {
    QFont font{QString::fromUtf8(family)};
    // The display font may be missing: fall back on a fixed-width face.
    if (std::string(family) != "Arial")
        font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(pixelHeight);
    font.setBold(true);
    return font;
}

// The layout is drawn for the program's own fonts; where another font stands in, a
// text that would not fit its label is drawn smaller instead of being cut.
void FitFont(QLabel* label, int designHeight) {
    QFont font = label->font();
    font.setPixelSize(designHeight);
    while (font.pixelSize() > 8 && QFontMetrics(font).horizontalAdvance(label->text()) > label->width())
        font.setPixelSize(font.pixelSize() - 1);
    label->setFont(font);
}

QLabel* Place(QWidget* parent, const QString& text, int left, int top, int width, int height, const char* family,
              int fontHeight, Qt::Alignment alignment, bool value) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(left, top, width, height);
    label->setFont(LabelFont(family, fontHeight));
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setAttribute(Qt::WA_TranslucentBackground);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, value ? QColor(Qt::black) : FormColour);
    label->setPalette(palette);
    label->setProperty("designHeight", fontHeight);
    FitFont(label, fontHeight);
    return label;
}

QLabel* Fixed(QWidget* p, const char* text, int left, int top, int width, int height, int fontHeight) {
    return Place(p, U(text), left, top, width, height, "Arial", fontHeight, Qt::AlignLeft, false);
}

QLabel* Value(QWidget* p, const char* name, int left, int top, int width, int height, int fontHeight,
              Qt::Alignment alignment) {
    QLabel* label = Place(p, QString(), left, top, width, height, "Elektra", fontHeight, alignment, true);
    label->setObjectName(name);
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
    FitFont(label, label->property("designHeight").toInt());
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

// The fixed labels over the picture: text, left, top, width, height, font height.
struct FixedLabel {
    const char* Text;
    int Left, Top, Width, Height, FontHeight;
};
const FixedLabel fixedLabels[] = {
    {"Cos", 260, 216, 52, 32, 27},
    {"P", 260, 266, 18, 32, 27},
    {"Qi", 260, 306, 29, 32, 27},
    {"Qc", 260, 346, 36, 32, 27},
    {"kW", 436, 266, 40, 32, 27},
    {"kVAr", 436, 306, 63, 32, 27},
    {"kVAr", 436, 346, 63, 32, 27},
    {"Výstupy:", 260, 386, 116, 32, 27},
    {"Čas záznamu:", 553, 214, 89, 16, 13},
    {"Čas do reg:", 556, 242, 89, 19, 16},
    {"Pásmo reg:", 556, 272, 88, 19, 16},
    {"Regulace:", 572, 302, 78, 19, 16},
    {"Přip.ind.", 545, 332, 63, 19, 16},
    {"Přip.kap.", 541, 362, 67, 19, 16},
    {"kVAr", 612, 332, 37, 19, 16},
    {"kVAr", 612, 362, 37, 19, 16},
    {"REG:", 519, 420, 31, 16, 13},
    {"PC:", 528, 436, 22, 16, 13},
};

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
    resize(958, 706);
    LoadJpegResource(QStringLiteral(":/dialogs/online.jpg"), picture_);

    for (const FixedLabel& l : fixedLabels)
        Fixed(this, l.Text, l.Left, l.Top, l.Width, l.Height, l.FontHeight);
    // The Greek phi as a letter of its own, in any font.
    Label2 = Fixed(this, "φ:", 324, 210, 29, 37, 29);
    Lbl_CosFi = Value(this, "Lbl_CosFi", 368, 198, 119, 64, 67, Qt::AlignLeft);
    Lbl_CinnyVykon = Value(this, "Lbl_CinnyVykon", 304, 261, 120, 32, 40, Qt::AlignRight);
    Lbl_IndukcniVykon = Value(this, "Lbl_IndukcniVykon", 304, 301, 120, 32, 40, Qt::AlignRight);
    Lbl_KapacitniVykon = Value(this, "Lbl_KapacitniVykon", 304, 341, 120, 32, 40, Qt::AlignRight);
    Lbl_Vystupy = Value(this, "Lbl_Vystupy", 396, 383, 373, 50, 40, Qt::AlignLeft);
    Lbl_AktCasZaznamu = Value(this, "Lbl_AktCasZaznamu", 664, 212, 57, 23, 21, Qt::AlignHCenter);
    Lbl_CasDoRegulace = Value(this, "Lbl_CasDoRegulace", 648, 234, 88, 32, 35, Qt::AlignHCenter);
    Lbl_PasmoRegulace = Value(this, "Lbl_PasmoRegulace", 648, 264, 88, 32, 35, Qt::AlignHCenter);
    Lbl_ZnakRegulace = Value(this, "Lbl_ZnakRegulace", 648, 294, 88, 32, 35, Qt::AlignHCenter);
    Lbl_PripojenaIndukcnost = Value(this, "Lbl_PripojenaIndukcnost", 648, 324, 88, 32, 35, Qt::AlignHCenter);
    Lbl_PripojenaKapacita = Value(this, "Lbl_PripojenaKapacita", 648, 354, 88, 32, 35, Qt::AlignHCenter);
    Lbl_AktDTRegulatoru = Value(this, "Lbl_AktDTRegulatoru", 552, 418, 185, 20, 21, Qt::AlignHCenter);
    Lbl_AktDTPC = Value(this, "Lbl_AktDTPC", 552, 434, 185, 23, 21, Qt::AlignHCenter);
}

TOnlineForm::~TOnlineForm() { OnlineOpen = false; }

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

std::string TOnlineForm::ValuesText() const {
    std::string text;
    for (const QLabel* label : {Lbl_CosFi, Lbl_CinnyVykon, Lbl_IndukcniVykon, Lbl_KapacitniVykon, Lbl_Vystupy,
                                Lbl_PripojenaIndukcnost, Lbl_PripojenaKapacita, Lbl_CasDoRegulace,
                                Lbl_PasmoRegulace, Lbl_ZnakRegulace, Lbl_AktCasZaznamu, Lbl_AktDTRegulatoru})
        text += (text.empty() ? "" : "|") + label->text().toStdString();
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

void TOnlineForm::Refresh(const TOnlineValues& v) {
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
    SetClockText(Lbl_AktDTRegulatoru, v.RegulatorNow);
    SetClockText(Lbl_AktDTPC, v.PcNow);
    if (OnRefreshed)
        OnRefreshed();
}

} // namespace zeko
