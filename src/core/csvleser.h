#pragma once

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

// Reading the CSV files teachers save from spreadsheets: UTF-8 with or without BOM (a Latin-1 code
// page is read too), ";" or "," as separator, RFC 4180 quotes that may hold separators, doubled
// quotes and line breaks.
namespace CsvLeser {

QString dekodieren(QByteArray inhalt);
// Whichever of ";" and "," the first line uses more often outside quotes.
QChar trennerErkennen(const QString &text);
// The records with their fields; `zeilen` receives the line number each record starts on.
QList<QStringList> datensaetze(const QString &text, QChar trenner, QList<int> *zeilen = nullptr);

// A record as a spreadsheet user means it: fields trimmed, empty trailing fields dropped.
struct Datensatz
{
    int zeile = 0;
    QStringList felder;
};
// The file's bytes as records; records with nothing in them are left out.
QList<Datensatz> lesen(const QByteArray &inhalt);

} // namespace CsvLeser
