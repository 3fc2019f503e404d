#pragma once

#include "benutzerdatei.h"
#include "fragenimport.h"

#include <QByteArray>
#include <QDomDocument>
#include <QDomElement>
#include <QString>
#include <QVector>

#include <array>

// Question banks of the learning platforms (their XML format, GIFT, Aiken): read into questions
// of this program, with a report of what was left out and why, and written as a question file.
namespace Fremdformat {

enum class Format { Unbekannt, Tabelle, MoodleXml, Gift, Aiken, FrageDatei };

// By content, not by name: teachers' files carry ".txt" for all the text formats.
Format erkennen(const QByteArray &inhalt);

struct Bild
{
    QString name; // a bare file name, checked
    QByteArray daten;
    bool isEmpty() const { return daten.isEmpty(); }
};

// One question as the file gave it, its texts already as a question file holds them.
struct Frage
{
    QString text;
    QStringList antworten; // two to four
    int richtig = 0;       // 1 to 4; 0 for a survey question
    int punkte = 1;
    std::array<Bild, 5> bilder; // the question's, then answers A to D
};

struct Ergebnis
{
    QVector<Frage> fragen;
    // "Frage 12 (6 Antworten, höchstens 4)", "Frage 8 (Typ Freitext)", in the language asked for.
    QStringList uebersprungen;
    // Set when the file as a whole cannot be read; then there are no questions.
    QString fehler;

    // "37 Fragen übernommen, 4 übersprungen: Frage 12 (…), …"; with `hoechstens`, only
    // that many of the skipped ones are named and the rest counted.
    QString bericht(bool englisch, int hoechstens = -1) const;
};

// Takes `frage` when this program can present it, else lists it with the reason: more than four
// answers, fewer than two, several correct ones (`richtige` counts them), no text.
void aufnehmen(Ergebnis &ergebnis, Frage frage, int richtige, int nummer, bool englisch);
// Lists a question of a kind this program cannot present ("essay", "matching", …).
void typUeberspringen(Ergebnis &ergebnis, const QString &typ, int nummer, bool englisch);

// A file's picture, when its name and its first bytes say it is one the pages can show.
Bild bild(const QString &name, const QByteArray &daten);

// Texts of the reports; `englisch` picks the language.
using FragenImport::text;
QString uebersprungen(bool englisch, int nummer, const QString &grund);
QString zeilenGrund(bool englisch, int zeile, const QString &grund);

// Reads any supported file (up to the question file's size limit, with the question reader's
// messages); a CSV file goes to the spreadsheet import instead and gives `Format::Tabelle`.
Ergebnis lesen(const QString &pfad, bool englisch, Format *format = nullptr);
Ergebnis lesenAus(const QByteArray &inhalt, Format format, bool englisch);

// The questions as elements of `dokument`; a question's pictures are named by `bildpfade`
// (the stored path for each of its five pictures, empty for none).
QVector<QDomElement> alsElemente(QDomDocument &dokument, const QVector<Frage> &fragen,
                                 const QVector<std::array<QString, 5>> &bildpfade = {});

// Writes the pictures beside `ziel` (never over a different file) and then the question file.
// Nothing is written when there is no question. `fehler` receives the message for the presenter.
SchreibErgebnis uebernehmen(const Ergebnis &ergebnis, const QString &ziel, QString *fehler = nullptr);

// The command line's conversion: reads `quelle` in any format the import takes (a spreadsheet
// too) and writes its questions as a new question file `ziel`, never over an existing file.
// Returns the report for the terminal and whether a question file was written.
bool umwandeln(const QString &quelle, const QString &ziel, bool englisch, QString *bericht);

// An export of a question file to a learning platform's format, and what the format had no place
// for, said so the teacher does not find out on the platform.
struct Export
{
    SchreibErgebnis geschrieben;
    QStringList verloren;
};
// GIFT for "*.gift" and "*.txt", the XML format otherwise; `frageDatei` resolves the pictures.
Export exportieren(const QVector<QDomElement> &fragen, const QString &frageDatei, const QString &ziel,
                   bool englisch);

// Time, points and delay of a question that brings none: those of a new question in the editor.
inline constexpr int StandardZeit = 15;
inline constexpr int StandardPunkte = 1;
inline constexpr int StandardVerzoegerung = 0;

} // namespace Fremdformat
