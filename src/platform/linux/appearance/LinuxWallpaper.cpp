#include "platform/linux/appearance/LinuxWallpaper.h"

#include "core/Logging.h"
#include "core/MainThread.h"
#include "platform/linux/x11/XcbConnection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QStandardPaths>

namespace {

constexpr auto openTimeout = std::chrono::seconds(2);
// Plasma's desktop configuration is a few kilobytes; anything far larger is not one.
constexpr qint64 largestAppletsrc = 4 * 1024 * 1024;

// A Plasma wallpaper package holds its picture in several sizes; for a colour any of them will do.
std::optional<QString> packagePicture(const QString& folder)
{
    const QDir images(folder + QStringLiteral("/contents/images"));
    const QFileInfoList files = images.entryInfoList(QDir::Files | QDir::Readable, QDir::Name);
    if (files.isEmpty())
        return std::nullopt;
    return files.front().absoluteFilePath();
}

} // namespace

LinuxWallpaper::LinuxWallpaper(ProcessRunner& runner, Setup setup, std::unique_ptr<XcbConnection> x,
                               QObject* parent)
    : Wallpaper(parent)
    , m_runner(runner)
    , m_setup(std::move(setup))
    , m_x(std::move(x))
{
    if (!m_x)
        return;
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(m_x->get(), m_x->root(), XCB_CW_EVENT_MASK, &events);
    m_x->setEventHandler([this](const xcb_generic_event_t& event) {
        if ((event.response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
            return;
        const auto& change = reinterpret_cast<const xcb_property_notify_event_t&>(event);
        if (change.window != m_x->root() || change.atom != m_x->ewmh()->_NET_CURRENT_DESKTOP || m_checkQueued)
            return;
        // The handler may not send requests: the new value is read from the event loop.
        m_checkQueued = true;
        MainThread::later(this, [this] {
            m_checkQueued = false;
            checkWorkspace();
        });
    });
    m_notifier = std::make_unique<QSocketNotifier>(m_x->fileDescriptor(), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &LinuxWallpaper::readEvents);
    const auto current = m_x->property32(m_x->root(), m_x->ewmh()->_NET_CURRENT_DESKTOP, m_x->deadline());
    if (current && !current->empty())
        m_workspace = static_cast<int>(current->front());
}

LinuxWallpaper::~LinuxWallpaper() = default;

std::unique_ptr<Wallpaper> LinuxWallpaper::create(ProcessRunner& runner, const QString& configHome)
{
    Setup setup{
        DesktopWallpaper::desktopFrom(qEnvironmentVariable("XDG_CURRENT_DESKTOP")),
        QStandardPaths::findExecutable(QStringLiteral("gsettings")),
        QStandardPaths::findExecutable(QStringLiteral("xfconf-query")),
        configHome,
    };
    if (setup.desktop == DesktopWallpaper::Desktop::unknown) {
        qCInfo(lcPlatform) << "Marquetto: no wallpaper to take a tint from on this desktop";
        return std::make_unique<NoWallpaper>();
    }
    const QByteArray display = qgetenv("DISPLAY");
    auto x = display.isEmpty() ? nullptr : XcbConnection::open(display, openTimeout);
    return std::make_unique<LinuxWallpaper>(runner, std::move(setup), std::move(x));
}

std::optional<QString> LinuxWallpaper::pictureFile(const QString& screen) const
{
    switch (m_setup.desktop) {
    case DesktopWallpaper::Desktop::gnome:
        return gnomePicture();
    case DesktopWallpaper::Desktop::plasma:
        return plasmaPicture();
    case DesktopWallpaper::Desktop::xfce:
        return xfcePicture(screen);
    case DesktopWallpaper::Desktop::unknown:
        break;
    }
    return std::nullopt;
}

std::optional<QString> LinuxWallpaper::gnomePicture() const
{
    if (m_setup.gsettings.isEmpty())
        return std::nullopt;
    const auto get = [this](const QString& schema, const QString& key) {
        return m_runner.capture(m_setup.gsettings, {QStringLiteral("get"), schema, key}).value_or(QString());
    };
    const QString background = QStringLiteral("org.gnome.desktop.background");
    return DesktopWallpaper::gnomePicture(
        get(QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("color-scheme")),
        get(background, QStringLiteral("picture-uri")), get(background, QStringLiteral("picture-uri-dark")));
}

std::optional<QString> LinuxWallpaper::plasmaPicture() const
{
    QFile file(m_setup.configHome + QStringLiteral("/plasma-org.kde.plasma.desktop-appletsrc"));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const auto picture = DesktopWallpaper::plasmaPicture(QString::fromUtf8(file.read(largestAppletsrc)));
    if (picture && QFileInfo(*picture).isDir())
        return packagePicture(*picture);
    return picture;
}

std::optional<QString> LinuxWallpaper::xfcePicture(const QString& screen) const
{
    if (m_setup.xfconfQuery.isEmpty())
        return std::nullopt;
    const auto listing =
        m_runner.capture(m_setup.xfconfQuery, {QStringLiteral("-c"), QStringLiteral("xfce4-desktop"),
                                               QStringLiteral("-l"), QStringLiteral("-v")});
    if (!listing)
        return std::nullopt;
    return DesktopWallpaper::xfcePicture(*listing, screen, m_workspace);
}

void LinuxWallpaper::readEvents()
{
    m_x->readEvents();
    if (m_x->isBroken())
        m_notifier->setEnabled(false); // the socket reads as ready for ever once the server is gone
}

void LinuxWallpaper::checkWorkspace()
{
    if (m_x->isBroken())
        return;
    const auto current = m_x->property32(m_x->root(), m_x->ewmh()->_NET_CURRENT_DESKTOP, m_x->deadline());
    if (!current || current->empty())
        return;
    const int workspace = static_cast<int>(current->front());
    if (workspace == m_workspace.exchange(workspace))
        return;
    Q_EMIT workspaceChanged();
}
