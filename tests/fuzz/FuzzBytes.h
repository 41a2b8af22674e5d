#pragma once

#include <QByteArray>
#include <cstddef>
#include <cstdint>

// The fuzzer's input as a byte array, without a copy: readers must not keep it past the call.
inline QByteArray fuzzBytes(const std::uint8_t* data, std::size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}
