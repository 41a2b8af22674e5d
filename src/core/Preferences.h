#pragma once

#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

// The user's preferences: one JSON document rewritten atomically on every change. Reads are typed: an absent
// value, or one of another type, answers nothing and the caller uses its default. A file that cannot be read
// as a JSON object is moved aside as "preferences.unreadable.json" and the preferences start from defaults.
// Values the user changed in the file by hand since it was last read or written are kept by the next change,
// and take effect at the next start.
//
// Main thread only.
class Preferences final : public QObject {
    Q_OBJECT

public:
    explicit Preferences(QString filePath, QObject* parent = nullptr);

    [[nodiscard]] QString filePath() const { return m_filePath; }
    [[nodiscard]] QString unreadableCopyPath() const;

    [[nodiscard]] QJsonValue value(const QString& key) const { return m_values.value(key); }
    [[nodiscard]] bool contains(const QString& key) const { return m_values.contains(key); }

    [[nodiscard]] std::optional<bool> boolValue(const QString& key) const;
    // Only numbers without a fractional part that fit an int.
    [[nodiscard]] std::optional<int> intValue(const QString& key) const;
    [[nodiscard]] std::optional<double> doubleValue(const QString& key) const;
    [[nodiscard]] std::optional<QString> stringValue(const QString& key) const;
    // Only arrays made of strings alone.
    [[nodiscard]] std::optional<QStringList> stringListValue(const QString& key) const;

    // Stores the value and rewrites the file at once. Answers false when the file could not be written; the
    // value is kept in memory either way and the next change writes it again.
    bool setValue(const QString& key, const QJsonValue& value);
    // Every value set is in the file: false while a change waits for a write that failed.
    [[nodiscard]] bool isSaved() const { return m_values == m_onDisk; }

Q_SIGNALS:
    // After a value was set, whether or not the file could be written.
    void valueChanged(const QString& key);

private:
    void load();
    // The file's object: empty when there is no file, nothing when it was unreadable and has been moved
    // aside.
    [[nodiscard]] std::optional<QJsonObject> readFile() const;
    // Takes in what changed in the file since it was last read or written, but for the key being set now.
    void keepChangesMadeByHand(const QString& settingNow);
    bool writeThrough();

    QString m_filePath;
    QJsonObject m_values;
    // The file's object as last read or written.
    QJsonObject m_onDisk;
};
