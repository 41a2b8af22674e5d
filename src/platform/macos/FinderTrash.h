#pragma once

#include "core/ProcessRunner.h"
#include "platform/Trash.h"
#include "platform/Workspace.h"

// The Trash of a Mac: the home folder's ".Trash" and iCloud Drive's, opened and emptied by the Finder through
// AppleScript. Other volumes' Trash folders cannot be told apart from files and programs alone, so every
// volume beside the start-up one counts as skipped.
class FinderTrash final : public Trash {
public:
    // `volumes` is the folder the volumes are mounted in. `runner` and `workspace` must outlive the
    // background work `open` starts.
    FinderTrash(ProcessRunner& runner, Workspace& workspace, QString home,
                QString volumes = QStringLiteral("/Volumes"));

    [[nodiscard]] Locations locations() const override;
    void open() override;
    void empty() override;

private:
    ProcessRunner& m_runner;
    Workspace& m_workspace;
    QString m_home;
    QString m_volumes;
};
