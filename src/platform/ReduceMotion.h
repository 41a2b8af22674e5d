#pragma once

#include <QObject>

// The desktop's wish for less motion on screen: with it on, the deck deals no tiles and changes pages at
// once.
//
// Main thread only. `changed` fires when the desktop's setting changes while the deck runs, after `isOn`
// already answers the new value.
class ReduceMotion : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    [[nodiscard]] virtual bool isOn() const = 0;

Q_SIGNALS:
    void changed(bool on);
};

// A desktop without such a setting: motion is never reduced.
class NoReduceMotion final : public ReduceMotion {
    Q_OBJECT
public:
    using ReduceMotion::ReduceMotion;

    [[nodiscard]] bool isOn() const override { return false; }
};
