#pragma once
// Small sets of enumeration values, held as bits: the option sets, font styles,
// shift states and cell states the controls pass around. An enumerator's value is
// its bit number, so a set's bits can be stored and compared as one integer.
#include <cstdint>
#include <initializer_list>

namespace zeko {

template <typename E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> items) {
        for (E e : items)
            bits_ |= Bit(e);
    }
    static constexpr TSet FromBits(uint64_t bits) {
        TSet s;
        s.bits_ = bits;
        return s;
    }

    constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
    constexpr TSet& Include(E e) {
        bits_ |= Bit(e);
        return *this;
    }
    constexpr TSet& Exclude(E e) {
        bits_ &= ~Bit(e);
        return *this;
    }
    constexpr TSet& Set(E e, bool on) { return on ? Include(e) : Exclude(e); }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr uint64_t Bits() const { return bits_; }

    friend constexpr TSet operator+(TSet a, TSet b) { return FromBits(a.bits_ | b.bits_); }
    friend constexpr TSet operator-(TSet a, TSet b) { return FromBits(a.bits_ & ~b.bits_); }
    friend constexpr TSet operator*(TSet a, TSet b) { return FromBits(a.bits_ & b.bits_); }
    friend constexpr TSet operator+(TSet a, E e) { return a.Include(e); }
    friend constexpr TSet operator-(TSet a, E e) { return a.Exclude(e); }
    friend constexpr bool operator==(TSet a, TSet b) { return a.bits_ == b.bits_; }
    friend constexpr bool operator!=(TSet a, TSet b) { return a.bits_ != b.bits_; }

private:
    static constexpr uint64_t Bit(E e) { return uint64_t{1} << static_cast<unsigned>(e); }
    uint64_t bits_ = 0;
};

} // namespace zeko
