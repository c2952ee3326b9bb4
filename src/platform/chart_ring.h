#pragma once
// Storage for chart series that hold a day of 10 Hz data: a growable ring buffer (append at
// the back and delete at the front in O(1)) and a sliding extremes tracker that keeps the
// minimum and maximum of what is in the ring without scanning it.
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace tiderune {

template <typename T>
class RingBuffer {
public:
    std::size_t size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }

    const T& operator[](std::size_t i) const noexcept {
        assert(i < size_);
        return buf_[(head_ + i) & mask_];
    }
    T& operator[](std::size_t i) noexcept {
        assert(i < size_);
        return buf_[(head_ + i) & mask_];
    }
    const T& front() const noexcept { return (*this)[0]; }
    const T& back() const noexcept { return (*this)[size_ - 1]; }
    T& back() noexcept { return (*this)[size_ - 1]; }

    void push_back(const T& v) {
        if (size_ == cap_) grow();
        buf_[(head_ + size_) & mask_] = v;
        ++size_;
    }
    void pop_front() noexcept {
        assert(size_ > 0);
        head_ = (head_ + 1) & mask_;
        --size_;
    }
    void pop_back() noexcept {
        assert(size_ > 0);
        --size_;
    }
    // Removes element i; later elements move down one place. O(n).
    void erase(std::size_t i) {
        assert(i < size_);
        if (i < size_ / 2) {
            for (std::size_t k = i; k > 0; --k) (*this)[k] = std::move((*this)[k - 1]);
            pop_front();
        } else {
            for (std::size_t k = i; k + 1 < size_; ++k) (*this)[k] = std::move((*this)[k + 1]);
            --size_;
        }
    }
    void clear() noexcept {
        head_ = 0;
        size_ = 0;
    }
    void release() {
        clear();
        buf_.reset();
        cap_ = 0;
        mask_ = 0;
    }
    std::size_t capacity() const noexcept { return cap_; }
    // Element i and the count of elements from it on that lie next to each other in memory
    // (the ring wraps round once at most): for loops over many elements in order.
    std::pair<const T*, std::size_t> run(std::size_t i) const noexcept {
        assert(i < size_);
        const std::size_t at = (head_ + i) & mask_;
        return {buf_.get() + at, size_ - i < cap_ - at ? size_ - i : cap_ - at};
    }

private:
    void grow() {
        // Left uninitialised: a day of points would otherwise be zeroed only to be overwritten.
        const std::size_t cap = cap_ == 0 ? 16 : cap_ * 2;
        std::unique_ptr<T[]> next(new T[cap]);
        for (std::size_t i = 0; i < size_; ++i) next[i] = std::move((*this)[i]);
        buf_ = std::move(next);
        cap_ = cap;
        head_ = 0;
        mask_ = cap - 1;
    }

    std::unique_ptr<T[]> buf_;
    std::size_t cap_ = 0;
    std::size_t head_ = 0;
    std::size_t size_ = 0;
    std::size_t mask_ = 0;
};

// Minimum and maximum of a window of values that grows at the back and shrinks at the
// front, each value tagged with a sequence number that only grows. Amortised O(1) per
// push and pop.
class SlidingExtremes {
public:
    void push(std::uint64_t seq, double v) {
        while (!mins_.empty() && mins_.back().second >= v) mins_.pop_back();
        mins_.push_back({seq, v});
        while (!maxs_.empty() && maxs_.back().second <= v) maxs_.pop_back();
        maxs_.push_back({seq, v});
    }
    // Drops every value whose sequence number is at or below seq.
    void popUpTo(std::uint64_t seq) noexcept {
        while (!mins_.empty() && mins_.front().first <= seq) mins_.pop_front();
        while (!maxs_.empty() && maxs_.front().first <= seq) maxs_.pop_front();
    }
    bool empty() const noexcept { return mins_.empty(); }
    double min() const noexcept { return mins_.front().second; }
    double max() const noexcept { return maxs_.front().second; }
    void clear() noexcept {
        mins_.clear();
        maxs_.clear();
    }

private:
    RingBuffer<std::pair<std::uint64_t, double>> mins_;
    RingBuffer<std::pair<std::uint64_t, double>> maxs_;
};

}  // namespace tiderune
