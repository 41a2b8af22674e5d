#pragma once

#include "model/ApplicationNames.h"

#include <QHash>

// Application names from ".desktop" files: the entry's Name in the user's language. Each file is read once,
// at the first question about it, and its answer kept (an entry that could not be read is remembered as
// nameless) for the life of the object. Main thread only.
class DesktopApplicationNames final : public ApplicationNames {
public:
    // `locale` as LC_MESSAGES spells it ("pt_BR.UTF-8").
    explicit DesktopApplicationNames(QString locale);

    [[nodiscard]] std::optional<QString> nameOf(const QString& applicationPath) const override;

    // The locale the desktop's messages are in: LC_ALL, LC_MESSAGES or LANG, the first one set.
    [[nodiscard]] static QString messagesLocale();

private:
    QString m_locale;
    mutable QHash<QString, std::optional<QString>> m_names; // by application path
};
