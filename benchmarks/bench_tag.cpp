// Prints the program's memory over a long teaching day: 300 questions with 200 participants, the
// ranking shown every 10 questions, a PDF and a CSV report every 50, and the memory of the
// program with all its web engine processes (proportional set size, from /proc) at start-up and
// every 50 questions. The clock is the test clock, so the countdowns take no real time; the pages
// are the real ones in real web views.
//   QTWEBENGINE_DISABLE_SANDBOX=1 QT_QPA_PLATFORM=offscreen build/bin/bench_tag
#include "dialogrekorder.h"
#include "einstellungen.h"
#include "fakeports.h"
#include "klang.h"
#include "mainwindow.h"
#include "schluessel.h"
#include "spiel.h"
#include "testeinstellungen.h"
#include "testuhr.h"
#include "webbruecke.h"
#include "webwarten.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QLoggingCategory>
#include <QTextStream>
#include <QWebEngineView>

#include <unistd.h>

namespace {

constexpr int Fragen = 300;
constexpr int Teilnehmer = 200;
constexpr int ZeitJeFrage = 20; // seconds

class StillerKlang final : public Klang
{
public:
    void abspielen(const QString &) override {}
};

// Kilobytes of this process and all its descendants (the web engine's helpers), each counted by
// its proportional share of the pages it uses, so shared libraries count once.
qint64 speicherKb(qint64 *selbst = nullptr)
{
    QHash<qint64, QList<qint64>> kinder;
    const QStringList prozesse = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &name : prozesse) {
        bool zahl = false;
        const qint64 pid = name.toLongLong(&zahl);
        if (!zahl)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray zeile = stat.readAll();
        // The command may hold spaces and parentheses: the fields after it follow the last ')'.
        const QList<QByteArray> felder = zeile.mid(zeile.lastIndexOf(')') + 2).split(' ');
        if (felder.size() > 1)
            kinder[felder.at(1).toLongLong()].append(pid);
    }
    qint64 summe = 0;
    QList<qint64> offen{qint64(::getpid())};
    while (!offen.isEmpty()) {
        const qint64 pid = offen.takeLast();
        offen += kinder.value(pid);
        QFile smaps(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
        if (!smaps.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &zeile : smaps.readAll().split('\n')) {
            if (!zeile.startsWith("Pss:"))
                continue;
            const qint64 kb = zeile.mid(4).trimmed().split(' ').value(0).toLongLong();
            summe += kb;
            if (selbst && pid == ::getpid())
                *selbst = kb;
        }
    }
    return summe;
}

QString mb(qint64 kb)
{
    return QString::number(double(kb) / 1024.0, 'f', 1) + QLatin1String(" MB");
}

QString fragenDatei(const QString &ordner)
{
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<ArrayOfQuestion>");
    for (int i = 1; i <= Fragen; ++i) {
        xml +=
            QStringLiteral("<Question><QuestionText>Frage %1 des Tages: welche Antwort stimmt?</QuestionText>"
                           "<Answer1>Antwort A %1</Answer1><Answer2>Antwort B %1</Answer2>"
                           "<Answer3>Antwort C %1</Answer3><Answer4>Antwort D %1</Answer4>"
                           "<AnswerDelay>0</AnswerDelay><Solution>Answer%2</Solution><Time>%3</Time>"
                           "<Points>1</Points></Question>")
                .arg(i)
                .arg(1 + i % 4)
                .arg(ZeitJeFrage);
    }
    xml += QStringLiteral("</ArrayOfQuestion>\n");
    const QString pfad = ordner + QStringLiteral("/tag.xml");
    QFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly))
        return {};
    datei.write(xml.toUtf8());
    return pfad;
}

// Waits until the view's page has run what was sent before.
bool seiteNachgekommen(QWebEngineView *ansicht, const QString &ausdruck = QStringLiteral("true"))
{
    return wertLesen([&](std::function<void(const QVariant &)> antwort) {
               ansicht->page()->runJavaScript(ausdruck, antwort);
           })
        .toBool();
}

} // namespace

int main(int argc, char *argv[])
{
    WebBruecke::qrcSchemaAnmelden();
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(
        QStringLiteral("plenaro.*.debug=false\nplenaro.*.info=false\njs.*=false"));
    QTextStream aus(stdout);
    TestEinstellungen einstellungen;
    TestUhr uhr;
    DialogRekorder dialoge;
    StillerKlang klang;
    FakePortSystem ports;
    MainWindow fenster(Umgebung{&uhr, &dialoge, &klang, nullptr, &ports, einstellungen.ordner()});
    fenster.resize(1920, 1080);
    fenster.show();
    if (!wartenBis([&]() { return fenster.istEingerichtet(); }, 60000)) {
        aus << "the window was not set up\n";
        return 1;
    }
    qint64 programm = 0;
    aus << "after start-up: " << mb(speicherKb(&programm)) << " (the program's own process " << mb(programm)
        << ")\n";
    aus.flush();

    const QString datei = fragenDatei(einstellungen.ordner());
    fenster.frageDateiOeffnen(datei);
    if (fenster.getSpiel().getAnzahlFragen() != Fragen) {
        aus << "the day's questions did not load\n";
        return 1;
    }
    qint64 nachFuenfzig = 0;
    qint64 zuletzt = 0;
    for (int frage = 1; frage <= Fragen; ++frage) {
        fenster.goToFrage(frage);
        fenster.on_actionN_chste_Frage_triggered(); // no answer delay: the countdown runs
        uhr.vorspulen(0);
        for (int i = 0; i < Teilnehmer; ++i)
            fenster.druckEmpfangen(1 + uint(i) / 100, 1 + uint(i) % 100, 1 + uint(i + frage) % 4);
        uhr.vorspulen(qint64(ZeitJeFrage) * 1000 + 1000);
        seiteNachgekommen(fenster.frageAnsicht());
        if (frage % 10 == 0) {
            fenster.on_actionRangliste_triggered();
            wartenBis(
                [&]() {
                    return seiteNachgekommen(
                        fenster.ranglisteAnsicht(),
                        QStringLiteral("typeof qt !== 'undefined' && "
                                       "qt.jQuery('.tabelleReiheRangliste').length === %1")
                            .arg(Teilnehmer));
                },
                30000);
        }
        if (frage % 50 == 0) {
            const QString stamm = einstellungen.ordner() + QStringLiteral("/bericht%1").arg(frage);
            dialoge.dateien = {stamm + QStringLiteral(".pdf")};
            fenster.on_actionResultate_PDF_triggered();
            dialoge.dateien = {stamm + QStringLiteral(".csv")};
            fenster.on_actionResultate_CSV_triggered();
            if (!QFile::exists(stamm + QStringLiteral(".pdf")) ||
                !QFile::exists(stamm + QStringLiteral(".csv")))
                aus << "the reports after question " << frage << " were not written\n";
            zuletzt = speicherKb(&programm);
            if (frage == 50)
                nachFuenfzig = zuletzt;
            aus << "after question " << frage << ": " << mb(zuletzt) << " (the program's own process "
                << mb(programm) << ")\n";
            aus.flush();
        }
    }
    if (nachFuenfzig > 0)
        aus << "the last figure is "
            << QString::number(100.0 * double(zuletzt) / double(nachFuenfzig), 'f', 1)
            << " % of the one after question 50\n";
    dialoge.antwortJa = true;
    dialoge.sicherungVorgabe = Dialoge::Sichern::Verwerfen;
    return 0;
}
