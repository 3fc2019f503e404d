#include "fragenimport.h"

#include "csvleser.h"
#include "fremdtext.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace FragenImport {

namespace {

constexpr int MaxFragen = 1000;
// A spreadsheet of questions is small; anything this big is the wrong file.
constexpr qint64 MaxGroesse = 10 * 1024 * 1024;

// A cell as a question file holds it: a line break within the cell (quoted, or the vertical tab
// spreadsheets write) becomes a blank, since answers are one line; what XML cannot hold goes.
QString zelle(QString feld)
{
    feld.replace(QLatin1String("\r\n"), QLatin1String(" "));
    feld.replace(QLatin1Char('\r'), QLatin1Char(' '));
    feld.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return FremdText::saeubern(feld).trimmed();
}

bool istLoesung(const QString &feld)
{
    return feld.isEmpty() || (feld.size() == 1 && QStringLiteral("ABCDabcd").contains(feld.at(0)));
}

bool istZahl(const QString &feld)
{
    bool ok = false;
    feld.toInt(&ok);
    return ok;
}

bool istKopfzeile(const QStringList &felder)
{
    static const QStringList Woerter{QStringLiteral("frage"), QStringLiteral("fragetext"),
                                     QStringLiteral("question"), QStringLiteral("questiontext")};
    if (Woerter.contains(felder.value(0).toLower()))
        return true;
    if (!istLoesung(felder.value(5)))
        return true;
    for (int i : {6, 7}) {
        if (!felder.value(i).isEmpty() && !istZahl(felder.value(i)))
            return true;
    }
    return false;
}

} // namespace

QDomElement frageElement(QDomDocument &dokument, const QStringList &texte, const QString &loesung, int zeit,
                         int punkte, const QStringList &bilder)
{
    QDomElement frage = dokument.createElement(QStringLiteral("Question"));
    const auto feld = [&](const QString &name, const QString &wert) {
        QDomElement element = dokument.createElement(name);
        if (!wert.isEmpty())
            element.appendChild(dokument.createTextNode(wert));
        frage.appendChild(element);
    };
    feld(QStringLiteral("QuestionText"), texte.value(0));
    for (int i = 1; i <= 4; ++i)
        feld(QStringLiteral("Answer%1").arg(i), texte.value(i));
    feld(QStringLiteral("PictureQuestionText"), bilder.value(0));
    for (int i = 1; i <= 4; ++i)
        feld(QStringLiteral("PictureAnswer%1").arg(i), bilder.value(i));
    feld(QStringLiteral("AnswerDelay"), QStringLiteral("0"));
    feld(QStringLiteral("Solution"), loesung);
    feld(QStringLiteral("Time"), QString::number(zeit));
    feld(QStringLiteral("Points"), QString::number(punkte));
    return frage;
}

QString keinText(const QByteArray &inhalt, bool englisch)
{
    // The first part decides, as it does for the format; a text file of questions is small anyway.
    const QByteArray anfang = inhalt.left(256 * 1024).sliced(inhalt.startsWith("\xEF\xBB\xBF") ? 3 : 0);
    if (anfang.trimmed().isEmpty())
        return text(englisch, "Die Datei ist leer.", "The file is empty.");
    qsizetype steuer = 0;
    qsizetype hoch = 0;
    for (const char z : anfang) {
        const auto b = static_cast<unsigned char>(z);
        if (b == 0)
            return text(englisch, "Die Datei ist keine Textdatei.", "The file is not a text file.");
        // Tab, line breaks, vertical tab and form feed are in texts; the other controls are not.
        if ((b < 0x20 && (b < 0x09 || b > 0x0D)) || b == 0x7F)
            ++steuer;
        hoch += b >= 0x80;
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    (void)utf8(anfang); // a letter cut at the end of the part is no error: the decoder waits for it
    // A text in a legacy code page has a letter above ASCII here and there, not every other byte.
    const bool fremdeKodierung = utf8.hasError() && hoch * 3 > anfang.size();
    if (fremdeKodierung || (steuer > 1 && steuer * 50 > anfang.size()))
        return text(englisch, "Die Datei ist keine Textdatei.", "The file is not a text file.");
    return {};
}

Ergebnis lesenAus(const QByteArray &inhalt, bool englisch)
{
    Ergebnis ergebnis;
    ergebnis.lesefehler = keinText(inhalt, englisch);
    if (!ergebnis.lesefehler.isEmpty())
        return ergebnis;
    ergebnis.dokument = QDomDocument(QStringLiteral("ArrayOfQuestion"));
    bool ersterSatz = true;
    int ueberzaehligAb = 0;

    for (CsvLeser::Datensatz &satz : CsvLeser::lesen(inhalt)) {
        for (QString &feld : satz.felder)
            feld = zelle(feld);
        const QStringList &felder = satz.felder;
        const int zeile = satz.zeile;
        if (ersterSatz) {
            ersterSatz = false;
            if (istKopfzeile(felder))
                continue;
        }
        const auto fehler = [&](const QString &grund) {
            ergebnis.fehler.append((englisch ? QStringLiteral("Line %1: %2") : QStringLiteral("Zeile %1: %2"))
                                       .arg(zeile)
                                       .arg(grund));
        };

        if (felder.size() > 8) {
            fehler(text(englisch, "mehr als 8 Spalten", "more than 8 columns"));
            continue;
        }
        if (felder.value(0).isEmpty()) {
            fehler(text(englisch, "der Fragetext fehlt", "the question text is missing"));
            continue;
        }
        if (felder.value(1).isEmpty() || felder.value(2).isEmpty()) {
            fehler(text(englisch, "Antwort A und B müssen ausgefüllt sein",
                        "answers A and B must be filled in"));
            continue;
        }
        const QString loesungsFeld = felder.value(5);
        if (!istLoesung(loesungsFeld)) {
            fehler(text(englisch, "die Lösung muss A, B, C, D oder leer (Umfrage) sein",
                        "the solution must be A, B, C, D or empty (survey)"));
            continue;
        }
        QString loesung = QStringLiteral("NoAnswer");
        if (!loesungsFeld.isEmpty()) {
            const int knopf = loesungsFeld.at(0).toUpper().unicode() - u'A' + 1;
            if (felder.value(knopf).isEmpty()) {
                fehler(text(englisch, "die Lösung zeigt auf eine leere Antwort",
                            "the solution names an empty answer"));
                continue;
            }
            loesung = QStringLiteral("Answer%1").arg(knopf);
        }
        bool ok = true;
        const int zeit = felder.value(6).isEmpty() ? 15 : felder.value(6).toInt(&ok);
        if (!ok || zeit < 1 || zeit > 3600) {
            fehler(text(englisch, "die Zeit muss eine ganze Zahl von 1 bis 3600 Sekunden sein",
                        "the time must be a whole number from 1 to 3600 seconds"));
            continue;
        }
        const int punkte = felder.value(7).isEmpty() ? 1 : felder.value(7).toInt(&ok);
        if (!ok || punkte < 0 || punkte > 1000) {
            fehler(text(englisch, "die Punkte müssen eine ganze Zahl von 0 bis 1000 sein",
                        "the points must be a whole number from 0 to 1000"));
            continue;
        }
        if (ergebnis.fragen.size() >= MaxFragen) {
            if (ueberzaehligAb == 0)
                ueberzaehligAb = zeile;
            continue;
        }
        ergebnis.fragen.append(frageElement(ergebnis.dokument, felder, loesung, zeit, punkte));
    }
    if (ueberzaehligAb > 0)
        ergebnis.fehler.append(
            (englisch ? QStringLiteral("Line %1 and after: a question file holds at most %2 questions")
                      : QStringLiteral("Zeile %1 und folgende: eine Fragedatei fasst höchstens %2 Fragen"))
                .arg(ueberzaehligAb)
                .arg(MaxFragen));
    return ergebnis;
}

Ergebnis lesen(const QString &pfad, bool englisch)
{
    QFile datei(pfad);
    const QFileInfo info(pfad);
    Ergebnis ergebnis;
    if (!info.isFile()) {
        ergebnis.lesefehler = text(englisch, "Die Datei existiert nicht.", "The file does not exist.");
        return ergebnis;
    }
    if (!datei.open(QIODevice::ReadOnly)) {
        ergebnis.lesefehler = datei.errorString();
        return ergebnis;
    }
    // Judged by what is read, not by the size the file had a moment before: it may grow meanwhile.
    const QByteArray inhalt = datei.read(MaxGroesse + 1);
    if (inhalt.size() > MaxGroesse) {
        ergebnis.lesefehler = text(englisch, "Die Datei ist zu groß für eine Fragenliste (über 10 MB).",
                                   "The file is too large for a list of questions (over 10 MB).");
        return ergebnis;
    }
    return lesenAus(inhalt, englisch);
}

QString zielPfad(const QString &csvPfad)
{
    const QFileInfo info(csvPfad);
    const QString basis = info.absolutePath() + QLatin1Char('/') + info.completeBaseName();
    QString pfad = basis + QStringLiteral(".xml");
    for (int n = 2; QFileInfo::exists(pfad); ++n)
        pfad = basis + QStringLiteral(" (%1).xml").arg(n);
    return pfad;
}

QString text(bool englisch, const char *deutsch, const char *english)
{
    return QString::fromUtf8(englisch ? english : deutsch);
}

} // namespace FragenImport
