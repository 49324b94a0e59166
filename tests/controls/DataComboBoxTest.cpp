#include "controls/DataComboBox.h"

#include "platform/Exceptions.h"
#include "support/QtApp.h"

#include <gtest/gtest.h>

using namespace zeko;

TEST(DataComboBox, EmptyBoxGivesZeroValuesAndNoActual) {
    test::QtApp();
    TDataComboBox box;
    EXPECT_EQ(box.GetValue(0), "0");
    EXPECT_EQ(box.GetValue(7), "0");
    EXPECT_EQ(box.GetValueInt(3), 0);
    EXPECT_EQ(box.Actual(), "");
    EXPECT_EQ(box.ActualInt(), 0);
    EXPECT_EQ(box.Count(), 0);
}

TEST(DataComboBox, ItemsAndValuesMatchByPosition) {
    test::QtApp();
    TDataComboBox box;
    const char* names[] = {"Činný", "Jalový", "Jal.dodávka"};
    for (int id = 0; id < 3; ++id) {
        box.addItem(QString::fromUtf8(names[id]));
        box.AddValue(99, id + 10);  // the index does not place the value
    }
    EXPECT_EQ(box.Count(), 3);
    EXPECT_EQ(box.GetValue(1), "11");
    EXPECT_EQ(box.GetValue(5), "10");  // past the values: the first
    box.setCurrentIndex(2);
    EXPECT_EQ(box.ActualInt(), 0);  // not read through Actual yet
    EXPECT_EQ(box.Actual(), "12");
    EXPECT_EQ(box.ActualInt(), 12);
    box.setCurrentIndex(0);
    EXPECT_EQ(box.ActualInt(), 12);  // stays until Actual is read again
    box.setCurrentIndex(-1);
    EXPECT_EQ(box.Actual(), "");
    box.ClearAll();
    EXPECT_EQ(box.count(), 0);
    EXPECT_EQ(box.Count(), 0);
}

TEST(DataComboBox, NegativeIndexRaisesForGetValueAndGivesZeroForGetValueInt) {
    test::QtApp();
    TDataComboBox box;
    box.SetValueList({"x", "4"});
    EXPECT_THROW(box.GetValue(-1), EListError);
    EXPECT_EQ(box.GetValueInt(-1), 0);
    EXPECT_EQ(box.GetValueInt(0), 0);  // "x" is no number
    EXPECT_EQ(box.GetValueInt(1), 4);
}
