#include "Logging.h"

Q_LOGGING_CATEGORY(lcStore, "marquetto.store")
Q_LOGGING_CATEGORY(lcSettings, "marquetto.settings")
Q_LOGGING_CATEGORY(lcPlatform, "marquetto.platform")
Q_LOGGING_CATEGORY(lcProcess, "marquetto.process")
Q_LOGGING_CATEGORY(lcActions, "marquetto.actions")
Q_LOGGING_CATEGORY(lcBand, "marquetto.band")
Q_LOGGING_CATEGORY(lcCloud, "marquetto.cloud")
Q_LOGGING_CATEGORY(lcEditor, "marquetto.editor", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSettingsWindow, "marquetto.settingswindow", QtInfoMsg)
Q_LOGGING_CATEGORY(lcMotion, "marquetto.motion", QtInfoMsg)
