// Question banks from learning platforms and spreadsheets as teachers save them: each format's
// syntax, broken files with line and reason, and the way there and back through the exports.
#include "fragedatei.h"
#include "fragenimport.h"
#include "fremdformat.h"
#include "gift.h"
#include "moodlexml.h"
#include "testdaten.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using FragenImport::Ergebnis;
using Fremdformat::Format;

namespace {

const QByteArray Png = QByteArray("\x89PNG\r\n\x1a\n", 8) + "bild";

// "text|answers|correct|points|pictures" per question, the report last.
QStringList beschreibung(const Fremdformat::Ergebnis &ergebnis)
{
    QStringList zeilen;
    for (const Fremdformat::Frage &f : ergebnis.fragen) {
        QStringList bilder;
        for (const Fremdformat::Bild &b : f.bilder)
            bilder.append(b.isEmpty() ? QString()
                                      : b.name + QLatin1Char('=') + QString::fromLatin1(b.daten.mid(8)));
        zeilen.append(
            QStringLiteral("%1|%2|%3|%4|%5")
                .arg(f.text, f.antworten.join(QLatin1Char('/')))
                .arg(f.richtig)
                .arg(f.punkte)
                .arg(bilder.join(QLatin1Char(',')).remove(QRegularExpression(QStringLiteral(",+$")))));
    }
    zeilen.append(ergebnis.bericht(false));
    return zeilen;
}

QByteArray moodle(const QByteArray &fragen)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n" + fragen + "\n</quiz>\n";
}

QByteArray mc(const QByteArray &format, const QByteArray &text, const QByteArray &antworten)
{
    return "<question type=\"multichoice\"><questiontext format=\"" + format + "\"><text><![CDATA[" + text +
           "]]></text></questiontext>" + antworten + "</question>";
}

void zeile(const char *name, const QByteArray &inhalt, Format format, const QStringList &erwartet)
{
    QTest::newRow(name) << inhalt << int(format) << erwartet;
}

void tabelle(const char *name, const QByteArray &csv, int anzahl, const QStringList &felder,
             const QStringList &fehler = {}, bool englisch = false)
{
    QTest::newRow(name) << csv << englisch << anzahl << felder << fehler;
}

const QByteArray AB =
    "<answer fraction=\"100\"><text>a</text></answer><answer fraction=\"0\"><text>b</text></answer>";

} // namespace

class TestFremdformate final : public QObject
{
    Q_OBJECT

private slots:
    void lesen_data()
    {
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<int>("format");
        QTest::addColumn<QStringList>("erwartet");
        const QByteArray bild = Png.toBase64();
        zeile(
            "xml: html, plain text, auto format, markdown, true/false, points, category",
            moodle("<question type=\"category\"><category><text>$course$/Top</text></category></question>" +
                   mc("html",
                      "<p>Welche Stadt ist die <b>Hauptstadt</b>\n   von Frankreich?</p><p>2 &lt; 3 &amp; "
                      "<script>alert(1)</script>mehr</p>",
                      "<defaultgrade>2.0000000</defaultgrade><answer fraction=\"0\" "
                      "format=\"html\"><text>Lyon</text></answer><answer fraction=\"100\" "
                      "format=\"html\"><text>&lt;i&gt;Paris&lt;/i&gt;</text></answer><answer "
                      "fraction=\"0\"><text>Nizza</text></answer>") +
                   "<question type=\"truefalse\"><questiontext format=\"plain_text\"><text>Ist &lt;b&gt; ein "
                   "Tag?</text></questiontext><answer fraction=\"0\"><text>true</text></answer><answer "
                   "fraction=\"100\"><text>false</text></answer></question>" +
                   mc("moodle_auto_format", "Zeile eins\nZeile  zwei", AB) +
                   mc("markdown", "Was ist **fett**?", AB)),
            Format::MoodleXml,
            {"Welche Stadt ist die Hauptstadt von Frankreich?\n2 < 3 & mehr|Lyon/Paris/Nizza|2|2|",
             "Ist &lt;b> ein Tag?|Wahr/Falsch|2|1|", "Zeile eins\nZeile  zwei|a/b|1|1|",
             "Was ist fett?|a/b|1|1|", "4 Fragen übernommen."});
        zeile("xml: embedded pictures, names made safe, other types skipped",
              moodle(mc("html",
                        "<p>Wer?</p><img src=\"http://example.invalid/x.png\"><img "
                        "src=\"@@PLUGINFILE@@/bild%20eins.png\">]]></text><file name=\"bild eins.png\" "
                        "path=\"/\" "
                        "encoding=\"base64\">" +
                            bild + "</file><text><![CDATA[",
                        "<answer fraction=\"0\" format=\"html\"><text><![CDATA[<img "
                        "src=\"@@PLUGINFILE@@/../x.png\">B]]></text><file name=\"../x.png\" path=\"/\" "
                        "encoding=\"base64\">" +
                            bild + "</file></answer>" + AB) +
                     "<question type=\"essay\"/><question type=\"matching\"/>" +
                     mc("html", "fünf",
                        QByteArray(AB).repeated(2) + "<answer fraction=\"0\"><text>e</text></answer>") +
                     mc("html", "zwei richtig",
                        "<answer fraction=\"50\"><text>a</text></answer><answer "
                        "fraction=\"50\"><text>b</text></answer>")),
              Format::MoodleXml,
              {"Wer?|B/a/b|2|1|bild eins.png=bild,x.png=bild",
               "1 Frage übernommen, 4 übersprungen: Frage 2 (Typ Freitext), Frage 3 (Typ Zuordnung), "
               "Frage 4 (5 Antworten, höchstens 4), Frage 5 (mehrere richtige Antworten)"});
        zeile("gift: titles, comments, escapes, formats, true/false, gap, categories",

              "// Kommentar\n$CATEGORY: $course$/Geografie\n\n::Hauptstadt::Welche Stadt ist die "
              "Hauptstadt von Frankreich? {\n  ~Lyon#falsch\n  =Paris\n  ~%0%Nizza\n}\n\nDie Erde ist "
              "rund.{T}\n\nDie Sonne ist ein Planet. {FALSE#Nein}\n\n::M::Was bedeutet a\\=b \\{x\\} "
              "\\~ "
              "\\# \\:?\\nZeile 2{=Gleichheit ~Zuweisung}\n\n[html]<p>Welche <b>Farbe</b>?</p>{=Rot "
              "~Blau}\n\n[markdown]Was ist **fett**?{=dick ~dünn}\n\n[plain]a <b> &lt; &gt; c{=x "
              "~y}\n\nParis ist "
              "{=die Hauptstadt ~eine Stadt} Frankreichs.\n",
              Format::Gift,
              {"Welche Stadt ist die Hauptstadt von Frankreich?|Lyon/Paris/Nizza|2|1|",
               "Die Erde ist rund.|Wahr/Falsch|1|1|", "Die Sonne ist ein Planet.|Wahr/Falsch|2|1|",
               "Was bedeutet a=b {x} ~ # :?\nZeile 2|Gleichheit/Zuweisung|1|1|",
               "Welche Farbe?|Rot/Blau|1|1|", "Was ist fett?|dick/dünn|1|1|",
               "a &lt;b> &amp;lt; &amp;gt; c|x/y|1|1|",
               "Paris ist _____ Frankreichs.|die Hauptstadt/eine Stadt|1|1|", "8 Fragen übernommen."});
        zeile("gift: what cannot be presented",
              "Aufsatz{}\n\nZahl{#5}\n\nPaare{=a -> b =c -> d}\n\nKurz{=vier =4}\n\nNur Text\n\n"
              "Fünf{=a ~b ~c ~d ~e}\n\nHalb{~%50%a ~%50%b ~c}\n\nUmfrage{~a ~b}",
              Format::Gift,
              {"Umfrage|a/b|0|1|",
               "1 Frage übernommen, 7 übersprungen: Frage 1 (Typ Freitext), Frage 2 (Typ Zahl), "
               "Frage 3 (Typ Zuordnung), Frage 4 (Typ Kurzantwort), Frage 5 (Typ Beschreibung), "
               "Frage 6 (5 Antworten, höchstens 4), Frage 7 (mehrere richtige Antworten)"});
        zeile("aiken: both option styles, several lines, a vertical tab, too many answers",
              "Welche Farbe hat\vder Himmel?\nA. Blau\nB) Grün <3\nC. Rot\nANSWER: "
              "A\nZweizeilige\nFrage?\n"
              "A) x\nB) y\nANSWER: B\n\nFünf?\nA. 1\nB. 2\nC. 3\nD. 4\nE. 5\nANSWER: E\n",
              Format::Aiken,
              {"Welche Farbe hat der Himmel?|Blau/Grün <3/Rot|1|1|", "Zweizeilige\nFrage?|x/y|2|1|",
               "2 Fragen übernommen, 1 übersprungen: Frage 3 (5 Antworten, höchstens 4)"});
        // Broken files: the line and the reason.
        const auto keine = [](const char *gruende) {
            return QStringList{"Keine der Fragen lässt sich übernehmen: Frage 1 (" + QString(gruende) + ')'};
        };
        zeile("xml not well-formed", "<quiz>\n<question>\n</quiz>", Format::MoodleXml,
              {"Die Datei ist keine gültige Fragedatei (XML-Fehler in Zeile 3, Spalte 7: Opening and "
               "ending tag mismatch.)."});
        zeile("xml without quiz", "<?xml version=\"1.0\"?>\n\n<fragen/>", Format::MoodleXml,
              {"Zeile 3: das Element <quiz> fehlt"});
        zeile("gift brace not closed", "Erste {=a ~b}\n\nZweite {=a\n~b\n\nDritte{=a ~b}", Format::Gift,
              {"Erste|a/b|1|1|", "Dritte|a/b|1|1|",
               "2 Fragen übernommen, 1 übersprungen: Frage 2 (Zeile 3: die schließende Klammer } fehlt)"});
        zeile("gift title not closed", "// c\n\n::Titel\nohne Ende {=a ~b}", Format::Gift,
              keine("Zeile 3: dem Titel fehlt das schließende ::"));
        zeile("gift two blocks", "F {=a ~b}\nund {=c ~d}", Format::Gift,
              keine("Zeile 2: mehr als eine Klammer { in einer Frage"));
        zeile("gift answer without mark", "F {\nx =a ~b}", Format::Gift,
              keine("Zeile 2: eine Antwort beginnt nicht mit = oder ~"));
        zeile("aiken answer line missing", "F?\nA. x\nB. y\n\nG?\nA. x\nB. y\nANSWER: A", Format::Aiken,
              {"G?|x/y|1|1|",
               "1 Frage übernommen, 1 übersprungen: Frage 1 (Zeile 3: die Zeile ANSWER: fehlt)"});
        zeile("aiken answer names none", "F?\nA. x\nB. y\nANSWER: C", Format::Aiken,
              keine("Zeile 4: ANSWER: nennt keine der Antworten"));
        zeile("aiken letter skipped", "F?\nA. x\nC. y\nANSWER: A\n\nG?\nA. x\nB. y\nANSWER: B", Format::Aiken,
              {"G?|x/y|2|1|",
               "1 Frage übernommen, 1 übersprungen: Frage 1 (Zeile 3: Antwort B. oder ANSWER: erwartet)"});
        zeile("aiken without answers", "Nur eine Frage?\n\nANSWER: A", Format::Aiken,
              keine("Zeile 1: die Antworten A., B. … fehlen), Frage 2 (Zeile 3: ANSWER: vor den Antworten "
                    "A., B. …"));
    }
    // Only what the program can present is taken, and nothing is written when no question fits.
    void lesen()
    {
        QFETCH(QByteArray, inhalt);
        QFETCH(int, format);
        QFETCH(QStringList, erwartet);
        const bool fragen = erwartet.size() > 1;
        // A file the questions come from is recognised by its content.
        if (fragen)
            QCOMPARE(int(Fremdformat::erkennen(inhalt)), format);
        const Fremdformat::Ergebnis ergebnis = Fremdformat::lesenAus(inhalt, Format(format), false);
        QCOMPARE(beschreibung(ergebnis), erwartet);
        QTemporaryDir ordner;
        const QString ziel = ordner.filePath(QStringLiteral("z.xml"));
        QCOMPARE(Fremdformat::uebernehmen(ergebnis, ziel).ok(), fragen);
        QCOMPARE(QFileInfo::exists(ziel), fragen);
    }

    // Files that are no text are refused before a format is guessed, by the window's import and the
    // command line's alike, and nothing is written.
    void abgelehnt_data()
    {
        QTest::addColumn<QByteArray>("inhalt"); // empty: a file over the question reader's limit
        QTest::addColumn<QString>("erwartet");
        QByteArray zufall(20 * 1024, '\0');
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(zufall.data()), zufall.size() / 4);
        QTest::newRow("too large") << QByteArray()
                                   << "The file is too large for a question file (50 MB; at most 50 MB).";
        QTest::newRow("empty but a BOM") << QByteArray("\xEF\xBB\xBF\r\n") << "The file is empty.";
        QTest::newRow("random bytes without NUL")
            << zufall.replace('\0', '\x01') << "The file is not a text file.";
        QTest::newRow("a NUL in a table")
            << QByteArray("F;a;b;;;A\n\0", 11) << "The file is not a text file.";
    }
    void abgelehnt()
    {
        QFETCH(QByteArray, inhalt);
        QFETCH(QString, erwartet);
        QTemporaryDir ordner;
        QFile datei(ordner.filePath(QStringLiteral("Binaer.txt")));
        QVERIFY(datei.open(QIODevice::WriteOnly) && datei.write(inhalt) == inhalt.size() &&
                datei.resize(inhalt.isEmpty() ? FrageDatei::MaxDateigroesse + 1 : inhalt.size()));
        datei.close();
        QCOMPARE(Fremdformat::lesen(datei.fileName(), true).fehler, erwartet);
        QString bericht;
        const QString ziel = ordner.filePath(QStringLiteral("z.xml"));
        QVERIFY(!Fremdformat::umwandeln(datei.fileName(), ziel, true, &bericht));
        QCOMPARE(bericht, erwartet);
        QVERIFY(!QFileInfo::exists(ziel));
    }

    // A file written by this program, exported and imported again, keeps every field both formats
    // have: texts byte for byte, the solution, and in the XML format the points and the pictures.
    void hinUndZurueck_data()
    {
        QTest::addColumn<bool>("xml");
        QTest::newRow("xml") << true;
        QTest::newRow("gift") << false;
    }
    void hinUndZurueck()
    {
        QFETCH(bool, xml);
        QTemporaryDir ordner;
        QVERIFY(QDir(ordner.path()).mkpath("bilder") && QDir(ordner.path()).mkpath("neu"));
        QVERIFY(Testdaten::schreiben(ordner.filePath("bilder/b.png"), Png));
        QList<Testdaten::Frage> fragen(3);
        fragen[0].text = QStringLiteral("Was ist 2 < 3 & 4?\nZweite  Zeile, Q&A,  Tab\t~=#{}:\\n\\x");
        fragen[0].antworten = QStringList{"a < b", "zwei\n Zeilen", "&lt;x>", "ä"};
        fragen[0].loesung = QStringLiteral("Answer3");
        fragen[0].punkte = QStringLiteral("3");
        fragen[0].bilder = QStringList{"bilder\\b.png", "", "bilder\\b.png"};
        fragen[1].text = QStringLiteral("Umfrage");
        fragen[1].antworten = QStringList{"ja", "nein"};
        fragen[1].loesung = FrageDatei::Umfrage;
        const QString quelle = ordner.filePath(QStringLiteral("quelle.xml"));
        QVERIFY(Testdaten::schreiben(quelle, fragen));
        const FrageDatei::LadeErgebnis original = FrageDatei::lesen(quelle);
        QVERIFY(original.ok());

        const QString export_ = ordner.filePath(xml ? QStringLiteral("aus.xml") : QStringLiteral("aus.txt"));
        const Fremdformat::Export exportiert =
            Fremdformat::exportieren(original.fragen, quelle, export_, true);
        QVERIFY(exportiert.geschrieben.ok());
        // What GIFT has no place for is said, with the number of questions it concerns.
        QCOMPARE(exportiert.verloren.join('|').count(": 1)"), xml ? 0 : 2);
        Format format = Format::Unbekannt;
        const Fremdformat::Ergebnis ergebnis = Fremdformat::lesen(export_, false, &format);
        QCOMPARE(format, xml ? Format::MoodleXml : Format::Gift);
        const QString ziel = ordner.filePath(QStringLiteral("neu/wieder.xml"));
        QVERIFY(Fremdformat::uebernehmen(ergebnis, ziel).ok());
        const FrageDatei::LadeErgebnis wieder = FrageDatei::lesen(ziel);
        QCOMPARE(wieder.fragen.size(), original.fragen.size());
        const QStringList felder = QString("QuestionText Answer1 Answer2 Answer3 Answer4 Solution%1")
                                       .arg(xml ? " Points" : "")
                                       .split(' ');
        for (qsizetype i = 0; i < original.fragen.size(); ++i) {
            for (const QString &feld : felder)
                QCOMPARE(FrageDatei::feld(wieder.fragen.at(i), feld),
                         FrageDatei::feld(original.fragen.at(i), feld));
        }
        for (const char *feld : {"PictureQuestionText", "PictureAnswer2"}) {
            const QString bild = FrageDatei::feld(wieder.fragen.at(0), feld);
            QCOMPARE(bild.isEmpty(), !xml);
            if (xml)
                QCOMPARE(Testdaten::lesen(ordner.filePath("neu/" + bild)), Png);
        }
    }

    // Each row: the file, the questions taken, "question:field=value" for what they hold, and the
    // lines left out with their number (counted in the file, quoted line breaks and blank lines too).
    void tabelleLesen_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<bool>("englisch");
        QTest::addColumn<int>("anzahl");
        QTest::addColumn<QStringList>("felder");
        QTest::addColumn<QStringList>("fehler");
        tabelle("semicolons, a header and a BOM",
                "\xEF\xBB\xBF"
                "Frage;A;B;C;D;Lösung;Zeit;Punkte\r\n"
                "Was ergibt 7 × 8?;54;56;58;64;B;20;2\r\nLieblingsfach?;Mathe;Deutsch;Sport;;;;\r\n",
                2,
                {"0:QuestionText=Was ergibt 7 × 8?", "0:Answer2=56", "0:Solution=Answer2", "0:Time=20",
                 "0:Points=2", "1:Solution=NoAnswer", "1:Time=15", "1:Points=1", "1:Answer4="});
        tabelle("commas, no header, a small letter",
                "\"Hauptstadt von Frankreich, bitte\",Paris,Rom,,,a\nZweite,ja,nein,,,\n", 2,
                {"0:QuestionText=Hauptstadt von Frankreich, bitte", "0:Solution=Answer1"});
        tabelle("Latin-1",
                "Gr\xF6\xDF"
                "e?;klein;gro\xDF;;;B\n",
                1, {"0:QuestionText=Größe?"});
        tabelle("line breaks and controls in cells become blanks or go",
                "Haupt\vstadt?;Rom\x01;Mailand;;\"Tu\r\nrin\";A\n", 1,
                {"0:QuestionText=Haupt stadt?", "0:Answer1=Rom", "0:Answer4=Tu rin"});
        tabelle(
            "bad lines",
            "Frage;A;B;C;D;Lösung\n\"Gut, \"\"zwei\"\"\nZeilen\";1;2;3;4;A\n\n;1;2;3;4;A\n"
            "Nur eine;1;;;;\nLösung E;1;2;3;4;E\nLeere Lösung;1;2;;;C\nZeit;1;2;3;4;A;lang\n"
            "Zeit 0;1;2;3;4;A;0\nPunkte;1;2;3;4;A;10;-1\nSpalten;1;2;3;4;A;10;1;x\nAuch gut;1;2;3;4;D;30;0\n",
            2, {"0:QuestionText=Gut, \"zwei\" Zeilen", "1:Points=0"},
            {"Zeile 5: der Fragetext fehlt", "Zeile 6: Antwort A und B müssen ausgefüllt sein",
             "Zeile 7: die Lösung muss A, B, C, D oder leer (Umfrage) sein",
             "Zeile 8: die Lösung zeigt auf eine leere Antwort",
             "Zeile 9: die Zeit muss eine ganze Zahl von 1 bis 3600 Sekunden sein",
             "Zeile 10: die Zeit muss eine ganze Zahl von 1 bis 3600 Sekunden sein",
             "Zeile 11: die Punkte müssen eine ganze Zahl von 0 bis 1000 sein",
             "Zeile 12: mehr als 8 Spalten"});
        tabelle("English", "Q;1;;;;\n", 0, {}, {"Line 1: answers A and B must be filled in"}, true);
        QByteArray viele;
        for (int i = 1; i <= 1003; ++i)
            viele += "F" + QByteArray::number(i) + ";a;b;;;A\n";
        for (const char *beispiel : {"DE/Tabelle.csv", "EN/Table.csv"})
            tabelle(beispiel, Testdaten::lesen(PLENARO_QUELLEN "/examples/" + QString(beispiel)), 20, {});
        tabelle("more than a thousand", viele, 1000, {"999:QuestionText=F1000"},
                {"Zeile 1001 und folgende: eine Fragedatei fasst höchstens 1000 Fragen"});
    }
    void tabelleLesen()
    {
        QFETCH(QByteArray, csv);
        QFETCH(bool, englisch);
        QFETCH(QStringList, felder);
        const Ergebnis ergebnis = FragenImport::lesenAus(csv, englisch);
        QTEST(ergebnis.fehler, "fehler");
        QTEST(int(ergebnis.fragen.size()), "anzahl");
        for (const QString &feld : felder) {
            const QString name = feld.section('=', 0, 0).section(':', 1);
            QCOMPARE(FrageDatei::feld(ergebnis.fragen.value(feld.section(':', 0, 0).toInt()), name),
                     feld.section('=', 1));
        }
    }

    // The question file goes beside the table, never over an existing file. (That it is written
    // and opened is tried in tst_spielablauf.)
    void zielUndLesefehler()
    {
        QTemporaryDir ordner;
        const QString csv = ordner.filePath("klasse 7b.csv");
        QCOMPARE(FragenImport::zielPfad(csv), ordner.filePath("klasse 7b.xml"));
        QVERIFY(FrageDatei::neueDateiSchreiben(ordner.filePath("klasse 7b.xml")));
        QCOMPARE(FragenImport::zielPfad(csv), ordner.filePath("klasse 7b (2).xml"));
        QVERIFY(!FragenImport::lesen(ordner.filePath("fehlt.csv"), false).lesefehler.isEmpty());
        QVERIFY(!FragenImport::lesen(ordner.path(), true).lesefehler.isEmpty());
        QCOMPARE(FragenImport::lesenAus(QByteArray("F;a;b\0", 6), true).lesefehler,
                 "The file is not a text file.");
    }
};

QTEST_GUILESS_MAIN(TestFremdformate)
#include "tst_fremdformate.moc"
