#pragma once

#include "dialogrekorder.h"
#include "exportfortschritt.h"
#include "fragenkatalog.h"
#include "person.h"
#include "testdaten.h"
#include "testuhr.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <sys/resource.h>

#include <csignal>
#include <ctime>

namespace Exporttest {

// One answer record of a participant: button, points, time in ms, evaluated or not (surveys and
// presses before the first question are not).
struct Antwort
{
    int frageNr;
    int knopf;
    int punkte = 0;
    double ms = 0.0;
    bool ausgewertet = true;
};

inline Person teilnehmer(uint buzzer, uint klassensatz, const QList<Antwort> &antworten)
{
    Person person(buzzer, klassensatz);
    for (const Antwort &a : antworten) {
        AntwortDerPerson &antwort = person.getAntwortDerFrage(a.frageNr);
        antwort.setAntwort(a.knopf);
        antwort.setPunkte(a.punkte);
        antwort.setAntwortszeit(a.ms);
        antwort.setAusgewertet(a.ausgewertet);
    }
    return person;
}

// Loads `fragen` into `katalog` through a question file in `ordner`.
inline bool laden(Fragenkatalog &katalog, const QTemporaryDir &ordner, const QList<Testdaten::Frage> &fragen)
{
    const QString pfad = ordner.filePath(QStringLiteral("fragen.xml"));
    return Testdaten::schreiben(pfad, fragen) && katalog.ladeFragen(pfad).ok();
}

inline Testdaten::Frage frage(const QString &text, const QStringList &antworten, const QString &loesung,
                              const QString &punkte = QStringLiteral("1"))
{
    Testdaten::Frage f;
    f.text = text;
    f.antworten = antworten;
    f.loesung = loesung;
    f.punkte = punkte;
    return f;
}

inline QByteArray lesen(const QString &pfad)
{
    QFile datei(pfad);
    return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray("<missing>");
}

// The date lines and file names depend on local time; the expected files are in UTC.
inline void zeitzoneUtc()
{
    qputenv("TZ", "UTC");
    tzset();
}

// TestUhr's epoch starts at 2023-11-14 22:13:20 UTC.
inline const QString Zeitstempel = QStringLiteral("2023_11_14_221320");

// Cancels when the export has reached `bei` percent; remembers what it was told.
class AbbrechenderFortschritt final : public ExportFortschritt
{
public:
    explicit AbbrechenderFortschritt(int bei)
        : m_bei(bei)
    {
    }
    bool weiter(int prozent) override
    {
        if (!prozente.isEmpty() && prozent < prozente.last())
            rueckwaerts = true;
        prozente.append(prozent);
        return prozent < m_bei;
    }
    QList<int> prozente;
    bool rueckwaerts = false;

private:
    int m_bei;
};

// Lowers the file size limit of this process while it lives, so writes beyond `bytes` fail with
// EFBIG as on a full disk. Running as root, permissions cannot provoke a failed write.
class DateiGroessenGrenze final
{
public:
    explicit DateiGroessenGrenze(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_vorher);
        m_signal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit grenze = m_vorher;
        grenze.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &grenze);
    }
    ~DateiGroessenGrenze()
    {
        setrlimit(RLIMIT_FSIZE, &m_vorher);
        std::signal(SIGXFSZ, m_signal);
    }
    DateiGroessenGrenze(const DateiGroessenGrenze &) = delete;
    DateiGroessenGrenze &operator=(const DateiGroessenGrenze &) = delete;

private:
    rlimit m_vorher{};
    void (*m_signal)(int) = nullptr;
};

// Files in `ordner`, for checking that nothing was left behind.
inline QStringList dateien(const QString &ordner)
{
    return QDir(ordner).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// LibreOffice's program, empty where it is not installed.
inline QString libreOffice()
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    return soffice.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("libreoffice")) : soffice;
}

// Converts `dateien` into `ordner` in one run of LibreOffice without a screen: `importFilter` as
// --infilter takes it (empty: the file type's default), `ziel` as --convert-to takes it. Its
// profile and temporary files go to a folder of its own that is thrown away afterwards, so no
// other instance and no earlier choice takes part.
inline bool libreOfficeUmwandeln(const QString &soffice, const QStringList &dateien,
                                 const QString &importFilter, const QString &ziel, const QString &ordner)
{
    const QTemporaryDir profil;
    QStringList argumente{QStringLiteral("-env:UserInstallation=") +
                              QUrl::fromLocalFile(profil.path()).toString(),
                          QStringLiteral("--headless"), QStringLiteral("--norestore")};
    if (!importFilter.isEmpty())
        argumente.append(QStringLiteral("--infilter=") + importFilter);
    argumente << QStringLiteral("--convert-to") << ziel << QStringLiteral("--outdir") << ordner << dateien;
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert(QStringLiteral("TMPDIR"), profil.path());
    QProcess prozess;
    prozess.setProcessEnvironment(umgebung);
    prozess.setProcessChannelMode(QProcess::MergedChannels);
    prozess.start(soffice, argumente);
    const bool fertig = prozess.waitForFinished(90000);
    if (!fertig) {
        prozess.kill();
        prozess.waitForFinished();
    }
    if (!fertig || prozess.exitStatus() != QProcess::NormalExit || prozess.exitCode() != 0) {
        qWarning("%s %s: %s", qPrintable(soffice), qPrintable(argumente.join(QLatin1Char(' '))),
                 fertig ? prozess.readAll().constData() : "no answer within 90 s");
        return false;
    }
    return true;
}

} // namespace Exporttest
