// The searches' set of visited position keys: open addressing over 64-bit Zobrist keys.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace cw::engine {

// 0 marks a free slot, so key 0 is stored as 1.
class KeySet {
public:
    // Small at first: most searches end within a few hundred positions, and the table is
    // cleared at every fresh attempt.
    KeySet() : slots_(std::size_t{1} << 10, 0) {}

    // True when key was not in the set (it is now).
    bool insert(std::uint64_t key)
    {
        if (key == 0)
            key = 1;
        if ((size_ + 1) * 2 > slots_.size())
            grow();
        return place(slots_, key);
    }
    void clear()
    {
        std::fill(slots_.begin(), slots_.end(), 0);
        size_ = 0;
    }
    std::size_t bytes() const { return slots_.size() * sizeof(std::uint64_t); }
    std::size_t bytesAfterGrowth() const { return bytes() * 2; }
    bool wouldGrow() const { return (size_ + 1) * 2 > slots_.size(); }

private:
    bool place(std::vector<std::uint64_t>& slots, std::uint64_t key)
    {
        const std::size_t mask = slots.size() - 1;
        for (std::size_t i = static_cast<std::size_t>(key ^ (key >> 29)) & mask;; i = (i + 1) & mask) {
            if (slots[i] == key)
                return false;
            if (slots[i] == 0) {
                slots[i] = key;
                ++size_;
                return true;
            }
        }
    }
    void grow()
    {
        std::vector<std::uint64_t> bigger(slots_.size() * 2, 0);
        size_ = 0;
        for (std::uint64_t k : slots_)
            if (k != 0)
                place(bigger, k);
        slots_.swap(bigger);
    }
    std::vector<std::uint64_t> slots_;
    std::size_t size_ = 0;
};

} // namespace cw::engine
