#include "platform/linux/desktop/DesktopApplicationNames.h"

#include "platform/linux/desktop/DesktopFile.h"

DesktopApplicationNames::DesktopApplicationNames(QString locale)
    : m_locale(std::move(locale))
{
}

std::optional<QString> DesktopApplicationNames::nameOf(const QString& applicationPath) const
{
    const auto known = m_names.constFind(applicationPath);
    if (known != m_names.constEnd())
        return *known;
    std::optional<QString> name;
    if (applicationPath.endsWith(QStringLiteral(".desktop"))) {
        const Expected<DesktopFile, QString> file = DesktopFile::read(applicationPath, m_locale);
        if (file && !file->name.trimmed().isEmpty())
            name = file->name.trimmed();
    }
    m_names.insert(applicationPath, name);
    return name;
}

QString DesktopApplicationNames::messagesLocale()
{
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty())
            return value;
    }
    return {};
}
