#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <ostream>

// Lets test failures show Qt strings as text rather than as bytes.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QPointF& point, std::ostream* out)
{
    *out << '(' << point.x() << ", " << point.y() << ')';
}

inline void PrintTo(const QSizeF& size, std::ostream* out)
{
    *out << size.width() << " x " << size.height();
}

inline void PrintTo(const QRectF& rect, std::ostream* out)
{
    *out << '(' << rect.x() << ", " << rect.y() << ", " << rect.width() << " x " << rect.height() << ')';
}
