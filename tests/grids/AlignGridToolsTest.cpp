#include "grids/AlignGridTools.h"

#include <gtest/gtest.h>

using namespace zeko;

namespace {

std::unique_ptr<std::string> S(const char* text) { return std::make_unique<std::string>(text); }

std::string Dump(const TObjectList<std::string>& list) {
    std::string out;
    for (int i = 0; i < list.Count(); ++i)
        out += list.Get(i) ? *list.Get(i) : std::string("-");
    return out;
}

} // namespace

TEST(ObjectList, IsSparseAndGrowsOnlyWhenWritten) {
    TObjectList<std::string> list;
    EXPECT_EQ(list.Get(5), nullptr);
    EXPECT_EQ(list.Get(-1), nullptr);
    EXPECT_EQ(list.Put(3, nullptr), nullptr);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Put(2, S("c")), nullptr);
    EXPECT_EQ(Dump(list), "--c");
    auto previous = list.Put(2, S("C"));
    ASSERT_TRUE(previous);
    EXPECT_EQ(*previous, "c");
    EXPECT_EQ(Dump(list), "--C");
}

TEST(ObjectList, ExchangeMoveInsertAndRemove) {
    TObjectList<std::string> list;
    list.Put(0, S("a"));
    list.Put(1, S("b"));
    list.Put(2, S("c"));
    list.Exchange(0, 4);
    EXPECT_EQ(Dump(list), "-bc-a");
    list.Move(4, 1);
    EXPECT_EQ(Dump(list), "-abc-");
    list.Move(1, 6);  // taken out, then the list grows to the target
    EXPECT_EQ(Dump(list), "-bc---a");
    list.InsertEmpty(1);
    EXPECT_EQ(Dump(list), "--bc---a");
    list.InsertEmpty(20);  // past the end: nothing to shift
    EXPECT_EQ(list.Count(), 8);
    EXPECT_EQ(list.Remove(list.Get(2)), 2);
    EXPECT_EQ(Dump(list), "--c---a");
    std::string stranger;
    EXPECT_EQ(list.Remove(&stranger), -1);
}

TEST(ObjectList, TwoLevelListMovesRowsInEveryColumn) {
    TCellList<std::string> cells;
    cells.Put(0, 0, S("a0"));
    cells.Put(0, 1, S("a1"));
    cells.Put(2, 1, S("c1"));
    cells.MoveRow(1, 0);
    EXPECT_EQ(*cells.Get(0, 0), "a1");
    EXPECT_EQ(*cells.Get(0, 1), "a0");
    EXPECT_EQ(*cells.Get(2, 0), "c1");
    EXPECT_EQ(cells.Get(1, 0), nullptr);
    cells.ExchangeCols(0, 2);
    EXPECT_EQ(*cells.Get(0, 0), "c1");
    EXPECT_EQ(*cells.Get(2, 1), "a0");
    cells.InsertEmptyRow(0);
    EXPECT_EQ(*cells.Get(0, 1), "c1");
    EXPECT_EQ(*cells.Get(2, 2), "a0");
}

TEST(ClipboardTransfer, StreamGoesWholeInChunksAndComesBack) {
    TMemoryClipboard clipboard;
    SetClipboard(&clipboard);
    for (int64_t size : {int64_t{0}, int64_t{5}, kClipboardChunk, kClipboardChunk + 1, 3 * kClipboardChunk + 7}) {
        std::string text(static_cast<size_t>(size), 'x');
        for (size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<char>('a' + i % 26);
        TMemoryStream out(text);
        out.SetPosition(out.Size());  // copied from the start whatever the position
        PutClipboardText(out, CF_TEXT);
        const auto block = clipboard.GetBlock(CF_TEXT);
        ASSERT_TRUE(block);
        ASSERT_EQ(block->size(), static_cast<size_t>(size) + 1);
        EXPECT_EQ(block->back(), 0);

        TMemoryStream in;
        GetClipboardText(in, CF_TEXT);
        EXPECT_EQ(in.Text(), text) << size;
    }
    TMemoryStream none;
    GetClipboardText(none, 49);  // no block in that format
    EXPECT_EQ(none.Size(), 0);
    SetClipboard(nullptr);
}
