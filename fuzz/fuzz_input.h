// Turns a fuzzer's bytes into values; once the bytes run out every value is 0 or empty.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

inline void Require(bool condition) {
    if (!condition) std::abort();
}

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool Empty() const { return m_offset >= m_size; }
    std::uint8_t Byte() { return Empty() ? 0 : m_data[m_offset++]; }
    int Int() {
        std::uint32_t u = 0;
        for (int shift = 0; shift < 32; shift += 8)
            u |= static_cast<std::uint32_t>(Byte()) << shift;
        int value;
        std::memcpy(&value, &u, sizeof value);
        return value;
    }
    // Up to maxLength bytes, the length taken first.
    std::string Text(std::size_t maxLength) {
        const std::size_t length = (static_cast<std::size_t>(Byte()) << 8 | Byte()) % (maxLength + 1);
        std::string text;
        while (text.size() < length && !Empty())
            text.push_back(static_cast<char>(Byte()));
        return text;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_offset = 0;
};
