#include "csvleser.h"

#include <QStringDecoder>

namespace CsvLeser {

QString dekodieren(QByteArray inhalt)
{
    if (inhalt.startsWith("\xEF\xBB\xBF"))
        inhalt.remove(0, 3);
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString ergebnis = utf8(inhalt);
    if (!utf8.hasError())
        return ergebnis;
    // Spreadsheets on many machines save their own code page; its letters agree with Latin-1
    // for every umlaut a teacher types.
    return QString::fromLatin1(inhalt);
}

QChar trennerErkennen(const QString &text)
{
    int semikolon = 0;
    int komma = 0;
    bool inAnfuehrung = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            inAnfuehrung = !inAnfuehrung;
        else if (!inAnfuehrung && (c == QLatin1Char('\n') || c == QLatin1Char('\r'))) {
            if (semikolon + komma > 0)
                break;
        } else if (!inAnfuehrung && c == QLatin1Char(';'))
            ++semikolon;
        else if (!inAnfuehrung && c == QLatin1Char(','))
            ++komma;
    }
    return komma > semikolon ? QLatin1Char(',') : QLatin1Char(';');
}

QList<QStringList> datensaetze(const QString &text, QChar trenner, QList<int> *zeilen)
{
    QList<QStringList> ergebnis;
    QStringList felder;
    QString feld;
    bool inAnfuehrung = false;
    bool feldBegonnen = false;
    int zeile = 1;
    int anfangsZeile = 1;
    const auto datensatzAbschliessen = [&]() {
        felder.append(feld);
        ergebnis.append(felder);
        if (zeilen)
            zeilen->append(anfangsZeile);
        felder.clear();
        feld.clear();
        feldBegonnen = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (inAnfuehrung) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                    feld += c;
                    ++i;
                } else {
                    inAnfuehrung = false;
                }
            } else {
                if (c == QLatin1Char('\n'))
                    ++zeile;
                feld += c;
            }
            continue;
        }
        if (c == QLatin1Char('"') && feld.trimmed().isEmpty()) {
            feld.clear();
            inAnfuehrung = true;
            feldBegonnen = true;
        } else if (c == trenner) {
            felder.append(feld);
            feld.clear();
            feldBegonnen = true;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            if (feldBegonnen || !feld.isEmpty() || !felder.isEmpty())
                datensatzAbschliessen();
            ++zeile;
            anfangsZeile = zeile;
        } else {
            feld += c;
            feldBegonnen = true;
        }
    }
    if (feldBegonnen || !feld.isEmpty() || !felder.isEmpty())
        datensatzAbschliessen();
    return ergebnis;
}

QList<Datensatz> lesen(const QByteArray &inhalt)
{
    const QString text = dekodieren(inhalt);
    QList<int> zeilen;
    const QList<QStringList> saetze = datensaetze(text, trennerErkennen(text), &zeilen);
    QList<Datensatz> ergebnis;
    for (qsizetype n = 0; n < saetze.size(); ++n) {
        QStringList felder = saetze.at(n);
        for (QString &feld : felder)
            feld = feld.trimmed();
        while (!felder.isEmpty() && felder.last().isEmpty())
            felder.removeLast();
        if (!felder.isEmpty())
            ergebnis.append({zeilen.at(n), felder});
    }
    return ergebnis;
}

} // namespace CsvLeser
