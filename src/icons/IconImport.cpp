#include "icons/IconImport.h"

#include "core/BackgroundQueue.h"
#include "core/Logging.h"
#include "icons/IconNormalizer.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QUuid>
#include <cerrno>
#include <unistd.h>

IconImport::IconImport(QString iconsDir)
    : m_iconsDir(std::move(iconsDir))
{
}

std::optional<QString> IconImport::importImage(const QString& path) const
{
    if (IconNormalizer::isPdf(path)) {
        qCWarning(lcStore).noquote() << "Marquetto: icon import failed: PDF files are not supported here";
        return std::nullopt;
    }
    // Decoded once for both shaping steps: decoding is the costly part, and gives the same pixels each time.
    const std::optional<QImage> image = IconNormalizer::decode(path);
    QString error;
    if (const auto shaped =
            image ? IconNormalizer::shaped(*image, IconNormalizer::Step::normalized) : std::nullopt) {
        if (const auto png = IconNormalizer::pngBytes(*shaped)) {
            std::optional<QString> name = writeNewFile(*png, error);
            if (!name)
                qCWarning(lcStore).noquote()
                    << QStringLiteral("Marquetto: icon normalize-write failed: ") + error;
            return name;
        }
    }
    const auto capped = image ? IconNormalizer::shaped(*image, IconNormalizer::Step::capped) : std::nullopt;
    const auto png = capped ? IconNormalizer::pngBytes(*capped) : std::nullopt;
    if (!png) {
        qCWarning(lcStore).noquote() << QStringLiteral("Marquetto: icon import failed: could not decode ") +
                                            QFileInfo(path).fileName();
        return std::nullopt;
    }
    std::optional<QString> name = writeNewFile(*png, error);
    if (!name)
        qCWarning(lcStore).noquote() << QStringLiteral("Marquetto: icon import failed: ") + error;
    return name;
}

void IconImport::importImageAsync(const QString& path, QObject* context, Completion completion) const
{
    BackgroundQueue::runThenReport<std::optional<QString>>(
        context, [import = *this, path] { return import.importImage(path); }, std::move(completion));
}

std::optional<QString> IconImport::writeNewFile(const QByteArray& png, QString& error) const
{
    if (!QDir().mkpath(m_iconsDir)) {
        error = QStringLiteral("could not make the folder %1").arg(m_iconsDir);
        return std::nullopt;
    }
    // Written under a hidden temporary name and then given its own: a full disk or a crash leaves no
    // half-written icon behind, and the temporary file goes when this object does.
    QTemporaryFile file(m_iconsDir + QStringLiteral("/.import-XXXXXX"));
    if (!file.open()) {
        error = file.errorString();
        return std::nullopt;
    }
    if (file.write(png) != png.size() || !file.flush()) {
        error = file.errorString();
        return std::nullopt;
    }
    if (::fsync(file.handle()) != 0) {
        error = qt_error_string(errno);
        return std::nullopt;
    }
    // Temporary files are private to their owner; an icon is as readable as any other file of ours.
    if (!file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther)) {
        error = file.errorString();
        return std::nullopt;
    }
    const QString name =
        QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper() + QStringLiteral(".png");
    // Renaming never replaces a file that is already there.
    if (!file.rename(m_iconsDir + u'/' + name)) {
        error = file.errorString();
        return std::nullopt;
    }
    file.setAutoRemove(false);
    return name;
}
