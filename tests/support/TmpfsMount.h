#pragma once

#include <QString>

// A small tmpfs of the test's own on an empty folder, for files that must meet a full disk or a read-only
// file system. Mounting needs root (or CAP_SYS_ADMIN): `mount()` answers false, with `error()` saying why,
// where it is not allowed. The destructor unmounts, detaching when busy, so no mount outlives the test.
class TmpfsMount final {
public:
    explicit TmpfsMount(QString path);
    ~TmpfsMount();
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    [[nodiscard]] bool mount(qint64 sizeBytes);
    // Read-only or writable again, in place, with everything on it kept.
    [[nodiscard]] bool setReadOnly(bool readOnly);
    void unmount();

    // Fills what is left of the file system with the file at `path` on it; false when it did not fill up.
    [[nodiscard]] static bool fill(const QString& path);

    [[nodiscard]] const QString& error() const { return m_error; }

private:
    bool fail(const char* step);

    QString m_path;
    QString m_error;
    QString m_options;
    bool m_mounted = false;
};
