#include "platform/linux/music/AudioTags.h"

#include <QFile>
#include <attachedpictureframe.h>
#include <fcntl.h>
#include <fileref.h>
#include <flacfile.h>
#include <flacpicture.h>
#include <id3v2tag.h>
#include <mp4file.h>
#include <mpegfile.h>
#include <tbytevectorstream.h>
#include <tpropertymap.h>
#include <unistd.h>
#include <wavfile.h>
#include <xiphcomment.h>

namespace {

QString text(const TagLib::String& value)
{
    return QString::fromWCharArray(value.toCWString(), static_cast<qsizetype>(value.size())).trimmed();
}

// "1/2" is disc 1 of 2.
int leadingNumber(const QString& value)
{
    int number = 0;
    for (const QChar c : value) {
        if (!c.isDigit() || number > 99999)
            break;
        number = number * 10 + c.digitValue();
    }
    return number;
}

QString firstValue(const TagLib::PropertyMap& properties, const char* key)
{
    const auto found = properties.find(key);
    if (found == properties.end() || found->second.isEmpty())
        return {};
    return text(found->second.front());
}

QString firstFrame(const TagLib::ID3v2::Tag& tag, const char* id)
{
    const TagLib::ID3v2::FrameList& frames = tag.frameList(id);
    return frames.isEmpty() ? QString() : text(frames.front()->toString());
}

// Larger leading tags (a huge embedded picture) are left to the general reader.
constexpr qsizetype maxLeadingTagBytes = 1024 * 1024;
constexpr qsizetype id3v2HeaderBytes = 10;

// The ID3v2 tag at the very start of the file, where MP3 files nearly always keep their tags, read in one or
// two reads; nothing when the file does not start with one.
std::optional<TagLib::ByteVector> leadingId3v2(const QByteArray& path)
{
    const int fd = open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    constexpr qsizetype firstRead = 8 * 1024;
    TagLib::ByteVector data(firstRead, '\0');
    const ssize_t got = ::read(fd, data.data(), firstRead);
    std::optional<TagLib::ByteVector> tag;
    const auto byte = [&data](int i) { return static_cast<unsigned char>(data[i]); };
    if (got >= id3v2HeaderBytes && data.startsWith("ID3") && byte(6) < 0x80 && byte(7) < 0x80 &&
        byte(8) < 0x80 && byte(9) < 0x80) {
        // Sizes are "synchsafe": seven bits a byte. A footer adds another header's length.
        const qsizetype size = id3v2HeaderBytes +
                               (qsizetype(byte(6)) << 21 | qsizetype(byte(7)) << 14 |
                                qsizetype(byte(8)) << 7 | qsizetype(byte(9))) +
                               ((byte(5) & 0x10) ? id3v2HeaderBytes : 0);
        if (size <= got) {
            data.resize(static_cast<unsigned>(size));
            tag = data;
        } else if (size <= maxLeadingTagBytes) {
            data.resize(static_cast<unsigned>(size));
            if (pread(fd, data.data() + got, static_cast<size_t>(size - got), got) == size - got)
                tag = data;
        }
    }
    close(fd);
    return tag;
}

// Parses an ID3v2 tag held in memory; nothing when it names no album, so that the general reader looks at
// the file's other tags.
std::optional<TrackTags> id3v2Tags(const TagLib::ByteVector& data)
{
    TagLib::ByteVectorStream stream(data);
    TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
    const TagLib::ID3v2::Tag* tag = file.ID3v2Tag();
    if (!tag)
        return std::nullopt;
    TrackTags tags;
    tags.album = text(tag->album());
    if (tags.album.isEmpty())
        return std::nullopt;
    tags.artist = text(tag->artist());
    tags.track = static_cast<int>(tag->track());
    tags.albumArtist = firstFrame(*tag, "TPE2");
    tags.disc = leadingNumber(firstFrame(*tag, "TPOS"));
    return tags;
}

bool isMp3(const QByteArray& path)
{
    return path.size() > 4 && path.right(4).compare(".mp3", Qt::CaseInsensitive) == 0;
}

std::optional<QByteArray> bytes(const TagLib::ByteVector& data, qint64 maxBytes)
{
    if (data.isEmpty() || static_cast<qint64>(data.size()) > maxBytes)
        return std::nullopt;
    return QByteArray(data.data(), static_cast<qsizetype>(data.size()));
}

std::optional<QByteArray> id3v2Picture(TagLib::ID3v2::Tag* tag, qint64 maxBytes)
{
    if (!tag)
        return std::nullopt;
    const TagLib::ID3v2::FrameList& frames = tag->frameList("APIC");
    const TagLib::ID3v2::AttachedPictureFrame* chosen = nullptr;
    for (const TagLib::ID3v2::Frame* frame : frames) {
        const auto* picture = dynamic_cast<const TagLib::ID3v2::AttachedPictureFrame*>(frame);
        if (!picture)
            continue;
        if (!chosen || picture->type() == TagLib::ID3v2::AttachedPictureFrame::FrontCover)
            chosen = picture;
        if (chosen->type() == TagLib::ID3v2::AttachedPictureFrame::FrontCover)
            break;
    }
    return chosen ? bytes(chosen->picture(), maxBytes) : std::nullopt;
}

std::optional<QByteArray> flacPicture(const TagLib::List<TagLib::FLAC::Picture*>& pictures, qint64 maxBytes)
{
    const TagLib::FLAC::Picture* chosen = nullptr;
    for (const TagLib::FLAC::Picture* picture : pictures) {
        if (!chosen || picture->type() == TagLib::FLAC::Picture::FrontCover)
            chosen = picture;
        if (chosen->type() == TagLib::FLAC::Picture::FrontCover)
            break;
    }
    return chosen ? bytes(chosen->data(), maxBytes) : std::nullopt;
}

std::optional<QByteArray> mp4Picture(TagLib::MP4::Tag* tag, qint64 maxBytes)
{
    if (!tag || !tag->contains("covr"))
        return std::nullopt;
    const TagLib::MP4::CoverArtList covers = tag->item("covr").toCoverArtList();
    return covers.isEmpty() ? std::nullopt : bytes(covers.front().data(), maxBytes);
}

} // namespace

std::optional<TrackTags> AudioTags::read(const QByteArray& path)
{
    if (isMp3(path)) {
        if (const auto leading = leadingId3v2(path)) {
            if (auto tags = id3v2Tags(*leading))
                return tags;
        }
    }
    const TagLib::FileRef file(path.constData(), false);
    if (file.isNull() || !file.file()->isValid() || !file.tag())
        return std::nullopt;
    const TagLib::Tag& tag = *file.tag();
    TrackTags tags;
    tags.album = text(tag.album());
    // Most of a library has albums; a file without one needs nothing more.
    if (tags.album.isEmpty())
        return tags;
    tags.artist = text(tag.artist());
    tags.track = static_cast<int>(tag.track());
    const TagLib::PropertyMap properties = file.file()->properties();
    tags.albumArtist = firstValue(properties, "ALBUMARTIST");
    tags.disc = leadingNumber(firstValue(properties, "DISCNUMBER"));
    return tags;
}

std::optional<QByteArray> AudioTags::embeddedPicture(const QString& path, qint64 maxBytes)
{
    const TagLib::FileRef file(QFile::encodeName(path).constData(), false);
    if (file.isNull() || !file.file()->isValid())
        return std::nullopt;
    TagLib::File* const opened = file.file();
    if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(opened))
        return id3v2Picture(mpeg->ID3v2Tag(), maxBytes);
    if (auto* flac = dynamic_cast<TagLib::FLAC::File*>(opened)) {
        if (auto picture = flacPicture(flac->pictureList(), maxBytes))
            return picture;
        return id3v2Picture(flac->ID3v2Tag(), maxBytes);
    }
    if (auto* mp4 = dynamic_cast<TagLib::MP4::File*>(opened))
        return mp4Picture(mp4->tag(), maxBytes);
    if (auto* wav = dynamic_cast<TagLib::RIFF::WAV::File*>(opened))
        return id3v2Picture(wav->ID3v2Tag(), maxBytes);
    if (auto* xiph = dynamic_cast<TagLib::Ogg::XiphComment*>(opened->tag()))
        return flacPicture(xiph->pictureList(), maxBytes);
    // AIFF keeps its tags in an ID3v2 chunk.
    return id3v2Picture(dynamic_cast<TagLib::ID3v2::Tag*>(opened->tag()), maxBytes);
}
