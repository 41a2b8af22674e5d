#pragma once

#include "platform/InstalledApplications.h"

#include <QStringList>

// The applications of the ".desktop" files below "<data dir>/applications/": the first data dir that has an
// id wins, as for launching, and what menus leave out (not an application, NoDisplay, Hidden, unreadable)
// is left out here too.
class DesktopInstalledApplications final : public InstalledApplications {
public:
    // `dataDirs`: the user's data home first, then the system data dirs; `locale` as LC_MESSAGES spells it.
    DesktopInstalledApplications(QStringList dataDirs, QString locale);

    [[nodiscard]] std::vector<Entry> entries() const override;

private:
    QStringList m_dataDirs;
    QString m_locale;
};
