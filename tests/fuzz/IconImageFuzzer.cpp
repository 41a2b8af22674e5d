#include "FuzzBytes.h"
#include "FuzzHome.h"
#include "exchange/IconImport.h"
#include "exchange/IconNormalizer.h"

#include <QGuiApplication>
#include <QImageReader>
#include <cstdio>
#include <cstdlib>

// A picture the user chose as a tile's icon, imported into the icons folder as `marquetto-icon-import`
// does. What it makes is a PNG of the normal form: at most the icon side on its longer side.
namespace {

[[noreturn]] void fail(const char* message)
{
    std::fprintf(stderr, "%s\n", message);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: at exit Qt frees its fonts before the font engines that SVG text left in its caches.
    static const auto* app = new QGuiApplication(*argc, *argv);
    (void)app;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const FuzzHome& home = FuzzHome::shared();
    const QString path = home.writeFile(QStringLiteral("picture"), fuzzBytes(data, size));
    const QString iconsDir = home.paths().iconsDir();
    home.clear(iconsDir);
    const std::optional<QString> name = IconImport(iconsDir).importImage(path);
    if (!name)
        return 0;
    QImageReader reader(iconsDir + u'/' + *name);
    const QSize side = reader.size();
    if (reader.format() != "png" || side.isEmpty() ||
        std::max(side.width(), side.height()) > IconNormalizer::maxIconSide)
        fail("an imported icon is not a PNG of the normal form");
    return 0;
}
