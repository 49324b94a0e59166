#pragma once
// Support of the alignment string grid: the owning, sparse lists that hold its
// per-line and per-cell records and strings, the stream writer of texts, and the
// clipboard transfer of a stream in chunks of at most 32 KB.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Clipboard.h"
#include "platform/Streams.h"

namespace zeko {

constexpr int64_t kClipboardChunk = 32768;

// An empty object, for places that want an object and no data.
class TDummyObject {};

// Owns its entries and frees them from the last to the first. Entries may be
// empty and the list may be shorter than the lines it stands for: reading past its
// end gives nothing, writing past it grows it with empty entries.
template <class T>
class TObjectList {
public:
    TObjectList() = default;
    TObjectList(const TObjectList&) = delete;
    TObjectList& operator=(const TObjectList&) = delete;
    ~TObjectList() { Clear(); }

    int Count() const { return static_cast<int>(items_.size()); }

    T* Get(int index) const {
        return index >= 0 && index < Count() ? items_[index].get() : nullptr;
    }

    // Answers the entry that was there, for the caller to free or keep.
    std::unique_ptr<T> Put(int index, std::unique_ptr<T> item) {
        if (index < 0)
            return item;
        if (index >= Count()) {
            if (!item)
                return nullptr;
            items_.resize(index + 1);
        }
        std::swap(items_[index], item);
        return item;
    }

    void DeleteAndFree(int index) {
        if (index >= 0 && index < Count())
            items_.erase(items_.begin() + index);
    }

    // Deletes and frees the entry; answers its former index, or -1.
    int Remove(const T* item) {
        for (int i = 0; i < Count(); ++i)
            if (items_[i].get() == item) {
                DeleteAndFree(i);
                return i;
            }
        return -1;
    }

    void Exchange(int a, int b) {
        if (a < 0 || b < 0 || a == b || (a >= Count() && b >= Count()))
            return;
        Reach(std::max(a, b));
        std::swap(items_[a], items_[b]);
    }

    // The entry is taken out and inserted again at `to`.
    void Move(int from, int to) {
        if (from < 0 || to < 0 || from == to)
            return;
        std::unique_ptr<T> item;
        if (from < Count()) {
            item = std::move(items_[from]);
            items_.erase(items_.begin() + from);
        }
        if (to > Count()) {
            if (!item)
                return;
            items_.resize(to);
        }
        items_.insert(items_.begin() + to, std::move(item));
    }

    // An empty entry at `index`, when the list reaches that far.
    void InsertEmpty(int index) {
        if (index >= 0 && index < Count())
            items_.insert(items_.begin() + index, nullptr);
    }

    void Clear() {
        while (!items_.empty())
            items_.pop_back();
    }

private:
    void Reach(int index) {
        if (index >= Count())
            items_.resize(index + 1);
    }
    std::vector<std::unique_ptr<T>> items_;
};

// A list per column of entries per row.
template <class T>
class TCellList {
public:
    T* Get(int col, int row) const {
        const TObjectList<T>* inner = columns_.Get(col);
        return inner ? inner->Get(row) : nullptr;
    }

    std::unique_ptr<T> Put(int col, int row, std::unique_ptr<T> item) {
        TObjectList<T>* inner = columns_.Get(col);
        if (!inner) {
            if (!item || col < 0 || row < 0)
                return item;
            columns_.Put(col, std::make_unique<TObjectList<T>>());
            inner = columns_.Get(col);
        }
        return inner->Put(row, std::move(item));
    }

    int ColCount() const { return columns_.Count(); }
    int RowCount(int col) const {
        const TObjectList<T>* inner = columns_.Get(col);
        return inner ? inner->Count() : 0;
    }
    bool Empty() const { return columns_.Count() == 0; }

    void ExchangeCols(int a, int b) { columns_.Exchange(a, b); }
    void MoveCol(int from, int to) { columns_.Move(from, to); }
    void InsertEmptyCol(int col) { columns_.InsertEmpty(col); }
    void DeleteCol(int col) { columns_.DeleteAndFree(col); }

    void ExchangeRows(int a, int b) {
        ForEachColumn([&](TObjectList<T>& inner) { inner.Exchange(a, b); });
    }
    void MoveRow(int from, int to) {
        ForEachColumn([&](TObjectList<T>& inner) { inner.Move(from, to); });
    }
    void InsertEmptyRow(int row) {
        ForEachColumn([&](TObjectList<T>& inner) { inner.InsertEmpty(row); });
    }
    void DeleteRow(int row) {
        ForEachColumn([&](TObjectList<T>& inner) { inner.DeleteAndFree(row); });
    }

    void Clear() { columns_.Clear(); }

private:
    template <class F>
    void ForEachColumn(F f) {
        for (int c = 0; c < columns_.Count(); ++c)
            if (TObjectList<T>* inner = columns_.Get(c))
                f(*inner);
    }
    TObjectList<TObjectList<T>> columns_;
};

void WriteStringToStream(TStream& stream, const std::string& s);

// The whole stream, from its start, into the clipboard as one block of `format`
// with a 0 byte after it.
void PutClipboardText(TStream& stream, uint32_t format);
// The clipboard's block of `format`, all but its last byte, written into the stream
// from the stream's start; nothing when the clipboard holds no such block.
void GetClipboardText(TStream& stream, uint32_t format);

} // namespace zeko
