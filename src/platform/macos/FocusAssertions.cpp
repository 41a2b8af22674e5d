#include "platform/macos/FocusAssertions.h"

#include "core/BackgroundQueue.h"
#include "core/Logging.h"
#include "platform/Programs.h"
#include "platform/ShortcutsBridge.h"
#include "platform/macos/FullDiskAccess.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

FocusAssertions::FocusAssertions(const QString& home, ProcessRunner& processes, Workspace& workspace,
                                 QObject* parent)
    : DoNotDisturb(parent)
    , m_path(path(home))
    , m_processes(processes)
    , m_workspace(workspace)
{
}

QString FocusAssertions::path(const QString& home)
{
    return home + QStringLiteral("/Library/DoNotDisturb/DB") + QStringLiteral("/Assertions.json");
}

DoNotDisturb::Reading FocusAssertions::reading(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, true};
    if (file.size() > largestFile) {
        qCWarning(lcPlatform).noquote()
            << "Marquetto:" << path << "is too large to be the Focus state; read as off";
        return {false, false};
    }
    const QByteArray document = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {std::nullopt, true};
    return {activeMode(document) == doNotDisturbMode, false};
}

std::optional<QString> FocusAssertions::activeMode(const QByteArray& document)
{
    const QJsonValue data = QJsonDocument::fromJson(document).object().value(QStringLiteral("data"));
    if (!data.isArray())
        return std::nullopt;
    const QJsonArray entries = data.toArray();
    if (!std::all_of(entries.begin(), entries.end(),
                     [](const QJsonValue& entry) { return entry.isObject(); }))
        return std::nullopt;
    for (const QJsonValue& entry : entries) {
        for (const QJsonValue& record :
             entry.toObject().value(QStringLiteral("storeAssertionRecords")).toArray()) {
            const QJsonValue mode = record.toObject()
                                        .value(QStringLiteral("assertionDetails"))
                                        .toObject()
                                        .value(QStringLiteral("assertionDetailsModeIdentifier"));
            if (mode.isString())
                return mode.toString();
        }
    }
    return std::nullopt;
}

void FocusAssertions::read(QObject* context, std::function<void(Reading)> done)
{
    BackgroundQueue::runThenReport<Reading>(
        context, [path = m_path] { return reading(path); }, std::move(done));
}

void FocusAssertions::checkReady(QObject* context, std::function<void(bool)> done)
{
    ShortcutsBridge::fetchShortcuts(m_processes, context, [done = std::move(done)](const QStringList& names) {
        done(names.contains(onShortcut) && names.contains(offShortcut));
    });
}

bool FocusAssertions::turn(bool on)
{
    m_processes.fireAndForget(Programs::shortcuts(), {QStringLiteral("run"), on ? onShortcut : offShortcut});
    return true;
}

void FocusAssertions::openAccessSettings()
{
    m_workspace.open(fullDiskAccessSettings());
}
