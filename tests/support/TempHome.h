#pragma once

#include "QtPrinters.h"
#include "core/AppPaths.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A fresh, empty home folder per test, with the paths Marquetto derives from it.
class TempHome : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
    AppPaths m_paths = AppPaths::forHome(m_dir.path());

    // Writes a file below the home folder, creating its folders.
    void writeFile(const QString& path, const QByteArray& bytes) const;
    [[nodiscard]] static QByteArray readFile(const QString& path);
    [[nodiscard]] static bool exists(const QString& path);
};
