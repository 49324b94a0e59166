#include "graph/archiv.h"

#include "core/ChannelSamples.h"
#include "core/MojeDB.h"
#include "core/PowerFactor.h"
#include "core/PripojenaZarizeniUnit.h"
#include "core/ProgramGlobals.h"
#include "core/QuarterHours.h"
#include "core/TextHelpers.h"
#include "core/Zeko.h"
#include "core/ZekoMessages.h"
#include "graph/ArchivGlyphs.h"
#include "graph/MujKalendar.h"
#include "graph/kalendar.h"
#include "platform/FormatPatterns.h"
#include "platform/Notifier.h"
#include "platform/ProgramDir.h"
#include "platform/TextFiles.h"
#include "platform/qt/QtText.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPainter>
#include <QToolButton>

#include <algorithm>
#include <climits>
#include <cmath>
#include <stdexcept>

namespace zeko {

TGraphDefaults GraphDefaults;

using graph::TFullOkno;

namespace {

constexpr int ArchiveSeries = 4;  // series 1..4 show inputs 0..3

QToolButton* AddToolButton(QWidget* bar, QHBoxLayout* row, const char* name) {
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setAutoRaise(true);
    button->setFixedSize(23, 22);
    button->setIconSize(QSize(ArchivGlyphSize, ArchivGlyphSize));
    row->addWidget(button);
    return button;
}

QToolButton* AddGlyphButton(QWidget* bar, QHBoxLayout* row, const char* name, TArchivGlyph glyph) {
    QToolButton* button = AddToolButton(bar, row, name);
    button->setIcon(QIcon(QPixmap::fromImage(ArchivGlyphImage(glyph))));
    return button;
}

// The regulator's first two identification texts, its type and its serial number,
// as the status bar shows them; empty before they were read.
std::string RegulatorText() {
    if (CurrentState == nullptr)
        return "";
    std::vector<std::string> texts;
    for (size_t n = 0; n < 2; ++n) {
        const std::string& text = CurrentState->IdentTexts[n];
        if (std::string shown = TrimBlanks(text.substr(0, text.find('\0'))); !shown.empty())
            texts.push_back(std::move(shown));
    }
    return Joined(texts, ", ");
}

int RoundedMaximum(double value) {
    return static_cast<int>(std::clamp(std::round(value), 0.0, double(INT_MAX)));
}

} // namespace

TArchivForm::TArchivForm(const TRect& mdiClientRect, QWidget* parent)
    : QWidget(parent), MessageTarget(ArchiveWindowClass),
      clientWidth_(mdiClientRect.Width() > 0 ? mdiClientRect.Width() : DesignWidth),
      clientHeight_(mdiClientRect.Height() > 0 ? mdiClientRect.Height() : DesignHeight) {
    setObjectName("ArchivForm");
    setWindowTitle("Archiv");
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    setPalette(palette);
    resize(clientWidth_, clientHeight_);
    ArchiveOpen = true;
    Graph = new TFullOkno(this);
    Graph->setObjectName("Graph");
    Graph->move(0, 0);
    CreateToolBar();
}

TArchivForm::~TArchivForm() { ArchiveOpen = false; }

void TArchivForm::CreateToolBar() {
    ToolBar1 = new QWidget(this);
    ToolBar1->setObjectName("ToolBar1");
    auto* row = new QHBoxLayout(ToolBar1);
    row->setContentsMargins(0, 3, 0, 3);
    row->setSpacing(0);
    auto separator = [row] { row->addSpacing(8); };
    separator();
    SpeedLines = AddGlyphButton(ToolBar1, row, "SpeedLines", TArchivGlyph::Lines);
    SpeedStep = AddGlyphButton(ToolBar1, row, "SpeedStep", TArchivGlyph::Steps);
    SpeedBar = AddGlyphButton(ToolBar1, row, "SpeedBar", TArchivGlyph::Bars);
    auto* styles = new QButtonGroup(ToolBar1);
    for (QToolButton* b : {SpeedLines, SpeedStep, SpeedBar}) {
        b->setCheckable(true);
        styles->addButton(b);
    }
    SpeedZoom = AddGlyphButton(ToolBar1, row, "SpeedZoom", TArchivGlyph::WholeDay);
    SpeedCosFi = AddToolButton(ToolBar1, row, "SpeedCosFi");
    SpeedCosFi->setText("cfi");
    QFont bold("Arial");
    bold.setPixelSize(11);
    bold.setBold(true);
    SpeedCosFi->setFont(bold);
    SpeedCosFi->setCheckable(true);
    separator();
    SpeedOpen = AddGlyphButton(ToolBar1, row, "SpeedOpen", TArchivGlyph::Calendar);
    SpeedLeft = AddGlyphButton(ToolBar1, row, "SpeedLeft", TArchivGlyph::Back);
    SpeedRight = AddGlyphButton(ToolBar1, row, "SpeedRight", TArchivGlyph::Forward);
    separator();
    PrintSetup = AddGlyphButton(ToolBar1, row, "PrintSetup", TArchivGlyph::PrintSetup);
    Print = AddGlyphButton(ToolBar1, row, "Print", TArchivGlyph::Print);
    separator();
    SpeedSave = AddGlyphButton(ToolBar1, row, "SpeedSave", TArchivGlyph::Save);
    SpeedSave->setToolTip(U("Ulož do souboru"));
    SpeedSend = AddGlyphButton(ToolBar1, row, "SpeedSend", TArchivGlyph::Send);
    SpeedSend->setToolTip(U("Odešli e-mailem"));
    separator();
    SpeedView = AddToolButton(ToolBar1, row, "SpeedView");
    SpeedView->setText("1/4h.");
    SpeedView->setToolTip(U("Čtvrthodinová/hodinová regulace"));
    SpeedView->hide();
    row->addStretch();
    for (QToolButton* off : {PrintSetup, Print, SpeedSave, SpeedSend})
        off->setEnabled(false);

    const std::pair<QToolButton*, void (TArchivForm::*)()> actions[] = {
        {SpeedLines, &TArchivForm::SpeedLinesClick}, {SpeedStep, &TArchivForm::SpeedStepClick},
        {SpeedBar, &TArchivForm::SpeedBarClick},     {SpeedZoom, &TArchivForm::SpeedZoomClick},
        {SpeedCosFi, &TArchivForm::SpeedCosFiClick}, {SpeedOpen, &TArchivForm::SpeedOpenClick},
        {SpeedLeft, &TArchivForm::SpeedLeftClick},   {SpeedRight, &TArchivForm::SpeedRightClick}};
    // A structured binding is not captured by name (not every compiler allows it).
    for (const auto& [button, action] : actions)
        connect(button, &QToolButton::clicked, this, [this, handler = action] { (this->*handler)(); });
    ToolBar1->setGeometry(0, clientHeight_ - ToolBarHeight, clientWidth_, ToolBarHeight);
}

void TArchivForm::resizeEvent(QResizeEvent*) {
    ToolBar1->setGeometry(0, height() - ToolBarHeight, width(), ToolBarHeight);
}

void TArchivForm::SetHints() {
    const std::pair<QToolButton*, const char*> hints[] = {
        {SpeedLines, "Spojnicový graf"},
        {SpeedStep, "Stupňový graf"},
        {SpeedBar, "Sloupcový graf"},
        {SpeedZoom, "Nastav časovou osu na celý den"},
        {SpeedCosFi, "Vypni/Zapni zobraz. Účiníku"},
        {SpeedOpen, "Otevři soubor se záznamy"},
        {SpeedLeft, "Posun o den dozadu"},
        {SpeedRight, "Posun o den dopředu"},
        {PrintSetup, "Nastav tisk"},
        {Print, "Tiskni"}};
    for (const auto& [button, hint] : hints)
        button->setToolTip(U(hint));
}

void TArchivForm::Setup(bool Load) {
    Graph->Init(clientWidth_ - 3, clientHeight_ - ToolBarHeight - 3);
    SetUpDone = true;
    Graph->SetNumSeries(3);
    Graph->SetNumSeries2(6);
    for (int i = 1; i <= graph::UpperSeriesCount; ++i)
        Graph->Series[i].Visible = i <= ArchiveSeries;
    for (graph::TSet& s : Graph->LowerSeries)
        s.Visible = false;
    Graph->SetSingleGraf(true);
    Graph->SetYMax(2000);
    Graph->SetYMinUcinikKl(OsaKL / 100.0f);
    Graph->SetYMinUcinikZap(OsaZAP / 100.0f);
    Graph->AddView("ZEKO");
    for (int i = ArchiveSeries + 1; i <= graph::UpperSeriesCount; ++i)
        Graph->Captions[i] = "Nepřiřazeno";
    Graph->GraphDate = Today();
    Graph->Redraw();
    Graph->Invalidate();
    SpeedLines->setChecked(true);
    Day = Today();
    Graph->ViewWindow = this;
    Graph->SetUzivatelskeMaximum(1000);
    Graph->SetUkazatelMaxima(GraphDefaults.MaxChoice);
    View = TGraphView{};
    View.Name = "ZEKO";
    for (int i = 0; i < ArchiveSeries; ++i)
        View.InputMap[static_cast<size_t>(i)] = static_cast<uint16_t>(i);
    if (Load && ShowDay(Day))
        Graph->CursorToLastPoint();
    Graph->SetKresliUcinik(true);
    SpeedCosFi->setChecked(true);
    SetHints();
}

void TArchivForm::LoadDay() {
    TSeriesLists lists;
    ReadRecordRange(View, lists, ProgramDir(), Day + EncodeTime(0, 7, 31), Day + 1 + EncodeTime(0, 7, 30));
    for (int k = 1; k <= ArchiveSeries; ++k)
        Graph->Series[k].Clear();
    for (graph::TSet& s : Graph->LowerSeries)
        s.Clear();
    Graph->CosPhiSeries.Clear();
    SeriesMax.fill(0);
    LowestValue = 0;
    for (size_t j = 0; j < lists[0].size(); ++j) {
        const TChannelSample& first = lists[0][j];
        const int m = QuarterWindowStartMinute(first.Hour, first.Minute, first.Second);
        std::array<double, ArchiveSeries> values{};
        for (int k = 1; k <= ArchiveSeries; ++k) {
            const TSampleList& list = lists[static_cast<size_t>(k - 1)];
            if (j >= list.size())
                continue;
            const double v = list[j].Value;
            values[static_cast<size_t>(k - 1)] = v;
            Graph->PutPoint(Graph->Series[k], m, v, false, true);
            if (std::isfinite(v)) {
                SeriesMax[static_cast<size_t>(k - 1)] = std::max(SeriesMax[static_cast<size_t>(k - 1)], v);
                LowestValue = std::min(LowestValue, v);
            }
        }
        if (ComputeCosPhi && first.Status > 1)
            Graph->PutPoint(Graph->CosPhiSeries, m, SignedCosPhi(values[0], values[1], values[2]), false, true);
    }
    Graph->CosPhiSeries.GapLimit = 17;
    for (int k = 1; k <= ArchiveSeries; ++k) {
        Graph->Maxima[4 + k] = RoundedMaximum(SeriesMax[static_cast<size_t>(k - 1)]);
        Graph->Series[k].Sort();
        TakeChannelInfo(k);
    }
    Graph->SetYZapMax(static_cast<int>(std::clamp(std::trunc(LowestValue), double(-INT_MAX), 0.0)));
    for (graph::TSet& s : Graph->LowerSeries) {
        s.Sort();
        s.GapLimit = 17;
    }
    Graph->BuildMaxMenu();
    Graph->GraphDate = Day;
    Graph->KresliSjednaneOdbery = false;
    Graph->Maxima[1] = TechMaximum;
    Graph->Maxima[2] = Graph->Maxima[3] = DefaultTechMaximum;
    FillGraphHeader();
    Graph->SetUzivatelskeMaximum(GraphDefaults.UserMax);
    Graph->SetUkazatelMaxima(GraphDefaults.MaxChoice);
}

void TArchivForm::TakeChannelInfo(int k) {
    graph::TSet& series = Graph->Series[k];
    series.GapLimit = 17;
    TVstupyInfo channel;
    if (Devices == nullptr || !Devices->FindById(k - 1, channel))
        return;
    Graph->Units[k] = MojeDB != nullptr ? MojeDB->EnergyUnit(channel.UnitCode) : "";
    Graph->Decimals[k] = channel.Decimals;
    Graph->Captions[k] = channel.ValueName;
    if (channel.UnitCode < 2 && !ComputeCosPhi)
        series.GapLimit = 65;
}

bool TArchivForm::ShowDay(TDateTime day) {
    const TDateTime shown = Day;
    Day = DateOf(day);
    try {
        LoadDay();
    } catch (const std::exception& e) {
        Day = shown;
        MessageDlg(e.what(), TMsgDlgType::mtError);
        return false;
    }
    if (OnDayLoaded)
        OnDayLoaded();
    return true;
}

void TArchivForm::FillGraphHeader() {
    TVstupyInfo first;
    const bool named = Devices != nullptr && Devices->FindById(View.InputMap[0], first) && !first.DeviceName.empty();
    Graph->HeaderTitle = named ? "Denní průběh - " + first.DeviceName : "Denní průběh";
    Graph->HeaderSubtitle = FormatDateTime("dddd", Day) + "  " + DateToStr(Day);
    Graph->HeaderConsumer = Velkoodber;
    Graph->HeaderPlace = OdberneMisto;
    Graph->HeaderRegulator = RegulatorText();
    Graph->HeaderVersion = ProgramVersion;
    Graph->PrintTechMax = static_cast<uint16_t>(std::clamp(TechMaximum, 0, 65535));
}

bool TArchivForm::PrintGraph(int Mode, bool ToPicture, const std::string& FileName) {
    // The identification may have come after the day was loaded.
    FillGraphHeader();
    return Graph->Print(Mode, Graph->Units[1], true, ToPicture, FileName);
}

std::vector<std::string> TArchivForm::DialogInputs() const {
    std::vector<std::string> inputs;
    for (uint16_t input : View.InputMap)
        if (input != NoInput)
            inputs.push_back(std::to_string(input));
    return inputs;
}

void TArchivForm::HandleMessage(const TMessage& message) {
    if (message.Msg == WM_SHOW_ARCHIVE)
        WMShowArchive(message);
}

void TArchivForm::WMShowArchive(const TMessage& message) {
    if (message.LParam > 2) {
        MessageDlg("Tento vstup není obsažen v žádném pohledu!", TMsgDlgType::mtInformation);
        return;
    }
    ShowDay(static_cast<TDateTime>(message.WParam));
}

void TArchivForm::SpeedLinesClick() { Graph->SetGrafStyl(graph::Line); }
void TArchivForm::SpeedStepClick() { Graph->SetGrafStyl(graph::Step); }
void TArchivForm::SpeedBarClick() { Graph->SetGrafStyl(graph::Bar); }

void TArchivForm::SpeedZoomClick() {
    Graph->ViewStart = 0;
    Graph->ViewEnd = 1440;
    Graph->Redraw();
    Graph->Invalidate();
}

void TArchivForm::SpeedCosFiClick() {
    if (Graph->KresliUcinik) {
        Graph->SetKresliUcinik(false);
        Graph->SetSingleGraf(true);
    } else {
        Graph->SetSingleGraf(true);
        Graph->SetKresliUcinik(true);
    }
    SpeedCosFi->setChecked(Graph->KresliUcinik);
}

void TArchivForm::SpeedOpenClick() {
    if (KalendarForm == nullptr)
        return;
    KalendarForm->InputList = DialogInputs();
    if (KalendarForm->ShowModal() != ModalResults::Ok)
        return;
    const TMujKalendar& calendar = *KalendarForm->Kalendar;
    ShowDay(EncodeDate(calendar.Year(), calendar.Month(), calendar.Day()));
}

void TArchivForm::SpeedLeftClick() { ShowDay(Day - 1); }
void TArchivForm::SpeedRightClick() { ShowDay(Day + 1); }

QImage TArchivForm::Picture() {
    QImage image(size(), QImage::Format_RGB32);
    image.fill(QColor(0x80, 0x80, 0x80));
    QPainter painter(&image);
    render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

} // namespace zeko
