// The searches' set of visited position keys: open addressing over 64-bit Zobrist keys, within a memory limit.
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

    // The bytes the table may hold, counting the moment it grows (old and new slots at once).
    // Where growing would pass them the table stays as it is and full() turns true; the search
    // is then expected to stop soon (it checks full() with the rest of its budget).
    void setLimit(std::size_t bytes) { limit_ = bytes; }

    // True when key was not in the set (it is now). Past the limit, a new key that finds no room
    // is reported as new without being stored: the search may repeat work, never skip it.
    bool insert(std::uint64_t key)
    {
        if (key == 0)
            key = 1;
        if ((size_ + 1) * 2 > slots_.size() && !full_) {
            if (bytesWhileGrowing() <= limit_)
                grow();
            else
                full_ = true;
        }
        if (full_ && (size_ + 1) * 8 > slots_.size() * 7)
            return !contains(key);
        return place(slots_, key);
    }
    void clear()
    {
        std::fill(slots_.begin(), slots_.end(), 0);
        size_ = 0;
        full_ = false;
    }
    // The table needed to grow past its limit since the last clear.
    bool full() const { return full_; }
    std::size_t bytes() const { return slots_.size() * sizeof(std::uint64_t); }

private:
    // While the table grows it holds its old slots and the twice as many new ones at once.
    std::size_t bytesWhileGrowing() const { return bytes() * 3; }
    bool contains(std::uint64_t key) const
    {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = static_cast<std::size_t>(key ^ (key >> 29)) & mask;; i = (i + 1) & mask) {
            if (slots_[i] == key)
                return true;
            if (slots_[i] == 0)
                return false;
        }
    }
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
    std::size_t limit_ = SIZE_MAX;
    bool full_ = false;
};

} // namespace cw::engine
