#pragma once

#include <QDomDocument>
#include <QDomElement>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

// Questions from a spreadsheet: a CSV file with one question per line,
//   question; answer 1; answer 2; answer 3; answer 4; solution (A–D, empty for a survey);
//   time in seconds (optional); points (optional)
// in UTF-8 (with or without BOM), separated by ";" or ",", quoted fields allowed, a header line
// recognised and skipped. Bad lines are reported with their line number and left out.
namespace FragenImport {

struct Ergebnis
{
    // The document owning the question elements; they are ready for FrageDatei::schreiben.
    QDomDocument dokument;
    QVector<QDomElement> fragen;
    // "Zeile 7: …" / "Line 7: …", in the language of the interface.
    QStringList fehler;
    // Set when the file could not be read at all (or is no text); then there are no questions.
    QString lesefehler;
};

// Why `inhalt` cannot be a file of questions at all ("Die Datei ist leer.", "Die Datei ist keine
// Textdatei."): empty, or NUL bytes, many control characters or bytes in no text encoding in its
// first part. Empty when it may be text (UTF-8, or a legacy code page as spreadsheets save).
QString keinText(const QByteArray &inhalt, bool englisch);

// A text of the import's reports in the language asked for.
QString text(bool englisch, const char *deutsch, const char *english);

// Reads and checks the lines of `inhalt`; `englisch` picks the language of the messages.
Ergebnis lesenAus(const QByteArray &inhalt, bool englisch);
Ergebnis lesen(const QString &pfad, bool englisch);

// A question as a new file holds it: `texte` are the question and answers A to D, `bilder` the
// stored paths of the question's picture and the answers' (missing ones empty).
QDomElement frageElement(QDomDocument &dokument, const QStringList &texte, const QString &loesung, int zeit,
                         int punkte, const QStringList &bilder = {});

// The question file written for `csvPfad`: the same name with ".xml" beside it; " (2)", " (3)" …
// when that name is taken, so an import never overwrites a file.
QString zielPfad(const QString &csvPfad);

} // namespace FragenImport
