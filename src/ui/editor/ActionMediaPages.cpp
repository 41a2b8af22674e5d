// The editor's pages for the tiles that play music or switch a device: a playlist, an album, a Bluetooth
// device and a sound output.
#include "core/BackgroundQueue.h"
#include "platform/MusicBridge.h"
#include "ui/editor/ActionForm.h"
#include "ui/editor/FormParts.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QVBoxLayout>
#include <algorithm>

namespace {

struct DeviceChoice {
    QString id;
    QString name;
};

// Offers the devices by identifier and name; a chosen device that is not among them is offered under its
// saved name, or "Unavailable" when it was saved without one.
void fillDevices(QComboBox& combo, const std::vector<DeviceChoice>& devices, const DeviceChoice& chosen)
{
    const QSignalBlocker blocker(combo);
    combo.clear();
    for (const DeviceChoice& device : devices)
        combo.addItem(device.name, QStringList{device.id, device.name});
    const auto same = std::find_if(devices.begin(), devices.end(),
                                   [&](const DeviceChoice& device) { return device.id == chosen.id; });
    int current = same == devices.end() ? -1 : static_cast<int>(same - devices.begin());
    if (current < 0 && !chosen.id.isEmpty()) {
        combo.insertItem(0, chosen.name.isEmpty() ? QStringLiteral("Unavailable") : chosen.name,
                         QStringList{chosen.id, chosen.name});
        current = 0;
    }
    combo.setCurrentIndex(current);
}

QString albumTitle(const AlbumEntry& album)
{
    return album.artist.isEmpty() ? album.name : album.name + QStringLiteral(" \u2014 ") + album.artist;
}

} // namespace

QWidget* ActionForm::makePlaylistPage()
{
    m_playlists = formPicker(QStringLiteral("Choose a playlist"), QStringLiteral("playlistPicker"));
    fillFormPicker(*m_playlists, m_playlistNames.value_or(QStringList()), m_state.playlistName);
    connect(m_playlists, &QComboBox::currentIndexChanged, this, [this](int row) {
        if (row < 0)
            return;
        m_state.playlistName = m_playlists->itemText(row);
        edited();
    });
    if (!m_playlistNames) {
        m_services.music.fetchPlaylists([self = QPointer(this)](QStringList names) {
            if (!self)
                return;
            self->m_playlistNames = names;
            if (self->m_playlists)
                fillFormPicker(*self->m_playlists, names, self->m_state.playlistName);
        });
    }
    return formColumn({m_playlists});
}

QWidget* ActionForm::makeAlbumPage()
{
    auto* search = new QLineEdit(m_state.albumSearch);
    search->setObjectName(QStringLiteral("albumSearch"));
    search->setPlaceholderText(QStringLiteral("Search your library…"));
    m_albumChosen = new QLabel;
    m_albumStatus = formHelp(QString());
    m_albumStatus->setObjectName(QStringLiteral("albumStatus"));
    m_albumList = new QListWidget;
    m_albumList->setObjectName(QStringLiteral("albumList"));
    connect(search, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_state.albumSearch = text;
        showAlbumMatches();
    });
    connect(m_albumList, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        m_state.albumKey = item->data(Qt::UserRole).toString();
        showAlbumMatches();
        edited();
    });
    if (!m_albumsLoaded) {
        m_services.music.fetchAlbums([self = QPointer(this)](std::vector<AlbumEntry> albums) {
            if (!self)
                return;
            self->m_state.albums = std::move(albums);
            self->m_albumsLoaded = true;
            if (self->m_albumList)
                self->showAlbumMatches();
        });
    }
    showAlbumMatches();
    return formColumn({m_albumChosen, search, m_albumStatus, m_albumList});
}

void ActionForm::showAlbumMatches()
{
    m_albumChosen->setText(m_state.albumKey.isEmpty() ? formNoneChosen
                                                      : albumTitle(AlbumEntry::fromKey(m_state.albumKey)));
    m_albumList->clear();
    if (!m_albumsLoaded) {
        m_albumStatus->setText(QStringLiteral("Loading your album library…"));
        return;
    }
    const std::vector<AlbumEntry> matches = m_state.albumMatches();
    const QString query = m_state.albumSearch.trimmed();
    m_albumStatus->setText(matches.empty() && !query.isEmpty()
                               ? QStringLiteral("No albums match \u201C") + query + QStringLiteral("\u201D")
                               : QString());
    for (const AlbumEntry& album : matches) {
        auto* item = new QListWidgetItem(albumTitle(album), m_albumList);
        item->setData(Qt::UserRole, album.key());
    }
}

QWidget* ActionForm::makeBluetoothPage()
{
    m_bluetoothDevices = formPicker(QStringLiteral("Choose a device"), QStringLiteral("bluetoothPicker"));
    const auto show = [this] {
        std::vector<DeviceChoice> choices;
        for (const Bluetooth::Device& device : m_pairedDevices.value_or(std::vector<Bluetooth::Device>()))
            choices.push_back({device.address, device.name});
        fillDevices(*m_bluetoothDevices, choices, {m_state.bluetoothAddress, m_state.bluetoothName});
    };
    show();
    connect(m_bluetoothDevices, &QComboBox::currentIndexChanged, this, [this](int row) {
        if (row < 0)
            return;
        const QStringList device = m_bluetoothDevices->itemData(row).toStringList();
        m_state.bluetoothAddress = device.value(0);
        m_state.bluetoothName = device.value(1);
        edited();
    });
    if (!m_pairedDevices) {
        Bluetooth& bluetooth = m_services.bluetooth;
        BackgroundQueue::runThenReport<std::vector<Bluetooth::Device>>(
            this, [&bluetooth] { return BluetoothConnector(bluetooth).pairedDevices(); },
            [this, show](std::vector<Bluetooth::Device> devices) {
                m_pairedDevices = std::move(devices);
                if (m_bluetoothDevices)
                    show();
            });
    }
    return formColumn({m_bluetoothDevices,
                       formHelp(QStringLiteral("Tap the tile to connect the device, tap again to disconnect. "
                                               "Great for waking a Bluetooth speaker."))});
}

QWidget* ActionForm::makeAudioOutputPage()
{
    m_outputs = formPicker(QStringLiteral("Choose a device"), QStringLiteral("outputPicker"));
    const auto show = [this] {
        std::vector<DeviceChoice> choices;
        for (const AudioOutput::Device& device : m_outputDevices.value_or(std::vector<AudioOutput::Device>()))
            choices.push_back({device.uid, device.name});
        fillDevices(*m_outputs, choices, {m_state.outputUID, m_state.outputName});
    };
    show();
    connect(m_outputs, &QComboBox::currentIndexChanged, this, [this](int row) {
        if (row < 0)
            return;
        const QStringList device = m_outputs->itemData(row).toStringList();
        m_state.outputUID = device.value(0);
        m_state.outputName = device.value(1);
        edited();
    });
    if (!m_outputDevices) {
        AudioSystem& audio = m_services.audio;
        BackgroundQueue::runThenReport<std::vector<AudioOutput::Device>>(
            this, [&audio] { return AudioOutput(audio).outputDevices(); },
            [this, show](std::vector<AudioOutput::Device> devices) {
                m_outputDevices = std::move(devices);
                if (m_outputs)
                    show();
            });
    }
    return formColumn({m_outputs, formHelp(m_services.wordings.audioOutputHelp)});
}
