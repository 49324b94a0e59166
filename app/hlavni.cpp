#include "app/hlavni.h"

#include "app/evaluation/TableRequests.h"
#include "app/TableWindows.h"
#include "app/TestHook.h"
#include "controls/ZcCtrls.h"
#include "core/Calendar.h"
#include "core/MojeDB.h"
#include "core/PripojenaZarizeniUnit.h"
#include "core/ProgramGlobals.h"
#include "core/RecordSaving.h"
#include "core/Schedules.h"
#include "core/SuperTimer.h"
#include "core/TextHelpers.h"
#include "core/ZekoMessages.h"
#include "core/Zeko.h"
#include "dialogs/online.h"
#include "platform/FileErrorText.h"
#include "platform/FormatPatterns.h"
#include "platform/FormatSettings.h"
#include "platform/IniFile.h"
#include "platform/Notifier.h"
#include "platform/ProgramDir.h"
#include "platform/qt/FontTable.h"
#include "platform/qt/MdiChild.h"
#include "platform/qt/QtText.h"
#include "platform/qt/StatusPanel.h"
#include "platform/qt/WindowPlacement.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include <cstring>
#include <limits>

namespace zeko {

namespace {

// "Zeko.ini" values outside these ranges are not the user's setting but damage (or
// a number too large for the variable): they give the default, which is also what
// is written back at close. The port is one the link layer can be given (COM1 ..
// COM255); the rate one a serial line can be set to (50 Bd to 4 MBd).
constexpr long long ComPortLow = 1, ComPortHigh = 255;
constexpr long long BaudRateLow = 50, BaudRateHigh = 4000000;

// Every record and setting goes into the program folder: the user learns at start,
// not at the first failed save, that it cannot be used, and how to choose another.
void CheckProgramDir() {
    int error = 0;
    const TProgramDirState state = PrepareProgramDir(error);
    if (state == TProgramDirState::Ready)
        return;
    const std::string what = state == TProgramDirState::NotCreated ? "Složku dat programu nelze vytvořit:\n"
                                                                   : "Do složky dat programu nelze zapisovat:\n";
    MessageDlg(what + ProgramDir() + "\n" + SystemErrorText(error) +
                   "\nZáznamy ani nastavení nebude možné uložit. Jinou složku určuje proměnná prostředí "
                   "ZEKO_PROGRAM_DIR.",
               TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
}

std::string UnreadableIniText(const TIniFile& ini) {
    return "Konfigurační soubor nelze přečíst:\n" + ini.FileName() + "\n" + SystemErrorText(ini.ReadError()) +
           "\nProgram poběží s výchozím nastavením a soubor nepřepíše.";
}

// Without the file the channels' names, units and meter multipliers are the
// defaults; every value and table would be told in them without a word.
std::string UnreadableDevicesText(const std::string& fileName, int error) {
    return "Soubor popisu zařízení nelze přečíst:\n" + fileName + "\n" + ReadFailureText(error) +
           "\nProgram poběží s výchozími kanály (názvy, jednotky, násobitele elektroměrů) a soubor nepřepíše.";
}

QMenu* AddMenu(QMenuBar* bar, const char* name, const char* caption) {
    QMenu* menu = bar->addMenu(U(caption));
    menu->setObjectName(name);
    return menu;
}

QAction* AddItem(QMenu* menu, const char* name, const char* caption) {
    QAction* action = menu->addAction(U(caption));
    action->setObjectName(name);
    return action;
}

QFont PanelFont(int pixelHeight, bool bold, bool italic = false) {
    QFont font = StandInQFont("Arial", pixelHeight, bold);
    font.setItalic(italic);
    return font;
}

} // namespace

THlavniForm::THlavniForm(QWidget* parent) : QMainWindow(parent), MessageTarget(MainWindowClass) {
    setObjectName("HlavniForm");
    resize(772, 540);
    setWindowTitle(U("ZEKO M6-M7"));
    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName("MdiArea");
    setCentralWidget(mdiArea_);
    CreateMenus();
    CreateSpeedBar();
    CreateStatusBar();
    CreatePanels();

    tables_ = std::make_unique<TTableWindows>(this, mdiArea_);
    connect(cmDennitabulka, &QAction::triggered, this, [this] { cmDennitabulkaClick(); });
    connect(cmMesicniTabulka, &QAction::triggered, this, [this] { cmMesicniTabulkaClick(); });
    connect(cmRocniTabulka, &QAction::triggered, this, [this] { cmRocniTabulkaClick(); });
    Btn_DenniTabulka->OnClick = [this](TGraphicControl*) { Btn_DenniTabulkaClick(); };
    Btn_MesicniTabulka->OnClick = [this](TGraphicControl*) { Btn_MesicniTabulkaClick(); };
    Btn_RocniTabulka->OnClick = [this](TGraphicControl*) { Btn_RocniTabulkaClick(); };
    connect(cmArchiv, &QAction::triggered, this, [this] { OpenArchive(true); });
    Btn_A1->OnClick = [this](TGraphicControl*) { OpenArchive(true); };

    connect(cmOnline, &QAction::triggered, this, [this] { cmOnlineClick(); });
    connect(cmSmeny, &QAction::triggered, this, [this] { cmSmenyClick(); });
    connect(cmTarify, &QAction::triggered, this, [this] { cmTarifyClick(); });
    connect(cmNactiZaznamy, &QAction::triggered, this, [this] { cmNactiZaznamyClick(); });
    connect(cmNastaveniRegulatoru, &QAction::triggered, this, [this] { cmNastaveniRegulatoruClick(); });
    connect(cmNastavitCas, &QAction::triggered, this, [this] { cmNastavitCasClick(); });
    connect(cmNulujZaznamy, &QAction::triggered, this, [this] { cmNulujZaznamyClick(); });
    connect(cmNactiZaznamyZeSouboru, &QAction::triggered, this, [this] { cmNactiZaznamyZeSouboruClick(); });
    connect(Btn_PrerusZaznamy, &QPushButton::clicked, this, [this] { Btn_PrerusZaznamyClick(); });
    connect(ZrusNacitani, &QPushButton::clicked, this, [this] { ZrusNacitaniClick(); });

    Tmr_SendTLG = std::make_unique<TSuperTimer>();
    Tmr_SendTLG->SetInterval(200);
    Tmr_SendTLG->SetThreadPriority(TThreadPriority::tpHigher);
    Tmr_SendTLG->OnTimer = [this](TSuperTimer&) { Tmr_SendTLGTimer(); };
    Tmr_Program = std::make_unique<TSuperTimer>();
    Tmr_Program->SetInterval(1000);
    Tmr_Program->SetThreadPriority(TThreadPriority::tpNormal);
    Tmr_Program->OnTimer = [this](TSuperTimer&) { Tmr_ProgramTimer(); };
    Tmr_Program->SetEnabled(true);
}

THlavniForm::~THlavniForm() {
    // The timers end before the objects their events use.
    Tmr_SendTLG.reset();
    Tmr_Program.reset();
    FreeSharedObjects();
}

void THlavniForm::CreateMenus() {
    QMenuBar* bar = menuBar();
    cmProgram = AddMenu(bar, "cmProgram", "&Program");

    cmOkno = AddMenu(bar, "cmOkno", "&Okno");
    cmOnline = AddItem(cmOkno, "cmOnline", "Online měření");
    cmOkno->addSeparator();
    cmArchiv = AddItem(cmOkno, "cmArchiv", "Archiv");
    cmOkno->addSeparator();
    cmDennitabulka = AddItem(cmOkno, "cmDennitabulka", "Denní tabulka");
    cmMesicniTabulka = AddItem(cmOkno, "cmMesicniTabulka", "Měsíční tabulka");
    cmRocniTabulka = AddItem(cmOkno, "cmRocniTabulka", "Roční tabulka");

    cmNastaveni = AddMenu(bar, "cmNastaveni", "&Nastavení");
    cmNastaveniRegulatoru = AddItem(cmNastaveni, "cmNastaveniRegulatoru", "Nastavení regulátoru");
    cmNastavitCas = AddItem(cmNastaveni, "cmNastavitCas", "Nastavit čas regulátoru");
    cmNastaveni->addSeparator();
    cmSmeny = AddItem(cmNastaveni, "cmSmeny", "Směny");
    cmTarify = AddItem(cmNastaveni, "cmTarify", "Tarify");

    cmServis = AddMenu(bar, "cmServis", "&Servis");
    cmNactiZaznamyZeSouboru = AddItem(cmServis, "cmNactiZaznamyZeSouboru", "Načti záznamy ze souboru");
    cmNulujZaznamy = AddItem(cmServis, "cmNulujZaznamy", "Nuluj záznamy");
    cmNactiZaznamy = AddItem(cmServis, "cmNactiZaznamy", "Načti záznamy");

    cmComPort = AddMenu(bar, "cmComPort", "&Sériový port");
    comGroup_ = new QActionGroup(this);
    comGroup_->setExclusive(true);
    for (int tag = 0; tag < 8; ++tag) {
        const std::string name = "cmCom" + std::to_string(tag + 1);
        const QString caption = tag < 2 ? QString("Com &%1").arg(tag + 1) : QString("Com %1").arg(tag + 1);
        QAction* item = cmComPort->addAction(caption);
        item->setObjectName(QString::fromStdString(name));
        item->setCheckable(true);
        comGroup_->addAction(item);
        // The tick moves only when the change is confirmed (cmComClick).
        connect(item, &QAction::triggered, this, [this, tag] { cmComClick(tag); });
        cmCom[static_cast<size_t>(tag)] = item;
    }

    cmUsporadaniOken = AddMenu(bar, "cmUsporadaniOken", "&Uspořádání oken");
    cmKaskada = AddItem(cmUsporadaniOken, "cmKaskada", "&Kaskáda");
    cmDlazdice = AddItem(cmUsporadaniOken, "cmDlazdice", "&Dlaždice");
    cmUsporadejIkony = AddItem(cmUsporadaniOken, "cmUsporadejIkony", "&Uspořádej ikony");
    // The window menu: the open child windows follow the arrangement items.
    connect(cmUsporadaniOken, &QMenu::aboutToShow, this, [this] {
        for (QAction* item : cmUsporadaniOken->actions())
            if (item != cmKaskada && item != cmDlazdice && item != cmUsporadejIkony)
                delete item;  // the menu made it; deleting takes it out
        const QList<QMdiSubWindow*> children = mdiArea_->subWindowList();
        if (!children.isEmpty())
            cmUsporadaniOken->addSeparator();
        for (QMdiSubWindow* child : children) {
            QAction* item = cmUsporadaniOken->addAction(child->windowTitle());
            item->setCheckable(true);
            item->setChecked(child == mdiArea_->activeSubWindow());
            connect(item, &QAction::triggered, this, [this, child] { mdiArea_->setActiveSubWindow(child); });
        }
    });
    connect(cmKaskada, &QAction::triggered, this, [this] { cmKaskadaClick(0); });
    connect(cmDlazdice, &QAction::triggered, this, [this] { cmKaskadaClick(1); });
    connect(cmUsporadejIkony, &QAction::triggered, this, [this] { cmKaskadaClick(2); });
}

void THlavniForm::CreateStatusBar() {
    static const int widths[5] = {0, 120, 100, 105, 105};
    for (size_t i = 0; i < StatusPanels.size(); ++i) {
        auto* panel = new TStatusPanel(this);
        panel->setObjectName(QString("StatusPanel%1").arg(i));
        panel->setFrameStyle(QFrame::Panel | (i == 1 ? QFrame::Raised : QFrame::Sunken));
        if (i == 0) {
            statusBar()->addWidget(panel, 1);
        } else {
            panel->setFixedWidth(widths[i]);
            statusBar()->addPermanentWidget(panel);
        }
        StatusPanels[i] = panel;
    }
}

void THlavniForm::CreatePanels() {
    Pnl_Datum = new QLabel(this);
    Pnl_Datum->setObjectName("Pnl_Datum");
    Pnl_Cas = new QLabel(this);
    Pnl_Cas->setObjectName("Pnl_Cas");
    for (QLabel* clock : {Pnl_Datum, Pnl_Cas}) {
        clock->setFont(PanelFont(19, true));
        clock->setFrameStyle(QFrame::Panel | QFrame::Raised);
        clock->setAlignment(Qt::AlignCenter);
        clock->resize(130, 30);
        clock->hide();
    }

    Panel1 = new QFrame(this);
    Panel1->setObjectName("Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setAutoFillBackground(true);
    Panel1->resize(320, 64);
    ProgressLabel = new QLabel(U("Načítá se nastavení regulátoru"), Panel1);
    ProgressLabel->setObjectName("ProgressLabel");
    ProgressLabel->setFont(PanelFont(13, true, true));
    ProgressLabel->setAlignment(Qt::AlignCenter);
    ProgressLabel->setGeometry(8, 8, 304, 20);
    ProgressBar = new QProgressBar(Panel1);
    ProgressBar->setObjectName("ProgressBar");
    ProgressBar->setGeometry(16, 36, 288, 16);
    ProgressBar->setMinimum(1);
    ProgressBar->setTextVisible(false);
    ZrusNacitani = new QPushButton(U("&Zruš"), this);
    ZrusNacitani->setObjectName("ZrusNacitani");
    ZrusNacitani->resize(90, 27);
    Panel1->hide();
    ZrusNacitani->hide();
}

void THlavniForm::SetStatusLine(const std::string& text) { SetStatusPanel(0, text); }

std::string THlavniForm::StatusLine() const { return StatusPanels[0]->text().toStdString(); }

void THlavniForm::SetStatusPanel(int index, const std::string& text) {
    StatusPanels[static_cast<size_t>(index)]->SetText(QString::fromStdString(text));
    TestLog("Status " + std::to_string(index) + " " + text);
}

void THlavniForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (resizeAttached_)
        FormResize();
}

void THlavniForm::FormResize() {
    const int w = width();
    const int h = height();
    WindowWidth = w;
    WindowHeight = h;
    Panel1->move(w / 2 - Panel1->width() / 2, h / 2 - Panel1->height());
    ZrusNacitani->move(w / 2 - ZrusNacitani->width() / 2, Panel1->y() + Panel1->height() + 11);
    const int statusTop = statusBar()->geometry().top();
    Pnl_Datum->move(10, statusTop - Pnl_Datum->height() - 5);
    Pnl_Cas->move(w - Pnl_Cas->width() - 15, Pnl_Datum->y());
    Btn_PrerusZaznamy->move(Gau_NacitaniZaznamu->x() + Gau_NacitaniZaznamu->width() + 50, Btn_PrerusZaznamy->y());
}

void THlavniForm::cmKaskadaClick(int tag) {
    switch (tag) {
    case 0: mdiArea_->cascadeSubWindows(); break;
    case 1: mdiArea_->tileSubWindows(); break;
    default:
        // Minimised children line up along the bottom edge.
        {
            int left = 0;
            for (QMdiSubWindow* child : mdiArea_->subWindowList())
                if (child->isMinimized()) {
                    child->move(left, mdiArea_->viewport()->height() - child->height());
                    left += child->width();
                }
        }
        break;
    }
}

void THlavniForm::EnableItem(QAction* item, bool enabled) { item->setEnabled(enabled); }

void THlavniForm::FormCreate() {
    ProgramVersion = BuildVersion;
    setWindowTitle(QString::fromStdString("ZEKO Regulátor M7 v" + ProgramVersion));
    CheckProgramDir();
    FormatSettings().ShortDateFormat = "dd/mm/yyyy";
    FormatSettings().DateSeparator = '.';
    CreateBackgroundImage();
    Tmr_SendTLG->SetEnabled(false);
    const TTestAutomation* automation = TTestAutomation::Instance();
    Tmr_SendTLG->SetInterval(automation && automation->SendTimerMs() ? automation->SendTimerMs() : 500);
    ReadIniFile(ProgramFile("Zeko.ini"));
    if (MojeDB == nullptr)
        MojeDB = new TMojeDB;
    TickComItem();
    resizeAttached_ = false;
    // A placement stored on a larger screen, or the default on a small one, is held
    // inside the screen.
    PlaceOnWorkArea(this, QRect(WindowLeft, WindowTop, WindowWidth, WindowHeight));
    resizeAttached_ = true;
    FormResize();
    OnlineOpen = ServiceViewerOpen = DayTableOpen = MonthTableOpen = YearTableOpen = ArchiveOpen = false;
    RegulatorMeasurementId = 0;
    InitDefaultSchedules();
    CreateSharedObjects();
    OpenPortAndConversation();
}

void THlavniForm::CreateSharedObjects() {
    Devices = new TSeznamZarizeni;
    const std::string devices = ResolvePathNoCase(ProgramFile("Zarizeni.ini"));
    if (const int error = Devices->LoadFromIni(devices); error != 0)
        MessageDlg(UnreadableDevicesText(devices, error), TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
    CreateConversation();
    HideDownloadProgress();
    HideSettingsProgress();
    DisableRegulatorMenu();
}

void THlavniForm::OpenPortAndConversation() {
    if (conversation_->OpenPort(ComPort, BaudRate)) {
        OpenConversation();
        return;
    }
    MessageDlg(conversation_->PortMissingText(), TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
}

void THlavniForm::FreeSharedObjects() {
    FreeConversation();
    delete Devices;
    Devices = nullptr;
}

void THlavniForm::ReadIniFile(const std::string& fileName) {
    const TIniFile ini(fileName);
    if (ini.ReadError() != 0)
        MessageDlg(UnreadableIniText(ini), TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
    const auto readInt = [&ini](const char* section, const char* key, int fallback,
                                long long low = std::numeric_limits<int>::min(),
                                long long high = std::numeric_limits<int>::max()) {
        return static_cast<int>(ini.ReadInteger(section, key, fallback, low, high));
    };
    ComPort = readInt("ComPort", "Com", 1, ComPortLow, ComPortHigh);
    BaudRate = readInt("ComPort", "BaudRate", 4800, BaudRateLow, BaudRateHigh);
    WindowWidth = readInt("Program", "Sirka", 1023);
    WindowHeight = readInt("Program", "Vyska", 767);
    WindowLeft = readInt("Program", "PoziceX", 0);
    WindowTop = readInt("Program", "PoziceY", 0);
    OsaKL = readInt("Ucinik", "OsaKL", 0);
    OsaZAP = readInt("Ucinik", "OsaZAP", 0);
    Velkoodber = ini.ReadString("Graf", "Velkoodber", "");
    OdberneMisto = ini.ReadString("Graf", "OdberneMisto", "");
    TechMaximum = readInt("Graf", "TechMaximum", DefaultTechMaximum, 1, 65535);
    PouzivejSvatky = ini.ReadBool("Tarify", "PouzivejSvatky", true);
    for (size_t n = 1; n <= 3; ++n) {
        const std::string digit = std::to_string(n);
        ShiftNames[n] = LimitLength(ini.ReadString("Smeny", "Smena" + digit, "Směna " + digit), ScheduleNameLength);
        ShiftAbbrevs[n] = LimitLength(ini.ReadString("Smeny", "Smena" + digit + "Zkratka", "S" + digit),
                                      ScheduleAbbrevLength);
        TariffNames[n] = LimitLength(ini.ReadString("Tarify", "Tarif" + digit, "Tarif " + digit), ScheduleNameLength);
        TariffAbbrevs[n] = LimitLength(ini.ReadString("Tarify", "Tarif" + digit + "Zkratka", "T" + digit),
                                       ScheduleAbbrevLength);
    }
}

void THlavniForm::WriteIniFile(const std::string& fileName) {
    TIniFile ini(fileName);
    if (ini.ReadError() != 0)
        return;  // the user was told at start; the file is not written over
    ini.BeginUpdate();
    ini.WriteInteger("ComPort", "Com", ComPort);
    ini.WriteInteger("ComPort", "BaudRate", BaudRate);
    ini.WriteInteger("Program", "Sirka", WindowWidth);
    ini.WriteInteger("Program", "Vyska", WindowHeight);
    ini.WriteInteger("Program", "PoziceX", x());
    ini.WriteInteger("Program", "PoziceY", y());
    ini.EndUpdate();
}

void THlavniForm::TickComItem() {
    // A port number outside 1..8 ticks no item.
    comGroup_->setExclusive(false);
    for (size_t i = 0; i < cmCom.size(); ++i)
        cmCom[i]->setChecked(static_cast<int>(i) + 1 == ComPort);
    comGroup_->setExclusive(true);
}

void THlavniForm::cmComClick(int tag) {
    TickComItem();  // the tick moves only when the change is confirmed
    if (tag + 1 == ComPort) {
        OpenSamePortAgain();
        return;
    }
    // A settings write under way is cut short by the change: the question says so.
    const bool writing = conversation_ && conversation_->SettingsWriteRunning();
    if (writing ? !MayCutSettingsWrite("Chcete přesto změnit komunikační port?")
                : MessageDlg("Chcete opravdu změnit komunikační port?", TMsgDlgType::mtWarning,
                             TMsgDlgButtons::mbYesNo) != TModalResult::mrYes)
        return;
    ComPort = tag + 1;
    TickComItem();
    try {
        TIniFile(ProgramFile("Zeko.ini")).WriteInteger("ComPort", "Com", ComPort);
    } catch (const EIniFileException& e) {
        MessageDlg(e.what(), TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
    }
    RestartConversation();
}

void THlavniForm::OpenSamePortAgain() {
    TConversation& c = *conversation_;
    if (c.PortLost()) {
        if (!c.RetryLostPort())
            MessageDlg(c.PortMissingText(), TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
        return;
    }
    if (c.Link().Port->Connected() && c.Phase() != TConversationPhase::Closed)
        return;  // it runs: nothing to open
    if (MayCutSettingsWrite("Chcete přesto znovu otevřít komunikační port?"))
        RestartConversation();
}

void THlavniForm::RestartConversation() {
    FreeSharedObjects();
    SetStatusPanel(3, "");
    SetStatusPanel(4, "");
    CreateSharedObjects();
    OpenPortAndConversation();
}

void THlavniForm::Tmr_ProgramTimer() {
    const bool noChild = mdiArea_->subWindowList().isEmpty();
    Pnl_Datum->setVisible(noChild);
    Pnl_Cas->setVisible(noChild);
    if (noChild) {
        const TDateTime now = Now();
        Pnl_Datum->setText(QString::fromStdString(DateToStr(now)));
        Pnl_Cas->setText(QString::fromStdString(TimeToStr(now)));
        Pnl_Datum->raise();
        Pnl_Cas->raise();
    }
}

void THlavniForm::cmOnlineClick() {
    if (OnlineOpen && onlineForm_ != nullptr) {
        if (QMdiSubWindow* child = MdiChildOf(onlineForm_))
            mdiArea_->setActiveSubWindow(child);
        return;
    }
    auto* form = new TOnlineForm;
    form->Source = [this] {
        TOnlineValues v;
        if (CurrentState == nullptr || !conversation_)
            return v;
        v.Old = conversation_->RegulatorSilent();
        v.PortLost = conversation_->PortLost();
        v.ReadAt = conversation_->LiveValuesReadAt();
        const TZEKO& s = *CurrentState;
        v.CosPhi = s.CosPhi;
        v.ActivePower = s.ActivePower;
        v.ReactivePower = s.ReactivePower;
        v.OutputCount = s.OutputCount;
        v.OutputTypes = s.OutputTypes;
        v.OutputValues = s.OutputValues;
        v.FaultOutput = s.FaultOutput;
        v.OutputStates = s.LiveWords.OutputStates;
        v.TimeToRegulation = s.LiveWords.NextStepTime;
        v.BandWord = s.LiveWords.BandWord;
        v.RegulationState = s.LiveWords.RegulationState;
        v.RecordTime = s.LiveWords.RecordTime;
        v.RegulatorNow = ElapsedSince(s.ClockTick, s.ClockDate + s.ClockTime);
        v.RegulatorClockKnown = s.ClockValid;
        v.PcNow = Now();
        return v;
    };
    // The labels' texts are gathered for the test log only, not at every refresh.
    if (TTestAutomation::Instance())
        form->OnRefreshed = [form] { TestLog("Online " + form->ValuesText()); };
    AddMdiChild(mdiArea_, form, QSize(TOnlineForm::DesignWidth, TOnlineForm::DesignHeight));
    onlineForm_ = form;
    // Opened while the regulator does not answer, it says so at once, with the
    // last values read; otherwise the next reply fills it.
    if (conversation_ && conversation_->RegulatorSilent())
        PostMessageTo(form, WM_ONLINE_REFRESH, 0, 0);
    Tmr_ProgramTimer();
}

void THlavniForm::HandleMessage(const TMessage& message) {
    switch (message.Msg) {
    case WM_OPEN_ONLINE:
        cmOnlineClick();
        break;
    case WM_SHOW_ARCHIVE:
        WMShowArchive(message);
        break;
    default:
        tables_->HandleMessage(message);
        break;
    }
}

void THlavniForm::closeEvent(QCloseEvent* event) {
    // Disabled for an evaluation, the window can still be closed from its title
    // bar; it stays until the evaluation, which uses the shared objects, is done.
    if (TableRequestRunning()) {
        event->ignore();
        return;
    }
    if (!MayCutSettingsWrite("Chcete program přesto ukončit?")) {
        event->ignore();
        return;
    }
    FormClose();
    QMainWindow::closeEvent(event);
}

void THlavniForm::FormClose() {
    Tmr_SendTLG->SetEnabled(false);
    Tmr_Program->SetEnabled(false);
    try {
        WriteIniFile(ProgramFile("Zeko.ini"));
    } catch (const EIniFileException& e) {
        MessageDlg(e.what(), TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
    }
    // No downloaded record is lost by closing.
    WaitForSavingThreads();
    FreeSharedObjects();
}

} // namespace zeko
