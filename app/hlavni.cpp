#include "app/hlavni.h"

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
#include <QToolBar>
#include <QToolButton>

namespace zeko {

namespace {

QString U(const char* text) { return QString::fromUtf8(text); }

QAction* AddItem(QMenu* menu, const char* name, const char* caption) {
    QAction* action = menu->addAction(U(caption));
    action->setObjectName(name);
    return action;
}

QToolButton* AddSpeedButton(QWidget* bar, const char* name, int left, const char* hint, const char* glyph) {
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setGeometry(left, 3, 25, 25);
    button->setToolTip(U(hint));
    button->setText(U(glyph));
    button->setAutoRaise(true);
    return button;
}

QFont PanelFont(int pixelHeight, bool bold, bool italic = false) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

} // namespace

THlavniForm::THlavniForm(QWidget* parent) : QMainWindow(parent), MessageTarget("THlavniForm") {
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
}

THlavniForm::~THlavniForm() = default;

void THlavniForm::CreateMenus() {
    QMenuBar* bar = menuBar();
    cmProgram = bar->addMenu(U("&Program"));
    cmProgram->setObjectName("cmProgram");

    cmOkno = bar->addMenu(U("&Okno"));
    cmOkno->setObjectName("cmOkno");
    cmOnline = AddItem(cmOkno, "cmOnline", "Online měření");
    cmOkno->addSeparator();
    cmArchiv = AddItem(cmOkno, "cmArchiv", "Archiv");
    cmOkno->addSeparator();
    cmDennitabulka = AddItem(cmOkno, "cmDennitabulka", "Denní tabulka");
    cmMesicniTabulka = AddItem(cmOkno, "cmMesicniTabulka", "Měsíční tabulka");
    cmRocniTabulka = AddItem(cmOkno, "cmRocniTabulka", "Roční tabulka");

    cmNastaveni = bar->addMenu(U("&Nastavení"));
    cmNastaveni->setObjectName("cmNastaveni");
    cmNastaveniRegulatoru = AddItem(cmNastaveni, "cmNastaveniRegulatoru", "Nastavení regulátoru");
    cmNastavitCas = AddItem(cmNastaveni, "cmNastavitCas", "Nastavit čas regulátoru");
    cmNastaveni->addSeparator();
    cmSmeny = AddItem(cmNastaveni, "cmSmeny", "Směny");
    cmTarify = AddItem(cmNastaveni, "cmTarify", "Tarify");

    cmServis = bar->addMenu(U("&Servis"));
    cmServis->setObjectName("cmServis");
    cmNactiZaznamyZeSouboru = AddItem(cmServis, "cmNactiZaznamyZeSouboru", "Načti záznamy ze souboru");
    cmNulujZaznamy = AddItem(cmServis, "cmNulujZaznamy", "Nuluj záznamy");
    cmNactiZaznamy = AddItem(cmServis, "cmNactiZaznamy", "Načti záznamy");

    cmComPort = bar->addMenu(U("&Sériový port"));
    cmComPort->setObjectName("cmComPort");
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

    cmUsporadaniOken = bar->addMenu(U("&Uspořádání oken"));
    cmUsporadaniOken->setObjectName("cmUsporadaniOken");
    cmKaskada = AddItem(cmUsporadaniOken, "cmKaskada", "&Kaskáda");
    cmDlazdice = AddItem(cmUsporadaniOken, "cmDlazdice", "&Dlaždice");
    cmUsporadejIkony = AddItem(cmUsporadaniOken, "cmUsporadejIkony", "&Uspořádej ikony");
    connect(cmKaskada, &QAction::triggered, this, [this] { cmKaskadaClick(0); });
    connect(cmDlazdice, &QAction::triggered, this, [this] { cmKaskadaClick(1); });
    connect(cmUsporadejIkony, &QAction::triggered, this, [this] { cmKaskadaClick(2); });
}

void THlavniForm::CreateSpeedBar() {
    auto* toolBar = new QToolBar(this);
    toolBar->setObjectName("SpeedBarHost");
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    SpeedBar1 = new QWidget(toolBar);
    SpeedBar1->setObjectName("SpeedBar1");
    SpeedBar1->setFixedHeight(32);
    SpeedBar1->setMinimumWidth(520);
    toolBar->addWidget(SpeedBar1);
    addToolBar(Qt::TopToolBarArea, toolBar);

    Btn_A1 = AddSpeedButton(SpeedBar1, "Btn_A1", 30, "", "A");
    Btn_DenniTabulka = AddSpeedButton(SpeedBar1, "Btn_DenniTabulka", 62, "Denní tabulka", "D");
    Btn_MesicniTabulka = AddSpeedButton(SpeedBar1, "Btn_MesicniTabulka", 86, "Měsíční tabulka", "M");
    Btn_RocniTabulka = AddSpeedButton(SpeedBar1, "Btn_RocniTabulka", 110, "Roční tabulka", "R");

    Lbl_NacitaniZaznamu = new QLabel(U("Načítání záznamů:"), SpeedBar1);
    Lbl_NacitaniZaznamu->setObjectName("Lbl_NacitaniZaznamu");
    Lbl_NacitaniZaznamu->setGeometry(150, 8, 110, 16);
    Gau_NacitaniZaznamu = new QProgressBar(SpeedBar1);
    Gau_NacitaniZaznamu->setObjectName("Gau_NacitaniZaznamu");
    Gau_NacitaniZaznamu->setGeometry(262, 10, 161, 13);
    Gau_NacitaniZaznamu->setTextVisible(false);
    Gau_NacitaniZaznamu->setStyleSheet("QProgressBar::chunk { background: blue; }");
    Btn_PrerusZaznamy = new QPushButton(U("Zruš"), SpeedBar1);
    Btn_PrerusZaznamy->setObjectName("Btn_PrerusZaznamy");
    Btn_PrerusZaznamy->setGeometry(0, 5, 60, 22);
    Lbl_NacitaniZaznamu->hide();
    Gau_NacitaniZaznamu->hide();
    Btn_PrerusZaznamy->hide();
}

void THlavniForm::CreateStatusBar() {
    static const int widths[5] = {0, 120, 100, 105, 105};
    for (size_t i = 0; i < StatusPanels.size(); ++i) {
        auto* panel = new QLabel(this);
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
    StatusPanels[static_cast<size_t>(index)]->setText(QString::fromStdString(text));
}

void THlavniForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (resizeAttached_)
        FormResize();
}

void THlavniForm::FormResize() {
    const int w = width();
    const int h = height();
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

void THlavniForm::FormCreate() {}
void THlavniForm::cmComClick(int tag) {}
void THlavniForm::Tmr_ProgramTimer() {}
void THlavniForm::HandleMessage(const TMessage& message) {}
void THlavniForm::closeEvent(QCloseEvent* event) { QMainWindow::closeEvent(event); }

} // namespace zeko
