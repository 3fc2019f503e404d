#include "csvrangliste.h"

#include "einstellungen.h"
#include "exportfortschritt.h"
#include "schluessel.h"
#include "uhr.h"

using namespace Exportgrundlage;

namespace {

const QLatin1String Zeilenende("\r\n");

} // namespace

csvrangliste::csvrangliste(Dialoge &dialoge, QObject *eltern)
    : csvrangliste(dialoge, Uhr::system(), eltern)
{
}

csvrangliste::csvrangliste(Dialoge &dialoge, const Uhr &uhr, QObject *eltern)
    : QObject(eltern)
    , m_dialoge(dialoge)
    , m_uhr(uhr)
{
}

QString csvrangliste::feld(const QString &text)
{
    const bool quoten = text.contains(QLatin1Char(';')) || text.contains(QLatin1Char('"')) ||
                        text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
    if (!quoten)
        return text;
    QString innen = text;
    innen.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + innen + QLatin1Char('"');
}

QByteArray csvrangliste::inhalt(const Daten &daten, Melder *melder)
{
    const bool en = daten.englisch;
    const int n = daten.anzahlFragen;
    QString text;
    const auto zeile = [&text](const QString &z) {
        text += z;
        text += Zeilenende;
    };

    const QString nr = QString::number(daten.aktuelleFrageNr) + QLatin1Char('/') + QString::number(n);
    zeile(en ? QStringLiteral("Ranking list after ") + nr + QStringLiteral(" questions")
             : QStringLiteral("Rangliste nach ") + nr + QStringLiteral(" Fragen"));
    const QString datum = daten.zeitpunkt.toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    zeile(en ? QStringLiteral("Date/Time: ") + datum
             : QStringLiteral("Datum/Uhrzeit: ") + datum + QStringLiteral(" Uhr"));
    zeile(feld(QStringLiteral("Filename: ") + daten.frageFile));
    // The name column is appended, so a sheet built on the old columns keeps working.
    const bool mitNamen = !daten.namen.istLeer();
    zeile((en ? QStringLiteral("Rank;Device-ID;Response time [s];Points")
              : QStringLiteral("Rang;Geraete-ID;Antwortszeit[s];Punkte")) +
          (mitNamen ? QStringLiteral(";Name") : QString()));
    int rang = 0;
    for (const Person &person : daten.personen) {
        zeile(QString::number(++rang) + QLatin1Char(';') + geraet(daten, person) + QLatin1Char(';') +
              sekunden(person.getAntwortszeit()) + QLatin1Char(';') + QString::number(person.getPunkte()) +
              (mitNamen ? QLatin1Char(';') + feld(name(daten, person)) : QString()));
    }
    zeile({});

    zeile(en ? QStringLiteral("Questions/Answers Evaluation")
             : QStringLiteral("Fragen/Antworten Auswertung"));
    for (int i = 1; i <= n; ++i) {
        const Frage &frage = daten.fragen.at(i - 1);
        zeile((en ? QStringLiteral("Question ") : QStringLiteral("Frage ")) + QString::number(i) +
              QLatin1Char('/') + QString::number(n));
        zeile(feld(frage.text));
        // The first round's columns are appended, so a sheet built on the old columns keeps working.
        const QString ersteRunde = QLatin1Char(' ') + runde(1, en);
        zeile(
            (en ? QStringLiteral("Answers;Percent;Absolute") : QStringLiteral("Antworten;Prozent;Absolut")) +
            (frage.zweiRunden
                 ? (en ? QStringLiteral(";Percent") : QStringLiteral(";Prozent")) + ersteRunde +
                       (en ? QStringLiteral(";Absolute") : QStringLiteral(";Absolut")) + ersteRunde
                 : QString()));
        for (int k = 0; k < 4; ++k) {
            zeile(feld(frage.antworten[k]) + QLatin1Char(';') + QString::number(frage.prozent[k], 'f', 1) +
                  QStringLiteral("%;") + QString::number(frage.anzahl[k]) +
                  (frage.zweiRunden ? QLatin1Char(';') + QString::number(frage.prozentErsteRunde[k], 'f', 1) +
                                          QStringLiteral("%;") + QString::number(frage.anzahlErsteRunde[k])
                                    : QString()));
        }
        // Arrows in plain ASCII: a spreadsheet may read the file in the system's code page.
        if (frage.zweiRunden && !frage.umfrage && frage.loesungsAntwort > 0) {
            const QString pfeil = QStringLiteral(" -> ");
            zeile(wechselText(Wechsel::FalschZuRichtig, en, pfeil) + QLatin1Char(';') +
                  QString::number(frage.falschZuRichtig));
            zeile(wechselText(Wechsel::RichtigZuFalsch, en, pfeil) + QLatin1Char(';') +
                  QString::number(frage.richtigZuFalsch));
        }
        zeile({});
    }
    zeile({});

    // The participant blocks repeat every question's texts once per participant: they are encoded
    // once and copied as bytes.
    const QString kopf =
        en ? QStringLiteral(";Answer;Correct answer") : QStringLiteral(";Antwort;korrekte Antwort");
    struct Stuecke
    {
        QByteArray kopf;
        std::array<QByteArray, 4> antwort; // "text;"
        std::array<QByteArray, 4> loesung; // ";X" or ";", with the line end
    };
    QVector<Stuecke> stuecke;
    stuecke.reserve(n);
    qsizetype proTeilnehmer = 100;
    // A question voted on twice has a column of the first round's answer.
    const QString kopfErsteRunde =
        QLatin1Char(';') + (en ? QStringLiteral("Answer ") : QStringLiteral("Antwort ")) + runde(1, en);
    for (const Frage &frage : daten.fragen) {
        Stuecke s;
        s.kopf =
            (feld(frage.text) + kopf + (frage.zweiRunden ? kopfErsteRunde : QString()) + Zeilenende).toUtf8();
        proTeilnehmer += s.kopf.size() + 2;
        for (int k = 0; k < 4; ++k) {
            s.antwort[k] = (feld(frage.antworten[k]) + QLatin1Char(';')).toUtf8();
            s.loesung[k] = frage.loesungsAntwort == k + 1 ? QByteArray(";X") : QByteArray(";");
            if (!frage.zweiRunden)
                s.loesung[k] += "\r\n";
            proTeilnehmer += s.antwort[k].size() + s.loesung[k].size() + 1;
        }
        stuecke.append(s);
    }

    // No byte-order mark: LibreOffice's import without options (a file opened from the desktop)
    // reads the file in the system's code page and does not take the mark for one, so it only
    // showed up as "ï»¿" before the first cell; with a character set chosen, it reads either.
    QByteArray bytes = text.toUtf8();
    const qsizetype teilnehmer = daten.personen.size();
    bytes.reserve(bytes.size() + teilnehmer * proTeilnehmer);
    for (qsizetype p = 0; p < teilnehmer; ++p) {
        if (melder && !melder->weiter(int(p * 100 / teilnehmer)))
            return {};
        const Person &person = daten.personen.at(p);
        const QVector<int> &knoepfe = daten.knoepfe.at(p);
        text.clear();
        zeile((en ? QStringLiteral("Device-ID: ") : QStringLiteral("Geraete-ID: ")) + geraet(daten, person));
        const QString personName = name(daten, person);
        if (!personName.isEmpty())
            zeile(feld(QStringLiteral("Name: ") + personName));
        zeile((en ? QStringLiteral("Response time: ") : QStringLiteral("Antwortszeit: ")) +
              sekunden(person.getAntwortszeit()) + QStringLiteral(" s"));
        zeile((en ? QStringLiteral("Points: ") : QStringLiteral("Punktzahl: ")) +
              QString::number(person.getPunkte()));
        zeile({});
        bytes += text.toUtf8();
        for (int i = 1; i <= n; ++i) {
            const Stuecke &s = stuecke.at(i - 1);
            const bool zweiRunden = daten.fragen.at(i - 1).zweiRunden;
            bytes += s.kopf;
            for (int k = 0; k < 4; ++k) {
                bytes += s.antwort[k];
                if (knoepfe.at(i) == k + 1)
                    bytes += 'X';
                bytes += s.loesung[k];
                if (zweiRunden)
                    bytes += daten.knoepfeErsteRunde.at(p).at(i) == k + 1 ? ";X\r\n" : ";\r\n";
            }
            const Wechsel w = wechsel(daten, p, i);
            if (w != Wechsel::Keiner)
                bytes += ((en ? QStringLiteral("Changed;") : QStringLiteral("Wechsel;")) +
                          wechselText(w, en, QStringLiteral(" -> ")) + Zeilenende)
                             .toUtf8();
            bytes += "\r\n";
        }
    }
    return bytes;
}

bool csvrangliste::ranglisteExportieren(QList<Person> personen, const Fragenkatalog *katalog,
                                        int anzahlFragen, int aktuelleFrageNr)
{
    const QDateTime jetzt = QDateTime::fromMSecsSinceEpoch(m_uhr.epochMs());
    const QString ziel = zielWaehlen(m_dialoge, QStringLiteral("Export CSV"), QStringLiteral("*.csv"),
                                     Schluessel::FilePathCSVRangliste, QStringLiteral(".csv"),
                                     Einstellungen::istEnglisch(), jetzt);
    if (ziel.isEmpty())
        return false;

    Melder melder(m_fortschritt);
    melder.weiter(0);
    Daten daten = zusammenstellen(std::move(personen), katalog, anzahlFragen, aktuelleFrageNr, jetzt);
    daten.namen = m_namen;
    const QByteArray bytes = inhalt(daten, &melder);
    if (melder.abgebrochen())
        return false;

    if (!dateiSchreiben(m_dialoge, ziel, bytes))
        return false;
    Einstellungen::setzen(Schluessel::FilePathCSVRangliste, ordnerTeil(ziel));
    melder.weiter(100);
    return true;
}
