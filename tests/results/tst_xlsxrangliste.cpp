#include "exporttesthilfe.h"
#include "xlsxrangliste.h"

#include <QXmlStreamReader>
#include <QtTest>

using namespace Exporttest;

namespace {

QString attribut(const QXmlStreamReader &xml, const char *name)
{
    return xml.attributes().value(QLatin1String(name)).toString();
}

// A workbook read back through `unzip`: sheet names in order, and each cell as "<type>:<value>",
// strings resolved, with the number format in brackets where it has one ("n:0.5 [0.0%]").
class Mappe final
{
public:
    explicit Mappe(const QString &pfad)
        : m_pfad(pfad)
    {
        QXmlStreamReader strings(teil("xl/sharedStrings.xml"));
        while (!strings.atEnd()) {
            if (strings.readNext() == QXmlStreamReader::StartElement && strings.name() == QLatin1String("si"))
                m_strings.append(strings.readElementText(QXmlStreamReader::IncludeChildElements));
        }
        QMap<QString, QString> formate{{"2", "0.00"}};
        QXmlStreamReader stile(teil("xl/styles.xml"));
        bool inXfs = false;
        while (!stile.atEnd()) {
            const bool anfang = stile.readNext() == QXmlStreamReader::StartElement;
            if (anfang && stile.name() == QLatin1String("dxf"))
                m_faerbungen.append(QString());
            else if (anfang && stile.name() == QLatin1String("bgColor"))
                m_faerbungen.last() = attribut(stile, "rgb");
            else if (anfang && stile.name() == QLatin1String("numFmt")) // LibreOffice names "General"
                formate.insert(attribut(stile, "numFmtId"), attribut(stile, "formatCode") == "General"
                                                                ? QString()
                                                                : attribut(stile, "formatCode"));
            else if (stile.name() == QLatin1String("cellXfs"))
                inXfs = anfang;
            else if (inXfs && anfang && stile.name() == QLatin1String("xf"))
                m_formate.append(formate.value(attribut(stile, "numFmtId")));
        }
        QXmlStreamReader buch(teil("xl/workbook.xml"));
        while (!buch.atEnd()) {
            if (buch.readNext() == QXmlStreamReader::StartElement && buch.name() == QLatin1String("sheet"))
                namen.append(attribut(buch, "name"));
        }
    }

    QByteArray teil(const QString &name) const
    {
        QProcess unzip;
        unzip.start("unzip", {"-p", m_pfad, name});
        if (!unzip.waitForFinished(60000) || unzip.exitCode() != 0)
            qWarning("unzip (tools/setup.sh installs it) failed on %s", qPrintable(name));
        return unzip.readAllStandardOutput();
    }
    QByteArray blattXml(int nr) const { return teil(QStringLiteral("xl/worksheets/sheet%1.xml").arg(nr)); }
    // Sheet `nr` (from 1) as rows of cells, gaps filled with empty texts.
    QList<QStringList> blatt(int nr) const
    {
        QList<QStringList> zeilen;
        QXmlStreamReader xml(blattXml(nr));
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("c"))
                continue;
            const QString ort = attribut(xml, "r"), typ = attribut(xml, "t");
            const QString format = m_formate.value(attribut(xml, "s").toInt());
            QString wert;
            bool mitWert = false;
            while (xml.readNextStartElement()) {
                mitWert = mitWert || xml.name() == QLatin1String("v");
                if (xml.name() == QLatin1String("v"))
                    wert = xml.readElementText();
                else
                    xml.skipCurrentElement();
            }
            if (!mitWert)
                continue; // empty with a style only, as LibreOffice writes across a conditional format
            int spalte = 0, i = 0;
            for (; ort.at(i).isLetter(); ++i)
                spalte = spalte * 26 + ort.at(i).unicode() - 'A' + 1;
            const int zeile = ort.mid(i).toInt();
            while (zeilen.size() < zeile)
                zeilen.append(QStringList{});
            QStringList &z = zeilen[zeile - 1];
            while (z.size() < spalte)
                z.append(QString());
            z[spalte - 1] = (typ == "s" ? "s:" + m_strings.value(wert.toInt())
                                        : (typ.isEmpty() ? "n" : typ) + ':' + wert) +
                            (format.isEmpty() ? QString() : " [" + format + ']');
        }
        return zeilen;
    }
    // Sheet `nr`'s conditional formats as "<range> <mark searched for> <cells the formula reads> <fill>".
    QStringList regeln(int nr) const
    {
        static const QRegularExpression zelle("\\b[A-Z]+[0-9]+\\b");
        QStringList regeln;
        QXmlStreamReader xml(blattXml(nr));
        QString bereich, faerbung;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("conditionalFormatting"))
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
        }
        return regeln;
    }

    QStringList namen;

private:
    QString m_pfad;
    QStringList m_strings;
    QStringList m_formate;
    QStringList m_faerbungen; // background of each conditional format
};

// The attributes of a sheet's frozen pane, "" when it has none.
QString fixierung(const QByteArray &xml)
{
    QXmlStreamReader leser(xml);
    while (!leser.atEnd()) {
        if (leser.readNext() == QXmlStreamReader::StartElement && leser.name() == QLatin1String("pane") &&
            attribut(leser, "state") == "frozen")
            return QStringLiteral("x%1 y%2")
                .arg(attribut(leser, "xSplit").toInt())
                .arg(attribut(leser, "ySplit").toInt());
    }
    return {};
}

} // namespace

class TestXlsxRangliste final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Umgebung> m_u;

    bool exportieren(const QString &datei, const Namensliste &namen = {})
    {
        m_u->dialoge.dateien = {datei};
        xlsxrangliste exporter(m_u->dialoge, m_u->uhr);
        exporter.namenSetzen(namen);
        // Handset 5 answers question 3 wrongly. Ranked 12, 5, 7.
        return exporter.ranglisteExportieren(
            {teilnehmer(5, 1, {{1, 2, 2, 5500}, {2, 3, 0, 0, false}, {3, 1, 0, 0}}),
             teilnehmer(7, 1, {{3, 4, 1, 2000}}), teilnehmer(12, 1, {{1, 2, 2, 3250}, {2, 1, 0, 0, false}})},
            &m_u->katalog, 3, 3);
    }

private slots:
    void init()
    {
        m_u = std::make_unique<Umgebung>();
        QVERIFY(m_u->laden(erdkunde()));
    }
    void cleanup() { m_u.reset(); }

    void mappeLesen_data()
    {
        QTest::addColumn<bool>("englisch");
        QTest::addColumn<QStringList>("blaetter");
        QTest::addColumn<QStringList>("eigenschaften"); // title, subject, creator
        QTest::addColumn<QList<QStringList>>("rangliste");
        QTest::addColumn<QList<QStringList>>("fragen");
        QTest::addColumn<QList<QStringList>>("antworten");
        QTest::addColumn<QStringList>("fixiert"); // per sheet

        const QString ja = "s:B ✓";
        QTest::newRow("German, no roster")
            << false << QStringList{"Rangliste", "Fragen", "Antworten"}
            << QStringList{"Rangliste nach 3/3 Fragen", "Auswertung: quiz.xml", "Plenaro"}
            << QList<QStringList>{{"s:Rang", "s:Geräte-ID", "s:Punkte", "s:Antwortzeit [s]"},
                                  {"n:1", "s:12", "n:2", "n:3.25 [0.00]"},
                                  {"n:2", "s:5", "n:2", "n:5.5 [0.00]"},
                                  {"n:3", "s:7", "n:1", "n:2 [0.00]"}}
            << QList<QStringList>{{"s:Nr.", "s:Frage", "s:A", "s:B", "s:C", "s:D", "s:Lösung",
                                   "s:Beantwortet"},
                                  {"n:1", "s:Capital of Switzerland?", "n:0 [0.0%]", "n:1 [0.0%]",
                                   "n:0 [0.0%]", "", "s:B", "n:2"},
                                  {"n:2", "s:Favourite colour?", "n:0.5 [0.0%]", "n:0 [0.0%]", "n:0.5 [0.0%]",
                                   "n:0 [0.0%]", "s:Umfrage", "n:2"},
                                  {"n:3", "s:2 + 2?", "n:0.5 [0.0%]", "n:0 [0.0%]", "n:0 [0.0%]",
                                   "n:0.5 [0.0%]", "s:D", "n:2"}}
            << QList<QStringList>{{"s:Geräte-ID", "s:Frage 1", "s:Frage 2", "s:Frage 3"},
                                  {"s:12", ja, "s:A"},
                                  {"s:5", ja, "s:C", "s:A ✗"},
                                  {"s:7", "", "", "s:D ✓"}}
            << QStringList{"x0 y1", "x0 y1", "x1 y1"};
        QTest::newRow("English, names from the roster")
            << true << QStringList{"Ranking", "Questions", "Answers"}
            << QStringList{"Ranking list after 3/3 questions", "Evaluation: quiz.xml", "Plenaro"}
            << QList<QStringList>{{"s:Rank", "s:Device-ID", "s:Name", "s:Points", "s:Response time [s]"},
                                  {"n:1", "s:12", "s:Ben Berg", "n:2", "n:3.25 [0.00]"},
                                  {"n:2", "s:5", "s:Anna Muster", "n:2", "n:5.5 [0.00]"},
                                  {"n:3", "s:7", "", "n:1", "n:2 [0.00]"}} // The numbers are the German ones.
            << QList<QStringList>{{"s:No.", "s:Question", "s:A", "s:B", "s:C", "s:D", "s:Correct answer",
                                   "s:Answered"},
                                  {"n:1", "s:Capital of Switzerland?", "n:0 [0.0%]", "n:1 [0.0%]",
                                   "n:0 [0.0%]", "", "s:B", "n:2"},
                                  {"n:2", "s:Favourite colour?", "n:0.5 [0.0%]", "n:0 [0.0%]", "n:0.5 [0.0%]",
                                   "n:0 [0.0%]", "s:Survey", "n:2"}}
            << QList<QStringList>{{"s:Device-ID", "s:Name", "s:Question 1", "s:Question 2", "s:Question 3"},
                                  {"s:12", "s:Ben Berg", ja, "s:A"},
                                  {"s:5", "s:Anna Muster", ja, "s:C", "s:A ✗"},
                                  {"s:7", "", "", "", "s:D ✓"}}
            << QStringList{"x0 y1", "x0 y1", "x2 y1"};
    }
    void mappeLesen()
    {
        QFETCH(bool, englisch);
        QFETCH(QStringList, blaetter);
        QFETCH(QStringList, eigenschaften);
        QFETCH(QList<QStringList>, rangliste);
        QFETCH(QList<QStringList>, fragen);
        QFETCH(QList<QStringList>, antworten);
        QFETCH(QStringList, fixiert);
        Namensliste namen;
        if (englisch) {
            Einstellungen::setzen(Schluessel::InstallerLanguage, "1033");
            QVERIFY(namen.lesenAus("Klassensatz;Gerät;Name\r\n1;12;Ben Berg\r\n1;5;Anna Muster\r\n", false));
        }

        QVERIFY(exportieren(m_u->ziel("ergebnis.xlsx"), namen));
        QVERIFY(m_u->dialoge.hinweise.isEmpty());
        const Mappe mappe(m_u->ziel("ergebnis.xlsx"));
        QCOMPARE(mappe.namen, blaetter);
        const QString kern = QString::fromUtf8(mappe.teil("docProps/core.xml"));
        for (const char *name : {"title", "subject", "creator"})
            QCOMPARE(QRegularExpression(QStringLiteral("<dc:%1>([^<]*)<").arg(name)).match(kern).captured(1),
                     eigenschaften.takeFirst());
        QCOMPARE(mappe.blatt(1), rangliste);
        QCOMPARE(mappe.blatt(2).mid(0, fragen.size()), fragen);
        QCOMPARE(mappe.blatt(3), antworten);
        for (int nr = 1; nr <= 3; ++nr)
            QCOMPARE(fixierung(mappe.blattXml(nr)), fixiert.at(nr - 1));

        // Right and wrong are coloured over exactly the answer cells, green and red, each cell by
        // its own content.
        const QString bereich = englisch ? "C2:E4" : "B2:D4";
        QCOMPARE(mappe.regeln(3), (QStringList{bereich + " ✓ " + bereich.left(2) + " FFC6EFCE",
                                               bereich + " ✗ " + bereich.left(2) + " FFFFC7CE"}));
    }

    // An independent reader: LibreOffice, where it is installed, opens the workbook with every cell
    // as it was written, numbers as numbers in their formats and texts with their umlauts.
    void libreOfficeLiestMappe()
    {
        const QString soffice = libreOffice();
        if (soffice.isEmpty())
            QSKIP("LibreOffice is not installed");
        QVERIFY(exportieren(m_u->ziel("mappe.xlsx")));
        QVERIFY(libreOfficeUmwandeln(soffice, {m_u->ziel("mappe.xlsx")}, "xlsx", m_u->ziel("libreoffice")));
        const Mappe geschrieben(m_u->ziel("mappe.xlsx"));
        const Mappe gelesen(m_u->ziel("libreoffice/mappe.xlsx"));
        QCOMPARE(gelesen.namen, geschrieben.namen);
        for (int nr = 1; nr <= 3; ++nr)
            QCOMPARE(gelesen.blatt(nr), geschrieben.blatt(nr));
    }
};

QTEST_GUILESS_MAIN(TestXlsxRangliste)
#include "tst_xlsxrangliste.moc"
