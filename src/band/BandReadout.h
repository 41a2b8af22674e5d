#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>
#include <utility>

// The two-line look most read-only modules share: a small caption over a value, the value optionally led by
// a symbol and drawn in a tint. Engines build it; the band draws it.
struct BandReadout {
    // White at 92 %, as 0xAARRGGBB: what a readout is drawn in unless its module says otherwise.
    static constexpr quint32 defaultTint = 0xEBFFFFFF;

    BandReadout() = default;
    BandReadout(QString caption, QString value, std::optional<QString> systemImage = std::nullopt,
                quint32 tint = defaultTint)
        : caption(std::move(caption))
        , value(std::move(value))
        , systemImage(std::move(systemImage))
        , tint(tint)
    {
    }

    QString caption;
    QString value;
    // A symbol name, drawn before the value.
    std::optional<QString> systemImage;
    quint32 tint = defaultTint;

    bool operator==(const BandReadout&) const = default;
};
