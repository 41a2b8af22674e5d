#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

// Takes structured values from the fuzzer's bytes: numbers, length-prefixed texts and zero-terminated ones
// from the front, the rest as one block. Past the end it answers zeros and empty texts, so every input
// decodes, and a shorter one into a simpler value.
class FuzzReader final {
public:
    FuzzReader(const std::uint8_t* data, std::size_t size)
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
    [[nodiscard]] QByteArray terminated()
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

    // A text of at most `maxLength` bytes after a length byte, read as UTF-8.
    [[nodiscard]] QString text(std::size_t maxLength = 255)
    {
        const std::size_t length = std::min<std::size_t>({byte(), maxLength, m_size - m_offset});
        const QString value = QString::fromUtf8(reinterpret_cast<const char*>(m_data + m_offset),
                                                static_cast<qsizetype>(length));
        m_offset += length;
        return value;
    }

    // Up to `maxCount` texts.
    [[nodiscard]] QStringList texts(int maxCount)
    {
        QStringList values;
        const int count = byte() % (maxCount + 1);
        for (int i = 0; i < count && !atEnd(); ++i)
            values << text();
        return values;
    }

    [[nodiscard]] QByteArray rest()
    {
        const QByteArray bytes(reinterpret_cast<const char*>(m_data + m_offset),
                               static_cast<qsizetype>(m_size - m_offset));
        m_offset = m_size;
        return bytes;
    }

private:
    const std::uint8_t* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_offset = 0;
};
