// Prints how long the engine takes for a large question file and a large audience.
//   build/bin/bench_spiel
#include "messhilfen.h"
#include "spiel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

QString fragedatei(const QString &ordner, int anzahl)
{
    const QString pfad = ordner + QStringLiteral("/gross.xml");
    QFile datei(pfad);
    if (datei.open(QIODevice::WriteOnly))
        datei.write(Messhilfen::fragenXml(anzahl));
    return pfad;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("plenaro.*.debug=false"));
    QTextStream aus(stdout);
    QTemporaryDir ordner;
    Messhilfen::StilleDialoge dialoge;

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
