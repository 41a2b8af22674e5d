#include "deck/FileDrop.h"

#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QUrl>

namespace {

using Action = std::optional<TileAction>;

class FileDropTest : public TempHome {
protected:
    void SetUp() override
    {
        writeFile(path("Editor.desktop"), "[Desktop Entry]\nType=Application\nExec=editor\n");
        writeFile(path("tool"), "#!/bin/sh\n");
        writeFile(path("binary"), QByteArrayLiteral("\x7f"
                                                    "ELF\x02\x01\x01"));
        // What every file on an exFAT or NTFS stick looks like: executable, whatever it holds.
        writeFile(path("photo.jpg"), QByteArrayLiteral("\xff\xd8\xff\xe0"));
        writeFile(path("unmarked script"), "#!/bin/sh\n");
        for (const char* name : {"tool", "binary", "photo.jpg"})
            QFile(path(name)).setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        writeFile(path("notes.txt"), "notes");
        writeFile(path("two\nlines.txt"), "odd name");
        QDir().mkpath(path("Folder.desktop"));
    }

    [[nodiscard]] QString path(const char* name) const
    {
        return m_dir.path() + u'/' + QString::fromUtf8(name);
    }

    [[nodiscard]] QByteArray fileUri(const char* name) const
    {
        return QUrl::fromLocalFile(path(name)).toEncoded();
    }

    static Action actionFor(const QByteArray& uriList)
    {
        QMimeData data;
        data.setData(QStringLiteral("text/uri-list"), uriList);
        return FileDrop::actionFor(data);
    }

    static Action launch(const QString& path) { return TileAction{TileAction::LaunchApp{path}}; }
    static Action open(const QString& path) { return TileAction{TileAction::OpenFile{path}}; }
};

TEST_F(FileDropTest, TheFirstItemDecidesWhatTheTileDoes)
{
    const struct {
        const char* name;
        QByteArray uriList;
        Action expected;
    } cases[] = {
        {"desktop entry", fileUri("Editor.desktop"), launch(path("Editor.desktop"))},
        {"executable script", fileUri("tool"), launch(path("tool"))},
        {"executable binary", fileUri("binary"), launch(path("binary"))},
        {"executable bit on a picture", fileUri("photo.jpg"), open(path("photo.jpg"))},
        {"script without the executable bit", fileUri("unmarked script"), open(path("unmarked script"))},
        {"file", fileUri("notes.txt"), open(path("notes.txt"))},
        {"folder, whatever its name", fileUri("Folder.desktop"), open(path("Folder.desktop"))},
        {"newline in the name", fileUri("two\nlines.txt"), open(path("two\nlines.txt"))},
        {"comment and blank line first", "# from a file manager\r\n\r\n" + fileUri("notes.txt") + "\r\n",
         open(path("notes.txt"))},
        {"http", "http://example.org/a?b=c\r\n",
         TileAction{TileAction::OpenURL{QStringLiteral("http://example.org/a?b=c")}}},
        {"https", "https://example.org/\r\n",
         TileAction{TileAction::OpenURL{QStringLiteral("https://example.org/")}}},
        {"ftp", "ftp://example.org/file\r\n", std::nullopt},
        {"mailto", "mailto:someone@example.org\r\n", std::nullopt},
        {"web address without a host", "https:///path\r\n", std::nullopt},
        {"missing file", fileUri("gone.txt"), std::nullopt},
        {"first missing, second there", fileUri("gone.txt") + "\r\n" + fileUri("notes.txt"), std::nullopt},
        {"empty list", "", std::nullopt},
        {"only comments", "# nothing\r\n", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(actionFor(c.uriList), c.expected) << c.name;

    QMimeData text;
    text.setText(QStringLiteral("https://example.org/"));
    EXPECT_EQ(FileDrop::actionFor(text), std::nullopt) << "plain text is no drop of an address";
}

TEST_F(FileDropTest, ATenThousandFileDropTakesItsFirstFile)
{
    QByteArray list = fileUri("notes.txt");
    for (int item = 0; item < 10000; ++item)
        list += "\r\nfile:///nowhere/" + QByteArray::number(item);
    EXPECT_EQ(actionFor(list), open(path("notes.txt")));
}

TEST_F(FileDropTest, TheNewTileKeepsTheSlotsIdAndDropsLabelAndIcon)
{
    Tile old;
    old.label = QStringLiteral("Old");
    old.icon = TileIcon{TileIcon::Symbol{QStringLiteral("star"), QStringLiteral("#FF0000")}};
    old.action = TileAction{TileAction::Snippet{QStringLiteral("x")}};
    const TileAction action{TileAction::OpenFile{path("notes.txt")}};
    const Tile tile = FileDrop::tileFor(old, action);
    EXPECT_EQ(tile.id, old.id);
    EXPECT_TRUE(tile.label.isEmpty());
    EXPECT_TRUE(tile.icon.isAuto());
    EXPECT_EQ(tile.action, action);
}

} // namespace
