#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <attachedpictureframe.h>
#include <flacfile.h>
#include <flacpicture.h>
#include <id3v2tag.h>
#include <mpegfile.h>
#include <tpropertymap.h>

// Small audio files with real tags, written by TagLib itself: silent MPEG frames or a FLAC stream header,
// enough for any reader to take them for audio.
namespace TaggedAudio {

struct Tags {
    Tags(QString album, QString artist, QString albumArtist = {}, QString disc = {}, int track = 0,
         QByteArray picture = {})
        : album(std::move(album))
        , artist(std::move(artist))
        , albumArtist(std::move(albumArtist))
        , disc(std::move(disc))
        , track(track)
        , picture(std::move(picture))
    {
    }

    QString album;
    QString artist;
    QString albumArtist;
    QString disc; // as stored: "1/2"
    int track = 0;
    QByteArray picture; // embedded as the front cover when not empty
};

inline TagLib::String text(const QString& value)
{
    return {value.toStdString(), TagLib::String::UTF8};
}

inline TagLib::PropertyMap properties(const Tags& tags)
{
    TagLib::PropertyMap map;
    const auto set = [&map](const char* key, const QString& value) {
        if (!value.isEmpty())
            map[key] = TagLib::StringList(text(value));
    };
    set("ALBUM", tags.album);
    set("ARTIST", tags.artist);
    set("ALBUMARTIST", tags.albumArtist);
    set("DISCNUMBER", tags.disc);
    set("TRACKNUMBER", tags.track > 0 ? QString::number(tags.track) : QString());
    return map;
}

inline bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Three silent MPEG-1 Layer III frames (128 kbit/s, 44.1 kHz) with an ID3v2 tag.
inline bool writeMp3(const QString& path, const Tags& tags)
{
    QByteArray frame(417, '\0');
    frame[0] = '\xFF';
    frame[1] = '\xFB';
    frame[2] = '\x90';
    if (!writeBytes(path, frame.repeated(3)))
        return false;
    TagLib::MPEG::File file(QFile::encodeName(path).constData(), false);
    file.setProperties(properties(tags));
    if (!tags.picture.isEmpty()) {
        auto* picture = new TagLib::ID3v2::AttachedPictureFrame;
        picture->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
        picture->setMimeType("image/png");
        picture->setPicture(
            TagLib::ByteVector(tags.picture.constData(), static_cast<unsigned>(tags.picture.size())));
        file.ID3v2Tag(true)->addFrame(picture);
    }
    return file.save(TagLib::MPEG::File::ID3v2);
}

// A FLAC stream header of no samples, with a Vorbis comment.
inline bool writeFlac(const QString& path, const Tags& tags)
{
    QByteArray header("fLaC\x80\x00\x00\x22", 8);
    QByteArray streamInfo(34, '\0');
    const char info[] = {'\x10', '\x00', '\x10', '\x00', '\0',   '\0',   '\0',
                         '\0',   '\0',   '\0',   '\x0A', '\xC4', '\x40', '\xF0'};
    streamInfo.replace(0, sizeof info, QByteArray(info, sizeof info));
    if (!writeBytes(path, header + streamInfo + QByteArray(16, '\0')))
        return false;
    TagLib::FLAC::File file(QFile::encodeName(path).constData(), false);
    file.setProperties(properties(tags));
    if (!tags.picture.isEmpty()) {
        auto* picture = new TagLib::FLAC::Picture;
        picture->setType(TagLib::FLAC::Picture::FrontCover);
        picture->setMimeType("image/png");
        picture->setData(
            TagLib::ByteVector(tags.picture.constData(), static_cast<unsigned>(tags.picture.size())));
        file.addPicture(picture);
    }
    return file.save();
}

} // namespace TaggedAudio
