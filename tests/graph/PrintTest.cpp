// The day graph on a printed page and in a picture file: centimetres on the sheet,
// the page's margins, the series a print shows, a PDF page read back as text, the
// JPEG picture and its quality fallbacks, and a print that fails half way.
#include "ArchiveFixture.h"

#include "core/Zeko.h"
#include "platform/Jpeg.h"
#include "platform/report/ReportPrinting.h"
#include "support/PdfText.h"
#include "support/SmallDisk.h"

#include <QImage>
#include <QPrinter>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace zeko::graph {

using zeko::test::ArchiveTest;
using zeko::test::Date;
using zeko::test::PdfPagePicture;
using zeko::test::PdfText;
using zeko::test::PdfWord;
using zeko::test::PdfWords;
using zeko::test::SmallDisk;

namespace {

void PrintToPdf(TFullOkno& graph, const std::string& file) {
    graph.Printer().setOutputFormat(QPrinter::PdfFormat);
    graph.Printer().setOutputFileName(QString::fromStdString(file));
}

// A graph whose value texts over the page fail, as a printer running out of
// memory half way through would.
class FailingGraph : public TFullOkno {
public:
    using TFullOkno::TFullOkno;
    void DrawRotatedValue(int, int, double, TColor, bool, int) override { throw std::runtime_error("no memory"); }
};

class GraphPrint : public ArchiveTest {
protected:
    // The archive with a day of quarter hours: input 0 rising to 960, input 1 a
    // third of it, input 2 a tenth.
    TArchivForm& ArchiveWithADay() {
        for (int q = 0; q < 96; ++q) {
            const TDateTime at = Date(2024, 3, 5) + EncodeTime(0, 15, 0) + q / 96.0;
            const DateParts d = DecodeDate(at);
            const TimeParts t = DecodeTime(at);
            const auto v = static_cast<uint16_t>(q * 10);
            Add(d.Year, d.Month, d.Day, t.Hour, t.Minute, 0, {v, static_cast<uint16_t>(v / 3),
                                                              static_cast<uint16_t>(v / 10), 0});
        }
        Save();
        TArchivForm& f = Open();
        f.ShowDay(Date(2024, 3, 5));
        return f;
    }
    static void SetHeader(TFullOkno& graph) {
        graph.HeaderTitle = "Denní průběh";
        graph.HeaderSubtitle = "Odběry 5. 3. 2024";
        graph.HeaderConsumer = "Slévárna Brno";
        graph.HeaderPlace = "Hala 2";
        graph.HeaderVersion = "0.90beta14";
    }
    static void ExpectScreenBack(TFullOkno& graph) {
        EXPECT_EQ(graph.BufferCanvas, &graph.Buffer.Canvas());
        EXPECT_EQ(graph.BufferWidth, graph.Buffer.Width());
        EXPECT_EQ(graph.BufferHeight, graph.Buffer.Height());
        EXPECT_TRUE(graph.FullRedraw);
        EXPECT_TRUE(graph.AxisLabels);
    }
};

} // namespace

TEST(GraphPage, CentimetresArePositionsOnTheSheetOrLengths) {
    TDeviceMetrics printer;
    printer.PixelsPerInchX = 600;
    printer.PixelsPerInchY = 300;
    printer.OffsetX = 50;
    printer.OffsetY = 40;
    struct Case {
        bool vertical;
        double cm;
        int position, length;
    } const cases[] = {
        {false, 2.5, 591 - 50, 591}, {false, 2.0, 472 - 50, 472}, {true, 5.5, 650 - 40, 650},
        {true, 1.5, 177 - 40, 177},  {false, 0, -50, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CentimetresToPixels(printer, c.vertical, c.cm), c.position) << c.cm;
        EXPECT_EQ(CentimetresToLength(printer, c.vertical, c.cm), c.length) << c.cm;
    }
    EXPECT_EQ(PointsToFontHeight(printer, 8), -33);
}

TEST_F(GraphPrint, TheOffsetOfThePrintableAreaMovesOnlyTheLeftAndTopMargins) {
    Open();
    TDeviceMetrics printer{7000, 4900, 600, 600, 100, 80};
    Graph().ComputePageMetrics(printer, true, 3, 2000, 0);
    const TPageMetrics& p = Graph().Page;
    EXPECT_EQ(p.PageLeft, 591 - 100);
    EXPECT_EQ(p.PageTop, 1299 - 80);
    EXPECT_EQ(p.PageRight, 1417);  // 6 cm: room for the legend of three series
    EXPECT_EQ(p.PageBottom, 354);
    EXPECT_DOUBLE_EQ(p.PixelsPerHour, (7000 - 491 - 1417) / 24.0);
    EXPECT_EQ(p.PageYMax, 2000);
    EXPECT_EQ(p.PageYStep, 500);
    EXPECT_EQ(p.PageTick, 20);
    EXPECT_EQ(p.PageGap, 49);
    Graph().ComputePageMetrics(printer, true, 1, 2000, -30);
    EXPECT_EQ(Graph().Page.PageRight, 472);
    EXPECT_EQ(Graph().Page.PageNegative, 500);
}

TEST_F(GraphPrint, TheOneSeriesOfModeZeroIsOneThatExists) {
    Open();
    struct Case {
        int mode;
        bool lower;
        uint8_t number;
        bool printsLower;
        std::vector<int> numbers;
    } const cases[] = {
        {0, false, 0, false, {1}},  {0, false, 4, false, {4}},  {0, false, 200, false, {9}},
        {0, true, 7, true, {6}},    {0, true, 0, true, {1}},    {7, false, 2, false, {2}},
        {1, true, 0, false, {1, 2, 3}}, {2, false, 0, true, {1, 2, 3, 4, 5, 6}},
        {3, false, 0, false, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
    };
    for (const Case& c : cases) {
        Graph().PrintLowerSeries = c.lower;
        Graph().PrintSeriesNumber = c.number;
        const TPrintedSeries printed = Graph().PrintedSeries(c.mode);
        EXPECT_EQ(printed.Lower, c.printsLower) << c.mode << " " << int(c.number);
        EXPECT_EQ(printed.Numbers, c.numbers) << c.mode << " " << int(c.number);
    }
}

TEST_F(GraphPrint, ThePrinterChosenInThePrinterDialogTakesThePage) {
    ArchiveWithADay();
    ScriptedReportPrinting dialogs;
    SetReportPrinting(&dialogs);
    dialogs.Cancel();
    EXPECT_FALSE(Graph().PrinterSetup());
    const std::string pdf = dir_ / "zvoleny.pdf";
    dialogs.PrintToPdf(pdf);
    ASSERT_TRUE(Graph().PrinterSetup());
    Graph().Print(3, "kW", true, false, "");
    SetReportPrinting(nullptr);
    EXPECT_NE(PdfText(pdf).find("Činný"), std::string::npos);  // the legend of mode 3: the captions
    EXPECT_EQ(dialogs.Log(), (std::vector<std::string>{"PrinterSetup -> cancel", "PrinterSetup -> " + pdf}));
}

TEST_F(GraphPrint, TheRegulatedMaximaOfTheHeaderAreEmptyWithoutItems) {
    Open();
    EXPECT_EQ(Graph().FirstLastText(), "");
    Graph().RegMaxList = {{0, EncodeTime(6, 0, 0), 120}, {0, EncodeTime(14, 0, 0), 90}, {0, EncodeTime(22, 0, 0), 150}};
    EXPECT_EQ(Graph().FirstLastText(), "120,0/150,0");
    EXPECT_EQ(Graph().RegMaxAt(13 * 60), 120);
    EXPECT_EQ(Graph().RegMaxAt(5 * 60), 120);
    EXPECT_EQ(Graph().RegMaxAt(14 * 60), 90);
    EXPECT_EQ(Graph().RegMaxAt(2000), 150);
}

TEST_F(GraphPrint, APdfPageOfTheLoadedDayCarriesTheHeaderTheLegendAndTheAxes) {
    TArchivForm& f = ArchiveWithADay();
    SetHeader(Graph());
    const std::string pdf = dir_ / "graf.pdf";
    PrintToPdf(Graph(), pdf);
    Graph().Print(1, "kW", true, false, "");
    EXPECT_EQ(Graph().Printer().pageLayout().orientation(), QPageLayout::Landscape);
    const std::string text = PdfText(pdf);
    for (const char* expected : {"Denní průběh", "Odběry 5. 3. 2024", "Velkoodběr:", "Slévárna Brno", "Odb. místo:",
                                 "Hala 2", "Tech. max. [kWh]:", "2000", "Verze SW PC:",
                                 "0.90beta14", "HL", "1P", "2P", "[kW]", "12", "24", "1000"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    // Without regulated maxima their line is left out.
    EXPECT_EQ(text.find("Reg. max."), std::string::npos) << text;
    ExpectScreenBack(Graph());
    EXPECT_EQ(f.Day, Date(2024, 3, 5));
    EXPECT_EQ(Graph().Printer().printerState(), QPrinter::Idle);
}

// The archive fills the header from what the program knows: the measurement and
// the day, the site of "Zeko.ini", the regulator's identification as it was read,
// the program's version; a detail that nobody gave leaves its line out.
TEST_F(GraphPrint, TheArchiveFillsTheHeaderWithWhatItKnows) {
    TArchivForm& f = ArchiveWithADay();
    TZEKO regulator;
    struct Case {
        std::string consumer, place, type, serial;
        std::vector<std::string> shown, left;
    } const cases[] = {
        {"", "", "", "", {"Tech. max. [kWh]: 2000"}, {"Velkoodběr", "Odb. místo", "Regulátor", "Reg. max."}},
        {"Slévárna Brno", "Hala 2", "ZEKO M7 v2.14  ", std::string("Výr.č. 000815\0\0", 17),
         {"Velkoodběr: Slévárna Brno", "Odb. místo: Hala 2", "Regulátor: ZEKO M7 v2.14, Výr.č. 000815"},
         {"Reg. max."}},
    };
    for (const Case& c : cases) {
        Velkoodber = c.consumer;
        OdberneMisto = c.place;
        regulator.IdentTexts = {c.type, c.serial, "Regulátor M7 12/16", ""};
        CurrentState = c.type.empty() ? nullptr : &regulator;
        const std::string pdf = dir_ / "hlavicka.pdf";
        PrintToPdf(Graph(), pdf);
        ASSERT_TRUE(f.PrintGraph(1, false, ""));
        CurrentState = nullptr;
        const std::string text = PdfText(pdf);
        for (const std::string& expected : {std::string("Denní průběh - Činný"), std::string("úterý 05.03.2024"),
                                            "Verze SW PC: " + ProgramVersion})
            EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
        for (const std::string& expected : c.shown)
            EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
        for (const std::string& absent : c.left)
            EXPECT_EQ(text.find(absent), std::string::npos) << absent << "\n" << text;
    }
}

TEST_F(GraphPrint, OneSeriesWritesItsValuesTurnedAboveThePlot) {
    ArchiveWithADay();
    const std::string pdf = dir_ / "jedna.pdf";
    PrintToPdf(Graph(), pdf);
    Graph().PrintSeriesNumber = 1;
    Graph().Print(0, "kW", false, false, "");
    const std::string text = PdfText(pdf);
    EXPECT_NE(text.find("950,0"), std::string::npos) << text;
    EXPECT_EQ(text.find("HL"), std::string::npos);  // no legend for one series
}

TEST_F(GraphPrint, ThePictureIsA2200By1650JpegWithAPlotInsideItsMargins) {
    ArchiveWithADay();
    const std::string file = dir_ / "graf.jpg";
    Graph().Print(1, "kW", true, true, file);
    TRgbImage picture;
    ASSERT_TRUE(DecodeJpegFile(file, picture));
    EXPECT_EQ(picture.Width, 2200);
    EXPECT_EQ(picture.Height, 1650);
    const TPageMetrics& p = Graph().Page;
    EXPECT_EQ(p.PageLeft, 197);
    EXPECT_EQ(p.PageTop, 433);
    EXPECT_EQ(p.PageRight, 472);
    EXPECT_EQ(p.PageBottom, 118);
    EXPECT_GT(p.PageWidth - p.PageLeft - p.PageRight, 1000);
    EXPECT_GT(p.PageHeight - p.PageTop - p.PageBottom, 1000);
    // The value axis is a dark line at the left margin; the page around it white.
    const uint8_t* axis = picture.Pixel(p.PageLeft, 1000);
    EXPECT_LT(axis[0] + axis[1] + axis[2], 3 * 80);
    const uint8_t* margin = picture.Pixel(60, 1000);
    EXPECT_GT(margin[0] + margin[1] + margin[2], 3 * 230);
    ExpectScreenBack(Graph());
    EXPECT_EQ(notifier_.Count(), 0u);
}

TEST_F(GraphPrint, TheScreenLayoutOnAPageKeepsTheScreenAsItWas) {
    ArchiveWithADay();
    const TRect upper = Graph().UpperFrame;
    const int split = Graph().SplitY;
    const TColor colour = Graph().Series[2].Color;
    const QImage before = Graph().Buffer.Image().copy();
    Graph().PrintAlternate = true;
    std::filesystem::create_directories(ZEKO_ARTEFACT_DIR);
    const std::string file = std::string(ZEKO_ARTEFACT_DIR) + "/graf-rozvrzeni-obrazovky.jpg";
    Graph().Print(1, "kW", false, true, file);
    TRgbImage picture;
    ASSERT_TRUE(DecodeJpegFile(file, picture));
    EXPECT_EQ(picture.Width, 2200);
    EXPECT_EQ(Graph().UpperFrame, upper);
    EXPECT_EQ(Graph().SplitY, split);
    EXPECT_EQ(Graph().Series[2].Color, colour);
    EXPECT_EQ(Graph().BackColor, clGray);
    EXPECT_EQ(Graph().Buffer.Image(), before);
    ExpectScreenBack(Graph());
    // The same on a fine page in colour, for a person to look at.
    const std::string pdf = std::string(ZEKO_ARTEFACT_DIR) + "/graf-rozvrzeni-obrazovky.pdf";
    PrintToPdf(Graph(), pdf);
    EXPECT_TRUE(Graph().Print(1, "kW", true, false, ""));
    EXPECT_TRUE(PdfPagePicture(pdf, std::string(ZEKO_ARTEFACT_DIR) + "/graf-rozvrzeni-obrazovky.png", 100));
    EXPECT_EQ(Graph().Buffer.Image(), before);
}

namespace {

// The words of a page that cover each other (by more than a hair: a box is a line's
// height, so lines set close may touch).
std::vector<std::string> OverlappingWords(const std::vector<PdfWord>& words) {
    constexpr double hair = 0.5;
    std::vector<std::string> faults;
    for (size_t i = 0; i < words.size(); ++i)
        for (size_t j = i + 1; j < words.size(); ++j) {
            const PdfWord& a = words[i];
            const PdfWord& b = words[j];
            if (std::min(a.Right, b.Right) - std::max(a.Left, b.Left) > hair &&
                std::min(a.Bottom, b.Bottom) - std::max(a.Top, b.Top) > hair)
                faults.push_back(a.Text + " / " + b.Text);
        }
    return faults;
}

} // namespace

// Every label of both layouts stands clear of the others: the hour, value and band
// labels at the origin among them.
TEST_F(GraphPrint, NoLabelOfAPageCoversAnother) {
    TArchivForm& f = ArchiveWithADay();
    for (const bool screenLayout : {false, true}) {
        Graph().PrintAlternate = screenLayout;
        const std::string pdf = dir_ / "stitky.pdf";
        PrintToPdf(Graph(), pdf);
        ASSERT_TRUE(f.PrintGraph(1, false, ""));
        const std::vector<PdfWord> words = PdfWords(pdf);
        EXPECT_GT(words.size(), 40u);
        EXPECT_EQ(OverlappingWords(words), std::vector<std::string>{}) << screenLayout;
        const auto zeros = std::count_if(words.begin(), words.end(), [](const PdfWord& w) { return w.Text == "0"; });
        EXPECT_GE(zeros, screenLayout ? 4 : 2) << screenLayout;
    }
}

TEST_F(GraphPrint, APictureThatCannotBeSavedIsTriedWithLowerQualitiesThenReported) {
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::white);
    std::vector<int> tried;
    EXPECT_TRUE(SavePictureAsJpeg(picture, "x.jpg", [&](const std::vector<uint8_t>& bytes, int quality) {
        tried.push_back(quality);
        return !bytes.empty() && quality == 60;
    }));
    EXPECT_EQ(tried, (std::vector<int>{100, 80, 60}));
    EXPECT_EQ(notifier_.Count(), 0u);
    tried.clear();
    EXPECT_FALSE(SavePictureAsJpeg(picture, "x.jpg", [&](const std::vector<uint8_t>&, int quality) {
        tried.push_back(quality);
        return false;
    }));
    EXPECT_EQ(tried, (std::vector<int>{100, 80, 60, 40}));
    ASSERT_EQ(notifier_.Count(), 1u);
    EXPECT_EQ(notifier_.Messages()[0].Text, "Chyba při ukládání souboru");

    ArchiveWithADay();
    notifier_.Clear();
    const std::string file = dir_ / "chybi/graf.jpg";
    Graph().Print(3, "kW", true, true, file);
    EXPECT_EQ(notifier_.Count(), 1u);
    EXPECT_FALSE(std::filesystem::exists(file));
    ExpectScreenBack(Graph());
}

TEST_F(GraphPrint, APrintThatFailsHalfWayAbortsThePrinterDocument) {
    FailingGraph graph(nullptr);
    graph.Init(800, 500);
    graph.Series[1].Add({600, 100});
    graph.Series[1].Add({615, 200});
    PrintToPdf(graph, dir_ / "half.pdf");
    graph.PrintSeriesNumber = 1;
    EXPECT_THROW(graph.Print(0, "kW", true, false, ""), std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "half.pdf"));  // no document was begun
    ExpectScreenBack(graph);

    PrintToPdf(graph, dir_ / "no-folder/x.pdf");
    EXPECT_THROW(graph.Print(1, "kW", true, false, ""), std::runtime_error);
    ExpectScreenBack(graph);
    EXPECT_EQ(notifier_.Count(), 0u);

    // A PDF file that cannot be made is no drawing that failed: it is told, as a
    // printer that takes no page.
    TFullOkno sound(nullptr);
    sound.Init(800, 500);
    sound.Series[1].Add({600, 100});
    PrintToPdf(sound, dir_ / "no-folder/x.pdf");
    EXPECT_FALSE(sound.Print(1, "kW", true, false, ""));
    ASSERT_EQ(notifier_.Count(), 1u);
    EXPECT_EQ(notifier_.Messages()[0].Text,
              "Zvolená tiskárna není platná\n" + dir_ / "no-folder/x.pdf" + ": Soubor nebo složka neexistuje");
    EXPECT_FALSE(std::filesystem::exists(dir_ / "no-folder"));
    ExpectScreenBack(sound);
}

TEST_F(GraphPrint, APdfOrPictureOnAFullDiskIsToldAndLeavesTheEarlierFileAsItWas) {
    ArchiveWithADay();
    SmallDisk disk(64);
    if (!disk.Mounted())
        GTEST_SKIP() << "no tmpfs without the rights of root";
    disk.Dir().Write("graf.pdf", "earlier page");
    disk.Dir().Write("graf.jpg", "earlier picture");
    disk.Fill();
    PrintToPdf(Graph(), disk / "graf.pdf");
    EXPECT_FALSE(Graph().Print(1, "kW", true, false, ""));
    EXPECT_FALSE(Graph().Print(1, "kW", true, true, disk / "graf.jpg"));
    ASSERT_EQ(notifier_.Count(), 2u);
    EXPECT_EQ(notifier_.Messages()[0].Text,
              "Zvolená tiskárna není platná\n" + disk / "graf.pdf" + ": Na disku není volné místo");
    EXPECT_EQ(notifier_.Messages()[1].Text, "Chyba při ukládání souboru");
    EXPECT_EQ(disk.Dir().Read("graf.pdf"), "earlier page");
    EXPECT_EQ(disk.Dir().Read("graf.jpg"), "earlier picture");
    EXPECT_EQ(disk.Dir().Names(), (std::vector<std::string>{"filler", "graf.jpg", "graf.pdf"}));  // nothing half written
    ExpectScreenBack(Graph());
}

namespace {

// The longest run of dark pixels down a column of a page's picture.
int ThickestDarkRun(const QImage& page, int x, int top, int bottom) {
    int longest = 0, run = 0;
    for (int y = std::max(0, top); y < std::min(page.height(), bottom); ++y) {
        const QRgb p = page.pixel(x, y);
        run = qRed(p) + qGreen(p) + qBlue(p) < 3 * 110 ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

// Whether a pixel of a colour other than white, grey or black shows in the area:
// the series are drawn in colours, the page's lines and texts in black.
bool ShowsColour(const QImage& page, int left, int top, int right, int bottom) {
    for (int y = std::max(0, top); y < std::min(page.height(), bottom); ++y)
        for (int x = std::max(0, left); x < std::min(page.width(), right); ++x) {
            const QRgb p = page.pixel(x, y);
            if (std::max({qRed(p), qGreen(p), qBlue(p)}) - std::min({qRed(p), qGreen(p), qBlue(p)}) > 80)
                return true;
        }
    return false;
}

} // namespace

TEST_F(GraphPrint, AFinePageHasTheLinesOfAnOrdinaryPrinterAndTheSeriesEndAtMidnight) {
    ArchiveWithADay();  // its last quarter ends at 24:00
    SetHeader(Graph());
    std::filesystem::create_directories(ZEKO_ARTEFACT_DIR);
    const std::string pdf = std::string(ZEKO_ARTEFACT_DIR) + "/graf-strana.pdf";
    PrintToPdf(Graph(), pdf);
    ASSERT_EQ(Graph().Printer().resolution(), 1200);
    ASSERT_TRUE(Graph().Print(1, "kW", true, false, ""));
    ASSERT_TRUE(PdfPagePicture(pdf, std::string(ZEKO_ARTEFACT_DIR) + "/graf-strana.png", 100));
    // Read at 300 dpi, where the page's 4-pixel pens are 4 pixels.
    const std::string measured = dir_ / "strana-300.png";
    ASSERT_TRUE(PdfPagePicture(pdf, measured, 300));
    const QImage page(QString::fromStdString(measured));
    ASSERT_FALSE(page.isNull());
    const TPageMetrics& p = Graph().Page;
    const TDeviceMetrics device = PrinterMetrics(Graph().Printer());
    auto x300 = [&](double minute) { return int((device.OffsetX + p.PageLeft + minute / 60 * p.PixelsPerHour) / 4); };
    auto y300 = [&](int y) { return (device.OffsetY + y) / 4; };
    const int plotTop = y300(p.PageTop), plotBottom = y300(p.PageHeight - p.PageBottom);
    // Between two hour lines a column crosses the value grid and the zero line,
    // which is a 4-pixel axis.
    EXPECT_GE(ThickestDarkRun(page, x300(18 * 60 + 30), plotTop, plotBottom + 5), 3);
    // The value axis across a row between two grid lines.
    int axis = 0;
    for (int x = x300(-15); x < x300(15); ++x)
        axis += ThickestDarkRun(page, x, plotBottom - 30, plotBottom - 29);
    EXPECT_GE(axis, 3);
    // The 24:00 quarter's hold would run 17 minutes on: the plot ends at midnight.
    EXPECT_TRUE(ShowsColour(page, x300(23 * 60), plotTop, x300(24 * 60) - 3, plotBottom));
    EXPECT_FALSE(ShowsColour(page, x300(24 * 60) + 3, plotTop, x300(24 * 60 + 16), plotBottom));
}

TEST_F(GraphPrint, ThePictureEndsItsSeriesAtMidnightToo) {
    ArchiveWithADay();
    std::filesystem::create_directories(ZEKO_ARTEFACT_DIR);
    const std::string file = std::string(ZEKO_ARTEFACT_DIR) + "/graf-obrazek.jpg";
    ASSERT_TRUE(Graph().Print(1, "kW", true, true, file));
    const QImage picture(QString::fromStdString(file));
    ASSERT_FALSE(picture.isNull());
    const TPageMetrics& p = Graph().Page;
    auto x = [&](double minute) { return int(p.PageLeft + minute / 60 * p.PixelsPerHour); };
    EXPECT_TRUE(ShowsColour(picture, x(23 * 60), p.PageTop, x(24 * 60) - 3, p.PageHeight - p.PageBottom));
    EXPECT_FALSE(ShowsColour(picture, x(24 * 60) + 4, p.PageTop, x(24 * 60 + 16), p.PageHeight - p.PageBottom));
}

} // namespace zeko::graph
