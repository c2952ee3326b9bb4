#pragma once
// Storage for chart series that hold days of 10 Hz data: a ring buffer (append at the back and
// delete at the front in O(1)) kept in chunks that never move, and a sliding extremes tracker
// that keeps the minimum and maximum of what is in the ring without scanning it.
#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace tiderune {

// Up to a chunk (8192 elements, or 64 KiB for large ones), the elements live in one buffer that
// they go round in and that doubles when full, so that the hundreds of short series of a
// window stay small. Beyond that, in chunks of that size: a store that fills them takes another
// and leaves what it holds where it is. A plot that keeps every point of a run grows to
// millions of them, and copying them all at each doubling would stop the program for a
// second; the hundreds of series of the SNR windows grow in step, and would all copy theirs
// at the same line. A chunk emptied at the front is reused at the back.
// Chunks much smaller than that cost the drawing time: a scan along a column meets a new
// place in memory at every chunk.
template <typename T>
class RingBuffer {
public:
    static constexpr int ChunkShift = [] {
        int shift = 4;
        while (shift < 13 && (std::size_t{2} << shift) * sizeof(T) <= 65536) ++shift;
        return shift;
    }();
    static constexpr std::size_t Chunk = std::size_t{1} << ChunkShift;

    RingBuffer() = default;
    RingBuffer(const RingBuffer&) = delete;
    RingBuffer& operator=(const RingBuffer&) = delete;
    ~RingBuffer() { release(); }

    std::size_t size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }

    // Element i is at position head_ + i. One buffer is listed twice, so that a position past
    // its end lands at its start again.
    const T& operator[](std::size_t i) const noexcept {
        assert(i < size_);
        const std::size_t p = head_ + i;
        return chunks_[p >> shift_][p & mask_];
    }
    T& operator[](std::size_t i) noexcept {
        assert(i < size_);
        const std::size_t p = head_ + i;
        return chunks_[p >> shift_][p & mask_];
    }
    const T& front() const noexcept { return (*this)[0]; }
    const T& back() const noexcept { return (*this)[size_ - 1]; }
    T& back() noexcept { return (*this)[size_ - 1]; }

    void push_back(const T& v) {
        if (size_ == cap_ || head_ + size_ == end_) makeRoom();
        const std::size_t p = head_ + size_;
        chunks_[p >> shift_][p & mask_] = v;
        ++size_;
    }
    void pop_front() noexcept {
        assert(size_ > 0);
        ++head_;
        if (--size_ == 0) {
            head_ = 0;
        } else if (head_ == mask_ + 1) {
            head_ = 0;
            if (end_ == cap_) {
                // The first chunk is spent: it becomes the room after the last one, unless
                // that room is there already.
                std::rotate(chunks_.begin(), chunks_.begin() + 1, chunks_.end());
                if ((chunks_.size() - 1) * Chunk >= size_ + Chunk) {
                    delete[] chunks_.back();
                    chunks_.pop_back();
                    cap_ = end_ = chunks_.size() * Chunk;
                }
            }
        }
    }
    void pop_back() noexcept {
        assert(size_ > 0);
        if (--size_ == 0) head_ = 0;
    }
    // Removes element i; later elements move down one place. O(n).
    void erase(std::size_t i) {
        assert(i < size_);
        if (i < size_ / 2) {
            for (std::size_t k = i; k > 0; --k) (*this)[k] = std::move((*this)[k - 1]);
            pop_front();
        } else {
            for (std::size_t k = i; k + 1 < size_; ++k) (*this)[k] = std::move((*this)[k + 1]);
            pop_back();
        }
    }
    // Empties the store and keeps its room.
    void clear() noexcept {
        head_ = 0;
        size_ = 0;
    }
    void release() noexcept {
        clear();
        if (!chunks_.empty()) {
            if (end_ != cap_) chunks_.pop_back();  // the one buffer, listed twice
            for (T* c : chunks_) delete[] c;
        }
        std::vector<T*>().swap(chunks_);
        cap_ = end_ = 0;
        shift_ = 0;
        mask_ = 0;
    }
    std::size_t capacity() const noexcept { return cap_; }
    // Element i and the count of elements from it on that lie next to each other in memory:
    // for loops over many elements in order.
    std::pair<const T*, std::size_t> run(std::size_t i) const noexcept {
        assert(i < size_);
        const std::size_t p = head_ + i;
        const std::size_t at = p & mask_;
        return {chunks_[p >> shift_] + at, std::min(size_ - i, mask_ + 1 - at)};
    }

private:
    // Called when the store is full.
    void makeRoom() {
        if (end_ == cap_ && cap_ > 0) {
            chunks_.push_back(new T[Chunk]);
            cap_ = end_ = chunks_.size() * Chunk;
            return;
        }
        if (cap_ == Chunk) {
            // The one buffer becomes the first chunk; the elements that went round to its start
            // move to the same places in the second.
            T* second = new T[Chunk];
            std::move(chunks_[0], chunks_[0] + head_, second);
            chunks_[1] = second;
            cap_ = end_ = 2 * Chunk;
            return;
        }
        // Left uninitialised: a buffer of points would otherwise be zeroed only to be
        // overwritten.
        const int shift = cap_ == 0 ? 4 : shift_ + 1;
        T* next = new T[std::size_t{1} << shift];
        for (std::size_t k = 0; k < size_; ++k) next[k] = std::move((*this)[k]);
        if (!chunks_.empty()) delete[] chunks_[0];
        chunks_.assign(2, next);
        shift_ = shift;
        mask_ = (std::size_t{1} << shift) - 1;
        cap_ = mask_ + 1;
        end_ = 2 * cap_;
        head_ = 0;
    }

    std::vector<T*> chunks_;  // position p in chunks_[p >> shift_] at p & mask_
    std::size_t head_ = 0;    // position of element 0, within the first chunk
    std::size_t size_ = 0;
    std::size_t cap_ = 0;     // room for elements
    std::size_t end_ = 0;     // the first position past the chunks: twice cap_ for one buffer
    int shift_ = 0;           // log2 of a chunk's or the one buffer's size
    std::size_t mask_ = 0;
};

// Minimum and maximum of a window of values that grows at the back and shrinks at the front:
// the values of a column whose element k holds the value numbered first + k, the numbers only
// growing. Amortised O(1) per push and pop. Values that climb for hours (a vessel steaming
// north) all stay candidates for the minimum, so only their numbers are kept, in 32 bits, and
// the values read from the column: a window holds fewer than 2^31 values, so the numbers in it
// are told apart after they wrap round. The two extremes themselves are kept at hand: an
// automatic axis asks for them at every point.
class SlidingExtremes {
public:
    SlidingExtremes(const RingBuffer<double>& values, const std::uint64_t& first) : values_(values), first_(first) {}

    // Takes in the value numbered seq, v, which the column already holds.
    void push(std::uint64_t seq, double v) {
        const auto s = static_cast<std::uint32_t>(seq);
        while (!mins_.empty() && value(mins_.back()) >= v) mins_.pop_back();
        if (mins_.empty()) min_ = v;
        mins_.push_back(s);
        while (!maxs_.empty() && value(maxs_.back()) <= v) maxs_.pop_back();
        if (maxs_.empty()) max_ = v;
        maxs_.push_back(s);
    }
    // Drops every value whose number is at or below seq.
    void popUpTo(std::uint64_t seq) noexcept {
        const auto s = static_cast<std::uint32_t>(seq);
        if (dropUpTo(mins_, s)) min_ = value(mins_.front());
        if (dropUpTo(maxs_, s)) max_ = value(maxs_.front());
    }
    bool empty() const noexcept { return mins_.empty(); }
    double min() const noexcept { return min_; }
    double max() const noexcept { return max_; }
    void clear() noexcept {
        mins_.clear();
        maxs_.clear();
    }

private:
    double value(std::uint32_t s) const noexcept {
        return values_[static_cast<std::uint32_t>(s - static_cast<std::uint32_t>(first_))];
    }
    // Whether another number than before now leads.
    static bool dropUpTo(RingBuffer<std::uint32_t>& numbers, std::uint32_t s) noexcept {
        bool dropped = false;
        while (!numbers.empty() && static_cast<std::uint32_t>(s - numbers.front()) < 0x80000000u) {
            numbers.pop_front();
            dropped = true;
        }
        return dropped && !numbers.empty();
    }

    const RingBuffer<double>& values_;
    const std::uint64_t& first_;
    RingBuffer<std::uint32_t> mins_;
    RingBuffer<std::uint32_t> maxs_;
    double min_ = 0;  // the values of the numbers that lead
    double max_ = 0;
};

}  // namespace tiderune
