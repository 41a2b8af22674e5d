#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

// Brings a picture the user chose into the icons folder in the normal form, as a file of a new name that
// appears whole or not at all.
class IconImport final {
public:
    using Completion = std::function<void(std::optional<QString> fileName)>;

    explicit IconImport(QString iconsDir);

    // The new file's name ("<UUID>.png", upper-case) in the icons folder, or nothing when the picture could
    // not be decoded or the file not written; each failure logs one line. The folder is made when missing and
    // no existing file is ever replaced. Safe on any thread; it blocks while it decodes.
    [[nodiscard]] std::optional<QString> importImage(const QString& path) const;
    // The same on a background thread; `completion` runs on the main thread, and only while `context` lives.
    void importImageAsync(const QString& path, QObject* context, Completion completion) const;

private:
    // The name of the new file holding `png`, or nothing with `error` set.
    [[nodiscard]] std::optional<QString> writeNewFile(const QByteArray& png, QString& error) const;

    QString m_iconsDir;
};
