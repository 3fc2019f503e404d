#include "benutzerdatei.h"

#include "einstellungen.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

QString systemGrund(int fehler)
{
    return QString::fromLocal8Bit(std::strerror(fehler));
}

} // namespace

// The device handed to writers: unbuffered, every write checked, the first failure kept.
class BenutzerDatei::Geraet final : public QIODevice
{
public:
    explicit Geraet(BenutzerDatei &datei)
        : m_datei(datei)
    {
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *daten, qint64 laenge) override
    {
        QString grund;
        if (!m_datei.m_grund.isEmpty())
            return -1;
        if (!allesSchreiben(m_datei.m_temp.handle(), daten, laenge, &grund)) {
            m_datei.scheitern(grund);
            setErrorString(grund);
            return -1;
        }
        return laenge;
    }

private:
    BenutzerDatei &m_datei;
};

QString SchreibErgebnis::meldung(bool englisch) const
{
    if (ok())
        return {};
    const QString datei = QDir::toNativeSeparators(pfad);
    return englisch
               ? QStringLiteral("The file \"%1\" could not be saved: %2").arg(datei, grund)
               : QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden: %2").arg(datei, grund);
}

QString SchreibErgebnis::meldung() const
{
    return meldung(Einstellungen::istEnglisch());
}

BenutzerDatei::BenutzerDatei(const QString &ziel)
    : m_ziel(ziel)
{
}

BenutzerDatei::~BenutzerDatei()
{
    // QTemporaryFile removes its file unless abschliessen() renamed it.
    if (m_geraet)
        m_geraet->close();
}

bool BenutzerDatei::allesSchreiben(int deskriptor, const char *daten, qint64 laenge, QString *grund)
{
    qint64 geschrieben = 0;
    while (geschrieben < laenge) {
#ifdef Q_OS_WIN
        const auto n = ::_write(deskriptor, daten + geschrieben,
                                unsigned(std::min<qint64>(laenge - geschrieben, 1 << 30)));
#else
        const auto n = ::write(deskriptor, daten + geschrieben, size_t(laenge - geschrieben));
#endif
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // A write of 0 bytes with no error would loop forever; call it a full disk.
            if (grund)
                *grund = systemGrund(n < 0 ? errno : ENOSPC);
            return false;
        }
        geschrieben += n;
    }
    return true;
}

bool BenutzerDatei::scheitern(const QString &grund)
{
    if (m_grund.isEmpty())
        m_grund = grund.isEmpty() ? QStringLiteral("unknown error") : grund;
    return false;
}

bool BenutzerDatei::oeffnen()
{
    const QFileInfo info(m_ziel);
    // The temporary file sits beside the target, so the rename never crosses file systems.
    m_temp.setFileTemplate(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                           QStringLiteral(".XXXXXX"));
    if (!m_temp.open()) {
        const QString grund = m_temp.errorString();
        return scheitern(QDir(info.absolutePath()).exists() ? grund : systemGrund(ENOENT));
    }
    if (info.isDir())
        return scheitern(systemGrund(EISDIR));
    m_temp.setPermissions(info.exists() ? info.permissions()
                                        : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ReadGroup | QFileDevice::ReadOther);
    m_geraet = std::make_unique<Geraet>(*this);
    m_geraet->open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    m_offen = true;
    return true;
}

QIODevice &BenutzerDatei::geraet()
{
    if (!m_geraet)
        m_geraet = std::make_unique<Geraet>(*this); // closed: writes to it fail
    return *m_geraet;
}

bool BenutzerDatei::schreiben(const QByteArray &daten)
{
    if (!m_grund.isEmpty())
        return false;
    if (!m_offen)
        return scheitern(QStringLiteral("file not open"));
    return allesSchreiben(m_temp.handle(), daten.constData(), daten.size(), &m_grund) || scheitern({});
}

SchreibErgebnis BenutzerDatei::abschliessen()
{
    SchreibErgebnis ergebnis{m_ziel, {}};
    if (m_abgeschlossen) {
        ergebnis.grund = QStringLiteral("already closed");
        return ergebnis;
    }
    m_abgeschlossen = true;
    if (m_grund.isEmpty() && !m_offen)
        scheitern(QStringLiteral("file not open"));
#ifndef Q_OS_WIN
    // Without the sync a power cut right after the rename can leave an empty target.
    if (m_grund.isEmpty() && ::fsync(m_temp.handle()) != 0)
        scheitern(systemGrund(errno));
#endif
    if (m_geraet)
        m_geraet->close();
    if (m_grund.isEmpty()) {
        m_temp.close();
        const QString ziel = QFileInfo(m_ziel).isSymLink() ? QFileInfo(m_ziel).symLinkTarget() : m_ziel;
        if (std::rename(QFile::encodeName(m_temp.fileName()).constData(),
                        QFile::encodeName(ziel).constData()) != 0)
            scheitern(systemGrund(errno));
        else
            m_temp.setAutoRemove(false);
    }
    ergebnis.grund = m_grund;
    return ergebnis;
}

SchreibErgebnis BenutzerDatei::schreiben(const QString &ziel, const QByteArray &inhalt)
{
    BenutzerDatei datei(ziel);
    if (datei.oeffnen())
        datei.schreiben(inhalt);
    return datei.abschliessen();
}
