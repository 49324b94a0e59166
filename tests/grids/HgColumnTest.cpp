// The column and heading model: naming, change reports, the font rule, copying
// and what a form stream keeps.
#include "grids/HgColumn.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "QtTestApp.h"

namespace zeko {
namespace {

class ColumnModel : public ::testing::Test {
protected:
    void SetUp() override {
        columns.OnItemChange = [this](ThgHeading* item, int action) { reports.emplace_back(item, action); };
    }
    ThgColumns columns;
    std::vector<std::pair<ThgHeading*, int>> reports;
};

bool Has(const std::vector<std::string>& v, const std::string& s) { return std::find(v.begin(), v.end(), s) != v.end(); }

TEST_F(ColumnModel, AddNamesItemsWithTheFirstFreeNumber) {
    EXPECT_EQ(columns.Add()->Name(), "Column 1");
    ThgColumn* second = columns.Add();
    EXPECT_EQ(second->Name(), "Column 2");
    EXPECT_EQ(columns.Add()->Name(), "Column 3");
    second->SetName("Hodina");
    EXPECT_EQ(columns.Add()->Name(), "Column 2");
    EXPECT_EQ(columns.Add()->Name(), "Column 4");
    EXPECT_TRUE(reports.empty());  // naming reports nothing
}

TEST_F(ColumnModel, NamesAreComparedExactly) {
    columns.Add()->SetName("column 1");
    EXPECT_EQ(columns.Add()->Name(), "Column 1");
    ThgHeadings headings;
    headings.Add()->SetName("Column 1 ");
    EXPECT_EQ(headings.Add()->Name(), "Column 1");
}

TEST_F(ColumnModel, ScalarSettersReportOnlyRealChanges) {
    ThgColumn* c = columns.Add();
    c->SetCaption("");
    c->SetTitleColor(clBtnFace);
    c->SetDropDownCount(8);
    EXPECT_TRUE(reports.empty());
    c->SetCaption("Hodina:");
    c->SetColumnHAlignment(taCenter);
    c->SetReadOnly(true);
    c->SetControlType({hgctlComboBox});
    ASSERT_EQ(reports.size(), 4u);
    for (const auto& r : reports) {
        EXPECT_EQ(r.first, c);
        EXPECT_EQ(r.second, hgItemChanged);
    }
}

TEST_F(ColumnModel, ObjectSettersAlwaysReportButItemsAndNameNever) {
    ThgColumn* c = columns.Add();
    c->SetTitleFont(c->TitleFont());  // an equal font still counts
    EXPECT_EQ(reports.size(), 1u);
    EXPECT_FALSE(c->TitleParentFont());
    c->SetTopBorder(c->TopBorder());
    EXPECT_EQ(reports.size(), 2u);
    c->SetItems({"L", "C"});
    c->SetName("Typ");
    EXPECT_EQ(reports.size(), 2u);
    EXPECT_EQ(c->Items(), (std::vector<std::string>{"L", "C"}));
}

TEST_F(ColumnModel, VisibleReportsActionZeroOncePerChange) {
    ThgColumn* c = columns.Add();
    c->SetVisible(false);
    c->SetVisible(false);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].second, hgItemVisibleChanged);
    c->SetVisible(true);
    EXPECT_EQ(reports.size(), 2u);
}

TEST_F(ColumnModel, ChangingAnOwnFontLeavesTheGridFontWithoutAReport) {
    ThgColumn* c = columns.Add();
    EXPECT_TRUE(c->ColumnParentFont());
    c->ColumnFont().SetSize(10);
    EXPECT_FALSE(c->ColumnParentFont());
    EXPECT_TRUE(c->TitleParentFont());  // the heading rule looks at the title font only
    c->TitleFont().SetStyle({fsBold});
    EXPECT_FALSE(c->TitleParentFont());
    EXPECT_TRUE(reports.empty());
}

TEST_F(ColumnModel, HeadingsWithoutACallbackAcceptEverySilently) {
    ThgHeadings headings;
    ThgHeading* h = headings.Add();
    h->SetCaption("Denní tabulka");
    h->SetTitleInnerBevel(bvRaised);
    EXPECT_EQ(h->Caption(), "Denní tabulka");
    EXPECT_EQ(h->Index(), 0);
}

TEST_F(ColumnModel, AssignCopiesColumnsWholeAndHeadingsInPart) {
    ThgColumn* a = columns.Add();
    a->SetCaption("Celkem");
    a->SetTitleColor(clAqua);
    a->SetColumnColor(clYellow);
    a->SetItems({"x"});
    a->HiddenCells() = {"1", "2"};
    a->SetFormatType(hgfmtNumeric);
    a->SetDecimals(1);
    a->SetHeadingIndex(0);
    a->RightBorder().SetStyle(hgbrdDouble);

    ThgColumn* b = columns.Add();
    b->Assign(*a);
    EXPECT_EQ(b->Name(), "Column 1");
    EXPECT_EQ(b->Caption(), "Celkem");
    EXPECT_EQ(b->ColumnColor(), clYellow);
    EXPECT_EQ(b->Items(), a->Items());
    EXPECT_EQ(b->HiddenCells(), a->HiddenCells());
    EXPECT_EQ(b->Decimals(), 1);
    EXPECT_EQ(b->HeadingIndex(), 0);
    EXPECT_EQ(b->RightBorder().Style(), hgbrdDouble);
    EXPECT_FALSE(b->TitleParentFont());
    EXPECT_FALSE(b->ColumnParentFont());

    ThgHeadings headings;
    ThgHeading* h = headings.Add();
    h->Assign(*a);
    EXPECT_EQ(h->TitleColor(), clAqua);
    ThgColumn* c = columns.Add();
    c->Assign(*h);  // a heading gives only its own part
    EXPECT_EQ(c->TitleColor(), clAqua);
    EXPECT_EQ(c->ColumnColor(), clWindow);
}

TEST_F(ColumnModel, MoveGivesTheItemItsNewPlace) {
    for (int i = 0; i < 4; ++i)
        columns.Add();
    ThgColumn* first = columns.Items(0);
    columns.Move(0, 2);
    EXPECT_EQ(columns.Items(2), first);
    EXPECT_EQ(first->Index(), 2);
    EXPECT_EQ(columns.Items(0)->Name(), "Column 2");
    EXPECT_EQ(columns.Items(9), nullptr);
    columns.Move(3, 1);  // and back towards the front
    EXPECT_EQ(columns.Items(1)->Name(), "Column 4");
    EXPECT_EQ(columns.Items(3), first);
    columns.Move(1, 7);  // beyond the end: nothing moves
    EXPECT_EQ(columns.Items(1)->Name(), "Column 4");
}

TEST_F(ColumnModel, StreamKeepsOnlyWhatItsRulesAllow) {
    ThgColumn* c = columns.Add();
    EXPECT_EQ(c->StoredProperties(), (std::vector<std::string>{"Name"}));
    c->SetItems({"L", "C"});
    c->SetDropDownList(true);
    c->SetDecimals(0);
    c->SetDateFormat(5);
    c->SetButtonStyle(hgbstCustom);
    auto stored = c->StoredProperties();
    EXPECT_FALSE(Has(stored, "Items"));
    EXPECT_FALSE(Has(stored, "DropDownList"));
    EXPECT_FALSE(Has(stored, "Decimals"));
    EXPECT_FALSE(Has(stored, "DateFormat"));
    EXPECT_FALSE(Has(stored, "ButtonStyle"));
    c->SetControlType({hgctlComboBox, hgctlButton});
    c->SetFormatType(hgfmtDateTime);
    stored = c->StoredProperties();
    EXPECT_TRUE(Has(stored, "Items"));
    EXPECT_TRUE(Has(stored, "DropDownList"));
    EXPECT_TRUE(Has(stored, "Decimals"));
    EXPECT_TRUE(Has(stored, "DateFormat"));
    EXPECT_TRUE(Has(stored, "ButtonStyle"));
    EXPECT_FALSE(Has(stored, "TitleFont"));
    c->TopBorder().SetStyle(hgbrdSolid);
    c->TitleFont().SetSize(12);
    stored = c->StoredProperties();
    EXPECT_TRUE(Has(stored, "TopBorder"));
    EXPECT_TRUE(Has(stored, "TitleFont"));
    EXPECT_FALSE(Has(stored, "BottomBorder"));
}

} // namespace
} // namespace zeko
