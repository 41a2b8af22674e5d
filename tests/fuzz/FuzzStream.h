#pragma once

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

// Takes a fuzzer's input apart into the plain values a target builds a structured input from. Reading past
// the end gives zeros and empty texts, so that every input makes some value and a shorter one a simpler one.
class FuzzStream final {
public:
    FuzzStream(const std::uint8_t* data, std::size_t size)
        : m_data(data)
        , m_size(size)
    {
    }

    [[nodiscard]] bool atEnd() const { return m_offset >= m_size; }

    [[nodiscard]] std::uint8_t byte() { return atEnd() ? 0 : m_data[m_offset++]; }

    // The next sizeof(T) bytes, little end first.
    template <typename T>
    [[nodiscard]] T number()
    {
        static_assert(std::is_arithmetic_v<T>);
        unsigned char raw[sizeof(T)] = {};
        for (unsigned char& part : raw)
            part = byte();
        T value{};
        std::memcpy(&value, raw, sizeof(T));
        return value;
    }

    // The bytes up to the next zero byte, which is passed over, or up to the end: seeds stay readable.
    [[nodiscard]] QByteArray text()
    {
        const std::size_t start = m_offset;
        while (m_offset < m_size && m_data[m_offset] != 0)
            ++m_offset;
        QByteArray found(reinterpret_cast<const char*>(m_data + start),
                         static_cast<qsizetype>(m_offset - start));
        if (m_offset < m_size)
            ++m_offset;
        return found;
    }

    [[nodiscard]] QByteArray rest()
    {
        const std::size_t start = m_offset;
        m_offset = m_size;
        return {reinterpret_cast<const char*>(m_data + start), static_cast<qsizetype>(m_size - start)};
    }

private:
    const std::uint8_t* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_offset = 0;
};
