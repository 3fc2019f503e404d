// What the benchmarks share: seams that stay silent, the figures they print, and a question file
// as teachers write them.
#pragma once

#include "dialoge.h"
#include "klang.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <algorithm>
#include <cmath>

namespace Messhilfen {

// Answers every question the program would ask a presenter without a box.
class StilleDialoge final : public Dialoge
{
public:
    void hinweis(const Meldung &) override {}
    bool frage(const Meldung &) override { return true; }
    Sichern sichern(const Meldung &) override { return Sichern::Verwerfen; }
    QString dateiZumOeffnen(const QString &, const QString &, const QString &) override { return {}; }
    QString dateiZumSpeichern(const QString &, const QString &, const QString &) override { return {}; }
};

class StillerKlang final : public Klang
{
public:
    void abspielen(const QString &) override {}
};

// The value that a share `p` of the values does not exceed (p = 0.99: the 99th percentile).
inline double anteil(QList<double> werte, double p)
{
    if (werte.isEmpty())
        return 0;
    std::sort(werte.begin(), werte.end());
    const auto index = qsizetype(std::ceil(p * double(werte.size()))) - 1;
    return werte.at(std::clamp<qsizetype>(index, 0, werte.size() - 1));
}

inline double median(const QList<double> &werte)
{
    return anteil(werte, 0.5);
}

// A question file as teachers write them: every field, indented with CR LF.
inline QByteArray fragenXml(int anzahl)
{
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<ArrayOfQuestion>\r\n");
    for (int i = 1; i <= anzahl; ++i) {
        xml +=
            QStringLiteral(" <Question>\r\n  <QuestionText>Frage %1: Welche Antwort ist richtig? Ein etwas "
                           "längerer Fragetext, wie er im Unterricht vorkommt.</QuestionText>\r\n"
                           "  <Answer1>Erste Antwort</Answer1>\r\n  <Answer2>Zweite Antwort</Answer2>\r\n"
                           "  <Answer3>Dritte Antwort</Answer3>\r\n  <Answer4>Vierte Antwort</Answer4>\r\n"
                           "  <PictureQuestionText/>\r\n  <PictureAnswer1/>\r\n  <PictureAnswer2/>\r\n"
                           "  <PictureAnswer3/>\r\n  <PictureAnswer4/>\r\n  <AnswerDelay>2</AnswerDelay>\r\n"
                           "  <Solution>Answer%2</Solution>\r\n  <Time>15</Time>\r\n  <Points>2</Points>\r\n"
                           " </Question>\r\n")
                .arg(i)
                .arg(i % 4 + 1);
    }
    xml += QStringLiteral("</ArrayOfQuestion>");
    return xml.toUtf8();
}

} // namespace Messhilfen
