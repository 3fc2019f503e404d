#include "exporttesthilfe.h"
#include "pdfrangliste.h"
#include "testeinstellungen.h"

#include "einstellungen.h"
#include "schluessel.h"

#include <QStandardPaths>
#include <QtTest>

using namespace Exporttest;

namespace {

const QString Umbruch =
    QStringLiteral("<div style=\"page-break-after:always\"></div><br>"
                   "<div><img class='logo' src='imagespdf/corvantalogo.png' height='50'/></div>");
const QString UmbruchInListe = Umbruch + QStringLiteral("<br>");
const QString FrageTabelle = QStringLiteral(
    "<table align='left' class='tablestylegesamtauswertung' border='0' cellpadding='0' cellspacing='0'>");

// Runs a poppler tool and returns what it printed; fails the test when the tool is missing.
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

QString ohneSeitenNummer(QString text)
{
    static const QRegularExpression nummer(QStringLiteral("\\s*\\d+\\s*$"));
    return text.remove(nummer);
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

QString seitenText(const QString &pdf, int seite)
{
    return poppler(QStringLiteral("pdftotext"),
                   {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(seite),
                    QStringLiteral("-l"), QString::number(seite), pdf, QStringLiteral("-")});
}

} // namespace

class TestPdfRangliste final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEinstellungen> m_einstellungen;
    std::unique_ptr<QTemporaryDir> m_ordner;
    DialogRekorder m_dialoge;
    TestUhr m_uhr;

    QString ziel(const QString &name) const { return m_ordner->filePath(name); }

    QList<Testdaten::Frage> fragen(int anzahl) const
    {
        QList<Testdaten::Frage> liste;
        for (int i = 1; i <= anzahl; ++i) {
            liste.append(frage(QStringLiteral("Frage %1").arg(i),
                               {QStringLiteral("A%1").arg(i), QStringLiteral("B%1").arg(i),
                                QStringLiteral("C%1").arg(i), QStringLiteral("D%1").arg(i)},
                               QStringLiteral("Answer%1").arg((i - 1) % 4 + 1)));
        }
        return liste;
    }

    QList<Person> viele(int anzahl) const
    {
        QList<Person> personen;
        for (int i = 1; i <= anzahl; ++i)
            personen.append(teilnehmer(uint(i), 1, {{1, 1, anzahl - i, 1000.0 * i}}));
        return personen;
    }

    // A survey question, a quiz question whose answer 3 is right, and participants who answered
    // right, wrong, not at all, and pressed on the survey.
    void klassifizierung(Fragenkatalog &katalog, QList<Person> &personen)
    {
        QVERIFY(
            laden(katalog, *m_ordner,
                  {frage(QStringLiteral("Umfrage?"), {QStringLiteral("Ja"), QStringLiteral("Nein"), {}, {}},
                         QStringLiteral("NoAnswer")),
                   frage(QStringLiteral("Welche?"),
                         {QStringLiteral("eins"), QStringLiteral("zwei"), QStringLiteral("drei"),
                          QStringLiteral("vier")},
                         QStringLiteral("Answer3"), QStringLiteral("2"))}));
        personen = {teilnehmer(21, 1, {{1, 2, 0, 0, false}, {2, 3, 2, 4000}}),
                    teilnehmer(22, 1, {{2, 1, 0, 3000}}), teilnehmer(23, 1, {})};
    }

    QString html(const QList<Person> &personen, const Fragenkatalog &katalog, int aktuelleFrageNr)
    {
        return pdfrangliste::html(Exportgrundlage::zusammenstellen(
            personen, &katalog, katalog.getAnzahlFragen(), aktuelleFrageNr, QDateTime::currentDateTime()));
    }

    bool exportieren(const QList<Person> &personen, const Fragenkatalog &katalog,
                     ExportFortschritt *fortschritt = nullptr, const Namensliste &namen = {})
    {
        pdfrangliste exporter(m_dialoge, m_uhr);
        exporter.fortschrittSetzen(fortschritt);
        exporter.namenSetzen(namen);
        return exporter.ranglisteExportieren(personen, &katalog, katalog.getAnzahlFragen(),
                                             katalog.getAnzahlFragen());
    }

private slots:
    void initTestCase() { zeitzoneUtc(); }
    void init()
    {
        m_einstellungen = std::make_unique<TestEinstellungen>();
        m_ordner = std::make_unique<QTemporaryDir>();
        m_dialoge.leeren();
        m_dialoge.dateien.clear();
        Einstellungen::setzen(Schluessel::FrageFile, QStringLiteral("/home/lehrer/quiz & test.xml"));
    }
    void cleanup()
    {
        m_einstellungen.reset();
        m_ordner.reset();
    }

    void seitenumbruecheVorRang41UndJederAchtenFrage()
    {
        Fragenkatalog katalog(m_dialoge);
        QVERIFY(laden(katalog, *m_ordner, fragen(17)));
        const QString text = html(viele(45), katalog, 17);

        QCOMPARE(text.count(UmbruchInListe + QStringLiteral("<tr><td><div>41</div>")), 1);
        QCOMPARE(text.count(UmbruchInListe + QStringLiteral("<tr><td><div>")), 1);
        // The question tables of the three sections and of the 45 participants alike.
        for (const int frageNr : {8, 16}) {
            const QRegularExpression vorFrage(
                QRegularExpression::escape(UmbruchInListe) +
                QStringLiteral("<table align='left' class='\\w+' border='0' "
                               "cellpadding='0' cellspacing='0'><tr><td width='5%'>%1\\.</td>")
                    .arg(frageNr));
            QCOMPARE(text.count(vorFrage), 3 + 45);
        }
        QVERIFY(text.contains(UmbruchInListe + FrageTabelle + QStringLiteral("<tr><td width='5%'>8.</td>")));
        // Once in the ranking, twice in each of three question sections and 45 participant groups.
        QCOMPARE(text.count(UmbruchInListe), 1 + 2 * (3 + 45));
        // Plus one before each section and each participant.
        QCOMPARE(text.count(Umbruch), 1 + 2 * (3 + 45) + 3 + 45);
        QVERIFY(
            text.startsWith(QStringLiteral("<div><img src='imagespdf/corvantalogo.png' height='50'/></div>"
                                           "<h1>Rangliste nach 17/17 Fragen</h1><br>")));
        QVERIFY(text.contains(QStringLiteral("Filename: /home/lehrer/quiz &amp; test.xml<br>")));
    }

    void ohneTeilnehmer()
    {
        Fragenkatalog katalog(m_dialoge);
        QVERIFY(laden(katalog, *m_ordner, fragen(2)));
        Einstellungen::setzen(Schluessel::InstallerLanguage, QStringLiteral("1033"));
        const QString text = html({}, katalog, 0);
        QVERIFY(text.contains(QStringLiteral("<td width='20%'>Points</td></tr></table>") + Umbruch +
                              QStringLiteral("<h1>Questions/Answers Evaluation</h1>")));
        QVERIFY(text.contains(QStringLiteral("<h1>Ranking list after 0/2 questions</h1>")));
        QVERIFY(text.contains(QStringLiteral("<h1>Questions/answers without solution</h1>")));
        QVERIFY(text.contains(QStringLiteral("<h1>Questions/answers with solution</h1>")));
        QVERIFY(!text.contains(QStringLiteral("Device-ID: ")));
        QCOMPARE(text.count(QStringLiteral("<tr><td width='5%'>2.</td>")), 3);
        QCOMPARE(text.count(QStringLiteral("0.0%")), 8);
    }

    void namenStehenMaskiertNebenDenGeraeten()
    {
        Fragenkatalog katalog(m_dialoge);
        QList<Person> personen;
        klassifizierung(katalog, personen);
        Exportgrundlage::Daten daten = Exportgrundlage::zusammenstellen(
            personen, &katalog, katalog.getAnzahlFragen(), 2, QDateTime::currentDateTime());
        const QString ohne = pdfrangliste::html(daten);
        QVERIFY(daten.namen.lesenAus(QByteArrayLiteral("21;<b>Anna</b> & Bo\n22;Ben\n"), false));
        const QString text = pdfrangliste::html(daten);

        // Ranked 21, 23, 22; 23 is not on the list and keeps its bare number.
        const QString anna = QStringLiteral("&lt;b&gt;Anna&lt;/b&gt; &amp; Bo");
        QVERIFY(text.contains(QStringLiteral("<tr><td><div>1</div></td><td><div>21 (") + anna +
                              QStringLiteral(")</div></td>")));
        QVERIFY(text.contains(QStringLiteral("<tr><td><div>2</div></td><td><div>23</div></td>")));
        QVERIFY(text.contains(QStringLiteral("<tr><td><div>3</div></td><td><div>22 (Ben)</div></td>")));
        QVERIFY(text.contains(QStringLiteral("<h1>Ger&auml;te-ID: 21 (") + anna + QStringLiteral(")</h1>")));
        QVERIFY(text.contains(QStringLiteral("<h1>Ger&auml;te-ID: 22 (Ben)</h1>")));
        QVERIFY(text.contains(QStringLiteral("<h1>Ger&auml;te-ID: 23</h1>")));
        QVERIFY(!text.contains(QStringLiteral("<b>Anna")));
        // Without a list the report is the one it always was.
        QVERIFY(!ohne.contains(QStringLiteral("Anna")));
        QVERIFY(ohne.contains(QStringLiteral("<h1>Ger&auml;te-ID: 21</h1>")));
        daten.namen = {};
        QCOMPARE(pdfrangliste::html(daten), ohne);
    }

    void richtigFalschKeineAntwort()
    {
        Fragenkatalog katalog(m_dialoge);
        QList<Person> personen;
        klassifizierung(katalog, personen);
        const QString text = html(personen, katalog, 2);
        const auto bildZelle = [](const QString &name) {
            return QStringLiteral("<td width='5%'><img src='imagespdf/") + name +
                   QStringLiteral("' height='10'/></td>");
        };
        const auto tabelleDerPerson = [&](const QString &klasse, const QStringList &kaesten,
                                          const QString &haken) {
            const QStringList antworten{QStringLiteral("eins"), QStringLiteral("zwei"),
                                        QStringLiteral("drei"), QStringLiteral("vier")};
            QString t =
                QStringLiteral("<table align='left' class='") + klasse +
                QStringLiteral("' border='0' cellpadding='0' cellspacing='0'><tr><td width='5%'>2.</td>"
                               "<td colspan='3'>Welche?</td></tr>");
            for (int k = 0; k < 4; ++k) {
                t += QStringLiteral("<tr><td width='5%'></td>") + bildZelle(kaesten.at(k)) +
                     (k == 2 ? bildZelle(haken) : QStringLiteral("<td width='5%'></td>")) +
                     QStringLiteral("<td width='85%'>") + antworten.at(k) + QStringLiteral("</td></tr>");
            }
            return t + QStringLiteral("</table><br>");
        };
        const QString f = QStringLiteral("checkbox_%1_f.png");
        const QString t = QStringLiteral("checkbox_%1_t.png");
        const QString richtig =
            tabelleDerPerson(QStringLiteral("auswertungpropersonrichtig"),
                             {f.arg("green"), f.arg("green"), t.arg("green"), f.arg("green")},
                             QStringLiteral("haken_hellgruen.png"));
        const QString falsch = tabelleDerPerson(QStringLiteral("auswertungpropersonfalsch"),
                                                {t.arg("rot"), f.arg("rot"), f.arg("rot"), f.arg("rot")},
                                                QStringLiteral("haken_rot.png"));
        const QString keine = tabelleDerPerson(QStringLiteral("auswertungpropersonkeineantwort"),
                                               {f.arg("sw"), f.arg("sw"), f.arg("sw"), f.arg("sw")},
                                               QStringLiteral("haken_schwarz.png"));
        // Ranked 21 (2 points), 23 (0 points in 0 s), 22 (0 points in 3 s); each group starts with its
        // heading.
        const qsizetype p21 = text.indexOf(QStringLiteral("<h1>Ger&auml;te-ID: 21</h1>"));
        const qsizetype p22 = text.indexOf(QStringLiteral("<h1>Ger&auml;te-ID: 22</h1>"));
        const qsizetype p23 = text.indexOf(QStringLiteral("<h1>Ger&auml;te-ID: 23</h1>"));
        QVERIFY(p21 > 0 && p21 < p23 && p23 < p22);
        QCOMPARE(text.indexOf(richtig, p21), text.lastIndexOf(richtig));
        QVERIFY(text.indexOf(richtig) < p23);
        QVERIFY(text.indexOf(falsch) > p22);
        QVERIFY(text.indexOf(keine) > p23 && text.indexOf(keine) < p22);
        QVERIFY(
            text.contains(QStringLiteral("<h1>Antwortszeit: 4.00 [s]</h1></td><td style='padding-left:40'>"
                                         "<h1>Punktzahl: 2</h1>")));

        // The survey: a pressed button is a black ticked box, never right or wrong, and no tick.
        const QString umfrage21 = text.mid(p21, p23 - p21).section(QStringLiteral("</table><br>"), 1, 1);
        QVERIFY(umfrage21.contains(QStringLiteral("auswertungpropersonkeineantwort")));
        QVERIFY(umfrage21.contains(bildZelle(f.arg("sw")) +
                                   QStringLiteral("<td width='5%'></td><td width='85%'>Ja")));
        QVERIFY(umfrage21.contains(bildZelle(t.arg("sw")) +
                                   QStringLiteral("<td width='5%'></td><td width='85%'>Nein")));
        QVERIFY(!umfrage21.contains(QStringLiteral("haken_")));

        // Evaluation: shares, the tick on the solution, none on the survey; the blank sheet has boxes only.
        QVERIFY(text.contains(QStringLiteral("<tr><td width='5%'></td><td width='5%'>50.0%</td>") +
                              bildZelle(QStringLiteral("haken_schwarz.png")) +
                              QStringLiteral("<td width='85%'>drei")));
        QVERIFY(text.contains(
            QStringLiteral("<tr><td width='5%'></td><td width='5%'>100.0%</td><td width='5%'></td>"
                           "<td width='85%'>Nein")));
        const QString ohne =
            text.section(QStringLiteral("ohne L&ouml;sung</h1><br>"), 1).section(Umbruch, 0, 0);
        QCOMPARE(ohne.count(QStringLiteral("checkbox_sw_f.png")), 8);
        QVERIFY(!ohne.contains(QStringLiteral("haken")));
        const QString mit =
            text.section(QStringLiteral("mit L&ouml;sung</h1><br>"), 1).section(Umbruch, 0, 0);
        QCOMPARE(mit.count(QStringLiteral("haken_schwarz.png")), 1);
        QVERIFY(!mit.contains(QStringLiteral("checkbox")));
    }

    void seitenUndTextDerPdfDatei()
    {
        Fragenkatalog katalog(m_dialoge);
        QList<Person> personen;
        klassifizierung(katalog, personen);
        Einstellungen::setzen(Schluessel::InstallerLanguage, QStringLiteral("1033"));
        m_dialoge.dateien = {ziel(QStringLiteral("bericht"))};
        QVERIFY(exportieren(personen, katalog));
        QVERIFY(m_dialoge.hinweise.isEmpty());
        const QString pdf = ziel(QStringLiteral("bericht.pdf"));
        if (qEnvironmentVariableIsSet("PLENARO_PDF_KOPIE"))
            QFile::copy(pdf, qEnvironmentVariable("PLENARO_PDF_KOPIE"));
        QVERIFY(lesen(pdf).startsWith("%PDF"));

        // Ranking, evaluation, blank sheet, solutions, three participants.
        QCOMPARE(seitenZahl(pdf), 7);
        const QString rangliste = seitenText(pdf, 1);
        QVERIFY2(rangliste.contains(QStringLiteral("Ranking list after 2/2 questions")),
                 qPrintable(rangliste));
        static const QRegularExpression zeile21(QStringLiteral("1\\s+21\\s+4.00\\s+2"));
        QVERIFY2(rangliste.contains(zeile21), qPrintable(rangliste));
        QVERIFY(seitenText(pdf, 2).contains(QStringLiteral("Questions/Answers Evaluation")));
        QVERIFY(seitenText(pdf, 2).contains(QStringLiteral("50.0%")));
        QVERIFY(seitenText(pdf, 3).contains(QStringLiteral("Questions/answers without solution")));
        QVERIFY(seitenText(pdf, 4).contains(QStringLiteral("Questions/answers with solution")));
        const int geraete[] = {21, 23, 22};
        for (int s = 5; s <= 7; ++s) {
            const QString text = seitenText(pdf, s);
            QVERIFY2(text.contains(QStringLiteral("Device-ID: %1").arg(geraete[s - 5])), qPrintable(text));
            QVERIFY(text.contains(QStringLiteral("Welche?")));
        }
        QVERIFY(seitenText(pdf, 5).contains(QStringLiteral("Points: 2")));
    }

    void seitenEinesTeilnehmersUnabhaengigVomRang_data()
    {
        QTest::addColumn<int>("davor");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("frageText");
        // Of the report with participant 30 alone, and of each participant.
        QTest::addColumn<int>("seiten");
        QTest::addColumn<int>("seitenJe");
        const QString kurz = QStringLiteral("Frage %1");
        QTest::newRow("allein vorne") << 1 << QString() << kurz << 9 << 2;
        QTest::newRow("Name") << 1 << QStringLiteral("Ben & Bo") << kurz << 9 << 2;
        QTest::newRow("Name, der die Kopfzeile umbricht")
            << 1 << QStringLiteral("Maximiliane Konstanze Friederike von Hohenlohe-Schillingsfürst") << kurz
            << 9 << 2;
        QTest::newRow("zweite Seite der Rangliste") << 45 << QString() << kurz << 9 << 2;
        QTest::newRow("Fragen, die über die Seite laufen")
            << 1 << QString()
            << QStringLiteral("Frage %1: ") + QStringLiteral("Welche Antwort passt hier? ").repeated(30) << 13
            << 3;
    }

    // Participant 30 is printed once alone and once behind `davor` others who answered everything
    // right: its pages (nine questions, one survey) look the same either way.
    void seitenEinesTeilnehmersUnabhaengigVomRang()
    {
        QFETCH(int, davor);
        QFETCH(QString, name);
        QFETCH(QString, frageText);
        QFETCH(int, seiten);
        QFETCH(int, seitenJe);
        Fragenkatalog katalog(m_dialoge);
        QList<Testdaten::Frage> liste = fragen(9);
        for (int i = 0; i < 9; ++i)
            liste[i].text = frageText.arg(i + 1);
        liste[4].loesung = QStringLiteral("NoAnswer");
        QVERIFY(laden(katalog, *m_ordner, liste));
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

        const QString allein = ziel(QStringLiteral("allein.pdf"));
        m_dialoge.dateien = {allein};
        QVERIFY(exportieren({person}, katalog, nullptr, namen));
        const QString dahinter = ziel(QStringLiteral("dahinter.pdf"));
        m_dialoge.dateien = {dahinter};
        QVERIFY(exportieren(vorne + QList<Person>{person}, katalog, nullptr, namen));
        QVERIFY(m_dialoge.hinweise.isEmpty());

        // Ranking, the three question sections, then the participants' pages, 30's at the end.
        QCOMPARE(seitenZahl(allein), seiten);
        const int rangSeiten = davor + 1 > 40 ? 2 : 1;
        QCOMPARE(seitenZahl(dahinter), seiten + rangSeiten - 1 + davor * seitenJe);
        for (int s = 1; s <= seitenJe; ++s) {
            const int hier = seiten - seitenJe + s;
            const int dort = seitenZahl(dahinter) - seitenJe + s;
            const QString text = seitenText(allein, hier);
            QVERIFY2(s > 1 || text.contains(QStringLiteral("Geräte-ID: 30")), qPrintable(text));
            QCOMPARE(ohneSeitenNummer(seitenText(dahinter, dort)), ohneSeitenNummer(text));
            const QByteArray bild = seitenBild(allein, hier, m_ordner->path());
            QVERIFY(bild.size() > 10000);
            QVERIFY2(seitenBild(dahinter, dort, m_ordner->path()) == bild, qPrintable(QString::number(s)));
        }
    }

    void bilderAusJedemArbeitsordner()
    {
        Fragenkatalog katalog(m_dialoge);
        QList<Person> personen;
        klassifizierung(katalog, personen);
        const QString vorher = QDir::currentPath();
        QTemporaryDir anderswo;
        QVERIFY(QDir::setCurrent(anderswo.path()));
        m_dialoge.dateien = {ziel(QStringLiteral("bilder.pdf"))};
        const bool ok = exportieren(personen, katalog);
        QDir::setCurrent(vorher);
        QVERIFY(ok);
        // One line per picture drawn, after two heading lines. The logo, the boxes and the ticks.
        const QStringList bilder = poppler(QStringLiteral("pdfimages"),
                                           {QStringLiteral("-list"), ziel(QStringLiteral("bilder.pdf"))})
                                       .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                       .mid(2);
        QVERIFY2(bilder.size() > 40, qPrintable(bilder.join(QLatin1Char('\n'))));
    }

    void dialogEndungUndOrdner()
    {
        Fragenkatalog katalog(m_dialoge);
        QVERIFY(laden(katalog, *m_ordner, fragen(1)));
        const QString ordner = m_ordner->path() + QLatin1Char('/');
        m_dialoge.dateien = {ordner + QStringLiteral("bericht.dat")};
        QVERIFY(exportieren(viele(2), katalog));
        QCOMPARE(m_dialoge.speicherDialoge.value(0),
                 (QStringList{QStringLiteral("Export PDF"),
                              QStringLiteral("PlenaroAuswertung_") + Zeitstempel, QStringLiteral("*.pdf")}));
        QVERIFY(lesen(ordner + QStringLiteral("bericht.dat")).startsWith("%PDF"));
        QCOMPARE(Einstellungen::text(Schluessel::FilePathPDFRangliste), ordner);
        Einstellungen::setzen(Schluessel::InstallerLanguage, QStringLiteral("1033"));
        QVERIFY(!exportieren(viele(2), katalog));
        QCOMPARE(m_dialoge.speicherDialoge.value(1).value(1),
                 ordner + QStringLiteral("PlenaroEvaluation_") + Zeitstempel);
        QCOMPARE(Einstellungen::text(Schluessel::FilePathPDFRangliste), ordner);
    }

    void abbrechenUndFehler()
    {
        Fragenkatalog katalog(m_dialoge);
        QVERIFY(laden(katalog, *m_ordner, fragen(9)));
        Einstellungen::setzen(Schluessel::FilePathPDFRangliste, QStringLiteral("/frueher/"));
        const QString alt = ziel(QStringLiteral("bericht.pdf"));
        QVERIFY(Testdaten::schreiben(alt, QByteArray("earlier report")));

        // Cancelled while the report is laid out, and while its pages are printed.
        for (const int bei : {20, 60}) {
            AbbrechenderFortschritt fortschritt(bei);
            m_dialoge.dateien = {alt};
            QVERIFY(!exportieren(viele(6), katalog, &fortschritt));
            QVERIFY(fortschritt.prozente.size() > 3);
            QVERIFY(!fortschritt.rueckwaerts);
            QVERIFY(fortschritt.prozente.last() >= bei);
            QVERIFY(fortschritt.prozente.at(fortschritt.prozente.size() - 2) < bei);
            QVERIFY(m_dialoge.hinweise.isEmpty());
        }

        // A folder that is a file.
        const QString keinOrdner = ziel(QStringLiteral("datei"));
        QVERIFY(Testdaten::schreiben(keinOrdner, QByteArray("x")));
        m_dialoge.dateien = {keinOrdner + QStringLiteral("/bericht.pdf")};
        QVERIFY(!exportieren(viele(6), katalog));
        QCOMPARE(m_dialoge.hinweise.size(), 1);
        QVERIFY(m_dialoge.hinweise.at(0).text.contains(keinOrdner + QStringLiteral("/bericht.pdf")));

        // The disk fills up while printing.
        m_dialoge.leeren();
        m_dialoge.dateien = {alt};
        {
            const DateiGroessenGrenze grenze(4000);
            QVERIFY(!exportieren(viele(6), katalog));
        }
        QCOMPARE(m_dialoge.hinweise.size(), 1);
        QVERIFY(m_dialoge.hinweise.at(0).text.contains(alt));
        QVERIFY(!m_dialoge.hinweise.at(0).informativerText.isEmpty());

        QCOMPARE(lesen(alt), QByteArray("earlier report"));
        QCOMPARE(dateien(m_ordner->path()),
                 (QStringList{QStringLiteral("bericht.pdf"), QStringLiteral("datei"),
                              QStringLiteral("fragen.xml")}));
        QCOMPARE(Einstellungen::text(Schluessel::FilePathPDFRangliste), QStringLiteral("/frueher/"));
    }
};

QTEST_MAIN(TestPdfRangliste)
#include "tst_pdfrangliste.moc"
