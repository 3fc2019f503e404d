// Prints how long the engine takes for a large question file and a large audience.
//   build/bin/bench_spiel
#include "dialoge.h"
#include "spiel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

class StilleDialoge final : public Dialoge
{
public:
    void hinweis(const Meldung &) override {}
    bool frage(const Meldung &) override { return true; }
    Sichern sichern(const Meldung &) override { return Sichern::Verwerfen; }
    QString dateiZumOeffnen(const QString &, const QString &, const QString &) override { return {}; }
    QString dateiZumSpeichern(const QString &, const QString &, const QString &) override { return {}; }
};

QString fragedatei(const QString &ordner, int anzahl)
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
    const QString pfad = ordner + QStringLiteral("/gross.xml");
    QFile datei(pfad);
    if (datei.open(QIODevice::WriteOnly))
        datei.write(xml.toUtf8());
    return pfad;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("plenaro.*.debug=false"));
    QTextStream aus(stdout);
    QTemporaryDir ordner;
    StilleDialoge dialoge;

    {
        const QString pfad = fragedatei(ordner.path(), 1000);
        spiel s(Uhr::system(), dialoge);
        QElapsedTimer uhr;
        constexpr int Laeufe = 20;
        uhr.start();
        for (int i = 0; i < Laeufe; ++i)
            s.ladeFragen(pfad);
        aus << "load 1000-question file (" << QFile(pfad).size() / 1024
            << " KiB): " << QString::number(uhr.nsecsElapsed() / 1e6 / Laeufe, 'f', 2) << " ms per load, "
            << s.getAnzahlFragen() << " questions\n";
    }

    {
        constexpr int Fragen = 50;
        constexpr int Geraete = 2000;
        constexpr int Druecke = 100'000;
        spiel s(Uhr::system(), dialoge);
        s.ladeFragen(fragedatei(ordner.path(), Fragen));
        QRandomGenerator zufall(42);
        QElapsedTimer uhr;
        qint64 erfassen = 0;
        qint64 auswerten = 0;
        double pruefsumme = 0;
        uhr.start();
        for (int frage = 0; frage < Fragen; ++frage) {
            s.getNaechsteFrage();
            s.qountdownStarten();
            QElapsedTimer teil;
            teil.start();
            for (int i = 0; i < Druecke / Fragen; ++i) {
                const uint geraet = zufall.bounded(Geraete);
                s.antwortErfassen(1 + geraet / 250, 1 + geraet % 250, 1 + zufall.bounded(4));
            }
            erfassen += teil.nsecsElapsed();
            teil.restart();
            s.countdownSofortBeenden();
            const QList<double> prozente = s.getProzenteAntworten(s.getAktuelleFrageNr());
            pruefsumme += prozente.at(0);
            auswerten += teil.nsecsElapsed();
        }
        const qint64 gesamt = uhr.nsecsElapsed();
        aus << "record " << Druecke << " presses of " << Geraete << " handsets over " << Fragen
            << " questions: " << QString::number(gesamt / 1e6, 'f', 1) << " ms in all ("
            << QString::number(erfassen / 1e3 / Druecke, 'f', 2)
            << " us per press; evaluation and percentages "
            << QString::number(auswerten / 1e6 / Fragen, 'f', 2) << " ms per question), "
            << s.getPersonen().size() << " participants, check " << QString::number(pruefsumme, 'f', 1)
            << "\n";
    }
    return 0;
}
