#include "bildpfad.h"
#include "dateigrenze.h"
#include "fragedatei.h"
#include "startregeln.h"
#include "testdaten.h"
#include <sys/stat.h>

#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using FrageDatei::LadeErgebnis;

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

void zeile(const char *name, const char *frageDatei, const char *bild, const char *gespeichert,
           const char *url, bool gewaehlt = true)
{
    QTest::newRow(name) << QString(frageDatei) << QString(bild) << QString(gespeichert) << QString(url)
                        << gewaehlt;
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
    }

    void fremdeDateiUeberlebtDasSpeichern()
    {
        // As other tools write it: LF and CR LF mixed, BOM, blanks before "/>", attributes and an
        // unknown element that must survive.
        const LadeErgebnis erstes =
            lesenAus("\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<ArrayOfQuestion>\n"
                     "  <Question id=\"q1\" lang=\"de\">\r\n"
                     "    <QuestionText>Zeile 1\r\nZeile 2\nZeile 3</QuestionText>\n"
                     "    <Answer1>Äpfel &amp; Birnen</Answer1><Answer2>2 &lt; 3</Answer2>\n"
                     "    <Answer3 /><Answer4></Answer4>\n"
                     "    <Notiz>nur für mich</Notiz>\n"
                     "    <Solution>Answer2</Solution><Time>20</Time><Points>3</Points>\n"
                     "  </Question>\n</ArrayOfQuestion>\n");
        QVERIFY(erstes.ok());
        const QByteArray einmal = FrageDatei::serialisieren(erstes.fragen);
        QVERIFY(!einmal.contains("\r\r"));
        for (const char *teil : {"<QuestionText>Zeile 1\r\nZeile 2\r\nZeile 3</QuestionText>\r\n",
                                 " <Question id=\"q1\" lang=\"de\">\r\n", "  <Notiz>nur für mich</Notiz>\r\n",
                                 "  <Answer3/>\r\n  <Answer4/>\r\n"})
            QVERIFY2(einmal.contains(teil), teil);
        const LadeErgebnis zweites = lesenAus(einmal);
        QCOMPARE(FrageDatei::serialisieren(zweites.fragen), einmal);
        QCOMPARE(felder(zweites.fragen.value(0)).mid(0, 3),
                 (QStringList{"Zeile 1\nZeile 2\nZeile 3", "Äpfel & Birnen", "2 < 3"}));
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
        const QString riesig = pfad("riesig.xml");
        {
            QFile f(riesig);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write("<A><Question>") > 0);
            QVERIFY(f.resize(FrageDatei::MaxDateigroesse + 1)); // sparse: costs no disk space
        }
        const LadeErgebnis zuGross = FrageDatei::lesen(riesig);
        QCOMPARE(zuGross.fehler, LadeErgebnis::Fehler::ZuGross);
        QVERIFY(zuGross.fragen.isEmpty());
        QCOMPARE(zuGross.beschreibung(false),
                 QString("Die Datei ist zu groß für eine Fragedatei (50 MB; höchstens 50 MB)."));
        QCOMPARE(zuGross.beschreibung(true),
                 QString("The file is too large for a question file (50 MB; at most 50 MB)."));

        const LadeErgebnis fehlt = FrageDatei::lesen(pfad("gibt-es-nicht.xml"));
        QCOMPARE(fehlt.fehler, LadeErgebnis::Fehler::DateiFehlt);
        QCOMPARE(fehlt.beschreibung(true), QString("The file does not exist."));
        QCOMPARE(FrageDatei::lesen(QString()).fehler, LadeErgebnis::Fehler::DateiFehlt);
        QCOMPARE(FrageDatei::lesen(m_ordner.path()).fehler, LadeErgebnis::Fehler::NichtLesbar);

        const LadeErgebnis kaputt = lesenAus("<A>\n<Question><QuestionText>x</Answer1></Question></A>");
        QCOMPARE(kaputt.fehler, LadeErgebnis::Fehler::KeinXml);
        QCOMPARE(kaputt.zeile, 2);
        QVERIFY(kaputt.beschreibung(false).contains("Zeile 2"));
        QVERIFY(kaputt.fragen.isEmpty());
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
            QString geruest;
            for (const QDomElement &frage : ergebnis.fragen)
                geruest += felder(frage).mid(10).join('|') + '\n';
            gerueste << geruest;
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
        const QString neu = ordner.filePath("neu.xml");
        QVERIFY(Testdaten::schreiben(ziel, Alt));
        QString meldung, meldungNeu;
        {
            const Dateigrenze grenze(700);
            QVERIFY(grenze.gesetzt());
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression("Failed to write file"));
            QVERIFY(!FrageDatei::schreiben(ziel, geladen.fragen, &meldung));
            const Dateigrenze kleiner(100);
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression("Failed to write file"));
            QVERIFY(!FrageDatei::neueDateiSchreiben(neu, &meldungNeu));
        }
        QCOMPARE(Testdaten::lesen(ziel), Alt);
        QVERIFY2(meldung.contains(ziel) && meldung.contains("File too large"), qPrintable(meldung));
        QVERIFY2(meldungNeu.contains(neu) && meldungNeu.contains("File too large"), qPrintable(meldungNeu));
        QCOMPARE(QDir(ordner.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"ziel.xml"});
        // With room again the same save goes through.
        QVERIFY(FrageDatei::schreiben(ziel, geladen.fragen));
        QCOMPARE(Testdaten::lesen(ziel), FrageDatei::serialisieren(geladen.fragen));
    }

    // The tests ignore SIGXFSZ (Dateigrenze); a child from the system's default through the
    // program's start-up shows what the presenter would see: a failed save, not a killed program.
    void dateigrenzeBeendetDasProgrammNicht()
    {
        const QString ziel = pfad("grenze.xml");
        QVERIFY(Testdaten::schreiben(ziel, Alt));
        const LadeErgebnis geladen = FrageDatei::lesen(ziel);
        const pid_t kind = ::fork();
        QVERIFY(kind >= 0);
        if (kind == 0) {
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
            const Dateigrenze grenze(100);
            std::signal(SIGXFSZ, SIG_DFL); // as a program starts, before its start-up rules
            Startregeln::dateigrenzeAlsSchreibfehler();
            ::_exit(FrageDatei::schreiben(ziel, geladen.fragen).ok() ? 1 : 0);
        }
        int status = 0;
        QCOMPARE(::waitpid(kind, &status, 0), kind);
        QVERIFY2(WIFEXITED(status), qPrintable(QStringLiteral("ended by signal %1").arg(WTERMSIG(status))));
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(Testdaten::lesen(ziel), Alt);
    }

    void nurGewoehnlicheDateienSindBilder()
    {
        QVERIFY(Testdaten::schreiben(pfad("a.png"), QByteArray("x")));
        QCOMPARE(::mkfifo(QFile::encodeName(pfad("fifo.png")).constData(), 0600), 0);
        QVERIFY(BildPfad::istBilddatei(pfad("a.png")));
        for (const QString &keins :
             {pfad("fifo.png"), QString("/dev/null"), m_ordner.path(), pfad("fehlt.png")})
            QVERIFY2(!BildPfad::istBilddatei(keins), qPrintable(keins));
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
        zeile("same folder", "C:/kurs/fragen/test.xml", "C:/kurs/fragen/a.png", "a.png",
              "file:///C:/kurs/fragen/a.png");
        zeile("sub folder", "/home/k/fragen/test.xml", "/home/k/fragen/img/a.png", "img\\a.png",
              "file:/home/k/fragen/img/a.png");
        zeile("sibling", "C:/kurs/fragen/test.xml", "C:/kurs/bilder/a.png", "..\\bilder\\a.png",
              "file:///C:/kurs/bilder/a.png");
        zeile("two up", "/home/k/kurs/fragen/test.xml", "/home/k/a.png", "..\\..\\a.png",
              "file:/home/k/a.png");
        zeile("name begins alike", "/home/k/bilder.xml", "/home/k/bild/a.png", "bild\\a.png",
              "file:/home/k/bild/a.png");
        zeile("other drive", "C:/kurs/test.xml", "D:/bilder/a.png", "D:/bilder/a.png",
              "file:///D:/bilder/a.png");
        zeile("only the root shared", "/home/k/test.xml", "/media/stick/a.png", "/media/stick/a.png",
              "file:/media/stick/a.png");
        zeile("only the drive shared", "C:/kurs/test.xml", "C:/bilder/a.png", "C:/bilder/a.png",
              "file:///C:/bilder/a.png");
        // The URL names the file as it is; the statement builder encodes it for a page.
        zeile("awkward name", "/home/k/test.xml", "/home/k/O'Brien #1 100%.png", "O'Brien #1 100%.png",
              "file:/home/k/O'Brien #1 100%.png");
        zeile("absolute with backslashes", "C:/kurs/test.xml", "D:/bilder/a.png", "D:\\bilder\\a.png",
              "file:///D:/bilder/a.png", false);
        zeile("empty means no picture", "/home/k/test.xml", "", "", "", false);
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
};

QTEST_GUILESS_MAIN(TestFrageDatei)
#include "tst_fragedatei.moc"
