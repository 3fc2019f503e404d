#pragma once

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

// Points the settings store at a fresh temporary folder for the lifetime of the object, so tests
// never touch the user's settings and always start from an empty store.
class TestEinstellungen final
{
public:
    TestEinstellungen()
    {
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_ordner.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_ordner.path());
    }
    QString ordner() const { return m_ordner.path(); }

private:
    QTemporaryDir m_ordner;
};
