#include "exporttesthilfe.h"
#include "fragedatei.h"
#include "pdfrangliste.h"

#include <QtTest>

using namespace Exporttest;

namespace {

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

} // namespace

class TestPdfRangliste final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Umgebung> m_u;

    static QList<Testdaten::Frage> fragen(int anzahl)
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

    // A survey question and a quiz question whose answer 3 is right; participants who answered
    // right, wrong and not at all, ranked 21, 23, 22.
    void klassifizierung(QList<Person> &personen)
    {
        QVERIFY(m_u->laden(
            {frage(QStringLiteral("Umfrage?"), {QStringLiteral("Ja"), QStringLiteral("Nein"), {}, {}},
                   QStringLiteral("NoAnswer")),
             frage(QStringLiteral("Welche?"),
                   {QStringLiteral("eins"), QStringLiteral("zwei"), QStringLiteral("drei"),
                    QStringLiteral("vier")},
                   QStringLiteral("Answer3"), QStringLiteral("2"))}));
        personen = {teilnehmer(21, 1, {{1, 2, 0, 0, false}, {2, 3, 2, 4000}}),
                    teilnehmer(22, 1, {{2, 1, 0, 3000}}), teilnehmer(23, 1, {})};
    }

    QString html(const QList<Person> &personen, int aktuelleFrageNr)
    {
        return pdfrangliste::html(
            Exportgrundlage::zusammenstellen(personen, &m_u->katalog, m_u->katalog.getAnzahlFragen(),
                                             aktuelleFrageNr, QDateTime::currentDateTime()));
    }

    bool exportieren(const QList<Person> &personen, const QString &datei, const Namensliste &namen = {})
    {
        m_u->dialoge.dateien = {datei};
        pdfrangliste exporter(m_u->dialoge, m_u->uhr);
        exporter.namenSetzen(namen);
        const int n = m_u->katalog.getAnzahlFragen();
        return exporter.ranglisteExportieren(personen, &m_u->katalog, n, n);
    }

private slots:
    void init()
    {
        m_u = std::make_unique<Umgebung>();
        Einstellungen::setzen(Schluessel::FrageFile, QStringLiteral("/home/lehrer/quiz & test.xml"));
    }
    void cleanup() { m_u.reset(); }

    void seitenumbruecheVorRang41UndJederAchtenFrage()
    {
        QVERIFY(m_u->laden(fragen(17)));
        QList<Person> personen;
        for (int i = 1; i <= 45; ++i)
            personen.append(teilnehmer(uint(i), 1, {{1, 1, 45 - i, 1000.0 * i}}));
        const QString text = html(personen, 17);
        QVERIFY(
            text.startsWith(QStringLiteral("<div><img src='imagespdf/corvantalogo.png' height='50'/></div>"
                                           "<h1>Rangliste nach 17/17 Fragen</h1><br>")));
        QVERIFY(text.contains(QStringLiteral("Filename: /home/lehrer/quiz &amp; test.xml<br>")));
        QCOMPARE(text.count(UmbruchInListe + QStringLiteral("<tr><td><div>")), 1);
        QCOMPARE(text.count(UmbruchInListe + QStringLiteral("<tr><td><div>41</div>")), 1);
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
    }

    void ohneTeilnehmer()
    {
        QVERIFY(m_u->laden(fragen(2)));
        Einstellungen::setzen(Schluessel::InstallerLanguage, QStringLiteral("1033"));
        const QString text = html({}, 0);
        QVERIFY(text.contains(QStringLiteral("<td width='20%'>Points</td></tr></table>") + Umbruch +
                              QStringLiteral("<h1>Questions/Answers Evaluation</h1>")));
        QVERIFY(text.contains(QStringLiteral("<h1>Ranking list after 0/2 questions</h1>")));
        QVERIFY(!text.contains(QStringLiteral("Device-ID: ")));
        // Each question in the evaluation and with and without solution; no shares to divide.
        QCOMPARE(text.count(QStringLiteral("<tr><td width='5%'>2.</td>")), 3);
        QCOMPARE(text.count(QStringLiteral("0.0%")), 8);
    }

    void namenStehenMaskiertNebenDenGeraeten()
    {
        QList<Person> personen;
        klassifizierung(personen);
        Exportgrundlage::Daten daten =
            Exportgrundlage::zusammenstellen(personen, &m_u->katalog, 2, 2, QDateTime::currentDateTime());
        const QString ohne = pdfrangliste::html(daten);
        QVERIFY(daten.namen.lesenAus(QByteArrayLiteral("21;<b>Anna</b> & Bo\n22;Ben\n"), false));
        const QString text = pdfrangliste::html(daten);
        // 23 is not on the list and keeps its bare number.
        const QString anna = QStringLiteral("&lt;b&gt;Anna&lt;/b&gt; &amp; Bo");
        QVERIFY(text.contains(QStringLiteral("<tr><td><div>1</div></td><td><div>21 (") + anna +
                              QStringLiteral(")</div></td>")));
        QVERIFY(text.contains(QStringLiteral("<tr><td><div>2</div></td><td><div>23</div></td>")));
        QVERIFY(text.contains(QStringLiteral("<tr><td><div>3</div></td><td><div>22 (Ben)</div></td>")));
        QVERIFY(text.contains(QStringLiteral("<h1>Ger&auml;te-ID: 21 (") + anna + QStringLiteral(")</h1>")));
        QVERIFY(text.contains(QStringLiteral("<h1>Ger&auml;te-ID: 23</h1>")));
        QVERIFY(!text.contains(QStringLiteral("<b>Anna")));
        // Without a list the report is the one it always was.
        QVERIFY(ohne.contains(QStringLiteral("<h1>Ger&auml;te-ID: 21</h1>")));
        daten.namen = {};
        QCOMPARE(pdfrangliste::html(daten), ohne);
    }

    // Where the report marks the correct answer, and how it shows a participant's answer: the
    // pressed box and the tick on the solution, both in the colour of the verdict.
    void richtigeAntwortMarkiert_data()
    {
        QTest::addColumn<QString>("loesung");
        QTest::addColumn<int>("knopf"); // 0: not pressed
        QTest::addColumn<QString>("urteil");
        QTest::newRow("A, pressed A") << QStringLiteral("Answer1") << 1 << QStringLiteral("richtig");
        QTest::newRow("D, pressed D") << QStringLiteral("Answer4") << 4 << QStringLiteral("richtig");
        QTest::newRow("B, pressed C") << QStringLiteral("Answer2") << 3 << QStringLiteral("falsch");
        QTest::newRow("D, pressed A") << QStringLiteral("Answer4") << 1 << QStringLiteral("falsch");
        QTest::newRow("C, not pressed") << QStringLiteral("Answer3") << 0 << QStringLiteral("keineantwort");
        QTest::newRow("survey, pressed B")
            << QStringLiteral("NoAnswer") << 2 << QStringLiteral("keineantwort");
    }
    void richtigeAntwortMarkiert()
    {
        QFETCH(QString, loesung);
        QFETCH(int, knopf);
        QFETCH(QString, urteil);
        QVERIFY(m_u->laden({frage(
            QStringLiteral("Welche?"),
            {QStringLiteral("eins"), QStringLiteral("zwei"), QStringLiteral("drei"), QStringLiteral("vier")},
            loesung)}));
        QList<Antwort> antworten;
        if (knopf > 0)
            antworten.append({1, knopf, urteil == QLatin1String("richtig") ? 1 : 0, 2000,
                              loesung != QLatin1String("NoAnswer")});
        // Someone else pressed answer 2, so the shares differ from the participant's press.
        const QString text = html({teilnehmer(9, 1, antworten), teilnehmer(8, 1, {{1, 2, 0, 3000}})}, 1);

        const QMap<QString, QPair<QString, QString>> farben{
            {QStringLiteral("richtig"), {QStringLiteral("green"), QStringLiteral("haken_hellgruen.png")}},
            {QStringLiteral("falsch"), {QStringLiteral("rot"), QStringLiteral("haken_rot.png")}},
            {QStringLiteral("keineantwort"), {QStringLiteral("sw"), QStringLiteral("haken_schwarz.png")}}};
        const auto [kasten, haken] = farben.value(urteil);
        const int richtig = FrageDatei::richtigerKnopf(loesung);
        QList<QStringList> person, auswertung, mitLoesung, ohneLoesung;
        for (int k = 1; k <= 4; ++k) {
            const QString markiert = k == richtig ? QStringLiteral("haken_schwarz.png") : QString();
            person << QStringList{QStringLiteral("checkbox_%1_%2.png")
                                      .arg(kasten, k == knopf ? QStringLiteral("t") : QStringLiteral("f")),
                                  k == richtig ? haken : QString()};
            const int stimmen = (k == knopf) + (k == 2);
            auswertung << QStringList{
                QStringLiteral("%1%").arg(50.0 * stimmen / (knopf > 0 ? 1 : 0.5), 0, 'f', 1), markiert};
            mitLoesung << QStringList{markiert};
            ohneLoesung << QStringList{QStringLiteral("checkbox_sw_f.png")};
        }
        const qsizetype kopf = text.indexOf(QStringLiteral("<h1>Ger&auml;te-ID: 9</h1>"));
        const qsizetype tabelle =
            text.indexOf(QStringLiteral("<table"), text.indexOf(QStringLiteral("</table>"), kopf));
        QVERIFY(kopf > 0);
        QCOMPARE(text.mid(tabelle).section(QLatin1Char('\''), 3, 3),
                 QStringLiteral("auswertungproperson") + urteil);
        QCOMPARE(zellen(text, kopf), person);
        QCOMPARE(zellen(text, text.indexOf(QStringLiteral("Auswertung</h1>"))), auswertung);
        QCOMPARE(zellen(text, text.indexOf(QStringLiteral("mit L&ouml;sung</h1>"))), mitLoesung);
        QCOMPARE(zellen(text, text.indexOf(QStringLiteral("ohne L&ouml;sung</h1>"))), ohneLoesung);
    }

    void seitenUndTextDerPdfDatei()
    {
        QList<Person> personen;
        klassifizierung(personen);
        Einstellungen::setzen(Schluessel::InstallerLanguage, QStringLiteral("1033"));
        const QString pdf = m_u->ziel(QStringLiteral("bericht.pdf"));
        QVERIFY(exportieren(personen, pdf));
        if (qEnvironmentVariableIsSet("PLENARO_PDF_KOPIE"))
            QFile::copy(pdf, qEnvironmentVariable("PLENARO_PDF_KOPIE"));
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

        // The pictures are found from any working folder: the logo, the boxes and the ticks, one
        // line each after two heading lines.
        const QString vorher = QDir::currentPath();
        QTemporaryDir anderswo;
        QVERIFY(QDir::setCurrent(anderswo.path()));
        const bool ok = exportieren(personen, m_u->ziel(QStringLiteral("bilder.pdf")));
        QDir::setCurrent(vorher);
        QVERIFY(ok);
        const QStringList bilder = poppler(QStringLiteral("pdfimages"),
                                           {QStringLiteral("-list"), m_u->ziel(QStringLiteral("bilder.pdf"))})
                                       .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                       .mid(2);
        QVERIFY2(bilder.size() > 40, qPrintable(bilder.join(QLatin1Char('\n'))));
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
    void seitenEinesTeilnehmersUnabhaengigVomRang()
    {
        QFETCH(int, davor);
        QFETCH(QString, name);
        QFETCH(QString, frageText);
        QFETCH(int, seiten);
        QFETCH(int, seitenJe);
        QList<Testdaten::Frage> liste = fragen(9);
        for (int i = 0; i < 9; ++i)
            liste[i].text = frageText.arg(i + 1);
        liste[4].loesung = QStringLiteral("NoAnswer");
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
        const QString allein = m_u->ziel(QStringLiteral("allein.pdf"));
        QVERIFY(exportieren({person}, allein, namen));
        const QString dahinter = m_u->ziel(QStringLiteral("dahinter.pdf"));
        QVERIFY(exportieren(vorne + QList<Person>{person}, dahinter, namen));

        // Ranking, the three question sections, then the participants' pages, 30's at the end.
        QCOMPARE(seitenZahl(allein), seiten);
        const int rangSeiten = davor + 1 > 40 ? 2 : 1;
        QCOMPARE(seitenZahl(dahinter), seiten + rangSeiten - 1 + davor * seitenJe);
        for (int s = 1; s <= seitenJe; ++s) {
            const int hier = seiten - seitenJe + s;
            const int dort = seitenZahl(dahinter) - seitenJe + s;
            const QString text = seitenText(allein, hier);
            QVERIFY2(s > 1 || text.contains(QStringLiteral("Geräte-ID: 30")), qPrintable(text));
            QCOMPARE(seitenText(dahinter, dort), text);
            // Both drawn here and now: the same machine and fonts draw the same page alike.
            const QByteArray bild = seitenBild(allein, hier, m_u->ordner.path());
            QVERIFY(bild.size() > 10000);
            QVERIFY2(seitenBild(dahinter, dort, m_u->ordner.path()) == bild, qPrintable(QString::number(s)));
        }
    }
};

QTEST_MAIN(TestPdfRangliste)
#include "tst_pdfrangliste.moc"
