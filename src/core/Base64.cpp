#include "core/Base64.h"

#include <array>
#include <cstdint>

namespace Base64 {

namespace {

constexpr std::int8_t notInAlphabet = -1;

constexpr std::array<std::int8_t, 128> makeValues()
{
    std::array<std::int8_t, 128> values{};
    values.fill(notInAlphabet);
    constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (std::int8_t value = 0; value < 64; ++value)
        values[static_cast<unsigned char>(alphabet[value])] = value;
    return values;
}

constexpr std::array<std::int8_t, 128> values = makeValues();

int valueOf(char16_t c)
{
    return c < values.size() ? values[c] : notInAlphabet;
}

} // namespace

std::optional<QByteArray> decode(QStringView text)
{
    const qsizetype length = text.size();
    if (length % 4 != 0)
        return std::nullopt;
    const char16_t* in = text.utf16();
    const int padding = length == 0 || in[length - 1] != u'=' ? 0 : in[length - 2] == u'=' ? 2 : 1;
    QByteArray out(length / 4 * 3 - padding, Qt::Uninitialized);
    char* at = out.data();
    for (qsizetype i = 0; i < length; i += 4) {
        const int kept = i + 4 == length ? 4 - padding : 4;
        std::uint32_t group = 0;
        for (int k = 0; k < 4; ++k) {
            const int value = k < kept ? valueOf(in[i + k]) : 0;
            if (value == notInAlphabet)
                return std::nullopt;
            group = group << 6 | static_cast<std::uint32_t>(value);
        }
        *at++ = static_cast<char>(group >> 16);
        if (kept > 2)
            *at++ = static_cast<char>(group >> 8);
        if (kept > 3)
            *at++ = static_cast<char>(group);
    }
    return out;
}

} // namespace Base64
