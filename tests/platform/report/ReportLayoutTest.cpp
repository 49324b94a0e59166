// The report engine's layout of a report longer than a page: the title once, the
// column header on every page, details while the need-data event says more, each
// page ending above its footer, the summary after the last detail, child bands
// after their parent whether it is switched on or not, and each report of a
// composite from a new page.
#include "platform/report/QuickRep.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zeko;

namespace {

// A4 with margins of 38: 1047 report pixels between them.
struct LongReport : ::testing::Test {
    LongReport() : report("Dlouha") {
        report.AddBand("Title", rbTitle, 44);
        report.AddBand("Header", rbColumnHeader, 32);
        TQRBand& detail = report.AddBand("Detail", rbDetail, 18);
        detail.AddLabel("Row", 0, 0, 60, "", TReportFont{});
        TQRBand& summary = report.AddBand("Summary", rbSummary, 25);
        TQRBand& off = report.AddChildBand("SwitchedOff", summary, 20);
        off.Enabled = false;
        report.AddChildBand("AfterOff", off, 14);
        TQRBand& footer = report.AddBand("Footer", rbPageFooter, 22);
        footer.AddSysData("Page", qrsPageNumber, 0, 0, 80, TReportFont{}).Text = "Strana ";
        report.OnNeedData = [this](bool& more) {
            more = row < rows;
            if (more)
                report.FindLabel("Row")->Caption = std::to_string(++row);
        };
    }
    // The band names of one page.
    static std::vector<std::string> Bands(const TReportPage& page) {
        std::vector<std::string> names;
        for (const TPageBand& band : page.Bands)
            names.push_back(band.Name);
        return names;
    }

    TQuickRep report;
    int row = 0;
    int rows = 100;
};

} // namespace

TEST_F(LongReport, DetailsRunOnToNewPagesUnderTheColumnHeaderAboveEveryFooter) {
    TReportDocument doc;
    report.Prepare(doc);
    const int limit = 1123 - 38 - 22;
    // Page 1: the title, the header and (limit - 38 - 76) / 18 = 52 details.
    ASSERT_EQ(doc.Pages.size(), 2u);
    std::vector<std::string> first{"Title", "Header"};
    first.insert(first.end(), 52, "Detail");
    first.push_back("Footer");
    EXPECT_EQ(Bands(doc.Pages[0]), first);
    std::vector<std::string> second{"Header"};
    second.insert(second.end(), 48, "Detail");
    second.insert(second.end(), {"Summary", "AfterOff", "Footer"});
    EXPECT_EQ(Bands(doc.Pages[1]), second);
    for (const TReportPage& page : doc.Pages) {
        EXPECT_EQ(page.Bands.back().Top, limit) << "the footer at the foot of the page";
        for (size_t b = 0; b + 1 < page.Bands.size(); ++b)
            EXPECT_LE(page.Bands[b].Top + page.Bands[b].Height, limit) << page.Bands[b].Name;
    }
    EXPECT_EQ(doc.Pages[1].Bands[0].Top, 38);
    // The rows go on where the first page stopped; each footer numbers its page.
    const std::vector<const TPageItem*> rowTexts = doc.Named("Row");
    ASSERT_EQ(rowTexts.size(), 100u);
    EXPECT_EQ(doc.Pages[1].Named("Row")[0]->Text, "53");
    EXPECT_EQ(rowTexts.back()->Text, "100");
    EXPECT_EQ(doc.Named("Page")[0]->Text, "Strana 1");
    EXPECT_EQ(doc.Named("Page")[1]->Text, "Strana 2");
}

TEST_F(LongReport, NoDataPrintsTheFrameOnOnePageAndAClearedPrintFlagNothing) {
    rows = 0;
    TReportDocument doc;
    report.Prepare(doc);
    ASSERT_EQ(doc.Pages.size(), 1u);
    EXPECT_EQ(Bands(doc.Pages[0]), (std::vector<std::string>{"Title", "Header", "Summary", "AfterOff", "Footer"}));

    report.BeforePrint = [](bool& print) { print = false; };
    TReportDocument none;
    report.Prepare(none);
    EXPECT_TRUE(none.Pages.empty());
}

TEST_F(LongReport, EachReportOfACompositeStartsOnANewPage) {
    rows = 10;
    TQuickRep second("Druha");
    second.AddBand("Title2", rbTitle, 44);
    TQRCompositeReport composite;
    composite.OnAddReports = [&](TQRCompositeReport& c) {
        c.Add(report);
        c.Add(second);
    };
    const TReportDocument& doc = composite.Prepare();
    ASSERT_EQ(doc.Pages.size(), 2u);
    EXPECT_EQ(Bands(doc.Pages[1]), (std::vector<std::string>{"Title2"}));
    // Prepared again, it starts afresh.
    row = 0;
    EXPECT_EQ(composite.Prepare().Pages.size(), 2u);
}
