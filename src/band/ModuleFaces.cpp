#include "band/ModuleFaces.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace ModuleFaces {

BandFace readout(const QString& caption, const QString& value, std::optional<QString> symbol)
{
    BandFace face;
    face.readout = BandReadout(caption, value, std::move(symbol));
    face.line = caption.isEmpty() ? value : caption + u' ' + value;
    return face;
}

BandFace toggle(BandModule module, const QString& symbol, bool on, std::optional<quint32> fill)
{
    BandFace face;
    face.look = BandFace::Look::toggle;
    face.symbol = symbol;
    face.on = on;
    if (on)
        face.fill = fill;
    face.line = rawValue(module) + (on ? QStringLiteral(" on") : QStringLiteral(" off"));
    return face;
}

QString percent(double fraction)
{
    return QString::number(std::lround(std::clamp(fraction, 0.0, 1.0) * 100)) + u'%';
}

} // namespace ModuleFaces
