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
