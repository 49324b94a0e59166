// The MDI background picture: where it is painted, what stays untouched, the
// creation rules and a destructor that takes away only its own filter.
#include "controls/MDIImage.h"

#include "ImageProbe.h"
#include "QtTestApp.h"

#include <QMainWindow>
#include <QMdiArea>

#include <gtest/gtest.h>

using namespace zeko;

namespace {

constexpr TColor FormColor = RGB(0xC0, 0xC0, 0xC0);
constexpr TColor AreaColor = RGB(0x30, 0x40, 0x50);
constexpr TColor PictureColor = RGB(0xD0, 0x20, 0x20);

// A frame 400 x 300 whose MDI area has a background of its own.
struct MdiFrame : ::testing::Test {
    MdiFrame() {
        QPalette palette = frame.palette();
        palette.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
        frame.setPalette(palette);
        area = new QMdiArea(&frame);
        area->setBackground(QColor(0x30, 0x40, 0x50));
        frame.setCentralWidget(area);
        frame.resize(400, 300);
    }

    QImage Viewport() { return area->viewport()->grab().toImage(); }

    static void Fill(TBitmap& bitmap, int w, int h) {
        bitmap.SetSize(w, h);
        bitmap.Canvas().Brush().SetColor(PictureColor);
        bitmap.Canvas().FillRect({0, 0, w, h});
    }

    QMainWindow frame;
    QMdiArea* area;
};

} // namespace

TEST_F(MdiFrame, ACentredPictureSitsInTheMiddleOfTheFormColour) {
    TMDIImage image(&frame);
    Fill(image.PictureBitmap(), 101, 61);
    image.SetCenter(true);
    const QImage shot = Viewport();
    const int w = area->viewport()->width();
    const int h = area->viewport()->height();
    const TRect expected{w / 2 - 50, h / 2 - 30, w / 2 - 50 + 101, h / 2 - 30 + 61};
    EXPECT_EQ(test::InkBox(shot, {0, 0, w, h}, PictureColor), expected);
    EXPECT_EQ(image.Left(), expected.Left);
    EXPECT_EQ(image.Top(), expected.Top);
    EXPECT_EQ(test::PixelAt(shot, 0, 0), FormColor);
    EXPECT_EQ(test::PixelAt(shot, w - 1, h - 1), FormColor);
}

TEST_F(MdiFrame, APictureLargerThanTheAreaShowsItsMiddle) {
    TMDIImage image(&frame);
    Fill(image.PictureBitmap(), 1000, 800);
    image.SetCenter(true);
    const QImage shot = Viewport();
    EXPECT_LT(image.Left(), 0);
    EXPECT_LT(image.Top(), 0);
    EXPECT_EQ(test::InkBox(shot, {0, 0, shot.width(), shot.height()}, PictureColor),
              (TRect{0, 0, shot.width(), shot.height()}));
}

TEST_F(MdiFrame, WithoutCentringThePictureStaysAtItsPosition) {
    TMDIImage image(&frame);
    Fill(image.PictureBitmap(), 20, 10);
    image.SetLeft(7);
    image.SetTop(5);
    EXPECT_EQ(test::InkBox(Viewport(), {0, 0, 400, 300}, PictureColor), (TRect{7, 5, 27, 15}));
}

TEST_F(MdiFrame, AnEmptyPictureLeavesTheAreaItsOwnBackground) {
    struct Case {
        int w, h;
    };
    for (const Case c : {Case{0, 0}, Case{0, 20}, Case{20, 0}}) {
        TMDIImage image(&frame);
        image.PictureBitmap().SetSize(c.w, c.h);
        image.SetCenter(true);
        EXPECT_EQ(test::PixelAt(Viewport(), 10, 10), AreaColor) << c.w << " x " << c.h;
    }
}

TEST(MDIImage, AFormWithoutAnMdiAreaHasItsOwnBackgroundReplaced) {
    QWidget form;
    form.resize(200, 100);
    TMDIImage image(&form);
    EXPECT_EQ(image.ClientWindow(), &form);
    MdiFrame::Fill(image.PictureBitmap(), 10, 10);
    image.SetCenter(true);
    EXPECT_EQ(test::InkBox(form.grab().toImage(), {0, 0, 200, 100}, PictureColor), (TRect{95, 45, 105, 55}));
}

TEST(MDIImage, TheOwnerMustBeAWindowWithoutAnotherImage) {
    QWidget form;
    QWidget child(&form);
    const size_t children = form.children().size();
    try {
        TMDIImage image(&child);
        FAIL() << "a child control is no form";
    } catch (const EMDIImageError& e) {
        EXPECT_STREQ(e.what(), "not (TMDIImage.Owner is TForm)!");
    }
    EXPECT_THROW(TMDIImage(nullptr), EMDIImageError);

    TMDIImage first(&form);
    try {
        TMDIImage second(&form);
        FAIL() << "a second image on the form";
    } catch (const EMDIImageError& e) {
        EXPECT_STREQ(e.what(), "Only one instance of TMDIImage allowed");
    }
    EXPECT_EQ(form.children().size(), children + 1) << "a refused image leaves nothing on the form";
}

namespace {

// Counts the paint events of the window it watches.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

TEST_F(MdiFrame, DestroyingTheImageRemovesOnlyItsOwnFilter) {
    PaintCounter before;
    area->viewport()->installEventFilter(&before);
    auto* image = new TMDIImage(&frame);
    PaintCounter after;
    area->viewport()->installEventFilter(&after);
    Fill(image->PictureBitmap(), 20, 20);

    delete image;
    const QImage shot = Viewport();
    EXPECT_EQ(test::PixelAt(shot, 200, 150), AreaColor) << "the area paints its own background again";
    EXPECT_GT(before.paints, 0);
    EXPECT_GT(after.paints, 0);
}

TEST(MDIImage, DestroyingTheImageAfterItsWindowWentDoesNotRaise) {
    QMainWindow frame;
    auto* area = new QMdiArea(&frame);
    frame.setCentralWidget(area);
    auto* image = new TMDIImage(&frame);
    delete area;
    EXPECT_EQ(image->ClientWindow(), nullptr);
    EXPECT_NO_THROW(delete image);
}
