#pragma once

#include "namensliste.h"
#include "person.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVector>

#include <array>

class Dialoge;
class ExportFortschritt;
class Fragenkatalog;
class QSaveFile;

// What the PDF and the CSV export share: the data of one export, the file name rules and the
// failure messages.
namespace Exportgrundlage {

// One question as the exports print it.
struct Frage
{
    QString text;
    std::array<QString, 4> antworten;
    QString loesung;
    // Survey question: counted, never scored.
    bool umfrage = false;
    // The answer "Solution" names (1 to 4), 0 when it names none.
    int loesungsAntwort = 0;
    // Participants whose record holds button 1 to 4, and their shares.
    std::array<int, 4> anzahl{};
    std::array<double, 4> prozent{};
    // Voted on twice (someone pressed in a first round, set aside when the question was asked
    // again): the first round's counts and shares, and how many went from a wrong answer to the
    // right one and back between the rounds. What is above is the second round.
    bool zweiRunden = false;
    std::array<int, 4> anzahlErsteRunde{};
    std::array<double, 4> prozentErsteRunde{};
    int falschZuRichtig = 0;
    int richtigZuFalsch = 0;
};

// How a participant's answer changed between the two rounds of a question.
enum class Wechsel { Keiner, FalschZuRichtig, RichtigZuFalsch };

struct Daten
{
    // In rank order, totals computed.
    QList<Person> personen;
    // Per participant (same order) the stored button of question i at index i; 0 = none.
    QVector<QVector<int>> knoepfe;
    // The same for the first round; empty when no question was voted on twice.
    QVector<QVector<int>> knoepfeErsteRunde;
    // Some question was voted on twice. Without, every export is as it was before second rounds.
    bool zweiRunden = false;
    QVector<Frage> fragen; // question i at index i - 1
    int anzahlFragen = 0;
    int aktuelleFrageNr = 0;
    bool englisch = false;
    bool konferenzmodus = false;
    // Handsets are named with their class set: in conference mode, and whenever handsets of more
    // than one class set took part (handset 21 of two classes are two participants).
    bool klassensatzZeigen = false;
    QString frageFile;
    QDateTime zeitpunkt;
    // The participants' names; empty when the teacher keeps no roster. Without one the exports
    // stay exactly as they were before names existed.
    Namensliste namen;
};

// Ranks the participants and reads the questions 1 to `anzahlFragen` and the settings the exports
// print. `katalog` may be null: the questions are then empty.
Daten zusammenstellen(QList<Person> personen, const Fragenkatalog *katalog, int anzahlFragen,
                      int aktuelleFrageNr, const QDateTime &zeitpunkt);

// A change only between a press in each round of a question with a solution.
Wechsel wechsel(const Frage &frage, int ersteRunde, int zweiteRunde);
// Of participant `p` (index into `personen`) in question `i`.
Wechsel wechsel(const Daten &daten, qsizetype p, int i);
// "falsch → richtig", "wrong → right"; empty for no change. `pfeil` stands between the words.
QString wechselText(Wechsel wechsel, bool englisch, const QString &pfeil = QStringLiteral(" \u2192 "));
// "1. Runde", "Round 1"
QString runde(int nr, bool englisch);

// Milliseconds as seconds with two decimals and a point.
QString sekunden(double ms);
// The roster's name for a participant; empty when there is none.
QString name(const Daten &daten, const Person &person);
// The device column of the ranking and the heading of a participant's page.
QString geraet(const Daten &daten, const Person &person);

// "<ordner>PlenaroEvaluation_2024_03_05_142509" (German "PlenaroAuswertung_…").
QString vorschlag(const QString &ordner, bool englisch, const QDateTime &zeitpunkt);
// The name with its last component removed, keeping the separator.
QString ordnerTeil(const QString &name);
// A name without a suffix gets `endung` (".pdf"); one with a suffix of its own stays as it is.
QString mitEndung(const QString &name, const QString &endung);

// Asks for the target through the save dialog. Empty when cancelled; otherwise the name with its
// suffix rule applied.
QString zielWaehlen(Dialoge &dialoge, const QString &titel, const QString &filter,
                    const QString &ordnerSchluessel, const QString &endung, bool englisch,
                    const QDateTime &zeitpunkt);

// Reports that `pfad` could not be written, with the system's reason.
void fehlerMelden(Dialoge &dialoge, const QString &pfad, const QString &grund);

// Flushes and renames the finished file over the target. False, with the reason in `grund`,
// when any write, the flush or the rename failed; the target then stays as it was.
bool abschliessen(QSaveFile &datei, QString &grund);

// Writes `bytes` to `ziel` through a temporary file. False when it failed; the failure is then
// reported and the target stays as it was.
bool dateiSchreiben(Dialoge &dialoge, const QString &ziel, const QByteArray &bytes);

// Passes progress on only when the percentage grows, so a dialog is not flooded.
class Melder final
{
public:
    explicit Melder(ExportFortschritt *fortschritt)
        : m_fortschritt(fortschritt)
    {
    }
    // False when the export is to stop.
    bool weiter(int prozent);
    bool abgebrochen() const { return m_abgebrochen; }

private:
    ExportFortschritt *m_fortschritt;
    int m_zuletzt = -1;
    bool m_abgebrochen = false;
};

} // namespace Exportgrundlage
