#pragma once

#include "dialogrekorder.h"
#include "einstellungen.h"
#include "exportfortschritt.h"
#include "fragenkatalog.h"
#include "person.h"
#include "schluessel.h"
#include "testdaten.h"
#include "testeinstellungen.h"
#include "testuhr.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

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

inline Testdaten::Frage frage(const QString &text, const QStringList &antworten, const QString &loesung,
                              const QString &punkte = QStringLiteral("1"))
{
    return {text, antworten, loesung, QStringLiteral("15"), punkte, QStringLiteral("0"), {}};
}

// Question 1 has three answers and answer 2 is right, 2 is a survey, 3 has answer 4 right.
inline QList<Testdaten::Frage> erdkunde()
{
    return {frage("Capital of Switzerland?", {"Zurich", "Bern", "Geneva", {}}, "Answer2", "2"),
            frage("Favourite colour?", {"Red", "Green", "Blue", "Yellow"}, "NoAnswer"),
            frage("2 + 2?", {"3", "5", "22", "4"}, "Answer4")};
}

using Testdaten::lesen;

// Files in `ordner`, hidden ones too, for checking that nothing was left behind.
inline QStringList dateien(const QString &ordner)
{
    return QDir(ordner).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// TestUhr's epoch starts at 2023-11-14 22:13:20 UTC.
inline const QString Zeitstempel = QStringLiteral("2023_11_14_221320");

// What every export test stands on: settings in a temporary folder, a folder for the files, the
// dialog recorder, the hand-driven clock, a catalogue, and local time in UTC (the date lines and
// file names of the expected files are).
struct Umgebung
{
    TestEinstellungen einstellungen;
    QTemporaryDir ordner;
    DialogRekorder dialoge;
    TestUhr uhr;
    Fragenkatalog katalog{dialoge};

    Umgebung()
    {
        qputenv("TZ", "UTC");
        tzset();
        Einstellungen::setzen(Schluessel::FrageFile, QStringLiteral("/home/lehrer/Fragen/quiz.xml"));
    }
    QString ziel(const QString &name) const { return ordner.filePath(name); }
    // Loads `fragen` through a question file in the folder.
    bool laden(const QList<Testdaten::Frage> &fragen)
    {
        const QString pfad = ziel(QStringLiteral("fragen.xml"));
        return Testdaten::schreiben(pfad, fragen) && katalog.ladeFragen(pfad).ok();
    }
};

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
        rueckwaerts = rueckwaerts || (!prozente.isEmpty() && prozent < prozente.last());
        prozente.append(prozent);
        return prozent < m_bei;
    }
    QList<int> prozente;
    bool rueckwaerts = false;

private:
    int m_bei;
};

// LibreOffice's program, empty where it is not installed.
inline QString libreOffice()
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    return soffice.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("libreoffice")) : soffice;
}

// Converts `dateien` into `ordner` in one headless run, `ziel` as --convert-to takes it. A profile
// of its own, thrown away afterwards, keeps other instances and earlier choices out.
inline bool libreOfficeUmwandeln(const QString &soffice, const QStringList &dateien, const QString &ziel,
                                 const QString &ordner)
{
    const QTemporaryDir profil;
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert("TMPDIR", profil.path());
    QProcess prozess;
    prozess.setProcessEnvironment(umgebung);
    prozess.setProcessChannelMode(QProcess::MergedChannels);
    prozess.start(soffice,
                  QStringList{"-env:UserInstallation=" + QUrl::fromLocalFile(profil.path()).toString(),
                              "--headless", "--norestore", "--convert-to", ziel, "--outdir", ordner} +
                      dateien);
    if (prozess.waitForFinished(90000) && prozess.exitStatus() == QProcess::NormalExit &&
        prozess.exitCode() == 0)
        return true;
    prozess.kill();
    prozess.waitForFinished();
    qWarning("%s: %s", qPrintable(soffice), prozess.readAll().constData());
    return false;
}

} // namespace Exporttest
