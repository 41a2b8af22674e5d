#include "MusicScripts.h"

namespace {

QString quoted(const QString& text)
{
    return QLatin1Char('"') + MusicScripts::escaped(text) + QLatin1Char('"');
}

// Music hands over artwork as raw data, which only the scripting additions can write to a file.
QString writeArtworkTo(const QString& path)
{
    return QStringLiteral("set f to open for access POSIX file ") + quoted(path) +
           QStringLiteral(R"as( with write permission
set eof f to 0
write theData to f
close access f)as");
}

// Opens the tell block and leaves the album's tracks in theTracks: those by the album artist when one is
// given, else every track of an album of that name. The caller goes on inside the last if block.
QString findAlbumTracks(const QString& album, const QString& artist)
{
    return QStringLiteral("tell application \"Music\"\n    set alb to ") + quoted(album) +
           QStringLiteral("\n    set art to ") + quoted(artist) + QStringLiteral(R"as(
    set theTracks to {}
    if art is not "" then
        set theTracks to (every track of library playlist 1 whose album is alb and album artist is art)
    end if
    if (count of theTracks) is 0 then
        set theTracks to (every track of library playlist 1 whose album is alb)
)as");
}

QString tellMusic(const QString& command)
{
    return QStringLiteral("tell application \"Music\" to ") + command;
}

} // namespace

QString MusicScripts::escaped(const QString& text)
{
    QString result = text;
    result.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    result.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return result;
}

QStringList MusicScripts::playlists()
{
    return {tellMusic(QStringLiteral("set pls to name of user playlists")),
            QStringLiteral("set AppleScript's text item delimiters to linefeed"),
            QStringLiteral("pls as text")};
}

QString MusicScripts::albums()
{
    return QStringLiteral(R"as(tell application "Music"
    set albs to album of every track of library playlist 1
    set aarts to album artist of every track of library playlist 1
    set tarts to artist of every track of library playlist 1
end tell
set AppleScript's text item delimiters to linefeed
return (albs as text) & linefeed & "===SEP===" & linefeed & (aarts as text) & linefeed & "===SEP===" & linefeed & (tarts as text))as");
}

QString MusicScripts::albumNames()
{
    return QStringLiteral(R"as(tell application "Music"
    set albs to album of every track of library playlist 1
end tell
set AppleScript's text item delimiters to linefeed
return albs as text)as");
}

QString MusicScripts::nowPlaying()
{
    return QStringLiteral(R"as(tell application "Music"
    if player state is playing then
        set st to "playing"
    else
        set st to "paused"
    end if
    try
        set tn to name of current track
        set ar to artist of current track
        set dbid to (database ID of current track) as text
    on error
        set tn to ""
        set ar to ""
        set dbid to ""
    end try
end tell
return st & linefeed & tn & linefeed & ar & linefeed & dbid)as");
}

QString MusicScripts::nowPlayingArtwork(const QString& path)
{
    return QStringLiteral(R"as(tell application "Music"
    set theData to raw data of artwork 1 of current track
end tell
)as") + writeArtworkTo(path);
}

QString MusicScripts::albumArtwork(const QString& album, const QString& artist, const QString& path)
{
    return findAlbumTracks(album, artist) + QStringLiteral(R"as(    end if
    if (count of theTracks) is 0 then error "no tracks"
    set theTrack to item 1 of theTracks
    if (count of artworks of theTrack) is 0 then error "no artwork"
    set theData to raw data of artwork 1 of theTrack
end tell
)as") + writeArtworkTo(path);
}

QString MusicScripts::playlistArtwork(const QString& playlist, const QString& path)
{
    return QStringLiteral("tell application \"Music\"\n    set thePlaylist to user playlist ") +
           quoted(playlist) + QStringLiteral(R"as(
    set theData to missing value
    if (count of artworks of thePlaylist) > 0 then
        set theData to raw data of artwork 1 of thePlaylist
    else if (count of tracks of thePlaylist) > 0 then
        set theTrack to track 1 of thePlaylist
        if (count of artworks of theTrack) > 0 then
            set theData to raw data of artwork 1 of theTrack
        end if
    end if
end tell
if theData is missing value then error "no artwork"
)as") + writeArtworkTo(path);
}

QString MusicScripts::playAlbum(const QString& album, const QString& artist)
{
    // AppleScript has no sort: a selection sort over track indices orders them by disc, then track number.
    return findAlbumTracks(album, artist) +
           QStringLiteral(
               R"as(        set discNums to (disc number of every track of library playlist 1 whose album is alb)
        set trackNums to (track number of every track of library playlist 1 whose album is alb)
    else
        set discNums to (disc number of every track of library playlist 1 whose album is alb and album artist is art)
        set trackNums to (track number of every track of library playlist 1 whose album is alb and album artist is art)
    end if
    set n to count of theTracks
    if n is 0 then error "no tracks for album"
    set idxs to {}
    repeat with i from 1 to n
        set end of idxs to i
    end repeat
    repeat with a from 1 to n - 1
        set best to a
        repeat with b from a + 1 to n
            set bi to item best of idxs
            set ci to item b of idxs
            set bd to item bi of discNums
            set cd to item ci of discNums
            set bt to item bi of trackNums
            set ct to item ci of trackNums
            if (cd < bd) or (cd = bd and ct < bt) then set best to b
        end repeat
        if best is not a then
            set tmp to item a of idxs
            set item a of idxs to item best of idxs
            set item best of idxs to tmp
        end if
    end repeat
    if not (exists user playlist "Marquetto Queue") then
        make new user playlist with properties {name:"Marquetto Queue"}
    end if
    set q to user playlist "Marquetto Queue"
    delete every track of q
    repeat with i from 1 to n
        duplicate (item (item i of idxs) of theTracks) to q
    end repeat
    set shuffle enabled to false
    play q
end tell)as");
}

QString MusicScripts::playPlaylist(const QString& name)
{
    return tellMusic(QStringLiteral("play user playlist ") + quoted(name));
}

QString MusicScripts::playPause()
{
    return tellMusic(QStringLiteral("playpause"));
}

QString MusicScripts::nextTrack()
{
    return tellMusic(QStringLiteral("next track"));
}

QString MusicScripts::previousTrack()
{
    return tellMusic(QStringLiteral("previous track"));
}
