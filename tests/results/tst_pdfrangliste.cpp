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
            const QString n = QString::number(i);
            liste.append(frage("Frage " + n, {"A" + n, "B" + n, "C" + n, "D" + n},
                               QStringLiteral("Answer%1").arg((i - 1) % 4 + 1)));
        }
        return liste;
    }

    QString html(const QList<Person> &personen, int aktuelleFrageNr)
    {
        return pdfrangliste::html(
            Exportgrundlage::zusammenstellen(personen, &m_u->katalog, m_u->katalog.getAnzahlFragen(),
                                             aktuelleFrageNr, QDateTime::currentDateTime()));
    }

    // From another working folder: the report's pictures must be found all the same.
    bool exportieren(const QList<Person> &personen, const QString &datei, const Namensliste &namen = {})
    {
        m_u->dialoge.dateien = {datei};
        pdfrangliste exporter(m_u->dialoge, m_u->uhr);
        exporter.namenSetzen(namen);
        const int n = m_u->katalog.getAnzahlFragen();
        const QString vorher = QDir::currentPath();
        const QTemporaryDir anderswo;
        QDir::setCurrent(anderswo.path());
        const bool ok = exporter.ranglisteExportieren(personen, &m_u->katalog, n, n);
        QDir::setCurrent(vorher);
        return ok;
    }

private slots:
    void init()
    {
        m_u = std::make_unique<Umgebung>();
        Einstellungen::setzen(Schluessel::FrageFile, "/home/lehrer/quiz & test.xml");
    }
    void cleanup() { m_u.reset(); }

    void seitenumbruecheVorRang41UndJederAchtenFrage()
    {
        QVERIFY(m_u->laden(fragen(17)));
        QList<Person> personen;
        for (int i = 1; i <= 45; ++i)
            personen.append(teilnehmer(uint(i), 1, {{1, 1, 45 - i, 1000.0 * i}}));
        const QString text = html(personen, 17);
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
    }

    void ohneTeilnehmer()
    {
        QVERIFY(m_u->laden(fragen(2)));
        Einstellungen::setzen(Schluessel::InstallerLanguage, "1033");
        const QString text = html({}, 0);
        QVERIFY(text.contains("<td width='20%'>Points</td></tr></table>" + Umbruch +
                              "<h1>Questions/Answers Evaluation</h1>"));
        QVERIFY(text.contains("<h1>Ranking list after 0/2 questions</h1>"));
        QVERIFY(!text.contains("Device-ID: "));
        // Each question in the evaluation and with and without solution; no shares to divide.
        QCOMPARE(text.count("<tr><td width='5%'>2.</td>"), 3);
        QCOMPARE(text.count("0.0%"), 8);
    }

    void namenStehenMaskiertNebenDenGeraeten()
    {
        // A survey and a quiz question whose answer 3 is right; ranked 21 (right), 23 (none), 22 (wrong).
        QVERIFY(m_u->laden({frage("Umfrage?", {"Ja", "Nein", {}, {}}, "NoAnswer"),
                            frage("Welche?", {"eins", "zwei", "drei", "vier"}, "Answer3", "2")}));
        const QList<Person> personen{teilnehmer(21, 1, {{1, 2, 0, 0, false}, {2, 3, 2, 4000}}),
                                     teilnehmer(22, 1, {{2, 1, 0, 3000}}), teilnehmer(23, 1, {})};
        Exportgrundlage::Daten daten =
            Exportgrundlage::zusammenstellen(personen, &m_u->katalog, 2, 2, QDateTime::currentDateTime());
        const QString ohne = pdfrangliste::html(daten);
        QVERIFY(daten.namen.lesenAus("21;<b>Anna</b> & Bo\n22;Ben\n", false));
        const QString text = pdfrangliste::html(daten);
        // 23 is not on the list and keeps its bare number.
        const QString anna = "21 (&lt;b&gt;Anna&lt;/b&gt; &amp; Bo)";
        for (const QString &teil :
             {"<tr><td><div>1</div></td><td><div>" + anna + "</div></td>",
              QString("<tr><td><div>2</div></td><td><div>23</div></td>"),
              QString("<tr><td><div>3</div></td><td><div>22 (Ben)</div></td>"),
              "<h1>Ger&auml;te-ID: " + anna + "</h1>", QString("<h1>Ger&auml;te-ID: 23</h1>")})
            QVERIFY2(text.contains(teil), qPrintable(teil));
        QVERIFY(!text.contains("<b>Anna"));
        // Without a list the report is the one it always was.
        QVERIFY(ohne.contains("<h1>Ger&auml;te-ID: 21</h1>"));
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
        // Someone else pressed answer 2, so the shares differ from the participant's press.
        const QString text = html({teilnehmer(9, 1, antworten), teilnehmer(8, 1, {{1, 2, 0, 3000}})}, 1);

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
        const qsizetype kopf = text.indexOf("<h1>Ger&auml;te-ID: 9</h1>");
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
        QList<Testdaten::Frage> liste = fragen(9);
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
        QVERIFY(exportieren({person}, allein, namen));
        QVERIFY(exportieren(vorne + QList<Person>{person}, dahinter, namen));

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

QTEST_MAIN(TestPdfRangliste)
#include "tst_pdfrangliste.moc"
