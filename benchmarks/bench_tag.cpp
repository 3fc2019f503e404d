// Prints the program's memory over a long teaching day: 300 questions with 200 participants, the
// ranking shown every 10 questions, a PDF and a CSV report every 50, and the memory of the
// program with all its web engine processes (from /proc) at start-up and every 50 questions: the
// memory they have written to (heaps, the pages' script heaps), which is what a day's growth shows
// in and which other programs on the machine do not change, and their proportional share of all
// they use. The clock is the test clock, so the countdowns take no real time; the pages are the
// real ones in real web views.
//   QTWEBENGINE_DISABLE_SANDBOX=1 QT_QPA_PLATFORM=offscreen build/bin/bench_tag
#include "dialogrekorder.h"
#include "einstellungen.h"
#include "fakeports.h"
#include "mainwindow.h"
#include "messhilfen.h"
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
#include <QWebEnginePage>
#include <QWebEngineView>

#include <algorithm>

#include <unistd.h>

namespace {

constexpr int Fragen = 300;
constexpr int Teilnehmer = 200;
constexpr int ZeitJeFrage = 20; // seconds

// Kilobytes of this process and all its descendants (the web engine's helpers): the pages each has
// written to (a library's pages count as private too while no other program maps them, so only the
// written ones tell growth), or with `anteil` each one's proportional share of all it uses.
qint64 speicherKb(qint64 *selbst = nullptr, QHash<qint64, qint64> *helfer = nullptr, bool anteil = false)
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
        qint64 kb = 0;
        for (const QByteArray &zeile : smaps.readAll().split('\n')) {
            if (anteil ? zeile.startsWith("Pss:") : zeile.startsWith("Private_Dirty:"))
                kb += zeile.mid(zeile.indexOf(':') + 1).trimmed().split(' ').value(0).toLongLong();
        }
        summe += kb;
        if (selbst && pid == ::getpid())
            *selbst = kb;
        else if (helfer && pid != ::getpid())
            helfer->insert(pid, kb);
    }
    return summe;
}

QString mb(qint64 kb)
{
    return QString::number(double(kb) / 1024.0, 'f', 1) + QLatin1String(" MB");
}

// Each helper process's figure in whole MB, largest first, with the views whose pages it renders.
QString liste(const QHash<qint64, qint64> &kb, const QHash<qint64, QString> &ansichten)
{
    QList<std::pair<qint64, qint64>> reihe;
    for (auto it = kb.cbegin(); it != kb.cend(); ++it)
        reihe.append({it.value(), it.key()});
    std::sort(reihe.begin(), reihe.end(), std::greater<>());
    QStringList teile;
    for (const auto &[k, pid] : std::as_const(reihe))
        teile.append(QString::number(k / 1024) +
                     (ansichten.contains(pid) ? QLatin1Char(' ') + ansichten.value(pid) : QString()));
    return teile.join(QLatin1String(" + ")) + QLatin1String(" MB");
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
    // The pages may be asked to collect their garbage, so what a page really keeps can be told
    // from what its collector has not got round to yet.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " --js-flags=--expose-gc");
    WebBruecke::qrcSchemaAnmelden();
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(
        QStringLiteral("plenaro.*.debug=false\nplenaro.*.info=false\njs.*=false"));
    QTextStream aus(stdout);
    TestEinstellungen einstellungen;
    TestUhr uhr;
    DialogRekorder dialoge;
    Messhilfen::StillerKlang klang;
    FakePortSystem ports;
    MainWindow fenster(Umgebung{&uhr, &dialoge, &klang, nullptr, &ports, einstellungen.ordner()});
    fenster.resize(1920, 1080);
    fenster.show();
    if (!wartenBis([&]() { return fenster.istEingerichtet(); }, 60000)) {
        aus << "the window was not set up\n";
        return 1;
    }
    const auto ansichten = [&]() {
        QHash<qint64, QString> namen;
        const std::pair<QWebEngineView *, const char *> alle[] = {{fenster.startAnsicht(), "start"},
                                                                  {fenster.frageAnsicht(), "question"},
                                                                  {fenster.ranglisteAnsicht(), "ranking"},
                                                                  {fenster.schwarzAnsicht(), "black"}};
        for (const auto &[ansicht, name] : alle) {
            QString &eintrag = namen[ansicht->page()->renderProcessPid()];
            eintrag += (eintrag.isEmpty() ? QString() : QStringLiteral("/")) + QLatin1String(name);
        }
        return namen;
    };
    // Private memory of all processes (the program's own, the web engine's), and the
    // proportional share of everything as a second figure.
    const auto messen = [&](const QString &wann) {
        qint64 programm = 0;
        QHash<qint64, qint64> helfer;
        const qint64 privat = speicherKb(&programm, &helfer);
        aus << wann << ": " << mb(privat) << " written (the program's own process " << mb(programm)
            << ", the web engine's " << liste(helfer, ansichten()) << "), "
            << mb(speicherKb(nullptr, nullptr, true)) << " proportional";
        return privat;
    };
    messen(QStringLiteral("after start-up"));
    aus << "\n";
    aus.flush();

    const QString datei = fragenDatei(einstellungen.ordner());
    fenster.frageDateiOeffnen(datei);
    if (fenster.getSpiel().getAnzahlFragen() != Fragen) {
        aus << "the day's questions did not load\n";
        return 1;
    }
    qint64 nachFuenfzig = 0;
    qint64 zuletzt = 0;
    qint64 nachFuenfzigGesammelt = 0;
    qint64 zuletztGesammelt = 0;
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
            seiteNachgekommen(fenster.frageAnsicht()); // back in the event loop, as after a click
            zuletzt = messen(QStringLiteral("after question %1").arg(frage));
            for (QWebEngineView *ansicht : {fenster.startAnsicht(), fenster.frageAnsicht(),
                                            fenster.ranglisteAnsicht(), fenster.schwarzAnsicht()})
                seiteNachgekommen(ansicht, QStringLiteral("window.gc ? (gc(), true) : true"));
            QHash<qint64, qint64> helfer;
            zuletztGesammelt = speicherKb(nullptr, &helfer);
            aus << "; after the pages' garbage collection " << mb(zuletztGesammelt) << " written ("
                << liste(helfer, ansichten()) << ")\n";
            if (frage == 50) {
                nachFuenfzig = zuletzt;
                nachFuenfzigGesammelt = zuletztGesammelt;
            }
            aus.flush();
        }
    }
    if (nachFuenfzig > 0)
        aus << "the last written figure is "
            << QString::number(100.0 * double(zuletzt) / double(nachFuenfzig), 'f', 1)
            << " % of the one after question 50 ("
            << QString::number(100.0 * double(zuletztGesammelt) / double(nachFuenfzigGesammelt), 'f', 1)
            << " % after the pages' garbage collection)\n";
    dialoge.antwortJa = true;
    dialoge.sicherungVorgabe = Dialoge::Sichern::Verwerfen;
    return 0;
}
