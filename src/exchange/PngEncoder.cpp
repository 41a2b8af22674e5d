#include "exchange/PngEncoder.h"

#include <png.h>
#include <zlib.h>

namespace PngEncoder {

namespace {

void append(png_structp png, png_bytep data, png_size_t length)
{
    static_cast<QByteArray*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(length));
}

void flush(png_structp) {}

// libpng reports a failure by calling this and never returning: it leaves through the jump buffer.
void fail(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

struct Writer {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, &fail, &ignoreWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;

    Writer() = default;
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;
    ~Writer() { png_destroy_write_struct(&png, &info); }
};

// Kept apart from `encode` so that no object with a destructor lives in the frame the jump returns to.
bool write(Writer& writer, const QImage& rows, int colourType, QByteArray& out)
{
    if (setjmp(png_jmpbuf(writer.png)))
        return false;
    png_set_write_fn(writer.png, &out, &append, &flush);
    png_set_IHDR(writer.png, writer.info, static_cast<png_uint_32>(rows.width()),
                 static_cast<png_uint_32>(rows.height()), 8, colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(writer.png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_compression_level(writer.png, Z_BEST_SPEED);
    png_write_info(writer.png, writer.info);
    for (int y = 0; y < rows.height(); ++y)
        png_write_row(writer.png, rows.constScanLine(y));
    png_write_end(writer.png, writer.info);
    return true;
}

} // namespace

std::optional<QByteArray> encode(const QImage& image)
{
    if (image.isNull())
        return std::nullopt;
    const bool alpha = image.hasAlphaChannel();
    const QImage rows = image.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    Writer writer;
    QByteArray out;
    if (!writer.info || rows.isNull() ||
        !write(writer, rows, alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, out))
        return std::nullopt;
    return out;
}

} // namespace PngEncoder
