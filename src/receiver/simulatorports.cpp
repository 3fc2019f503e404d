#include "simulatorports.h"

#include "empfaengerprotokoll.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <sys/stat.h>

namespace SimulatorPorts {

QString ankuendigungsOrdner()
{
    QString laufzeit = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (laufzeit.isEmpty() || !QFileInfo(laufzeit).isDir()) {
        // Asked once: the toolkit warns about the missing variable every time it is asked.
        static const QString ersatz = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        laufzeit = ersatz;
    }
    return laufzeit.isEmpty()
               ? QString()
               : laufzeit + QLatin1Char('/') + QLatin1String(EmpfaengerProtokoll::AnkuendigungsOrdner);
}

QStringList laufende()
{
    const QString ordner = ankuendigungsOrdner();
    if (ordner.isEmpty())
        return {};
    QStringList ports;
    const QFileInfoList dateien = QDir(ordner).entryInfoList(
        {QLatin1Char('*') + QLatin1String(EmpfaengerProtokoll::AnkuendigungsEndung)}, QDir::Files,
        QDir::Name);
    for (const QFileInfo &datei : dateien) {
        bool ok = false;
        const qint64 pid = datei.completeBaseName().toLongLong(&ok);
        // A simulator that was killed leaves its file behind.
        if (!ok || pid <= 0 || (::kill(pid_t(pid), 0) != 0 && errno == ESRCH))
            continue;
        QFile inhalt(datei.filePath());
        if (!inhalt.open(QIODevice::ReadOnly))
            continue;
        const QString pfad = QFile::decodeName(inhalt.readLine(4096).trimmed());
        // Only pseudo terminals: an announcement never makes the program write to anything else.
        struct stat info
        {
        };
        if (!pfad.startsWith(QLatin1String("/dev/pts/")) ||
            ::stat(QFile::encodeName(pfad).constData(), &info) != 0 || !S_ISCHR(info.st_mode))
            continue;
        ports.append(pfad);
    }
    return ports;
}

} // namespace SimulatorPorts
