#pragma once

#include <QString>
#include <optional>

class QWidget;

// Asks which synced folder the deck is shared through: the sync clients' folders found in `home` first,
// then any folder the user picks. Nothing when the user cancels.
[[nodiscard]] std::optional<QString> chooseCloudFolder(QWidget* parent, const QString& home);
