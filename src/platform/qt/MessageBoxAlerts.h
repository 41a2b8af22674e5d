#pragma once

#include "platform/AlertPresenter.h"

// Alerts as modal message boxes, brought to the front although the deck never takes focus otherwise.
class MessageBoxAlerts final : public AlertPresenter {
public:
    [[nodiscard]] int present(const Alert& alert) override;
};
