#pragma once
// Fixed-capacity single-byte text filled in place: what does not fit is cut
// off, nothing is ever allocated.

#include <array>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace kestrum {

template <std::size_t Capacity>
class FixedText {
public:
    static constexpr std::size_t kCapacity = Capacity;

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const char* data() const { return data_.data(); }
    std::string_view view() const { return {data_.data(), size_}; }
    char operator[](std::size_t i) const { return data_[i]; }
    char& operator[](std::size_t i) { return data_[i]; }

    void clear() { size_ = 0; }

    void push_back(char c) {
        if (size_ < Capacity) data_[size_++] = c;
    }

    void append(std::string_view text) {
        const std::size_t n = text.size() < Capacity - size_ ? text.size() : Capacity - size_;
        if (n > 0) std::memcpy(data_.data() + size_, text.data(), n);
        size_ += n;
    }

    void assign(std::string_view text) {
        size_ = 0;
        append(text);
    }

    // `text` in front of the current contents; the tail is cut at capacity.
    void prepend(std::string_view text) {
        const std::size_t head = text.size() < Capacity ? text.size() : Capacity;
        const std::size_t kept = size_ < Capacity - head ? size_ : Capacity - head;
        std::memmove(data_.data() + head, data_.data(), kept);
        std::memcpy(data_.data(), text.data(), head);
        size_ = head + kept;
    }

    // Grows with `fill` or shrinks to `length` (at most the capacity).
    void resize(std::size_t length, char fill = ' ') {
        if (length > Capacity) length = Capacity;
        if (length > size_) std::memset(data_.data() + size_, fill, length - size_);
        size_ = length;
    }

    // Writes `text` over the contents from `position` on, growing the text
    // where it reaches past the end; cut at capacity.
    void overwrite(std::size_t position, std::string_view text) {
        if (position > Capacity) return;
        const std::size_t end = position + text.size() < Capacity ? position + text.size() : Capacity;
        if (end > size_) resize(end);
        if (end > position) std::memcpy(data_.data() + position, text.data(), end - position);
    }

private:
    std::array<char, Capacity> data_{};
    std::size_t size_ = 0;
};

}  // namespace kestrum
