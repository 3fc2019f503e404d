// Prints how long the result exports take and how much memory the PDF export needs, for a class
// (45 participants, 20 questions) and a big game (300 participants, 50 questions), and how long the
// web engine needs to print the same report, as the yardstick for the PDF.
//   QTWEBENGINE_DISABLE_SANDBOX=1 QT_QPA_PLATFORM=offscreen build/bin/bench_export [participants questions
//   [folder]] [--ohne-web] [--nur-pdf] [--laeufe=N]
// With a size only that one is measured; with a folder the files stay there for looking at. --nur-pdf
// measures the PDF export alone, --laeufe the number of its runs; both make a run under
//   valgrind --tool=callgrind --toggle-collect='pdfrangliste::drucken*' --dump-after='pdfrangliste::drucken*'
// short, one dump per export: instruction counts tell more than times on a busy machine.
#include "csvrangliste.h"
#include "dialoge.h"
#include "einstellungen.h"
#include "exportfortschritt.h"
#include "exportgrundlage.h"
#include "fragenkatalog.h"
#include "messhilfen.h"
#include "pdfrangliste.h"
#include "schluessel.h"
#include "xlsxrangliste.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QPageLayout>
#include <QPageSize>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <QWebEnginePage>

#include <sys/resource.h>

#include <algorithm>
#include <ctime>

namespace {

using Messhilfen::median;

// Answers every save dialog with one path.
class FesteDialoge final : public Dialoge
{
public:
    QString pfad;
    void hinweis(const Meldung &meldung) override
    {
        QTextStream(stderr) << "message: " << meldung.text << '\n';
    }
    bool frage(const Meldung &) override { return true; }
    Sichern sichern(const Meldung &) override { return Sichern::Speichern; }
    QString dateiZumOeffnen(const QString &, const QString &, const QString &) override { return {}; }
    QString dateiZumSpeichern(const QString &, const QString &, const QString &) override { return pfad; }
};

QByteArray fragenDatei(int anzahl)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<ArrayOfQuestion>\n";
    for (int i = 1; i <= anzahl; ++i) {
        xml += QStringLiteral(
                   "<Question><QuestionText>Frage %1: Welche Antwort trifft auf diese etwas längere "
                   "Frage zu?</QuestionText><Answer1>Die erste Antwort</Answer1><Answer2>Die zweite "
                   "Antwort</Answer2><Answer3>Die dritte Antwort</Answer3><Answer4>Die vierte "
                   "Antwort</Answer4><Solution>%2</Solution><Time>15</Time><Points>1</Points></Question>\n")
                   .arg(i)
                   .arg(i % 10 == 0 ? QStringLiteral("NoAnswer") : QStringLiteral("Answer%1").arg(i % 4 + 1))
                   .toUtf8();
    }
    return xml + "</ArrayOfQuestion>\n";
}

QList<Person> teilnehmer(int anzahl, int fragen)
{
    QRandomGenerator zufall(42);
    QList<Person> personen;
    for (int p = 1; p <= anzahl; ++p) {
        Person person(uint(p), 1);
        for (int i = 1; i <= fragen; ++i) {
            if (zufall.bounded(10) == 0)
                continue; // did not answer
            AntwortDerPerson &antwort = person.getAntwortDerFrage(i);
            const int knopf = zufall.bounded(1, 5);
            antwort.setAntwort(knopf);
            if (i % 10 != 0) {
                antwort.setPunkte(knopf == i % 4 + 1 ? 1 : 0);
                antwort.setAntwortszeit(zufall.bounded(15000));
                antwort.setAusgewertet(true);
            }
        }
        personen.append(person);
    }
    return personen;
}

// CPU time of this process: the machine may be shared, wall times then tell little.
double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Notes the longest time between two reports of the PDF export's progress, and where it ended; in
// wall time and in CPU time, which a busy machine does not stretch.
class Fortschrittsluecken final : public ExportFortschritt
{
public:
    Fortschrittsluecken()
        : m_cpuZuletzt(cpuMs())
    {
        m_uhr.start();
    }
    bool weiter(int prozent) override
    {
        const double jetzt = m_uhr.nsecsElapsed() / 1e6, cpu = cpuMs();
        if (jetzt - m_zuletzt > laengste) {
            laengste = jetzt - m_zuletzt;
            bei = prozent;
        }
        if (cpu - m_cpuZuletzt > laengsteCpu) {
            laengsteCpu = cpu - m_cpuZuletzt;
            cpuBei = prozent;
        }
        m_zuletzt = jetzt;
        m_cpuZuletzt = cpu;
        return true;
    }
    double laengste = 0, laengsteCpu = 0;
    int bei = 0, cpuBei = 0;

private:
    QElapsedTimer m_uhr;
    double m_zuletzt = 0, m_cpuZuletzt;
};

QString groesse(const QString &pfad)
{
    return QString::number(QFileInfo(pfad).size() / 1024.0, 'f', 0) + QStringLiteral(" KiB");
}

// A line of /proc/self/status ("VmHWM", "VmRSS") in MiB; -1 where there is none.
double statusMiB(const QByteArray &feld)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &zeile : status.readAll().split('\n')) {
        if (zeile.startsWith(feld + ':'))
            return zeile.mid(feld.size() + 1).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

// Starts the peak of resident memory afresh (Linux), so that it tells one export's peak.
bool spitzeNeuBeginnen()
{
    QFile zuruecksetzen(QStringLiteral("/proc/self/clear_refs"));
    return zuruecksetzen.open(QIODevice::WriteOnly) && zuruecksetzen.write("5") == 1;
}

// The process's peak of resident memory in MiB: since the last reset where it can be reset, else
// since the start.
double spitzeMiB()
{
    const double hwm = statusMiB("VmHWM");
    if (hwm >= 0)
        return hwm;
    rusage nutzung{};
    getrusage(RUSAGE_SELF, &nutzung);
    return nutzung.ru_maxrss / 1024.0;
}

int seitenZaehlen(const QString &pdf)
{
    QFile datei(pdf);
    if (!datei.open(QIODevice::ReadOnly))
        return 0;
    static const QRegularExpression seite(QStringLiteral("/Type\\s*/Page\\b(?!s)"));
    return int(QString::fromLatin1(datei.readAll()).count(seite));
}

QString ms(double wert)
{
    return QString::number(wert, 'f', 0) + QStringLiteral(" ms");
}

struct Optionen
{
    bool mitWeb = true;
    bool nurPdf = false;
    // PDF exports; 0: seven for a class, three for a big game.
    int laeufe = 0;
};

// The whole PDF export, several times in one process. The first export also pays for what a program
// run loads once (fonts for the printer, the report's pictures); the ones after it show the export
// itself.
bool pdfMessen(const QList<Person> &personen, const Fragenkatalog &katalog, int anzahlFragen,
               const QString &ordner, const Optionen &optionen, FesteDialoge &dialoge)
{
    QTextStream aus(stdout);
    const int laeufe = optionen.laeufe > 0 ? optionen.laeufe : personen.size() * anzahlFragen > 5000 ? 3 : 7;
    QList<double> zeiten, cpuZeiten;
    // Of the first run: later ones find the memory the first one left to the allocator.
    double vorher = -1;
    double spitze = 0;
    // Of the first run and of the ones after it.
    double laengsteLuecke[2] = {0, 0}, laengsteCpuLuecke[2] = {0, 0};
    int lueckeBis[2] = {0, 0}, cpuLueckeBis[2] = {0, 0};
    dialoge.pfad = ordner + QStringLiteral("/bench.pdf");
    QElapsedTimer uhr;
    for (int lauf = 0; lauf < laeufe; ++lauf) {
        if (lauf == 0 && spitzeNeuBeginnen())
            vorher = statusMiB("VmRSS");
        uhr.start();
        const double cpuStart = cpuMs();
        pdfrangliste pdf(dialoge);
        Fortschrittsluecken diesmal;
        pdf.fortschrittSetzen(&diesmal);
        if (!pdf.ranglisteExportieren(personen, &katalog, anzahlFragen, anzahlFragen))
            return false;
        zeiten.append(uhr.nsecsElapsed() / 1e6);
        cpuZeiten.append(cpuMs() - cpuStart);
        if (lauf == 0)
            spitze = spitzeMiB();
        const int art = lauf == 0 ? 0 : 1;
        if (diesmal.laengste > laengsteLuecke[art]) {
            laengsteLuecke[art] = diesmal.laengste;
            lueckeBis[art] = diesmal.bei;
        }
        if (diesmal.laengsteCpu > laengsteCpuLuecke[art]) {
            laengsteCpuLuecke[art] = diesmal.laengsteCpu;
            cpuLueckeBis[art] = diesmal.cpuBei;
        }
    }
    aus << "PDF export (rich text):  " << seitenZaehlen(dialoge.pfad) << " pages, " << groesse(dialoge.pfad)
        << "; each the whole export: data put together, laid out, printed into the file\n";
    aus << "  first in the process:  " << ms(zeiten.first()) << ", " << ms(cpuZeiten.first())
        << " CPU (also reads the fonts and the pictures)\n";
    if (laeufe > 1) {
        aus << "  each after it:         " << ms(median(zeiten.mid(1))) << ", "
            << ms(median(cpuZeiten.mid(1))) << " CPU (medians of " << laeufe - 1 << ")\n";
    }
    aus << "  peak memory:           " << QString::number(spitze, 'f', 0) << " MiB"
        << (vorher >= 0 ? QStringLiteral(" (the process during the first export; %1 MiB before it)")
                              .arg(vorher, 0, 'f', 0)
                        : QStringLiteral(" (the process since its start)"))
        << '\n';
    const auto luecke = [&](int art) {
        return ms(laengsteLuecke[art]) + QStringLiteral(" (up to %1 %), ").arg(lueckeBis[art]) +
               ms(laengsteCpuLuecke[art]) + QStringLiteral(" CPU (up to %1 %)").arg(cpuLueckeBis[art]);
    };
    aus << "  longest time without progress: " << luecke(0) << " in the first";
    if (laeufe > 1)
        aus << "; " << luecke(1) << " in the ones after it";
    aus << '\n';
    aus.flush();
    return true;
}

// CSV, workbook and PDF of one game; the PDF report's HTML for the web engine goes to `html`.
bool messen(int anzahlPersonen, int anzahlFragen, const QString &ordner, const Optionen &optionen,
            QString &html)
{
    QTextStream aus(stdout);
    const QString fragenPfad = ordner + QStringLiteral("/bench_fragen.xml");
    QFile datei(fragenPfad);
    if (!datei.open(QIODevice::WriteOnly) || datei.write(fragenDatei(anzahlFragen)) < 0)
        return false;
    datei.close();
    FesteDialoge dialoge;
    Fragenkatalog katalog(dialoge);
    if (!katalog.ladeFragen(fragenPfad).ok())
        return false;
    Einstellungen::setzen(Schluessel::FrageFile, fragenPfad);
    const QList<Person> personen = teilnehmer(anzahlPersonen, anzahlFragen);
    aus << '\n' << anzahlPersonen << " participants x " << anzahlFragen << " questions\n";
    aus.flush();
    if (optionen.nurPdf)
        return pdfMessen(personen, katalog, anzahlFragen, ordner, optionen, dialoge);

    // CSV: the whole export, dialog answered at once.
    QList<double> csvZeiten;
    dialoge.pfad = ordner + QStringLiteral("/bench.csv");
    for (int lauf = 0; lauf < 7; ++lauf) {
        QElapsedTimer uhr;
        uhr.start();
        csvrangliste csv(dialoge);
        if (!csv.ranglisteExportieren(personen, &katalog, anzahlFragen, anzahlFragen))
            return false;
        csvZeiten.append(uhr.nsecsElapsed() / 1e6);
    }
    aus << "CSV export:              " << QString::number(median(csvZeiten), 'f', 1) << " ms (median of 7), "
        << groesse(dialoge.pfad) << '\n';

    // Workbook: the whole export, as the CSV.
    QList<double> xlsxZeiten;
    dialoge.pfad = ordner + QStringLiteral("/bench.xlsx");
    for (int lauf = 0; lauf < 7; ++lauf) {
        QElapsedTimer uhr;
        uhr.start();
        xlsxrangliste xlsx(dialoge);
        if (!xlsx.ranglisteExportieren(personen, &katalog, anzahlFragen, anzahlFragen))
            return false;
        xlsxZeiten.append(uhr.nsecsElapsed() / 1e6);
    }
    aus << "Workbook export:         " << QString::number(median(xlsxZeiten), 'f', 1) << " ms (median of 7), "
        << groesse(dialoge.pfad) << '\n';

    // PDF: the HTML alone, then the whole export, several times.
    QElapsedTimer uhr;
    uhr.start();
    html = pdfrangliste::html(Exportgrundlage::zusammenstellen(personen, &katalog, anzahlFragen, anzahlFragen,
                                                               QDateTime::currentDateTime()));
    const double htmlMs = uhr.nsecsElapsed() / 1e6;
    aus << "PDF report HTML:         " << QString::number(htmlMs, 'f', 1) << " ms, "
        << QString::number(html.size() / 1024.0 / 1024.0, 'f', 1) << " M characters\n";
    aus.flush();

    return pdfMessen(personen, katalog, anzahlFragen, ordner, optionen, dialoge);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("plenaro.*.debug=false"));
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir einstellungen;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, einstellungen.path());

    QStringList args;
    Optionen optionen;
    for (const QString &arg : app.arguments()) {
        if (arg == QLatin1String("--ohne-web"))
            optionen.mitWeb = false;
        else if (arg == QLatin1String("--nur-pdf"))
            optionen.nurPdf = true;
        else if (arg.startsWith(QLatin1String("--laeufe=")))
            optionen.laeufe = arg.section(QLatin1Char('='), 1).toInt();
        else
            args.append(arg);
    }
    QList<std::pair<int, int>> groessen{{45, 20}, {300, 50}};
    if (args.size() > 2)
        groessen = {{args.at(1).toInt(), args.at(2).toInt()}};
    QTemporaryDir temp;
    const QString ordner = args.size() > 3 ? args.at(3) : temp.path();
    QTextStream aus(stdout);
    QElapsedTimer uhr;
    uhr.start();

    QString html;
    for (const auto &[anzahlPersonen, anzahlFragen] : groessen) {
        if (!messen(anzahlPersonen, anzahlFragen, ordner, optionen, html))
            return 1;
    }

    if (!optionen.mitWeb || optionen.nurPdf)
        return 0;

    // The last game's HTML printed by the web engine, the style sheet given as a style element. Pages
    // given as text may not exceed 2 MB, so the report goes through a file; its pictures are found
    // beside the program like those of the rich-text document.
    const QString seitenPfad = ordner + QStringLiteral("/bench.html");
    {
        QFile seite(seitenPfad);
        const QByteArray inhalt = (QStringLiteral("<html><head><meta charset='utf-8'><base href='") +
                                   pdfrangliste::basisUrl().toString() + QStringLiteral("'><style>") +
                                   pdfrangliste::standardStil() + QStringLiteral("</style></head><body>") +
                                   html + QStringLiteral("</body></html>"))
                                      .toUtf8();
        if (!seite.open(QIODevice::WriteOnly) || seite.write(inhalt) != inhalt.size())
            return 1;
    }
    QWebEnginePage webSeite;
    QEventLoop schleife;
    bool geladen = false;
    QObject::connect(&webSeite, &QWebEnginePage::loadFinished, &schleife, [&](bool ok) {
        geladen = ok;
        schleife.quit();
    });
    uhr.restart();
    webSeite.load(QUrl::fromLocalFile(seitenPfad));
    schleife.exec();
    const double ladenMs = uhr.nsecsElapsed() / 1e6;
    if (!geladen) {
        aus << "web engine: the page did not load\n";
        return 1;
    }
    const QString webPdf = ordner + QStringLiteral("/bench_web.pdf");
    bool gedruckt = false;
    QObject::connect(&webSeite, &QWebEnginePage::pdfPrintingFinished, &schleife,
                     [&](const QString &, bool ok) {
                         gedruckt = ok;
                         schleife.quit();
                     });
    uhr.restart();
    webSeite.printToPdf(webPdf, QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                            QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter));
    schleife.exec();
    const double druckMs = uhr.nsecsElapsed() / 1e6;
    if (!gedruckt) {
        aus << "web engine: printing failed\n";
        return 1;
    }
    aus << "web engine load:         " << QString::number(ladenMs, 'f', 0) << " ms\n";
    aus << "web engine printToPdf:   " << QString::number(druckMs, 'f', 0) << " ms, " << groesse(webPdf)
        << '\n';
    aus << "web engine load + print: " << QString::number(ladenMs + druckMs, 'f', 0) << " ms\n";
    return 0;
}
