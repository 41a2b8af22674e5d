#pragma once

#include <QLoggingCategory>

// One category per subsystem. Messages read "Marquetto: …" so they stand out in the journal, where the
// desktop session sends standard error.
Q_DECLARE_LOGGING_CATEGORY(lcStore)
Q_DECLARE_LOGGING_CATEGORY(lcSettings)
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
Q_DECLARE_LOGGING_CATEGORY(lcProcess)
Q_DECLARE_LOGGING_CATEGORY(lcActions)
Q_DECLARE_LOGGING_CATEGORY(lcBand)
Q_DECLARE_LOGGING_CATEGORY(lcCloud)
// Off unless asked for ("marquetto.editor.debug=true" in QT_LOGGING_RULES): how long the editor takes to
// open.
Q_DECLARE_LOGGING_CATEGORY(lcEditor)
// Off unless asked for ("marquetto.settingswindow.debug=true"): how long the settings window takes to open.
Q_DECLARE_LOGGING_CATEGORY(lcSettingsWindow)
// Off unless asked for ("marquetto.motion.debug=true"): how many frames the deck painted while a deal or a
// page change ran.
Q_DECLARE_LOGGING_CATEGORY(lcMotion)
