// How long a picture the user chooses takes to become an icon of the normal form (decoded within bounds,
// cropped, squared, encoded as PNG), beside the floor: Qt decoding the same file at the same bounded size and
// nothing more. The pictures are a 4000 × 3000 JPEG photo and a 1024 × 1024 PNG icon with transparent
// margins, made once per run.
#include "icons/IconImport.h"
#include "icons/IconNormalizer.h"

#include <QCoreApplication>
#include <QImageReader>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct Pictures {
    QTemporaryDir dir;
    QString photo = dir.filePath(QStringLiteral("photo.jpg"));
    QString icon = dir.filePath(QStringLiteral("icon.png"));

    Pictures()
    {
        QImage photoImage(4000, 3000, QImage::Format_RGB32);
        {
            QPainter painter(&photoImage);
            QLinearGradient sky(0, 0, 4000, 3000);
            sky.setColorAt(0, QColor(40, 90, 160));
            sky.setColorAt(1, QColor(230, 190, 80));
            painter.fillRect(photoImage.rect(), sky);
            // Detail everywhere, as a photo has, so that the encoder and decoder do real work.
            QRandomGenerator random(7);
            for (int i = 0; i < 4000; ++i) {
                painter.fillRect(QRect(random.bounded(4000), random.bounded(3000), random.bounded(4, 200),
                                       random.bounded(4, 200)),
                                 QColor::fromRgb(random.generate()));
            }
        }
        photoImage.save(photo, "JPEG", 90);

        QImage iconImage(1024, 1024, QImage::Format_ARGB32_Premultiplied);
        iconImage.fill(Qt::transparent);
        {
            QPainter painter(&iconImage);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            QRadialGradient glow(512, 400, 500);
            glow.setColorAt(0, QColor(250, 120, 60));
            glow.setColorAt(1, QColor(160, 30, 90));
            painter.setBrush(glow);
            painter.drawRoundedRect(QRectF(100, 100, 824, 824), 180, 180);
        }
        iconImage.save(icon, "PNG");
    }
};

const Pictures& pictures()
{
    static const Pictures made;
    return made;
}

const QString& pictureFor(const benchmark::State& state)
{
    return state.range(0) == 0 ? pictures().photo : pictures().icon;
}

void normalForm(benchmark::State& state)
{
    const QString& path = pictureFor(state);
    for (auto _ : state) {
        const auto png = IconNormalizer::normalizedPNG(path, IconNormalizer::Step::normalized);
        if (!png)
            state.SkipWithError("no icon");
        benchmark::DoNotOptimize(png);
    }
}
BENCHMARK(normalForm)->Arg(0)->Arg(1)->ArgNames({"png"})->Unit(benchmark::kMillisecond);

// The whole import: the normal form written as a new file of the icons folder, flushed to the disk.
void importIntoFolder(benchmark::State& state)
{
    const QString& path = pictureFor(state);
    const QTemporaryDir icons;
    const IconImport import(icons.path());
    for (auto _ : state) {
        const auto name = import.importImage(path);
        if (!name)
            state.SkipWithError("no icon");
        benchmark::DoNotOptimize(name);
    }
}
BENCHMARK(importIntoFolder)->Arg(0)->Arg(1)->ArgNames({"png"})->Unit(benchmark::kMillisecond);

// The floor: Qt's own decode at the size the import decodes to, 2048 × 1536 and 1024 × 1024.
void qtScaledDecode(benchmark::State& state)
{
    const QString& path = pictureFor(state);
    for (auto _ : state) {
        QImageReader reader(path);
        const QSize size = reader.size();
        reader.setScaledSize(
            size.scaled(QSize(IconNormalizer::maxDecodedSide, IconNormalizer::maxDecodedSide).boundedTo(size),
                        Qt::KeepAspectRatio));
        const QImage image = reader.read();
        if (image.isNull())
            state.SkipWithError("no image");
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(qtScaledDecode)->Arg(0)->Arg(1)->ArgNames({"png"})->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
