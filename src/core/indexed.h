#pragma once
// Fixed-size tables indexed the way the program numbers things: systems 1-4, COM ports
// 1-16, satellites 1-151, ... An index that comes from outside (a sentence, the setup file,
// the network) is checked: a bad one raises "Subscript out of range" instead of touching
// memory it does not own.
#include <array>
#include <cstddef>

#include "errors.h"

namespace tiderune {

template <typename T, int Lo, int Hi>
class IndexedArray {
    static_assert(Hi >= Lo);

public:
    static constexpr int lower = Lo;
    static constexpr int upper = Hi;
    static constexpr std::size_t count = static_cast<std::size_t>(Hi - Lo + 1);

    static constexpr bool inRange(long long i) noexcept { return i >= Lo && i <= Hi; }

    T& operator[](long long i) {
        if (!inRange(i)) throwSubscriptOutOfRange();
        return data_[static_cast<std::size_t>(i - Lo)];
    }
    const T& operator[](long long i) const {
        if (!inRange(i)) throwSubscriptOutOfRange();
        return data_[static_cast<std::size_t>(i - Lo)];
    }

    auto begin() noexcept { return data_.begin(); }
    auto end() noexcept { return data_.end(); }
    auto begin() const noexcept { return data_.begin(); }
    auto end() const noexcept { return data_.end(); }
    void fill(const T& v) { data_.fill(v); }

private:
    std::array<T, count> data_{};
};

inline constexpr int MaxSystems = 4;
inline constexpr int MaxComPorts = 16;

template <typename T>
using PerSystem = IndexedArray<T, 1, MaxSystems>;
template <typename T>
using PerComPort = IndexedArray<T, 1, MaxComPorts>;

inline constexpr bool isValidSystem(long long s) noexcept { return s >= 1 && s <= MaxSystems; }

}  // namespace tiderune
