#pragma once

#include "benutzerdatei.h"

#include <QByteArray>
#include <QDomDocument>
#include <QDomElement>
#include <QString>
#include <QVector>

// The XML question file: an ArrayOfQuestion of Question elements with thirteen fields each.
// Questions are held as the parsed DOM elements themselves, so that anything a file carries
// beyond the known fields (attributes, unknown elements, comments, processing instructions)
// survives a save.
namespace FrageDatei {

// The catalogue and the editor hold at most this many questions.
inline constexpr int MaxFragen = 1000;
// Larger files are refused before parsing: far beyond a thousand questions of any length.
inline constexpr qint64 MaxDateigroesse = qint64(50) * 1024 * 1024;

inline const QString Loesung = QStringLiteral("Solution");
inline const QString Umfrage = QStringLiteral("NoAnswer");
// Optional per question, written only when they differ from their default, so a file that never
// uses them stays as it was and other readers simply ignore them.
// "Runden": 2 lets the class vote a second time after discussing; missing or anything else is 1.
inline const QString Runden = QStringLiteral("Runden");
// "Notizen": the presenter's own notes, never shown to the class.
inline const QString Notizen = QStringLiteral("Notizen");
// Notes are the presenter's reminder, not a document: longer text is cut on reading.
inline constexpr qsizetype MaxNotizen = 10000;

struct LadeErgebnis
{
    enum class Fehler { Keiner, DateiFehlt, NichtLesbar, KeinXml, KeineFragen, ZuGross };

    Fehler fehler = Fehler::Keiner;
    QString grund; // the system's or the parser's own words
    int zeile = 0;
    int spalte = 0;
    // Questions beyond MaxFragen that were left out.
    int weggelassen = 0;
    qint64 groesse = 0; // bytes, known once the file was opened

    QDomDocument dokument;
    QVector<QDomElement> fragen;

    bool ok() const { return fehler == Fehler::Keiner; }
    // Why the file could not be loaded, for the presenter.
    QString beschreibung(bool englisch) const;
    // What the presenter must know about a file that did load (questions left out); else empty. In
    // the language of the installed catalogue, which knows "1 Frage" from "2 Fragen".
    QString hinweis() const;
    // beschreibung() or hinweis() in the interface language; empty when there is nothing to say.
    QString meldung() const;
};

// Reads a question file: every Question element anywhere in the document, in document order, the
// first MaxFragen of them; carriage returns are removed from the text fields (question, answers, notes). The
// tree is only changed in the values of text nodes, never in its shape. A well-formed file without a single
// Question counts as a failure; a file above MaxDateigroesse is refused unread.
LadeErgebnis lesen(const QString &pfad);

// The text of the first child element named `name`; empty when there is none.
QString feld(const QDomNode &frage, const QString &name);
// The same read as a decimal integer; empty or non-numeric text gives 0.
int zahl(const QDomNode &frage, const QString &name);
// How often the class votes on `frage`: 2 for exactly "2" (blanks aside), 1 for anything else.
int runden(const QDomNode &frage);
// The presenter's notes of `frage`, at most MaxNotizen characters; empty when there are none.
QString notizen(const QDomNode &frage);
// The button a solution names: 1 to 4 for exactly "Answer1" to "Answer4", 0 for anything else
// ("NoAnswer", empty, "answer1"), which marks no answer correct.
int richtigerKnopf(const QString &loesung);

// The exact bytes of a question file holding `fragen`.
QByteArray serialisieren(const QVector<QDomElement> &fragen);
// The exact bytes of a new file with one empty survey question.
QByteArray neueDatei();

// Writes through a temporary file (BenutzerDatei), so a full disk or an interrupted write never
// destroys the previous file. On failure logs "Failed to open file for writing." (or the write
// error); the result carries the path and the system's reason, and `fehler`, when given,
// receives the message for the presenter.
// A question listed together with a Question element around it is written only as part of
// that one, so a file with nested questions reads back as it was read.
SchreibErgebnis schreiben(const QString &pfad, const QVector<QDomElement> &fragen, QString *fehler = nullptr);
SchreibErgebnis neueDateiSchreiben(const QString &pfad, QString *fehler = nullptr);

} // namespace FrageDatei
