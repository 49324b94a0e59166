// The main window's speed bar and the picture behind its child windows.
#include "app/hlavni.h"

#include "controls/MDIImage.h"
#include "controls/SpeedBar.h"
#include "controls/ZcCtrls.h"
#include "platform/ProgramDir.h"
#include "platform/qt/Align.h"
#include "platform/qt/QtJpeg.h"
#include "platform/qt/QtText.h"

#include <QLabel>
#include <QMdiArea>
#include <QProgressBar>
#include <QPushButton>

// Resources of a static library are registered by hand.
static void InitHlavniResources() { Q_INIT_RESOURCE(hlavni); }

namespace zeko {

namespace {

constexpr int BarHeight = 32;

// A button of the bar with its glyph of four cells (up, disabled, pressed, held down).
TZcSpeedButton* AddSpeedButton(QWidget* bar, const char* name, int left, const char* hint) {
    static const bool resources = (InitHlavniResources(), true);
    (void)resources;
    auto* button = new TZcSpeedButton(bar);
    button->setObjectName(name);
    button->SetBounds(left, 3, 25, 25);
    button->SetHint(hint);
    button->SetGlyph(QImage(QStringLiteral(":/app/glyphs/%1.xpm").arg(QLatin1String(name))));
    button->SetNumGlyphs(4);
    return button;
}

} // namespace

// The window's client area holds the bar across the top and the child windows'
// area below it, arranged as aligned controls.
void THlavniForm::CreateSpeedBar() {
    auto* client = new QWidget(this);
    client->setObjectName("ClientArea");
    QWidget* area = takeCentralWidget();
    area->setParent(client);
    area->show();
    setCentralWidget(client);

    SpeedBar1 = new TSpeedBar(client);
    SpeedBar1->setObjectName("SpeedBar1");
    SpeedBar1->SetPosition(bpCustom);
    SpeedBar1->SetOptions({sbGrayedBtns});
    SpeedBar1->SetBevelOuter(bvNone);
    SpeedBar1->SetBtnOffsetHorz(3);
    SpeedBar1->SetBtnOffsetVert(3);
    SpeedBar1->SetBtnWidth(24);
    SpeedBar1->SetBtnHeight(23);
    SpeedBar1->SetBoundLines({blTop, blBottom});
    SpeedBar1->resize(SpeedBar1->width(), BarHeight);
    SpeedbarSection1 = SpeedBar1->Sections(SpeedBar1->AppendSection("Untitled (0)"));
    SpeedbarSection1->setObjectName("SpeedbarSection1");
    SetControlAlign(area, alClient);

    Btn_A1 = AddSpeedButton(SpeedBar1, "Btn_A1", 30, "");
    Btn_DenniTabulka = AddSpeedButton(SpeedBar1, "Btn_DenniTabulka", 62, "Denní tabulka");
    Btn_MesicniTabulka = AddSpeedButton(SpeedBar1, "Btn_MesicniTabulka", 86, "Měsíční tabulka");
    Btn_RocniTabulka = AddSpeedButton(SpeedBar1, "Btn_RocniTabulka", 110, "Roční tabulka");

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

void THlavniForm::CreateBackgroundImage() {
    BackgroundImage = new TMDIImage(this);
    QImage logo;
    if (LoadJpegPicture(ProgramFile("logo.jpg"), logo))
        BackgroundImage->PictureBitmap().Assign(logo);
    BackgroundImage->SetCenter(true);
}

} // namespace zeko
