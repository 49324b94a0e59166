#include "dialogs/online.h"

#include "dialogs/OnlineLayout.h"

#include "core/ProgramGlobals.h"
#include "platform/FormatSettings.h"
#include "support/MessageRecorder.h"
#include "support/QtApp.h"

#include "platform/Notifier.h"

#include <QLabel>
#include <QPainter>

#include <filesystem>

#include <gtest/gtest.h>

#include <cmath>

using namespace zeko;

namespace {

std::string Text(const QLabel* label) { return label->text().toStdString(); }

TOnlineValues FourOutputs() {
    TOnlineValues v;
    v.CosPhi = 0.98765;
    v.ActivePower = 120.9;
    v.ReactivePower = -12.7;
    v.OutputCount = 4;
    v.OutputTypes = 0b1100;     // C, C, L, L
    v.OutputStates = 0b0101;    // on, off, on, off; fault bit (4) clear
    v.OutputValues = {255, 100, 378, 50};
    v.FaultOutput = 1;
    v.TimeToRegulation = 0xFFFF;
    v.BandWord = 1;
    v.RegulationState = 24;
    v.RecordTime = 754;  // 12:34
    v.RegulatorNow = EncodeDate(2024, 3, 5) + EncodeTime(14, 3, 9);
    v.PcNow = EncodeDate(2024, 3, 5) + EncodeTime(14, 3, 10);
    return v;
}

struct CommaLocale {
    char saved = FormatSettings().DecimalSeparator;
    CommaLocale() { FormatSettings().DecimalSeparator = ','; }
    ~CommaLocale() { FormatSettings().DecimalSeparator = saved; }
};

} // namespace

TEST(OnlineForm, ShowsTheValuesOfTheLiveWindowAsTheRegulatorGivesThem) {
    test::QtApp();
    CommaLocale comma;
    TOnlineForm form;
    EXPECT_TRUE(OnlineOpen);
    form.Refresh(FourOutputs());
    EXPECT_EQ(Text(form.Lbl_CosFi), "0.987");
    EXPECT_EQ(Text(form.Lbl_CinnyVykon), "120");
    EXPECT_EQ(Text(form.Lbl_IndukcniVykon), "0");
    EXPECT_EQ(Text(form.Lbl_KapacitniVykon), "12");
    EXPECT_EQ(Text(form.Lbl_Vystupy), "CcLlp");
    EXPECT_EQ(Text(form.Lbl_PripojenaKapacita), "25");   // output 1: 25.5
    EXPECT_EQ(Text(form.Lbl_PripojenaIndukcnost), "37");  // output 3: 37.8
    EXPECT_EQ(Text(form.Lbl_CasDoRegulace), "----");
    EXPECT_EQ(Text(form.Lbl_PasmoRegulace), "2");
    EXPECT_EQ(Text(form.Lbl_ZnakRegulace), " Kap");
    EXPECT_EQ(Text(form.Lbl_AktCasZaznamu), "12:34");
    EXPECT_EQ(Text(form.Lbl_AktDTRegulatoru), "05.03.2024 14:03:09");
}

TEST(OnlineForm, FaultLetterOnlyWhenTheFaultOutputIsInUseAndUnknownStateKeepsItsText) {
    test::QtApp();
    TOnlineForm form;
    TOnlineValues v = FourOutputs();
    v.OutputStates = 0b10000;  // only the fault bit
    form.Refresh(v);
    EXPECT_EQ(Text(form.Lbl_Vystupy), "ccllP");
    v.FaultOutput = 0;
    v.RegulationState = 7;
    v.TimeToRegulation = 42;
    v.BandWord = 0;
    v.ReactivePower = 3.9;
    form.Refresh(v);
    EXPECT_EQ(Text(form.Lbl_Vystupy), "ccll");
    EXPECT_EQ(Text(form.Lbl_ZnakRegulace), " Kap");
    EXPECT_EQ(Text(form.Lbl_CasDoRegulace), "42");
    EXPECT_EQ(Text(form.Lbl_PasmoRegulace), "1");
    EXPECT_EQ(Text(form.Lbl_IndukcniVykon), "3");
    EXPECT_EQ(Text(form.Lbl_KapacitniVykon), "0");
    for (const auto& [code, text] : std::vector<std::pair<uint8_t, std::string>>{
             {0, "    "}, {6, "XXXX"}, {12, " Reg"}, {18, " Ind"}, {30, "-Kap"}, {36, "! P-"}}) {
        v.RegulationState = code;
        form.Refresh(v);
        EXPECT_EQ(Text(form.Lbl_ZnakRegulace), text);
    }
}

TEST(OnlineForm, ABadReadingShowsItsBlocksMessageOnceAndTheOtherBlocksGoOn) {
    test::QtApp();
    ScopedLoggingNotifier notifier;
    TOnlineForm form;
    form.Refresh(FourOutputs());
    TOnlineValues bad = FourOutputs();
    bad.ActivePower = std::nan("");
    bad.OutputCount = 40;
    bad.RecordTime = 61;
    bad.RegulatorNow = 1e9;  // no date of the calendar
    form.Refresh(bad);
    form.Refresh(bad);
    ASSERT_EQ(notifier.Count(), 2u);
    EXPECT_EQ(notifier.Messages()[0].Text, "chyba pri vypoctu vykonu");
    EXPECT_EQ(notifier.Messages()[1].Text, "chyba pri vypoctu vystupu");
    EXPECT_EQ(Text(form.Lbl_CinnyVykon), "120");  // kept
    EXPECT_EQ(Text(form.Lbl_Vystupy), "CcLlp");
    // Without the outputs the connected powers keep what they showed.
    EXPECT_EQ(Text(form.Lbl_PripojenaKapacita), "25");
    EXPECT_EQ(Text(form.Lbl_PripojenaIndukcnost), "37");
    EXPECT_EQ(Text(form.Lbl_AktCasZaznamu), "01:01");
    EXPECT_EQ(Text(form.Lbl_AktDTRegulatoru), "");
    EXPECT_EQ(Text(form.Lbl_AktDTPC), "05.03.2024 14:03:10");
    form.Refresh(FourOutputs());
    form.Refresh(bad);  // failing again after a good reading: said again
    EXPECT_EQ(notifier.Count(), 4u);
}

TEST(OnlineForm, RedrawsOnItsMessageAndClearsTheOpenFlagWhenGone) {
    test::QtApp();
    {
        TOnlineForm form;
        int reads = 0;
        form.Source = [&] {
            ++reads;
            return FourOutputs();
        };
        ASSERT_EQ(FindWindowByClass("TOnlineForm"), &form);
        SendMessageTo(&form, 1424, 0, 0);
        EXPECT_EQ(reads, 1);
        EXPECT_EQ(Text(form.Lbl_CosFi), "0.987");
        EXPECT_EQ(form.Picture().width(), TOnlineForm::PictureWidth);
        EXPECT_EQ(form.Picture().height(), TOnlineForm::PictureHeight);
    }
    EXPECT_FALSE(OnlineOpen);
}

TEST(OnlineForm, CosPhiTextTruncatesToThreeDecimals) {
    EXPECT_EQ(CosPhiText(1.0), "1.000");
    EXPECT_EQ(CosPhiText(-0.96873), "-0.968");
    EXPECT_EQ(CosPhiText(0.9999), "0.999");
}

namespace {

// The longest and lowest texts each value can take: sixteen outputs and the fault
// output, negative powers of five digits, the regulation texts with a descender.
std::vector<TOnlineValues> ExtremeValues() {
    std::vector<TOnlineValues> all;
    TOnlineValues v = FourOutputs();
    v.CosPhi = -0.999;
    v.ActivePower = -99999;
    v.ReactivePower = -99999;
    v.OutputCount = 16;
    v.OutputTypes = 0xAAAA;
    v.OutputStates = 0x5555;
    v.OutputValues.fill(65535);
    v.TimeToRegulation = 65534;
    v.RegulationState = 12;  // " Reg"
    v.RecordTime = 3599;
    v.RegulatorNow = EncodeDate(2099, 12, 28) + EncodeTime(23, 58, 58);
    v.PcNow = v.RegulatorNow;
    all.push_back(v);
    v.ReactivePower = 99999;
    v.OutputStates = 0xFFFF;
    v.OutputTypes = 0;
    v.CosPhi = 1;
    for (uint8_t state : {6, 18, 24, 30, 36}) {
        v.RegulationState = state;
        all.push_back(v);
    }
    return all;
}

// The label's text drawn again without a clip where the label draws it: what
// lies outside the label's text room, and the box of the glyphs in the window.
struct LabelText {
    int PixelsOutsideRoom = 0;
    bool SameAsLabel = true;
    QRect Glyphs;
};
LabelText Measure(QLabel* label) {
    constexpr int pad = 40;
    QImage drawn(label->size(), QImage::Format_RGB32);
    drawn.fill(Qt::white);
    label->render(&drawn);
    QImage whole(label->width() + 2 * pad, label->height() + 2 * pad, QImage::Format_RGB32);
    whole.fill(Qt::white);
    const QRect room = LabelTextRoom(label).translated(pad, pad);
    {
        QPainter p(&whole);
        p.setFont(label->font());
        p.setPen(label->palette().color(QPalette::WindowText));
        p.drawText(room, static_cast<int>(label->alignment()) | Qt::TextDontClip, label->text());
    }
    LabelText t;
    for (int y = 0; y < whole.height(); ++y)
        for (int x = 0; x < whole.width(); ++x) {
            const bool ink = whole.pixel(x, y) != QColor(Qt::white).rgb();
            if (ink && !room.contains(x, y))
                ++t.PixelsOutsideRoom;
            if (ink)
                t.Glyphs |= QRect(x, y, 1, 1);
            const QPoint inLabel(x - pad, y - pad);
            if (drawn.rect().contains(inLabel) && drawn.pixel(inLabel) != whole.pixel(x, y))
                t.SameAsLabel = false;
        }
    t.Glyphs.translate(label->pos() - QPoint(pad, pad));
    return t;
}

} // namespace

// Every label shows its text whole, and every value stays inside the box the
// picture draws for it, with the longest texts the values can take.
TEST(OnlineForm, EveryTextShowsWholeAndEveryValueInsideItsBox) {
    test::QtApp();
    TOnlineForm form;
    for (QLabel* label : form.findChildren<QLabel*>()) {
        if (!label->objectName().startsWith("Lbl_")) {
            const LabelText t = Measure(label);
            EXPECT_EQ(t.PixelsOutsideRoom, 0) << label->text().toStdString();
            EXPECT_TRUE(t.SameAsLabel) << label->text().toStdString();
        }
    }
    const std::string folder = ZEKO_ARTEFACT_DIR;
    std::filesystem::create_directories(folder);
    int picture = 0;
    for (const TOnlineValues& values : ExtremeValues()) {
        form.Refresh(values);
        if (picture < 2) {
            EXPECT_TRUE(form.grab().save(QString::fromStdString(folder + "/online-" + std::to_string(++picture) + ".png")));
        }
        for (size_t i = 0; i < online::ValueLabels.size(); ++i) {
            auto* label = form.findChild<QLabel*>(online::ValueLabels[i].Text);
            ASSERT_NE(label, nullptr) << online::ValueLabels[i].Text;
            const std::string what = label->objectName().toStdString() + " \"" + Text(label) + "\"";
            const LabelText t = Measure(label);
            EXPECT_EQ(t.PixelsOutsideRoom, 0) << what;
            EXPECT_TRUE(t.SameAsLabel) << what;
            EXPECT_TRUE(online::ValueBox(i).adjusted(1, 1, -1, -1).contains(t.Glyphs)) << what;
        }
    }
}

// While the regulator does not answer the values stay, in grey, under a notice of
// when they were read (the PC clock alone stays current); the next reading shows
// them as current again. With nothing read yet, the notice alone shows.
TEST(OnlineForm, OldValuesAreGreyUnderANoticeOfWhenTheyWereRead) {
    test::QtApp();
    TOnlineForm form;
    const QColor black(Qt::black);
    const auto colour = [](const QLabel* label) { return label->palette().color(QPalette::WindowText); };
    form.Refresh(FourOutputs());
    EXPECT_TRUE(form.Lbl_StareHodnoty->isHidden());
    const std::string current = form.ValuesText();

    TOnlineValues old = FourOutputs();
    old.Old = true;
    old.ReadAt = EncodeDate(2024, 3, 5) + EncodeTime(14, 2, 58);
    old.PcNow = EncodeDate(2024, 3, 5) + EncodeTime(14, 3, 40);
    form.Refresh(old);
    EXPECT_FALSE(form.Lbl_StareHodnoty->isHidden());
    EXPECT_EQ(Text(form.Lbl_StareHodnoty), "Regulátor neodpovídá. Poslední hodnoty z 05.03.2024 14:02:58");
    EXPECT_EQ(form.ValuesText(), current + "|" + Text(form.Lbl_StareHodnoty));
    for (const QLabel* label : {form.Lbl_CosFi, form.Lbl_CinnyVykon, form.Lbl_Vystupy, form.Lbl_ZnakRegulace,
                                form.Lbl_AktCasZaznamu, form.Lbl_AktDTRegulatoru})
        EXPECT_NE(colour(label), black) << label->objectName().toStdString();
    EXPECT_EQ(colour(form.Lbl_AktDTPC), black);
    EXPECT_EQ(Text(form.Lbl_AktDTPC), "05.03.2024 14:03:40");
    const LabelText notice = Measure(form.Lbl_StareHodnoty);
    EXPECT_EQ(notice.PixelsOutsideRoom, 0);  // (it draws its own background and frame)
    // Under the panel of the values, clear of every label.
    for (const QLabel* label : form.findChildren<QLabel*>()) {
        if (label == form.Lbl_StareHodnoty)
            continue;
        EXPECT_FALSE(label->geometry().intersects(form.Lbl_StareHodnoty->geometry()))
            << label->objectName().toStdString();
    }
    const std::string folder = ZEKO_ARTEFACT_DIR;
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(form.grab().save(QString::fromStdString(folder + "/online-old.png")));
    // Old because the serial port went away (a USB adapter pulled out).
    old.PortLost = true;
    form.Refresh(old);
    EXPECT_EQ(Text(form.Lbl_StareHodnoty), "Sériový port je odpojen. Poslední hodnoty z 05.03.2024 14:02:58");
    EXPECT_EQ(Measure(form.Lbl_StareHodnoty).PixelsOutsideRoom, 0);
    EXPECT_TRUE(form.grab().save(QString::fromStdString(folder + "/online-port-lost.png")));

    form.Refresh(FourOutputs());
    EXPECT_TRUE(form.Lbl_StareHodnoty->isHidden());
    EXPECT_EQ(colour(form.Lbl_CosFi), black);
    EXPECT_EQ(form.ValuesText(), current);

    TOnlineForm fresh;
    TOnlineValues none;
    none.Old = true;
    fresh.Refresh(none);
    EXPECT_EQ(Text(fresh.Lbl_StareHodnoty), "Regulátor neodpovídá.");
    EXPECT_EQ(Text(fresh.Lbl_CosFi), "");
    EXPECT_EQ(Text(fresh.Lbl_Vystupy), "");
}

// The picture draws a value box where the layout puts each value label: its frame
// line on the edge, the display colour inside, the panel outside.
TEST(OnlineForm, ThePictureHasABoxUnderEveryValueLabel) {
    test::QtApp();
    TOnlineForm form;
    const QImage& picture = form.Picture();
    const QColor display(214, 228, 204);
    auto near = [&](QPoint at, const QColor& colour) {
        const QColor c = picture.pixelColor(at);
        return std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                   std::abs(c.blue() - colour.blue()) < 30;
    };
    for (size_t i = 0; i < online::ValueLabels.size(); ++i) {
        const QRect box = online::ValueBox(i);
        const std::string name = online::ValueLabels[i].Text;
        const int middle = box.center().y();
        EXPECT_TRUE(near({box.left() + 4, middle}, display)) << name;
        EXPECT_TRUE(near({box.right() - 4, middle}, display)) << name;
        EXPECT_FALSE(near({box.left() - 3, middle}, display)) << name;
        EXPECT_FALSE(near({box.right() + 3, middle}, display)) << name;
    }
    EXPECT_EQ(form.minimumSizeHint(), QSize(TOnlineForm::PictureWidth, TOnlineForm::PictureHeight));
}
