#include "announcement.h"

#include "empfaengerprotokoll.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace simulator {

QString runtimeDirectory()
{
    const QString fromEnvironment = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!fromEnvironment.isEmpty() && QFileInfo(fromEnvironment).isDir())
        return fromEnvironment;
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

bool Announcement::publish(const QString &slavePath, QString *error)
{
    const QString runtime = runtimeDirectory();
    if (runtime.isEmpty()) {
        *error = QStringLiteral("no runtime folder to announce the port in (use --no-announce)");
        return false;
    }
    const QString folder =
        runtime + QLatin1Char('/') + QLatin1String(EmpfaengerProtokoll::AnkuendigungsOrdner);
    const QByteArray nativeFolder = QFile::encodeName(folder);
    // The folder holds nothing secret, but 0700 keeps other users from planting ports for our program.
    if (::mkdir(nativeFolder.constData(), 0700) != 0 && errno != EEXIST) {
        *error = QStringLiteral("cannot create %1: %2").arg(folder, QString::fromLocal8Bit(strerror(errno)));
        return false;
    }

    // QSaveFile writes a temporary file beside the target and renames it, so a reader never sees
    // half a path.
    const QString path = folder + QStringLiteral("/%1").arg(::getpid()) +
                         QLatin1String(EmpfaengerProtokoll::AnkuendigungsEndung);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    file.write(QFile::encodeName(slavePath) + '\n');
    if (!file.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    m_path = path;
    return true;
}

void Announcement::remove()
{
    if (m_path.isEmpty())
        return;
    QFile::remove(m_path);
    m_path.clear();
}

} // namespace simulator
