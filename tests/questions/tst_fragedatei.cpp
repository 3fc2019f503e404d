// Question files: the program's own format as it is read and written byte for byte, pictures beside
// it, files that cannot be used; and question banks from learning platforms and spreadsheets as
// teachers save them, with broken files, and the way there and back through the exports.
#include "bildpfad.h"
#include "dateigrenze.h"
#include "fragedatei.h"
#include "fragenimport.h"
#include "fremdformat.h"
#include "gift.h"
#include "moodlexml.h"
#include "startregeln.h"
#include "testdaten.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using FrageDatei::LadeErgebnis;
using FragenImport::Ergebnis;
using Fremdformat::Format;

namespace {

const QByteArray Kopf = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r"
                        "<!--Erstellt von Plenaro plenaro.example-->\r"
                        "<ArrayOfQuestion xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                        "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\">\r";

const QByteArray Alt = "<A><Question><QuestionText>alt</QuestionText></Question></A>";

// Everything a reader sees of a question.
QStringList felder(const QDomElement &frage)
{
    QStringList werte;
    for (const char *name :
         {"QuestionText", "Answer1", "Answer2", "Answer3", "Answer4", "PictureQuestionText", "PictureAnswer1",
          "PictureAnswer2", "PictureAnswer3", "PictureAnswer4", "AnswerDelay", "Solution", "Time", "Points"})
        werte << FrageDatei::feld(frage, QLatin1String(name));
    return werte;
}

void bildZeile(const char *name, const char *frageDatei, const char *bild, const char *gespeichert,
               const char *url, bool gewaehlt = true)
{
    QTest::newRow(name) << QString(frageDatei) << QString(bild) << QString(gespeichert) << QString(url)
                        << gewaehlt;
}

const QByteArray Png = QByteArray("\x89PNG\r\n\x1a\n", 8) + "bild";
const QString Fremd = QStringLiteral(PLENARO_QUELLEN "/tests/questions/fremdformate/");

// "text|answers|correct|points|pictures" per question, the report last; a line break as \n.
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
    return zeilen.replaceInStrings(QStringLiteral("\n"), QStringLiteral("\\n"));
}

void tabelle(const char *name, const QByteArray &csv, int anzahl, const QStringList &felder,
             const QStringList &fehler = {}, bool englisch = false)
{
    QTest::newRow(name) << csv << englisch << anzahl << felder << fehler;
}

} // namespace

class TestFrageDatei final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_ordner;

    QString pfad(const QString &name) const { return m_ordner.filePath(name); }
    LadeErgebnis lesenAus(const QByteArray &inhalt)
    {
        Testdaten::schreiben(pfad("eingabe.xml"), inhalt);
        return FrageDatei::lesen(pfad("eingabe.xml"));
    }

private slots:
    void schreibtDasGenaueLayout()
    {
        // Text, an empty element and a missing text each keep their form; only what XML needs is
        // escaped, and line ends are CR LF.
        const LadeErgebnis gelesen = lesenAus(
            "<A><Question><QuestionText>Wie geht's?\nGut &amp; &lt;schnell> ]]&gt; \"x\"</QuestionText>"
            "<Answer1>Ja</Answer1><Answer2></Answer2><Answer3/><Solution>Answer1</Solution>"
            "</Question></A>");
        QVERIFY(gelesen.ok());
        QCOMPARE(FrageDatei::serialisieren(gelesen.fragen),
                 Kopf +
                     " <Question>\r\n"
                     "  <QuestionText>Wie geht's?\r\nGut &amp; &lt;schnell> ]]&gt; \"x\"</QuestionText>\r\n"
                     "  <Answer1>Ja</Answer1>\r\n  <Answer2/>\r\n  <Answer3/>\r\n"
                     "  <Solution>Answer1</Solution>\r\n </Question>\r\n</ArrayOfQuestion>");
        QCOMPARE(FrageDatei::serialisieren({}), Kopf + "</ArrayOfQuestion>");

        // A new file: one survey question of all fourteen fields, on one line.
        const QByteArray neu = FrageDatei::neueDatei();
        QVERIFY(neu.startsWith(Kopf));
        QVERIFY(!neu.mid(Kopf.size()).contains('\n'));
        const QDomElement frage = lesenAus(neu).fragen.value(0);
        QCOMPARE(felder(frage),
                 (QStringList{{}, {}, {}, {}, {}, {}, {}, {}, {}, {}, "0", "NoAnswer", "15", "1"}));
        QCOMPARE(frage.childNodes().count(), 14);

        // As other tools write it: LF and CR LF mixed, a BOM, blanks before "/>", attributes and an
        // unknown element, which must survive.
        const LadeErgebnis fremd =
            lesenAus("\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<ArrayOfQuestion>\n"
                     "  <Question id=\"q1\" lang=\"de\">\r\n"
                     "    <QuestionText>1\r\n2\n3</QuestionText>\n"
                     "    <Answer1>Äpfel &amp; Birnen</Answer1><Answer2>2 &lt; 3</Answer2>\n"
                     "    <Answer3 /><Answer4></Answer4>\n    <Notiz>nur für mich</Notiz>\n"
                     "  </Question>\n</ArrayOfQuestion>\n");
        QCOMPARE(FrageDatei::serialisieren(fremd.fragen),
                 Kopf + " <Question id=\"q1\" lang=\"de\">\r\n  <QuestionText>1\r\n2\r\n3</QuestionText>\r\n"
                        "  <Answer1>Äpfel &amp; Birnen</Answer1>\r\n  <Answer2>2 &lt; 3</Answer2>\r\n"
                        "  <Answer3/>\r\n  <Answer4/>\r\n  <Notiz>nur für mich</Notiz>\r\n </Question>\r\n"
                        "</ArrayOfQuestion>");
        QCOMPARE(felder(fremd.fragen.value(0)).mid(0, 3),
                 (QStringList{"1\n2\n3", "Äpfel & Birnen", "2 < 3"}));
    }

    void feldregeln()
    {
        // A character reference survives XML line-end normalisation, so only the reader's own
        // removal takes the carriage return out, and only of the text fields.
        const LadeErgebnis ergebnis =
            lesenAus("<W><Question><QuestionText>a&#13;\nb</QuestionText><Answer4>x&#13;y</Answer4>"
                     "<Points>2&#13;</Points><Time>abc</Time><AnswerDelay> 4 </AnswerDelay>"
                     "<Answer1>erste</Answer1><Answer1>zweite</Answer1><PictureAnswer1/></Question>"
                     "<Teil><Block><Question><QuestionText>2</QuestionText></Question></Block></Teil>"
                     "<Question><QuestionText>3</QuestionText></Question></W>");
        QVERIFY(ergebnis.ok());
        const QDomElement frage = ergebnis.fragen.at(0);
        QCOMPARE(felder(frage).mid(0, 5), (QStringList{"a\nb", "erste", "", "", "xy"}));
        QCOMPARE(FrageDatei::feld(frage, "Points"), QString("2\r"));
        QCOMPARE(FrageDatei::zahl(frage, "Time"), 0);
        QCOMPARE(FrageDatei::zahl(frage, "AnswerDelay"), 4);
        QCOMPARE(FrageDatei::zahl(frage, "PictureAnswer2"), 0);
        // Questions anywhere in the document, in its order.
        QCOMPARE(ergebnis.fragen.size(), 3);
        QCOMPARE(FrageDatei::feld(ergebnis.fragen.at(1), "QuestionText"), QString("2"));
        QCOMPARE(FrageDatei::feld(ergebnis.fragen.at(2), "QuestionText"), QString("3"));
        QCOMPARE(FrageDatei::richtigerKnopf("Answer1"), 1);
        QCOMPARE(FrageDatei::richtigerKnopf("Answer4"), 4);
        for (const char *keine :
             {"NoAnswer", "", "answer1", "Answer0", "Answer5", "Answer12", " Answer1", "Answer"})
            QCOMPARE(FrageDatei::richtigerKnopf(keine), 0);
    }

    void mehrAlsTausendFragenBehaeltDieErstenTausend()
    {
        QByteArray xml = "<A>";
        for (int i = 1; i <= 1003; ++i)
            xml += "<Question><QuestionText>" + QByteArray::number(i) + "</QuestionText></Question>";
        // Still checked to the end: a broken tail refuses the file.
        QCOMPARE(lesenAus(xml + "<kaputt></A>").fehler, LadeErgebnis::Fehler::KeinXml);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("holds 1003 questions"));
        const LadeErgebnis ergebnis = lesenAus(xml + "</A>");
        QCOMPARE(ergebnis.fragen.size(), FrageDatei::MaxFragen);
        // What is never shown is not held in memory either.
        QCOMPARE(ergebnis.dokument.elementsByTagName("Question").count(), FrageDatei::MaxFragen);
        QCOMPARE(ergebnis.weggelassen, 3);
        QCOMPARE(FrageDatei::feld(ergebnis.fragen.last(), "QuestionText"), QString("1000"));
        QCOMPARE(ergebnis.hinweis(), QString("Die Datei enthält 1003 Fragen. Nur die ersten 1000 werden "
                                             "verwendet; 3 Fragen wurden weggelassen."));
        QVERIFY(lesenAus("<A><Question/></A>").hinweis().isEmpty());
    }

    void fehlerMitGrund()
    {
        const LadeErgebnis fehlt = FrageDatei::lesen(pfad("gibt-es-nicht.xml"));
        QCOMPARE(fehlt.beschreibung(true), QString("The file does not exist."));
        QCOMPARE(FrageDatei::lesen(QString()).fehler, LadeErgebnis::Fehler::DateiFehlt);
        QCOMPARE(FrageDatei::lesen(m_ordner.path()).fehler, LadeErgebnis::Fehler::NichtLesbar);
        const LadeErgebnis kaputt = lesenAus("<A>\n<Question><QuestionText>x</Answer1></Question></A>");
        QCOMPARE(kaputt.zeile, 2);
        QVERIFY(kaputt.beschreibung(false).contains("Zeile 2"));
        QCOMPARE(lesenAus(QByteArray()).fehler, LadeErgebnis::Fehler::KeinXml);
        const LadeErgebnis leer = lesenAus("<ArrayOfQuestion><Frage/></ArrayOfQuestion>");
        QCOMPARE(leer.fehler, LadeErgebnis::Fehler::KeineFragen);
        QCOMPARE(leer.beschreibung(false), QString("Die Datei enthält keine Fragen."));
    }

    // The samples are stored exactly as the program writes files, and both languages play the same
    // game. (That the pictures they name are there is checked where they are installed.)
    void beispieldateien()
    {
        QStringList gerueste;
        for (const char *sprache : {"DE", "EN"}) {
            const QString datei = QStringLiteral(PLENARO_QUELLEN "/examples/%1/BspFragen.xml").arg(sprache);
            const LadeErgebnis ergebnis = FrageDatei::lesen(datei);
            QVERIFY2(ergebnis.fragen.size() >= 8, qPrintable(datei));
            QCOMPARE(FrageDatei::serialisieren(ergebnis.fragen), Testdaten::lesen(datei));
            gerueste << QString();
            for (const QDomElement &frage : ergebnis.fragen)
                gerueste.last() += felder(frage).mid(10).join('|') + '\n';
        }
        QCOMPARE(gerueste.at(0), gerueste.at(1));
    }

    // A full disk never destroys the file: the old content stays, nothing is left behind, and the
    // message names the file and the system's reason. The file is small enough to sit in a write
    // buffer until the end, so a flush that goes unchecked would pass as a save.
    void vollePlatteZerstoertDieDateiNicht()
    {
        QTemporaryDir ordner;
        const LadeErgebnis geladen = lesenAus(Testdaten::dokument(QList<Testdaten::Frage>(4)));
        QVERIFY(FrageDatei::serialisieren(geladen.fragen).size() > 700);
        const QString ziel = ordner.filePath("ziel.xml");
        QVERIFY(Testdaten::schreiben(ziel, Alt));
        QString meldung;
        {
            const Dateigrenze grenze(700);
            QVERIFY(grenze.gesetzt());
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression("Failed to write file"));
            QVERIFY(!FrageDatei::schreiben(ziel, geladen.fragen, &meldung));
        }
        QCOMPARE(Testdaten::lesen(ziel), Alt);
        QVERIFY2(meldung.contains(ziel) && meldung.contains("File too large"), qPrintable(meldung));
        QCOMPARE(QDir(ordner.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"ziel.xml"});
        // With room again the same save goes through.
        QVERIFY(FrageDatei::schreiben(ziel, geladen.fragen));
        QCOMPARE(Testdaten::lesen(ziel), FrageDatei::serialisieren(geladen.fragen));
    }

    // The tests ignore SIGXFSZ (Dateigrenze); a child from the system's default through the
    // program's start-up shows what the presenter would see: a failed save, not a killed program.
    void dateigrenzeBeendetDasProgrammNicht()
    {
        const pid_t kind = ::fork();
        QVERIFY(kind >= 0);
        if (kind == 0) {
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
            const Dateigrenze grenze(100);
            std::signal(SIGXFSZ, SIG_DFL); // as a program starts, before its start-up rules
            Startregeln::dateigrenzeAlsSchreibfehler();
            ::_exit(FrageDatei::neueDateiSchreiben(pfad("grenze.xml")).ok() ? 1 : 0);
        }
        int status = 0;
        QCOMPARE(::waitpid(kind, &status, 0), kind);
        QCOMPARE(WIFSIGNALED(status) ? -WTERMSIG(status) : WEXITSTATUS(status), 0);
    }

    // A picture chosen beside the question file is stored relative to it, in the file format's
    // backslashes, and found again from there; across drives or the root it stays absolute.
    void bildPfad_data()
    {
        QTest::addColumn<QString>("frageDatei");
        QTest::addColumn<QString>("bild");
        QTest::addColumn<QString>("gespeichert");
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("gewaehlt"); // false: only read from a file, never stored so here
        bildZeile("same folder", "C:/kurs/fragen/test.xml", "C:/kurs/fragen/a.png", "a.png",
                  "file:///C:/kurs/fragen/a.png");
        bildZeile("sub folder", "/home/k/fragen/test.xml", "/home/k/fragen/img/a.png", "img\\a.png",
                  "file:/home/k/fragen/img/a.png");
        bildZeile("sibling", "C:/kurs/fragen/test.xml", "C:/kurs/bilder/a.png", "..\\bilder\\a.png",
                  "file:///C:/kurs/bilder/a.png");
        bildZeile("two up", "/home/k/kurs/fragen/test.xml", "/home/k/a.png", "..\\..\\a.png",
                  "file:/home/k/a.png");
        bildZeile("name begins alike", "/home/k/bilder.xml", "/home/k/bild/a.png", "bild\\a.png",
                  "file:/home/k/bild/a.png");
        bildZeile("other drive", "C:/kurs/test.xml", "D:/bilder/a.png", "D:/bilder/a.png",
                  "file:///D:/bilder/a.png");
        bildZeile("only the root shared", "/home/k/test.xml", "/media/stick/a.png", "/media/stick/a.png",
                  "file:/media/stick/a.png");
        bildZeile("only the drive shared", "C:/kurs/test.xml", "C:/bilder/a.png", "C:/bilder/a.png",
                  "file:///C:/bilder/a.png");
        // The URL names the file as it is; the statement builder encodes it for a page.
        bildZeile("awkward name", "/home/k/test.xml", "/home/k/O'Brien #1 100%.png", "O'Brien #1 100%.png",
                  "file:/home/k/O'Brien #1 100%.png");
        bildZeile("absolute with backslashes", "C:/kurs/test.xml", "D:/bilder/a.png", "D:\\bilder\\a.png",
                  "file:///D:/bilder/a.png", false);
        bildZeile("empty means no picture", "/home/k/test.xml", "", "", "", false);
    }
    void bildPfad()
    {
        QFETCH(QString, frageDatei);
        QFETCH(QString, bild);
        QFETCH(QString, gespeichert);
        QFETCH(bool, gewaehlt);
        if (gewaehlt)
            QCOMPARE(BildPfad::relativerBildPfad(frageDatei, bild), gespeichert);
        const BildPfad::Quelle quelle = BildPfad::bildPfadAufloesen(gespeichert, frageDatei);
        QTEST(quelle.url, "url");
        QCOMPARE(quelle.lokalerPfad, bild);
    }

    // Question banks as learning platforms and teachers write them, each file of the folder against
    // what its expected file says it gives.
    void lesen_data()
    {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<QStringList>("erwartet");
        QMap<QString, QStringList> erwartet;
        QString datei;
        for (const QString &zeile : QString::fromUtf8(Testdaten::lesen(Fremd + "erwartet.txt")).split('\n')) {
            if (zeile.startsWith('['))
                datei = zeile.section(']', 0, 0).mid(1);
            else if (!zeile.isEmpty() && !zeile.startsWith('#'))
                erwartet[datei].append(zeile);
        }
        for (const QString &name : QDir(Fremd).entryList({"*.xml", "*.gift", "*.aiken"}))
            QTest::newRow(qPrintable(name)) << name << erwartet.value(name);
    }
    // Only what the program can present is taken, and nothing is written when no question fits.
    void lesen()
    {
        QFETCH(QString, datei);
        QFETCH(QStringList, erwartet);
        const QByteArray inhalt = Testdaten::lesen(Fremd + datei);
        const Format format = datei.endsWith(".xml")    ? Format::MoodleXml
                              : datei.endsWith(".gift") ? Format::Gift
                                                        : Format::Aiken;
        const bool fragen = erwartet.size() > 1;
        // A file the questions come from is recognised by its content.
        if (fragen)
            QCOMPARE(Fremdformat::erkennen(inhalt), format);
        const Fremdformat::Ergebnis ergebnis = Fremdformat::lesenAus(inhalt, format, false);
        QCOMPARE(beschreibung(ergebnis), erwartet);
        QTemporaryDir ordner;
        const QString ziel = ordner.filePath(QStringLiteral("z.xml"));
        QCOMPARE(Fremdformat::uebernehmen(ergebnis, ziel).ok(), fragen);
        QCOMPARE(QFileInfo::exists(ziel), fragen);
    }

    // Files that are no text are refused before a format is guessed, by the window's import and the
    // command line's alike, and nothing is written; the question file reader refuses a file over
    // its limit with the same words.
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
        // A file over the limit is sparse: it costs no disk space.
        QVERIFY(datei.open(QIODevice::WriteOnly) && datei.write(inhalt) == inhalt.size() &&
                datei.resize(inhalt.isEmpty() ? FrageDatei::MaxDateigroesse + 1 : inhalt.size()));
        datei.close();
        if (inhalt.isEmpty())
            QCOMPARE(FrageDatei::lesen(datei.fileName()).beschreibung(true), erwartet);
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
        QDomElement zweiRunden = original.fragen.value(1); // a handle: the file's own question
        for (const QString &feld : {FrageDatei::Runden, FrageDatei::Notizen})
            zweiRunden.appendChild(zweiRunden.ownerDocument().createElement(feld))
                .appendChild(zweiRunden.ownerDocument().createTextNode("2"));
        const QString export_ = ordner.filePath(xml ? QStringLiteral("aus.xml") : QStringLiteral("aus.txt"));
        const Fremdformat::Export exportiert =
            Fremdformat::exportieren(original.fragen, quelle, export_, true);
        QVERIFY(exportiert.geschrieben.ok());
        // What the format has no place for is said, with the number of questions it concerns:
        // a second vote and notes in both, pictures and points in GIFT.
        QCOMPARE(exportiert.verloren.join('|').count(": 1)"), xml ? 2 : 4);
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
        for (qsizetype i = 0; i < original.fragen.size(); ++i)
            for (const QString &feld : felder)
                QCOMPARE(FrageDatei::feld(wieder.fragen.at(i), feld),
                         FrageDatei::feld(original.fragen.at(i), feld));
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
        const QString csv = pfad("klasse 7b.csv");
        QCOMPARE(FragenImport::zielPfad(csv), pfad("klasse 7b.xml"));
        QVERIFY(FrageDatei::neueDateiSchreiben(pfad("klasse 7b.xml")));
        QCOMPARE(FragenImport::zielPfad(csv), pfad("klasse 7b (2).xml"));
        QVERIFY(!FragenImport::lesen(pfad("fehlt.csv"), false).lesefehler.isEmpty());
        QVERIFY(!FragenImport::lesen(m_ordner.path(), true).lesefehler.isEmpty());
        QFile gross(pfad("gross.csv"));
        QVERIFY(gross.open(QIODevice::WriteOnly) && gross.resize(10 * 1024 * 1024 + 1));
        QCOMPARE(FragenImport::lesen(gross.fileName(), true).lesefehler,
                 "The file is too large for a list of questions (over 10 MB).");
        QCOMPARE(FragenImport::lesenAus(QByteArray("F;a;b\0", 6), true).lesefehler,
                 "The file is not a text file.");
    }
};

QTEST_GUILESS_MAIN(TestFrageDatei)
#include "tst_fragedatei.moc"
