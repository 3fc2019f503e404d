// The three exports: what each format holds, both rounds of a question voted on twice, and what
// they share as files the user owns; and the progress dialog through which the user cancels.
#include "csvleser.h"
#include "csvrangliste.h"
#include "dateigrenze.h"
#include "dialogrekorder.h"
#include "einstellungen.h"
#include "exportfortschritt.h"
#include "fortschrittsdialog.h"
#include "fragedatei.h"
#include "fragenkatalog.h"
#include "geraetschluessel.h"
#include "pdfrangliste.h"
#include "person.h"
#include "schluessel.h"
#include "testdaten.h"
#include "testeinstellungen.h"
#include "testuhr.h"
#include "xlsxrangliste.h"

#include <QProgressDialog>
#include <QXmlStreamReader>
#include <QtTest>

#include <algorithm>
#include <ctime>
#include <optional>

namespace {

// One answer record of a participant: button, points, time in ms, evaluated or not (surveys and
// presses before the first question are not).
struct Antwort
{
    int frageNr;
    int knopf;
    int punkte = 0;
    double ms = 0.0;
    bool ausgewertet = true;
};

inline Person teilnehmer(uint buzzer, uint klassensatz, const QList<Antwort> &antworten)
{
    Person person(buzzer, klassensatz);
    for (const Antwort &a : antworten) {
        AntwortDerPerson &antwort = person.getAntwortDerFrage(a.frageNr);
        antwort.setAntwort(a.knopf);
        antwort.setPunkte(a.punkte);
        antwort.setAntwortszeit(a.ms);
        antwort.setAusgewertet(a.ausgewertet);
    }
    return person;
}

inline Testdaten::Frage frage(const QString &text, const QStringList &antworten, const QString &loesung,
                              const QString &punkte = QStringLiteral("1"))
{
    return {text, antworten, loesung, QStringLiteral("15"), punkte, QStringLiteral("0"), {}};
}

// Question 1 has three answers and answer 2 is right, 2 is a survey, 3 has answer 4 right.
inline QList<Testdaten::Frage> erdkunde()
{
    return {frage("Capital of Switzerland?", {"Zurich", "Bern", "Geneva", {}}, "Answer2", "2"),
            frage("Favourite colour?", {"Red", "Green", "Blue", "Yellow"}, "NoAnswer"),
            frage("2 + 2?", {"3", "5", "22", "4"}, "Answer4")};
}

using Testdaten::lesen;

// Files in `ordner`, hidden ones too, for checking that nothing was left behind.
inline QStringList dateien(const QString &ordner)
{
    return QDir(ordner).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// TestUhr's epoch starts at 2023-11-14 22:13:20 UTC.
inline const QString Zeitstempel = QStringLiteral("2023_11_14_221320");

// What every export test stands on: settings in a temporary folder, a folder for the files, the
// dialog recorder, the hand-driven clock, a catalogue, and local time in UTC (the date lines and
// file names of the expected files are).
struct Umgebung
{
    TestEinstellungen einstellungen;
    QTemporaryDir ordner;
    DialogRekorder dialoge;
    TestUhr uhr;
    Fragenkatalog katalog{dialoge};

    Umgebung()
    {
        qputenv("TZ", "UTC");
        tzset();
        Einstellungen::setzen(Schluessel::FrageFile, QStringLiteral("/home/lehrer/Fragen/quiz.xml"));
    }
    QString ziel(const QString &name) const { return ordner.filePath(name); }
    // Loads `fragen` through a question file in the folder.
    bool laden(const QList<Testdaten::Frage> &fragen)
    {
        const QString pfad = ziel(QStringLiteral("fragen.xml"));
        return Testdaten::schreiben(pfad, fragen) && katalog.ladeFragen(pfad).ok();
    }
};

// Cancels when the export has reached `bei` percent; remembers what it was told.
class AbbrechenderFortschritt final : public ExportFortschritt
{
public:
    explicit AbbrechenderFortschritt(int bei)
        : m_bei(bei)
    {
    }
    bool weiter(int prozent) override
    {
        prozente.append(prozent);
        return prozent < m_bei;
    }
    QList<int> prozente;

private:
    int m_bei;
};

const QString Umbruch =
    QStringLiteral("<div style=\"page-break-after:always\"></div><br>"
                   "<div><img class='logo' src='imagespdf/corvantalogo.png' height='50'/></div>");
const QString UmbruchInListe = Umbruch + QStringLiteral("<br>");

// Runs a poppler tool and returns what it printed; says so when the tool is missing.
QString poppler(const QString &programm, const QStringList &argumente)
{
    const QString pfad = QStandardPaths::findExecutable(programm);
    if (pfad.isEmpty()) {
        qWarning("%s missing: install poppler-utils (tools/setup.sh)", qPrintable(programm));
        return QStringLiteral("<%1 missing>").arg(programm);
    }
    QProcess prozess;
    prozess.start(pfad, argumente);
    if (!prozess.waitForFinished(60000))
        return QStringLiteral("<%1 hangs>").arg(programm);
    return QString::fromUtf8(prozess.readAllStandardOutput());
}

int seitenZahl(const QString &pdf)
{
    static const QRegularExpression seiten(QStringLiteral("Pages:\\s+(\\d+)"));
    return seiten.match(poppler(QStringLiteral("pdfinfo"), {pdf})).captured(1).toInt();
}

QString seitenText(const QString &pdf, int seite)
{
    static const QRegularExpression nummer(QStringLiteral("\\s*\\d+\\s*$"));
    return poppler(QStringLiteral("pdftotext"),
                   {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(seite),
                    QStringLiteral("-l"), QString::number(seite), pdf, QStringLiteral("-")})
        .remove(nummer);
}

// Page `seite` as a grey picture at 40 dpi, cut off above the page number.
QByteArray seitenBild(const QString &pdf, int seite, const QString &ordner)
{
    const QString wurzel = ordner + QStringLiteral("/seite");
    const QString s = QString::number(seite);
    poppler(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("40"), QStringLiteral("-gray"),
             QStringLiteral("-singlefile"), QStringLiteral("-f"), s, QStringLiteral("-l"), s,
             QStringLiteral("-H"), QStringLiteral("400"), pdf, wurzel});
    QFile bild(wurzel + QStringLiteral(".pgm"));
    const QByteArray inhalt = bild.open(QIODevice::ReadOnly) ? bild.readAll() : QByteArray();
    bild.remove();
    return inhalt;
}

// The cells left of each answer in the first question table at or after `ab`: a picture by its
// name, else the text.
QList<QStringList> zellen(const QString &html, qsizetype ab)
{
    static const QRegularExpression zeile(QStringLiteral("<tr><td width='5%'></td>(.*?)<td width='85%'>"));
    static const QRegularExpression zelle(
        QStringLiteral("<td width='5%'>(?:<img src='imagespdf/([^']*)'[^>]*>)?([^<]*)</td>"));
    const qsizetype tabelle = html.indexOf(QLatin1String("<tr><td width='5%'>"), ab);
    QList<QStringList> alle;
    if (ab < 0 || tabelle < 0)
        return alle;
    for (const QRegularExpressionMatch &z :
         zeile.globalMatch(html.mid(tabelle).section(QStringLiteral("</table>"), 0, 0))) {
        QStringList inhalt;
        for (const QRegularExpressionMatch &c : zelle.globalMatch(z.captured(1)))
            inhalt << c.captured(1) + c.captured(2);
        alle << inhalt;
    }
    return alle;
}

QString attribut(const QXmlStreamReader &xml, const char *name)
{
    return xml.attributes().value(QLatin1String(name)).toString();
}

// Calls `je` at every element of `xml` as it starts.
template<typename Je>
void jedesElement(const QByteArray &xml, Je je)
{
    QXmlStreamReader leser(xml);
    while (!leser.atEnd()) {
        if (leser.readNext() == QXmlStreamReader::StartElement)
            je(leser);
    }
}

// A workbook read back through `unzip`: sheet names in order, and each cell as "<type>:<value>",
// strings resolved, with the number format in brackets where it has one ("n:0.5 [0.0%]").
class Mappe final
{
public:
    explicit Mappe(const QString &pfad)
        : m_pfad(pfad)
    {
        jedesElement(teil("xl/sharedStrings.xml"), [this](QXmlStreamReader &x) {
            if (x.name() == QLatin1String("si"))
                m_strings.append(x.readElementText(QXmlStreamReader::IncludeChildElements));
        });
        QMap<QString, QString> formate{{"2", "0.00"}};
        jedesElement(teil("xl/styles.xml"), [this, &formate](QXmlStreamReader &x) {
            if (x.name() == QLatin1String("dxf"))
                m_faerbungen.append(QString());
            else if (x.name() == QLatin1String("bgColor") && !m_faerbungen.isEmpty())
                m_faerbungen.last() = attribut(x, "rgb");
            else if (x.name() == QLatin1String("numFmt"))
                formate.insert(attribut(x, "numFmtId"), attribut(x, "formatCode"));
            else if (x.name() == QLatin1String("cellXfs")) {
                while (x.readNextStartElement()) {
                    m_formate.append(formate.value(attribut(x, "numFmtId")));
                    x.skipCurrentElement();
                }
            }
        });
        jedesElement(teil("xl/workbook.xml"), [this](QXmlStreamReader &x) {
            if (x.name() == QLatin1String("sheet"))
                namen.append(attribut(x, "name"));
        });
    }

    QByteArray teil(const QString &name) const
    {
        QProcess unzip;
        unzip.start("unzip", {"-p", m_pfad, name});
        if (!unzip.waitForFinished(60000) || unzip.exitCode() != 0)
            qWarning("unzip (tools/setup.sh installs it) failed on %s", qPrintable(name));
        return unzip.readAllStandardOutput();
    }
    // Sheet `nr` (from 1) as rows of cells, gaps filled with empty texts.
    QList<QStringList> blatt(int nr) const
    {
        QList<QStringList> zeilen;
        jedesElement(blattXml(nr), [this, &zeilen](QXmlStreamReader &xml) {
            if (xml.name() != QLatin1String("c"))
                return;
            const QString ort = attribut(xml, "r"), typ = attribut(xml, "t");
            const QString format = m_formate.value(attribut(xml, "s").toInt());
            std::optional<QString> wert;
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("v"))
                    wert = xml.readElementText();
                else
                    xml.skipCurrentElement();
            }
            if (!wert)
                return; // empty, with a style only
            int spalte = 0, i = 0;
            for (; ort.at(i).isLetter(); ++i)
                spalte = spalte * 26 + ort.at(i).unicode() - 'A' + 1;
            const int zeile = ort.mid(i).toInt();
            while (zeilen.size() < zeile)
                zeilen.append(QStringList{});
            QStringList &z = zeilen[zeile - 1];
            while (z.size() < spalte)
                z.append(QString());
            z[spalte - 1] = (typ == "s" ? "s:" + m_strings.value(wert->toInt())
                                        : (typ.isEmpty() ? "n" : typ) + ':' + *wert) +
                            (format.isEmpty() ? QString() : " [" + format + ']');
        });
        return zeilen;
    }
    // Sheet `nr`'s frozen pane as "frozen x<columns> y<rows>", then its conditional formats as
    // "<range> <mark searched for> <cells the formula reads> <fill>".
    QStringList regeln(int nr) const
    {
        static const QRegularExpression zelle("\\b[A-Z]+[0-9]+\\b");
        QStringList regeln;
        QString bereich, faerbung;
        jedesElement(blattXml(nr), [&](QXmlStreamReader &xml) {
            if (xml.name() == QLatin1String("pane") && attribut(xml, "state") == "frozen")
                regeln.append(QStringLiteral("frozen x%1 y%2")
                                  .arg(attribut(xml, "xSplit").toInt())
                                  .arg(attribut(xml, "ySplit").toInt()));
            else if (xml.name() == QLatin1String("conditionalFormatting"))
                bereich = attribut(xml, "sqref");
            else if (xml.name() == QLatin1String("cfRule"))
                faerbung = m_faerbungen.value(attribut(xml, "dxfId").toInt());
            else if (xml.name() == QLatin1String("formula")) {
                const QString formel = xml.readElementText();
                QStringList zellen;
                for (const QRegularExpressionMatch &m : zelle.globalMatch(formel))
                    zellen.append(m.captured());
                const QString zeichen = formel.contains("✓") ? "✓" : formel.contains("✗") ? "✗" : "?";
                regeln.append(QStringList{bereich, zeichen, zellen.join(','), faerbung}.join(' '));
            }
        });
        return regeln;
    }

    // The whole workbook as lines of text: the sheets' names; the document's title, subject and
    // creator; then for each sheet its name, its rows (cells joined by " | "), its frozen pane and its
    // conditional formats.
    QStringList alsText() const
    {
        const QString kern = QString::fromUtf8(teil("docProps/core.xml"));
        QStringList zeilen{namen.join(" | ")};
        for (const char *name : {"title", "subject", "creator"})
            zeilen << QRegularExpression(QStringLiteral("<dc:%1>([^<]*)<").arg(name)).match(kern).captured(1);
        for (int nr = 1; nr <= namen.size(); ++nr) {
            zeilen << '[' + namen.at(nr - 1) + ']';
            for (const QStringList &zeile : blatt(nr))
                zeilen << zeile.join(" | ");
            zeilen << regeln(nr);
        }
        return zeilen;
    }

    QStringList namen;

private:
    QByteArray blattXml(int nr) const { return teil(QStringLiteral("xl/worksheets/sheet%1.xml").arg(nr)); }

    QString m_pfad;
    QStringList m_strings;
    QStringList m_formate;
    QStringList m_faerbungen; // background of each conditional format
};

// Handset 5 answers question 3 wrongly. Ranked 12, 5, 7. Question 1 (Bern is right) is voted on
// twice: 5 goes from wrong to right, 7 from right to wrong, 12 stays right.
QList<Person> drei()
{
    QList<Person> personen{teilnehmer(5, 1, {{1, 2, 2, 5500}, {2, 3, 0, 0, false}, {3, 1, 0, 0}}),
                           teilnehmer(7, 1, {{1, 3, 0, 2000}, {3, 4, 1, 2000}}),
                           teilnehmer(12, 1, {{1, 2, 2, 3250}, {2, 1, 0, 0, false}})};
    for (const auto &[p, ersteRunde] : {std::pair{0, 1}, {1, 2}, {2, 2}})
        personen[p].getAntwortDerFrage(1).setAntwortErsteRunde(ersteRunde);
    return personen;
}

} // namespace

class TestExporte final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Umgebung> m_u;

    template<typename Exporter>
    bool mit(const QList<Person> &personen, const Namensliste &namen, ExportFortschritt *fortschritt,
             int aktuelle)
    {
        Exporter exporter(m_u->dialoge, m_u->uhr);
        exporter.fortschrittSetzen(fortschritt);
        exporter.namenSetzen(namen);
        const int n = m_u->katalog.getAnzahlFragen();
        return exporter.ranglisteExportieren(personen, &m_u->katalog, n, aktuelle < 0 ? n : aktuelle);
    }
    // Exports as `art` ("CSV", "PDF", "XLSX") to `datei`; empty: the file dialog is cancelled. From
    // another working folder: the report's pictures must be found all the same.
    bool exportieren(const QString &art, const QString &datei, const QList<Person> &personen = drei(),
                     const Namensliste &namen = {}, ExportFortschritt *fortschritt = nullptr,
                     int aktuelle = -1)
    {
        m_u->dialoge.dateien = {datei};
        const QString vorher = QDir::currentPath();
        const QTemporaryDir anderswo;
        QDir::setCurrent(anderswo.path());
        const bool ok = art == "CSV"   ? mit<csvrangliste>(personen, namen, fortschritt, aktuelle)
                        : art == "PDF" ? mit<pdfrangliste>(personen, namen, fortschritt, aktuelle)
                                       : mit<xlsxrangliste>(personen, namen, fortschritt, aktuelle);
        QDir::setCurrent(vorher);
        return ok;
    }
    QByteArray csv(const QList<Person> &personen, int aktuelle, const Namensliste &namen = {})
    {
        const QString datei = m_u->ziel(QStringLiteral("ergebnis.csv"));
        return exportieren("CSV", datei, personen, namen, nullptr, aktuelle) ? lesen(datei)
                                                                             : "<not exported>";
    }
    // The folder the next dialog starts in; the workbook's is the CSV file's.
    static QString ordner(const QString &art)
    {
        return Einstellungen::text(art == "PDF" ? Schluessel::FilePathPDFRangliste
                                                : Schluessel::FilePathCSVRangliste);
    }
    static QString endung(const QString &art) { return '.' + art.toLower(); }

    QString html(const QList<Person> &personen, int aktuelleFrageNr, const Namensliste &namen = {})
    {
        Exportgrundlage::Daten daten =
            Exportgrundlage::zusammenstellen(personen, &m_u->katalog, m_u->katalog.getAnzahlFragen(),
                                             aktuelleFrageNr, QDateTime::currentDateTime());
        daten.namen = namen;
        return pdfrangliste::html(daten);
    }

private slots:
    void init()
    {
        m_u = std::make_unique<Umgebung>();
        // Whatever an export keeps aside while it writes must be gone afterwards.
        QVERIFY(QDir().mkpath(m_u->ziel("temp")));
        qputenv("TMPDIR", QFile::encodeName(m_u->ziel("temp")));
        QVERIFY(m_u->laden(erdkunde()));
        Einstellungen::setzen(Schluessel::FilePathCSVRangliste, "/frueher/");
        Einstellungen::setzen(Schluessel::FilePathPDFRangliste, "/frueher/");
    }
    void cleanup()
    {
        qunsetenv("TMPDIR");
        QCOMPARE(QDir(m_u->ziel("temp")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
        m_u.reset();
    }

    void fortschrittsdialogBrichtAb_data()
    {
        QTest::addColumn<bool>("fensterGeschlossen");
        QTest::newRow("Cancel") << false;
        QTest::newRow("window closed") << true;
    }
    void fortschrittsdialogBrichtAb()
    {
        QFETCH(bool, fensterGeschlossen);
        auto fenster = std::make_unique<QWidget>();
        fenster->show();
        auto fortschritt = std::make_unique<FortschrittsDialog>(fenster.get(), QStringLiteral("PDF"));
        // While the file dialog is still open nothing may come up over it.
        QCoreApplication::processEvents();
        QVERIFY(!fenster->findChild<QProgressDialog *>());
        // A quick export never shows it. Exports start with 0 %.
        QVERIFY(fortschritt->weiter(0));
        auto *dialog = fenster->findChild<QProgressDialog *>();
        QVERIFY(dialog);
        QCOMPARE(dialog->windowModality(), Qt::WindowModal);
        QVERIFY(fortschritt->weiter(10));
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->value(), 10);
        if (fensterGeschlossen)
            fenster.reset();
        else
            dialog->cancel();
        QVERIFY(!fortschritt->weiter(20));
        fortschritt.reset();
        QVERIFY(!fenster || !fenster->findChild<QProgressDialog *>());
    }

    void dialogVorschlagEndungUndOrdner_data()
    {
        QTest::addColumn<QString>("art");
        for (const char *art : {"CSV", "PDF", "XLSX"})
            QTest::newRow(art) << QString(art);
    }
    void dialogVorschlagEndungUndOrdner()
    {
        QFETCH(QString, art);
        const QString hier = m_u->ordner.path() + '/';
        // A name without a suffix gets the format's; the folder is remembered.
        QVERIFY(exportieren(art, hier + "ohne_endung"));
        QCOMPARE(
            m_u->dialoge.speicherDialoge.value(0),
            (QStringList{"Export " + art, "/frueher/PlenaroAuswertung_" + Zeitstempel, '*' + endung(art)}));
        QVERIFY(QFile::exists(hier + "ohne_endung" + endung(art)));
        QCOMPARE(ordner(art), hier);

        // The next proposal starts there, in the interface language; a suffix of its own is kept.
        Einstellungen::setzen(Schluessel::InstallerLanguage, "1033");
        QVERIFY(exportieren(art, hier + "liste.txt"));
        QCOMPARE(m_u->dialoge.speicherDialoge.value(1).value(1), hier + "PlenaroEvaluation_" + Zeitstempel);
        QVERIFY(m_u->dialoge.hinweise.isEmpty());

        // A file chosen through a link (to a shared folder, say): the link stays, its target gets the
        // export, and a failed export leaves the target as it was.
        const QMap<QString, QByteArray> anfang{{"CSV", "Ran"}, {"PDF", "%PDF"}, {"XLSX", "PK"}};
        QTemporaryDir anderswo;
        const QString echt = anderswo.filePath("echt" + endung(art));
        QVERIFY(Testdaten::schreiben(echt, QByteArray("earlier")));
        const QString link = m_u->ziel("link" + endung(art));
        QVERIFY(QFile::link(echt, link));
        {
            const Dateigrenze platte(200);
            QVERIFY(!exportieren(art, link));
        }
        QCOMPARE(lesen(echt), QByteArray("earlier"));
        QCOMPARE(QFileInfo(link).symLinkTarget(), echt);
        QVERIFY(exportieren(art, link));
        QCOMPARE(QFileInfo(link).symLinkTarget(), echt);
        QVERIFY(lesen(echt).startsWith(anfang.value(art)));
        QCOMPARE(dateien(anderswo.path()), QStringList{"echt" + endung(art)});
        QCOMPARE(dateien(hier),
                 (QStringList{"fragen.xml", "link" + endung(art), "liste.txt", "ohne_endung" + endung(art)}));
    }

    // A cancelled or failed export keeps an older file as it was and leaves nothing behind, and the
    // next dialog starts where the last one did; a failure is told once, naming the file, in the
    // interface's language.
    void nichtsGeschrieben_data()
    {
        QTest::addColumn<QString>("art");
        QTest::addColumn<int>("bei");    // percent the user cancels at; 0: the file dialog, -1: never
        QTest::addColumn<int>("grenze"); // bytes the disk takes; 0: none, and the folder is a file
        QTest::addColumn<bool>("englisch");
        for (const char *art : {"CSV", "PDF", "XLSX"}) {
            QTest::addRow("%s, file dialog cancelled", art) << QString(art) << 0 << 0 << false;
            QTest::addRow("%s, cancelled while writing", art) << QString(art) << 50 << 0 << false;
        }
        QTest::newRow("PDF, cancelled while laid out") << "PDF" << 20 << 0 << false;
        QTest::newRow("PDF, cancelled while printed") << "PDF" << 80 << 0 << false;
        // Beyond the first bytes: the format's writer has begun.
        QTest::newRow("CSV, folder that is a file") << "CSV" << -1 << 0 << true;
        QTest::newRow("CSV, disk fills up") << "CSV" << -1 << 300 << false;
        QTest::newRow("PDF, folder that is a file") << "PDF" << -1 << 0 << false;
        QTest::newRow("PDF, disk fills up while printing") << "PDF" << -1 << 4000 << false;
        QTest::newRow("XLSX, folder that is a file") << "XLSX" << -1 << 0 << false;
        QTest::newRow("XLSX, disk fills up") << "XLSX" << -1 << 1000 << true;
    }
    void nichtsGeschrieben()
    {
        QFETCH(QString, art);
        QFETCH(int, bei);
        QFETCH(int, grenze);
        QFETCH(bool, englisch);
        Einstellungen::setzen(Schluessel::InstallerLanguage, englisch ? "1033" : QString());
        const QString alt = m_u->ziel("alt" + endung(art));
        QVERIFY(Testdaten::schreiben(alt, QByteArray("earlier")));
        QVERIFY(Testdaten::schreiben(m_u->ziel("datei"), QByteArray("x")));
        const QString datei = bei == 0                ? QString()
                              : bei > 0 || grenze > 0 ? alt
                                                      : m_u->ziel("datei/neu" + endung(art));
        AbbrechenderFortschritt fortschritt(bei < 0 ? 101 : bei);
        {
            std::optional<Dateigrenze> platte;
            if (grenze > 0)
                platte.emplace(rlim_t(grenze));
            QVERIFY(!exportieren(art, datei, drei(), {}, &fortschritt));
        }
        // Told in order, and stopped at the first report at or beyond the mark.
        const QList<int> &p = fortschritt.prozente;
        if (bei == 0)
            QCOMPARE(p, QList<int>());
        else if (bei > 0)
            QVERIFY2(std::is_sorted(p.begin(), p.end()) && p.size() >= 2 && p.last() >= bei &&
                         p.at(p.size() - 2) < bei,
                     qPrintable(QTest::toString(p)));
        QCOMPARE(m_u->dialoge.hinweise.size(), bei < 0 ? 1 : 0);
        if (bei < 0) {
            const Meldung &hinweis = m_u->dialoge.hinweise.at(0);
            QVERIFY2(hinweis.text.contains(datei), qPrintable(hinweis.text));
            QVERIFY(hinweis.text.startsWith(englisch ? "The file" : "Die Datei"));
            QVERIFY(!hinweis.informativerText.isEmpty());
        }
        QCOMPARE(lesen(alt), QByteArray("earlier"));
        QCOMPARE(dateien(m_u->ordner.path()), (QStringList{"alt" + endung(art), "datei", "fragen.xml"}));
        QCOMPARE(ordner(art), "/frueher/");
    }

    // Both rounds' shares and the changes of question 1, overall and on the two participants' pages
    // (the CSV file and the workbook are compared whole).
    void beideRunden()
    {
        Einstellungen::setzen(Schluessel::InstallerLanguage, "1033");
        const QString text = html(drei(), 3);
        for (const char *stelle :
             {"33.3%&nbsp;→</font></td><td width='5%'>0.0%", "wrong → right: 1, right → wrong: 1",
              "changed – wrong → right: 1; right → wrong: –", "wrong → right: –; right → wrong: 1"})
            QVERIFY2(text.contains(QString::fromUtf8(stelle)), stelle);
    }

    // Each file exactly as written, against a file of the expected folder whose name says the set-up:
    // a CSV file byte for byte, a workbook as its reader sees it (every cell with its type and number
    // format, the frozen panes, the colours of right and wrong).
    void dateiInhalt_data()
    {
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("no participants, German") << "keine_teilnehmer_de.csv";
        QTest::newRow("ranking, survey, missing records, two rounds, English") << "drei_teilnehmer_en.csv";
        QTest::newRow("names from the roster, English") << "drei_teilnehmer_namen_en.csv";
        QTest::newRow("workbook, German") << "drei_mappe_de.txt";
        QTest::newRow("workbook, names from the roster, English") << "drei_mappe_namen_en.txt";
        QTest::newRow("class sets and a phone in conference mode") << "klassensaetze_konferenz_de.csv";
        QTest::newRow("names per class set and a phone, two class sets named without conference mode")
            << "klassensaetze_namen_de.csv";
    }
    void dateiInhalt()
    {
        QFETCH(QString, erwartet);
        if (erwartet.contains("_en"))
            Einstellungen::setzen(Schluessel::InstallerLanguage, "1033");
        if (erwartet.contains("konferenz"))
            Einstellungen::setzen(Schluessel::Konferenzmodus, "true");
        // Handset 7 answers but is not on the list; 5 has an entry for another class set only;
        // a name that holds the separator and quotes must be quoted like any other field.
        Namensliste namen;
        if (erwartet.contains("namen"))
            QVERIFY(namen.lesenAus(
                "Klassensatz;Gerät;Name\r\n1;12;\"Berg; Ben \"\"Bo\"\"\"\r\n2;5;Anna Muster\r\n"
                "3;5;Carla Drei\r\n9;7;Anderer Satz\r\n",
                false));
        QList<Person> personen; // "keine": nobody has answered, and no question was asked yet
        if (erwartet.startsWith("drei")) {
            Einstellungen::setzen(Schluessel::FrageFile, "C:/Quiz/Erdkunde.xml");
            personen = drei();
        } else if (erwartet.startsWith("klassensaetze")) {
            QVERIFY(m_u->laden({frage("Farbe des Himmels?", {"Blau", "Grün", "Rot", "Gelb"}, "Answer1")}));
            personen = {teilnehmer(5, 2, {{1, 1, 1, 1000}}), teilnehmer(5, 3, {{1, 2, 0, 1500}}),
                        teilnehmer(7, 2, {{1, 1, 1, 2500}}),
                        teilnehmer(7, HandyKlassensatz, {{1, 1, 1, 3000}})};
        }
        const int aktuelleFrageNr = erwartet.startsWith("keine") ? 0 : -1;
        const QString datei = PLENARO_ERWARTET_ORDNER "/" + erwartet;
        if (erwartet.endsWith(".csv")) {
            QCOMPARE(csv(personen, aktuelleFrageNr, namen), lesen(datei));
        } else {
            const QString mappe = m_u->ziel("ergebnis.xlsx");
            QVERIFY(exportieren("XLSX", mappe, personen, namen, nullptr, aktuelleFrageNr));
            QCOMPARE(Mappe(mappe).alsText(), QString::fromUtf8(lesen(datei)).split('\n'));
        }
        QVERIFY(m_u->dialoge.hinweise.isEmpty());
    }

    // A quote, the separator or a line break in a text, a name or the question file's path: a
    // spreadsheet still reads each such field as one cell with the text as it was.
    void feldBleibtEineZelle_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("quote at the start") << "\"Bo\" Berg";
        QTest::newRow("quote inside") << "Bo \"der Dritte\"";
        QTest::newRow("separator") << "Berg; Bo";
        QTest::newRow("line feed") << "Zeile 1\nZeile 2";
        QTest::newRow("carriage return") << "Zeile 1\rZeile 2";
        QTest::newRow("all of them") << "\"Berg\"; Bo\r\nZwei";
    }
    void feldBleibtEineZelle()
    {
        QFETCH(QString, text);
        Einstellungen::setzen(Schluessel::FrageFile, "/tmp/" + text + "/quiz.xml");
        QVERIFY(m_u->laden({frage(text + "?", {text + "!", "B", {}, {}}, "Answer1")}));
        Namensliste namen;
        QVERIFY(namen.lesenAus("3;\"" + QString(text).replace('"', "\"\"").toUtf8() + "\"\n", false));
        // As the catalogue and the roster hold them (a question file keeps no carriage return).
        const QString frageText = FrageDatei::feld(m_u->katalog.getFrage(1), "QuestionText");
        const QString antwort = FrageDatei::feld(m_u->katalog.getFrage(1), "Answer1");
        const QString name = namen.name(1, 3);

        const QByteArray datei = csv({teilnehmer(3, 1, {{1, 1, 1, 2000}})}, 1, namen);
        const QList<QStringList> saetze = CsvLeser::datensaetze(QString::fromUtf8(datei), ';');
        const auto zellen = [&saetze](const QString &zelle) {
            int anzahl = 0;
            for (const QStringList &satz : saetze)
                anzahl += int(satz.count(zelle));
            return anzahl;
        };
        // In the evaluation and in the participant's block; the name in the ranking and the block.
        QCOMPARE(zellen(frageText), 2);
        QCOMPARE(zellen(antwort), 2);
        QCOMPARE(zellen(name), 1);
        QCOMPARE(zellen("Name: " + name), 1);
        QCOMPARE(zellen("Filename: /tmp/" + text + "/quiz.xml"), 1);
        QVERIFY(saetze.contains(QStringList{antwort, "100.0%", "1"}));
        QVERIFY(saetze.contains(QStringList{"1", "3", "2.00", "1", name}));
    }

    void seitenumbruecheVorRang41UndJederAchtenFrage()
    {
        Einstellungen::setzen(Schluessel::FrageFile, "/home/lehrer/quiz & test.xml");
        QVERIFY(m_u->laden(Testdaten::fragen(17)));
        QList<Person> personen;
        for (int i = 1; i <= 45; ++i)
            personen.append(teilnehmer(uint(i), 1, {{1, 1, 45 - i, 1000.0 * i}}));
        QString text = html(personen, 17);
        QVERIFY(text.startsWith("<div><img src='imagespdf/corvantalogo.png' height='50'/></div>"
                                "<h1>Rangliste nach 17/17 Fragen</h1><br>"));
        QVERIFY(text.contains("Filename: /home/lehrer/quiz &amp; test.xml<br>"));
        QCOMPARE(text.count(UmbruchInListe + "<tr><td><div>"), 1);
        QCOMPARE(text.count(UmbruchInListe + "<tr><td><div>41</div>"), 1);
        // The question tables of the three sections and of the 45 participants alike.
        for (const int frageNr : {8, 16}) {
            const QRegularExpression vorFrage(
                QRegularExpression::escape(UmbruchInListe) +
                QStringLiteral("<table align='left' class='\\w+' border='0' "
                               "cellpadding='0' cellspacing='0'><tr><td width='5%'>%1\\.</td>")
                    .arg(frageNr));
            QCOMPARE(text.count(vorFrage), 3 + 45);
        }
        // Once in the ranking, twice in each of three question sections and 45 participant groups,
        // plus one before each section and each participant.
        QCOMPARE(text.count(UmbruchInListe), 1 + 2 * (3 + 45));
        QCOMPARE(text.count(Umbruch), 1 + 2 * (3 + 45) + 3 + 45);

        // Without participants, in English.
        QVERIFY(m_u->laden(Testdaten::fragen(2)));
        Einstellungen::setzen(Schluessel::InstallerLanguage, "1033");
        text = html({}, 0);
        QVERIFY(text.contains("<td width='20%'>Points</td></tr></table>" + Umbruch +
                              "<h1>Questions/Answers Evaluation</h1>"));
        QVERIFY(text.contains("<h1>Ranking list after 0/2 questions</h1>"));
        QVERIFY(!text.contains("Device-ID: "));
        // Each question in the evaluation and with and without solution; no shares to divide.
        QCOMPARE(text.count("<tr><td width='5%'>2.</td>"), 3);
        QCOMPARE(text.count("0.0%"), 8);
    }

    // Where the report marks the correct answer, and how it shows a participant's answer: the
    // pressed box and the tick on the solution, both in the colour of the verdict. A name from the
    // roster stands escaped beside the handset, in the ranking and above its pages.
    void richtigeAntwortMarkiert_data()
    {
        QTest::addColumn<QString>("loesung");
        QTest::addColumn<int>("knopf"); // 0: not pressed
        QTest::addColumn<QString>("urteil");
        QTest::newRow("A, pressed A") << "Answer1" << 1 << "richtig";
        QTest::newRow("D, pressed D") << "Answer4" << 4 << "richtig";
        QTest::newRow("B, pressed C") << "Answer2" << 3 << "falsch";
        QTest::newRow("D, pressed A") << "Answer4" << 1 << "falsch";
        QTest::newRow("C, not pressed") << "Answer3" << 0 << "keineantwort";
        QTest::newRow("survey, pressed B") << "NoAnswer" << 2 << "keineantwort";
    }
    void richtigeAntwortMarkiert()
    {
        QFETCH(QString, loesung);
        QFETCH(int, knopf);
        QFETCH(QString, urteil);
        QVERIFY(m_u->laden({frage("Welche?", {"eins", "zwei", "drei", "vier"}, loesung)}));
        QList<Antwort> antworten;
        if (knopf > 0)
            antworten.append({1, knopf, urteil == "richtig" ? 1 : 0, 2000, loesung != "NoAnswer"});
        // Someone else, not on the roster, pressed answer 2, so the shares differ from the
        // participant's press.
        Namensliste namen;
        QVERIFY(namen.lesenAus("9;<b>Anna</b> & Bo\n", false));
        const QString text =
            html({teilnehmer(9, 1, antworten), teilnehmer(8, 1, {{1, 2, 0, 3000}})}, 1, namen);
        const QString anna = "9 (&lt;b&gt;Anna&lt;/b&gt; &amp; Bo)";
        QVERIFY(text.contains("<td><div>" + anna + "</div></td>"));
        QVERIFY(text.contains("<h1>Ger&auml;te-ID: 8</h1>"));
        QVERIFY(!text.contains("<b>Anna"));

        const QMap<QString, QStringList> farben{{"richtig", {"green", "haken_hellgruen.png"}},
                                                {"falsch", {"rot", "haken_rot.png"}},
                                                {"keineantwort", {"sw", "haken_schwarz.png"}}};
        const QString kasten = farben.value(urteil).at(0), haken = farben.value(urteil).at(1);
        const int richtig = FrageDatei::richtigerKnopf(loesung);
        QList<QStringList> person, auswertung, mitLoesung, ohneLoesung;
        for (int k = 1; k <= 4; ++k) {
            const QString markiert = k == richtig ? "haken_schwarz.png" : QString();
            person << QStringList{QStringLiteral("checkbox_%1_%2.png").arg(kasten, k == knopf ? "t" : "f"),
                                  k == richtig ? haken : QString()};
            const int stimmen = (k == knopf) + (k == 2);
            auswertung << QStringList{
                QStringLiteral("%1%").arg(50.0 * stimmen / (knopf > 0 ? 1 : 0.5), 0, 'f', 1), markiert};
            mitLoesung << QStringList{markiert};
            ohneLoesung << QStringList{"checkbox_sw_f.png"};
        }
        const qsizetype kopf = text.indexOf("<h1>Ger&auml;te-ID: " + anna + "</h1>");
        QVERIFY(kopf > 0);
        const qsizetype tabelle = text.indexOf("<table", text.indexOf("</table>", kopf));
        QCOMPARE(text.mid(tabelle).section('\'', 3, 3), "auswertungproperson" + urteil);
        QCOMPARE(zellen(text, kopf), person);
        QCOMPARE(zellen(text, text.indexOf("Auswertung</h1>")), auswertung);
        QCOMPARE(zellen(text, text.indexOf("mit L&ouml;sung</h1>")), mitLoesung);
        QCOMPARE(zellen(text, text.indexOf("ohne L&ouml;sung</h1>")), ohneLoesung);
    }

    // A participant's pages are drawn from a model page where they can be; they must look as if
    // laid out whole. Participant 30 (nine questions, one survey) is printed once alone and once
    // behind `davor` others who answered everything right; a heading of another height is laid
    // out whole, so its pages show what the model draws against what the layout draws.
    void seitenEinesTeilnehmersUnabhaengigVomRang_data()
    {
        QTest::addColumn<int>("davor");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("frageText");
        QTest::addColumn<int>("seiten");   // of the report with participant 30 alone
        QTest::addColumn<int>("seitenJe"); // of each participant
        const QString kurz = "Frage %1";
        QTest::newRow("allein vorne") << 1 << QString() << kurz << 9 << 2;
        QTest::newRow("Name") << 1 << "Ben & Bo" << kurz << 9 << 2;
        QTest::newRow("Name, der die Kopfzeile umbricht")
            << 1 << "Maximiliane Konstanze Friederike von Hohenlohe-Schillingsfürst" << kurz << 9 << 2;
        QTest::newRow("zweite Seite der Rangliste") << 45 << QString() << kurz << 9 << 2;
        QTest::newRow("Fragen, die über die Seite laufen")
            << 1 << QString() << "Frage %1: " + QString("Welche Antwort passt hier? ").repeated(30) << 13
            << 3;
    }
    void seitenEinesTeilnehmersUnabhaengigVomRang()
    {
        QFETCH(int, davor);
        QFETCH(QString, name);
        QFETCH(QString, frageText);
        QFETCH(int, seiten);
        QFETCH(int, seitenJe);
        QList<Testdaten::Frage> liste = Testdaten::fragen(9);
        for (int i = 0; i < 9; ++i)
            liste[i].text = frageText.arg(i + 1);
        liste[4].loesung = "NoAnswer";
        QVERIFY(m_u->laden(liste));
        Namensliste namen;
        QVERIFY(name.isEmpty() || namen.lesenAus(QStringLiteral("30;%1\n").arg(name).toUtf8(), false));
        // Right, wrong, none, right, survey, wrong, right; on the second page wrong and none.
        const Person person = teilnehmer(30, 1,
                                         {{1, 1, 1, 2000},
                                          {2, 4, 0, 3000},
                                          {4, 4, 1, 1000},
                                          {5, 3, 0, 0, false},
                                          {6, 1, 0, 500},
                                          {7, 3, 1, 700},
                                          {8, 1, 0, 800}});
        QList<Person> vorne;
        for (int i = 1; i <= davor; ++i) {
            QList<Antwort> richtig;
            for (int f = 1; f <= 9; ++f) {
                if (f != 5)
                    richtig.append({f, (f - 1) % 4 + 1, 1, 100.0 * f});
            }
            vorne.append(teilnehmer(uint(i), 1, richtig));
        }
        const QString allein = m_u->ziel("allein.pdf"), dahinter = m_u->ziel("dahinter.pdf");
        QVERIFY(exportieren("PDF", allein, {person}, namen));
        QVERIFY(exportieren("PDF", dahinter, vorne + QList<Person>{person}, namen));

        // Ranking, the three question sections, then the participants' pages, 30's at the end.
        QCOMPARE(seitenZahl(allein), seiten);
        // The logo, the boxes and the ticks, one line each after two heading lines.
        QVERIFY(poppler("pdfimages", {"-list", allein}).count('\n') > 40);
        QCOMPARE(seitenZahl(dahinter), seiten + (davor + 1 > 40 ? 1 : 0) + davor * seitenJe);
        for (int s = 1; s <= seitenJe; ++s) {
            const int hier = seiten - seitenJe + s;
            const int dort = seitenZahl(dahinter) - seitenJe + s;
            const QString text = seitenText(allein, hier);
            QVERIFY2(s > 1 || text.contains("Geräte-ID: 30"), qPrintable(text));
            QCOMPARE(seitenText(dahinter, dort), text);
            // Both drawn here and now: the same machine and fonts draw the same page alike.
            const QByteArray bild = seitenBild(allein, hier, m_u->ordner.path());
            QVERIFY(bild.size() > 10000);
            QVERIFY2(seitenBild(dahinter, dort, m_u->ordner.path()) == bild, qPrintable(QString::number(s)));
        }
    }
};

QTEST_MAIN(TestExporte)
#include "tst_exporte.moc"
