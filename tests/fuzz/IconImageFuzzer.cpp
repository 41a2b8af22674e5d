#include "FuzzBytes.h"
#include "FuzzCheck.h"
#include "FuzzGuiApplication.h"
#include "FuzzHome.h"
#include "icons/IconImport.h"
#include "icons/IconNormalizer.h"

#include <QImageReader>

// A picture the user chose as a tile's icon, imported into the icons folder as `marquetto-icon-import`
// does. What it makes is a PNG of the normal form: at most the icon side on its longer side.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    startGuiApplication(argc, argv);
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
        fuzzFail("an imported icon is not a PNG of the normal form");
    return 0;
}
