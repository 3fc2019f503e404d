#pragma once

#include <QString>

namespace simulator {

// $XDG_RUNTIME_DIR when it names an existing folder, otherwise what Qt picks for runtime files; the
// program looks for simulators in the same place.
QString runtimeDirectory();

// The file <runtime>/plenaro-simulator/<pid>.pty that tells the program where this simulator's port
// is. Removed again when the object goes, so every way out of main() cleans up.
class Announcement final
{
public:
    Announcement() = default;
    Announcement(const Announcement &) = delete;
    Announcement &operator=(const Announcement &) = delete;
    ~Announcement() { remove(); }

    bool publish(const QString &slavePath, QString *error);
    void remove();
    QString path() const { return m_path; }

private:
    QString m_path;
};

} // namespace simulator
