#include "dialogs/online.h"

#include "core/ProgramGlobals.h"
#include "platform/FormatSettings.h"
#include "support/MessageRecorder.h"
#include "support/QtApp.h"

#include "platform/Notifier.h"

#include <QLabel>

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
