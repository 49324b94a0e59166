// The main window's speed bar and the picture behind its child windows, end to
// end: a window started in a program folder with and without "logo.jpg".
#include "app/hlavni.h"

#include "ImageProbe.h"
#include "MainWindowFixture.h"
#include "controls/MDIImage.h"
#include "controls/SpeedBar.h"
#include "controls/ZcCtrls.h"
#include "platform/Notifier.h"
#include "platform/qt/QtJpeg.h"

#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace zeko;

namespace {

constexpr int LogoWidth = 300;
constexpr int LogoHeight = 120;

// A picture of our own: a navy plate with a white title and an orange stripe.
QImage DrawLogo() {
    QImage image(LogoWidth, LogoHeight, QImage::Format_RGB888);
    image.fill(QColor(0, 0, 128));
    QPainter p(&image);
    p.fillRect(QRect(0, LogoHeight - 20, LogoWidth, 20), QColor(255, 160, 0));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(48);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, LogoWidth, LogoHeight - 20), Qt::AlignCenter, QStringLiteral("ZEKO"));
    return image;
}

// Navy as a JPEG gives it back: close to it, not equal.
bool Navyish(TColor c) { return GetRValue(c) < 50 && GetGValue(c) < 50 && GetBValue(c) > 90; }

// The window in a program folder of its own, on ports that do not exist.
struct MainWindowWithBar : test::MainWindowTest {
    THlavniForm& Open() {
        Start();
        QCoreApplication::processEvents();  // the window's layout takes its new size
        return *form;
    }
};

} // namespace

TEST_F(MainWindowWithBar, TheBarLiesAcrossTheTopWithItsLinesAndButtons) {
    THlavniForm& f = Open();
    TSpeedBar* bar = f.SpeedBar1;
    EXPECT_EQ(bar->Position(), bpCustom);
    EXPECT_EQ(bar->Align(), alTop);
    EXPECT_EQ(bar->Options(), TSpeedbarOptions{sbGrayedBtns});
    EXPECT_EQ(bar->BoundLines(), (TBoundLines{blTop, blBottom}));
    EXPECT_EQ(bar->BtnOffsetHorz(), 3);
    EXPECT_EQ(bar->BtnOffsetVert(), 3);
    ASSERT_EQ(bar->SectionCount(), 1);
    EXPECT_EQ(bar->Sections(0)->Caption(), "Untitled (0)");
    EXPECT_EQ(bar->ItemsCount(), 0);
    EXPECT_EQ(bar->y(), 0);
    EXPECT_EQ(bar->height(), 32);
    EXPECT_EQ(bar->width(), f.centralWidget()->width());
    EXPECT_EQ(f.MdiArea()->geometry(),
              QRect(0, 32, f.centralWidget()->width(), f.centralWidget()->height() - 32))
        << "the child windows' area takes the rest";
    for (QWidget* child : std::initializer_list<QWidget*>{f.Btn_A1, f.Btn_DenniTabulka, f.Btn_MesicniTabulka,
                                                          f.Btn_RocniTabulka, f.Lbl_NacitaniZaznamu,
                                                          f.Gau_NacitaniZaznamu, f.Btn_PrerusZaznamy})
        EXPECT_EQ(child->parentWidget(), bar) << child->objectName().toStdString();
    EXPECT_EQ(f.Btn_DenniTabulka->geometry(), QRect(62, 3, 25, 25));

    const QImage shot = bar->grab().toImage();
    const int right = bar->width() - 1;
    EXPECT_EQ(test::PixelAt(shot, right, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(test::PixelAt(shot, right, 1), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(test::PixelAt(shot, right, 30), ColorToRGB(clBtnShadow));
    EXPECT_EQ(test::PixelAt(shot, right, 31), ColorToRGB(clBtnHighlight));
}

TEST_F(MainWindowWithBar, TheDownloadProgressShowsWholeOnTheBar) {
    THlavniForm& f = Open();
    f.ShowDownloadProgress(120, "Načítání záznamů: 120");
    for (QWidget* w : std::initializer_list<QWidget*>{f.Lbl_NacitaniZaznamu, f.Gau_NacitaniZaznamu, f.Btn_PrerusZaznamy}) {
        EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
        EXPECT_GE(w->y(), 2) << "clear of the top line";
        EXPECT_LE(w->y() + w->height(), 30) << "clear of the bottom line";
        EXPECT_LE(w->x() + w->width(), f.SpeedBar1->width()) << w->objectName().toStdString();
    }
    EXPECT_LE(f.Lbl_NacitaniZaznamu->x() + f.Lbl_NacitaniZaznamu->width(), f.Gau_NacitaniZaznamu->x());
    EXPECT_LE(f.Gau_NacitaniZaznamu->x() + f.Gau_NacitaniZaznamu->width(), f.Btn_PrerusZaznamy->x());
    const QImage window = f.grab().toImage();
    QDir().mkpath(ZEKO_ARTEFACT_DIR);
    window.save(QString(ZEKO_ARTEFACT_DIR) + "/hlavni-download.png");
    f.HideDownloadProgress();
}

TEST_F(MainWindowWithBar, LogoJpgIsCentredBehindTheChildWindows) {
    std::string error;
    ASSERT_TRUE(SaveJpegPicture(dir / "logo.jpg", DrawLogo(), 95, error)) << error;
    THlavniForm& f = Open();
    ASSERT_NE(f.BackgroundImage, nullptr);
    EXPECT_TRUE(f.BackgroundImage->Center());
    EXPECT_EQ(f.BackgroundImage->PictureBitmap().Width(), LogoWidth);

    QWidget* viewport = f.MdiArea()->viewport();
    const QImage area = viewport->grab().toImage();
    const int w = viewport->width(), h = viewport->height();
    const TRect plate = test::BoxWhere(area, {0, 0, w, h}, Navyish);
    const int left = w / 2 - LogoWidth / 2, top = h / 2 - LogoHeight / 2;
    EXPECT_NEAR(plate.Left, left, 1);
    EXPECT_NEAR(plate.Top, top, 1);
    EXPECT_NEAR(plate.Right, left + LogoWidth, 1);
    EXPECT_NEAR(plate.Bottom, top + LogoHeight - 20, 2);
    const QColor face = f.palette().color(QPalette::Window);
    EXPECT_EQ(test::PixelAt(area, 5, 5), RGB(face.red(), face.green(), face.blue())) << "the form's colour around it";

    const QImage window = f.grab().toImage();
    QDir().mkpath(ZEKO_ARTEFACT_DIR);
    window.save(QString(ZEKO_ARTEFACT_DIR) + "/hlavni-logo.png");
}

TEST_F(MainWindowWithBar, WithoutLogoJpgTheAreaKeepsItsOwnBackground) {
    dir.Write("logo.jpg", "no picture at all");  // a damaged file counts as none
    THlavniForm& f = Open();
    EXPECT_EQ(f.BackgroundImage->PictureBitmap().Width(), 0);
    const QImage area = f.MdiArea()->viewport()->grab().toImage();
    const QColor own = f.MdiArea()->background().color();
    EXPECT_EQ(test::PixelAt(area, 5, 5), RGB(own.red(), own.green(), own.blue()));
}
