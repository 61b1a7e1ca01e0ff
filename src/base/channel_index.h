#pragma once
// Entry numbers of the channel table and a checked way to index by them.
//
// Entry 0 is the user's (typed and sent text), entries 1..8 the serial
// channels on COM1..COM8, entry 9 the master entry (the program's own lines).

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>

namespace kestrum {

constexpr int kUserEntry = 0;
constexpr int kFirstChannel = 1;
constexpr int kLastChannel = 8;
constexpr int kMasterEntry = 9;
constexpr int kEntryCount = 10;

constexpr bool IsChannel(int n) { return n >= kFirstChannel && n <= kLastChannel; }
constexpr bool IsEntry(int n) { return n >= 0 && n < kEntryCount; }

// Element `index` of an array indexed by entry or channel number. An index
// outside the array throws std::out_of_range, which the command level shows
// as an error instead of reading past the array.
template <typename T, std::size_t N>
constexpr T& At(std::array<T, N>& array, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= N)
        throw std::out_of_range("entry " + std::to_string(index) + " is not in 0.." + std::to_string(N - 1));
    return array[static_cast<std::size_t>(index)];
}

template <typename T, std::size_t N>
constexpr const T& At(const std::array<T, N>& array, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= N)
        throw std::out_of_range("entry " + std::to_string(index) + " is not in 0.." + std::to_string(N - 1));
    return array[static_cast<std::size_t>(index)];
}

}  // namespace kestrum
