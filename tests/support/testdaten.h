#pragma once

#include <QFile>
#include <QString>
#include <QStringList>

// Builds question files for tests.
namespace Testdaten {

struct Frage
{
    QString text = QStringLiteral("Frage");
    QStringList antworten{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")};
    QString loesung = QStringLiteral("Answer1");
    QString zeit = QStringLiteral("15");
    QString punkte = QStringLiteral("1");
    QString verzoegerung = QStringLiteral("0");
    QStringList bilder; // question picture, then answers 1–4
};

inline QString xmlText(QString text)
{
    return text.replace(QLatin1Char('&'), QLatin1String("&amp;"))
        .replace(QLatin1Char('<'), QLatin1String("&lt;"));
}

inline QByteArray dokument(const QList<Frage> &fragen)
{
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<ArrayOfQuestion>\n");
    for (const Frage &f : fragen) {
        xml += QStringLiteral("<Question><QuestionText>%1</QuestionText>").arg(xmlText(f.text));
        for (int i = 0; i < 4; ++i)
            xml += QStringLiteral("<Answer%1>%2</Answer%1>").arg(i + 1).arg(xmlText(f.antworten.value(i)));
        xml += QStringLiteral("<PictureQuestionText>%1</PictureQuestionText>").arg(f.bilder.value(0));
        for (int i = 0; i < 4; ++i)
            xml +=
                QStringLiteral("<PictureAnswer%1>%2</PictureAnswer%1>").arg(i + 1).arg(f.bilder.value(i + 1));
        xml += QStringLiteral("<AnswerDelay>%1</AnswerDelay><Solution>%2</Solution><Time>%3</Time>"
                              "<Points>%4</Points></Question>\n")
                   .arg(f.verzoegerung, f.loesung, f.zeit, f.punkte);
    }
    xml += QStringLiteral("</ArrayOfQuestion>");
    return xml.toUtf8();
}

// Question i of `anzahl`: "Fi", answers "Ai" to "Di", time 10 + i, points and solution running
// through 1 to 4.
inline QList<Frage> fragen(int anzahl)
{
    QList<Frage> liste;
    for (int i = 1; i <= anzahl; ++i) {
        const int reihum = 1 + (i - 1) % 4;
        liste.append({QStringLiteral("F%1").arg(i),
                      {QStringLiteral("A%1").arg(i), QStringLiteral("B%1").arg(i),
                       QStringLiteral("C%1").arg(i), QStringLiteral("D%1").arg(i)},
                      QStringLiteral("Answer%1").arg(reihum),
                      QString::number(10 + i),
                      QString::number(reihum),
                      QStringLiteral("0"),
                      {}});
    }
    return liste;
}

inline bool schreiben(const QString &pfad, const QByteArray &inhalt)
{
    QFile datei(pfad);
    return datei.open(QIODevice::WriteOnly) && datei.write(inhalt) == inhalt.size();
}

// The file's bytes; empty when it cannot be read.
inline QByteArray lesen(const QString &pfad)
{
    QFile datei(pfad);
    return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray();
}

inline bool schreiben(const QString &pfad, const QList<Frage> &fragen)
{
    return schreiben(pfad, dokument(fragen));
}

} // namespace Testdaten
