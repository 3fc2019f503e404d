#pragma once

#include <QByteArray>
#include <QDomDocument>
#include <QDomElement>
#include <QString>
#include <QVector>

// The XML question file: an ArrayOfQuestion of Question elements with thirteen fields each.
// Questions are held as the parsed DOM elements themselves, so that anything a file carries
// beyond the known fields (attributes, unknown elements) survives a save.
namespace FrageDatei {

// The catalogue and the editor hold at most this many questions.
inline constexpr int MaxFragen = 1000;

inline const QString Loesung = QStringLiteral("Solution");
inline const QString Umfrage = QStringLiteral("NoAnswer");

struct LadeErgebnis
{
    enum class Fehler { Keiner, DateiFehlt, NichtLesbar, KeinXml, KeineFragen };

    Fehler fehler = Fehler::Keiner;
    QString grund; // the system's or the parser's own words
    int zeile = 0;
    int spalte = 0;
    // Questions beyond MaxFragen that were left out.
    int weggelassen = 0;

    QDomDocument dokument;
    QVector<QDomElement> fragen;

    bool ok() const { return fehler == Fehler::Keiner; }
    // Why the file could not be loaded, for the presenter.
    QString beschreibung(bool englisch) const;
};

// Reads a question file: every Question element anywhere in the document, in document order, the
// first MaxFragen of them; carriage returns are removed from the five text fields.
// A well-formed file without a single Question counts as a failure.
LadeErgebnis lesen(const QString &pfad);

// The text of the first child element named `name`; empty when there is none.
QString feld(const QDomNode &frage, const QString &name);
// The same read as a decimal integer; empty or non-numeric text gives 0.
int zahl(const QDomNode &frage, const QString &name);
// The button a solution names: 1 to 4 for exactly "Answer1" to "Answer4", 0 for anything else
// ("NoAnswer", empty, "answer1"), which marks no answer correct.
int richtigerKnopf(const QString &loesung);

// The exact bytes of a question file holding `fragen`.
QByteArray serialisieren(const QVector<QDomElement> &fragen);
// The exact bytes of a new file with one empty survey question.
QByteArray neueDatei();

// Writes through a temporary file, so a failed or interrupted write never destroys the previous
// file. On failure logs "Failed to open file for writing." (or the write error) and returns false
// with the reason in `fehler`.
bool schreiben(const QString &pfad, const QVector<QDomElement> &fragen, QString *fehler = nullptr);
bool neueDateiSchreiben(const QString &pfad, QString *fehler = nullptr);

} // namespace FrageDatei
