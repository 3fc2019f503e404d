#include "bildpfad.h"
#include "dateigrenze.h"
#include "fragedatei.h"
#include "startregeln.h"
#include "testdaten.h"

#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using FrageDatei::LadeErgebnis;

namespace {

QByteArray lesenBytes(const QString &pfad)
{
    QFile datei(pfad);
    return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray();
}

const QByteArray Kopf = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r"
                        "<!--Erstellt von Plenaro plenaro.example-->\r"
                        "<ArrayOfQuestion xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                        "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\">\r";

QList<Testdaten::Frage> fragenListe(int anzahl)
{
    QList<Testdaten::Frage> liste;
    for (int i = 0; i < anzahl; ++i) {
        Testdaten::Frage f;
        f.text = QStringLiteral("Frage %1 mit etwas Text, damit die Datei wächst").arg(i + 1);
        liste << f;
    }
    return liste;
}

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

// What a save keeps besides the field texts: elements, comments and processing instructions, in
// their order and nesting.
QString gestalt(const QDomNode &knoten)
{
    QString aus;
    for (QDomNode kind = knoten.firstChild(); !kind.isNull(); kind = kind.nextSibling()) {
        if (kind.isElement())
            aus +=
                QLatin1Char('<') + kind.nodeName() + QLatin1Char('>') + gestalt(kind) + QLatin1String("</>");
        else if (kind.isComment() || kind.isProcessingInstruction())
            aus +=
                QLatin1Char('[') + kind.nodeName() + QLatin1Char(' ') + kind.nodeValue() + QLatin1Char(']');
    }
    return aus;
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
        const QString datei = pfad(QStringLiteral("eingabe.xml"));
        Testdaten::schreiben(datei, inhalt);
        return FrageDatei::lesen(datei);
    }

private slots:
    void schreibtDasGenaueLayout()
    {
        QDomDocument dok;
        QDomElement frage = dok.createElement("Question");
        const auto kind = [&](const QString &name, const QString *text) {
            QDomElement e = dok.createElement(name);
            if (text)
                e.appendChild(dok.createTextNode(*text));
            frage.appendChild(e);
        };
        const QString fragetext = "Wie geht's?\nGut & <schnell> ]]> \"x\"";
        const QString ja = "Ja", leer = "", loesung = "Answer1", zeit = "15";
        kind("QuestionText", &fragetext);
        kind("Answer1", &ja);
        kind("Answer2", &leer);
        kind("Answer3", nullptr);
        kind("Solution", &loesung);
        kind("Time", &zeit);

        const QByteArray erwartet =
            Kopf + " <Question>\r\n"
                   "  <QuestionText>Wie geht's?\r\nGut &amp; &lt;schnell> ]]&gt; \"x\"</QuestionText>\r\n"
                   "  <Answer1>Ja</Answer1>\r\n"
                   "  <Answer2></Answer2>\r\n"
                   "  <Answer3/>\r\n"
                   "  <Solution>Answer1</Solution>\r\n"
                   "  <Time>15</Time>\r\n"
                   " </Question>\r\n"
                   "</ArrayOfQuestion>";
        QCOMPARE(FrageDatei::serialisieren({frage}), erwartet);
        QCOMPARE(FrageDatei::serialisieren({}), Kopf + "</ArrayOfQuestion>");
    }

    void schreibenLesenSchreibenBleibtGleich()
    {
        // A file as other tools write it: LF and CR LF mixed, BOM, blanks before "/>", an
        // attribute and an unknown element that must survive.
        const QByteArray fremd = "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<ArrayOfQuestion>\n"
                                 "  <Question id=\"q1\" lang=\"de\">\r\n"
                                 "    <QuestionText>Zeile 1\r\nZeile 2\nZeile 3</QuestionText>\n"
                                 "    <Answer1>Äpfel &amp; Birnen</Answer1><Answer2>2 &lt; 3</Answer2>\n"
                                 "    <Answer3 /><Answer4></Answer4>\n"
                                 "    <PictureQuestionText />\n"
                                 "    <Notiz>nur für mich</Notiz>\n"
                                 "    <Solution>Answer2</Solution><Time>20</Time><Points>3</Points>\n"
                                 "  </Question>\n</ArrayOfQuestion>\n";
        const LadeErgebnis erstes = lesenAus(fremd);
        QVERIFY(erstes.ok());
        const QByteArray einmal = FrageDatei::serialisieren(erstes.fragen);
        QVERIFY(!einmal.contains("\r\r"));
        QVERIFY(einmal.contains("<QuestionText>Zeile 1\r\nZeile 2\r\nZeile 3</QuestionText>\r\n"));
        QVERIFY(einmal.contains(" <Question id=\"q1\" lang=\"de\">\r\n"));
        QVERIFY(einmal.contains("  <Notiz>nur für mich</Notiz>\r\n"));
        QVERIFY(einmal.contains("  <Answer3/>\r\n  <Answer4/>\r\n  <PictureQuestionText/>\r\n"));
        QVERIFY(einmal.endsWith("</ArrayOfQuestion>"));

        const QString datei = pfad(QStringLiteral("rund.xml"));
        QVERIFY(FrageDatei::schreiben(datei, erstes.fragen));
        QCOMPARE(lesenBytes(datei), einmal);
        const LadeErgebnis zweites = FrageDatei::lesen(datei);
        QVERIFY(zweites.ok());
        QCOMPARE(FrageDatei::serialisieren(zweites.fragen), einmal);
        QCOMPARE(FrageDatei::feld(zweites.fragen.at(0), "QuestionText"),
                 QString("Zeile 1\nZeile 2\nZeile 3"));
        QCOMPARE(FrageDatei::feld(zweites.fragen.at(0), "Answer1"), QString("Äpfel & Birnen"));
        QCOMPARE(FrageDatei::feld(zweites.fragen.at(0), "Answer2"), QString("2 < 3"));
    }

    void wagenruecklaufNurInDenTextfeldernEntfernt()
    {
        // A character reference survives XML line-end normalisation, so only our removal helps.
        const LadeErgebnis ergebnis =
            lesenAus("<A><Question><QuestionText>a&#13;\nb</QuestionText><Answer4>x&#13;y</Answer4>"
                     "<Points>2&#13;</Points></Question></A>");
        QVERIFY(ergebnis.ok());
        const QDomElement frage = ergebnis.fragen.at(0);
        QCOMPARE(FrageDatei::feld(frage, "QuestionText"), QString("a\nb"));
        QCOMPARE(FrageDatei::feld(frage, "Answer4"), QString("xy"));
        QCOMPARE(FrageDatei::feld(frage, "Points"), QString("2\r"));
    }

    void feldregel()
    {
        const LadeErgebnis ergebnis =
            lesenAus("<A><Question><Time>abc</Time><Points> 4 </Points>"
                     "<Answer1>erste</Answer1><Answer1>zweite</Answer1>"
                     "<PictureAnswer1/><PictureAnswer2 /><PictureAnswer3></PictureAnswer3>"
                     "</Question></A>");
        QVERIFY(ergebnis.ok());
        const QDomElement frage = ergebnis.fragen.at(0);
        QCOMPARE(FrageDatei::zahl(frage, "Time"), 0);
        QCOMPARE(FrageDatei::zahl(frage, "Points"), 4);
        QCOMPARE(FrageDatei::zahl(frage, "AnswerDelay"), 0);
        QCOMPARE(FrageDatei::feld(frage, "AnswerDelay"), QString());
        QCOMPARE(FrageDatei::feld(frage, "Answer1"), QString("erste"));
        for (const char *bild : {"PictureAnswer1", "PictureAnswer2", "PictureAnswer3", "PictureAnswer4"})
            QVERIFY(FrageDatei::feld(frage, bild).isEmpty());
    }

    void loesungAlsKnopf()
    {
        QCOMPARE(FrageDatei::richtigerKnopf("Answer1"), 1);
        QCOMPARE(FrageDatei::richtigerKnopf("Answer4"), 4);
        for (const char *keine :
             {"NoAnswer", "", "answer1", "Answer0", "Answer5", "Answer12", " Answer1", "Answer"})
            QCOMPARE(FrageDatei::richtigerKnopf(keine), 0);
    }

    void sammeltFragenInDokumentreihenfolgeAuchVerschachtelt()
    {
        const LadeErgebnis ergebnis =
            lesenAus("<Wurzel><Question><QuestionText>1</QuestionText></Question>"
                     "<Teil><Block><Question><QuestionText>2</QuestionText></Question>"
                     "</Block></Teil><Question><QuestionText>3</QuestionText></Question>"
                     "</Wurzel>");
        QVERIFY(ergebnis.ok());
        QCOMPARE(ergebnis.fragen.size(), 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(FrageDatei::feld(ergebnis.fragen.at(i), "QuestionText"), QString::number(i + 1));
    }

    void mehrAlsTausendFragenBehaeltDieErstenTausend()
    {
        QByteArray xml = "<A>";
        for (int i = 1; i <= 1003; ++i)
            xml += "<Question><QuestionText>" + QByteArray::number(i) + "</QuestionText></Question>";
        // Still checked to the end: a broken tail refuses the file.
        QCOMPARE(lesenAus(xml + "<kaputt></A>").fehler, LadeErgebnis::Fehler::KeinXml);
        xml += "</A>";
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("holds 1003 questions"));
        const LadeErgebnis ergebnis = lesenAus(xml);
        QVERIFY(ergebnis.ok());
        QCOMPARE(ergebnis.fragen.size(), FrageDatei::MaxFragen);
        // What is never shown is not held in memory either.
        QCOMPARE(ergebnis.dokument.elementsByTagName("Question").count(), FrageDatei::MaxFragen);
        QCOMPARE(ergebnis.weggelassen, 3);
        QCOMPARE(FrageDatei::feld(ergebnis.fragen.last(), "QuestionText"), QString("1000"));
        // The presenter is told (in the source language here: no catalogue is installed).
        QCOMPARE(ergebnis.hinweis(), QString("Die Datei enthält 1003 Fragen. Nur die ersten 1000 werden "
                                             "verwendet; 3 Fragen wurden weggelassen."));
        QVERIFY(lesenAus("<A><Question/></A>").hinweis().isEmpty());
    }

    void riesigeDateiWirdAbgelehnt()
    {
        const QString datei = pfad("riesig.xml");
        {
            QFile f(datei);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.write("<A><Question>") > 0);
            // Sparse: costs no disk space.
            QVERIFY(f.resize(FrageDatei::MaxDateigroesse + 1));
        }
        const LadeErgebnis ergebnis = FrageDatei::lesen(datei);
        QCOMPARE(ergebnis.fehler, LadeErgebnis::Fehler::ZuGross);
        QVERIFY(ergebnis.fragen.isEmpty());
        QCOMPARE(ergebnis.beschreibung(false),
                 QString("Die Datei ist zu groß für eine Fragedatei (50 MB; höchstens 50 MB)."));
        QCOMPARE(ergebnis.beschreibung(true),
                 QString("The file is too large for a question file (50 MB; at most 50 MB)."));
        QVERIFY(ergebnis.hinweis().isEmpty());
        QVERIFY(QFile::remove(datei));
    }

    void fehlerMitGrund()
    {
        LadeErgebnis fehlt = FrageDatei::lesen(pfad("gibt-es-nicht.xml"));
        QCOMPARE(fehlt.fehler, LadeErgebnis::Fehler::DateiFehlt);
        QCOMPARE(fehlt.beschreibung(true), QString("The file does not exist."));
        QCOMPARE(FrageDatei::lesen(QString()).fehler, LadeErgebnis::Fehler::DateiFehlt);

        QCOMPARE(FrageDatei::lesen(m_ordner.path()).fehler, LadeErgebnis::Fehler::NichtLesbar);

        const LadeErgebnis kaputt = lesenAus("<A>\n<Question><QuestionText>x</Answer1></Question></A>");
        QCOMPARE(kaputt.fehler, LadeErgebnis::Fehler::KeinXml);
        QCOMPARE(kaputt.zeile, 2);
        QVERIFY(kaputt.spalte > 0);
        QVERIFY(kaputt.beschreibung(false).contains("Zeile 2"));
        QVERIFY(kaputt.fragen.isEmpty());

        const LadeErgebnis leer = lesenAus("<ArrayOfQuestion><Frage/></ArrayOfQuestion>");
        QCOMPARE(leer.fehler, LadeErgebnis::Fehler::KeineFragen);
        QCOMPARE(leer.beschreibung(false), QString("Die Datei enthält keine Fragen."));

        QCOMPARE(lesenAus(QByteArray()).fehler, LadeErgebnis::Fehler::KeinXml);
    }

    void neueDatei()
    {
        const QString datei = pfad("neu.xml");
        QVERIFY(FrageDatei::neueDateiSchreiben(datei));
        const QByteArray bytes = lesenBytes(datei);
        QVERIFY(bytes.startsWith(Kopf));
        const QByteArray rest = bytes.mid(Kopf.size());
        QVERIFY(!rest.contains('\r') && !rest.contains('\n') && !rest.contains(' '));
        QVERIFY(rest.endsWith("</Question></ArrayOfQuestion>"));

        const LadeErgebnis ergebnis = FrageDatei::lesen(datei);
        QVERIFY(ergebnis.ok());
        QCOMPARE(ergebnis.fragen.size(), 1);
        const QDomElement frage = ergebnis.fragen.at(0);
        QCOMPARE(FrageDatei::feld(frage, "Solution"), QString("NoAnswer"));
        QCOMPARE(FrageDatei::zahl(frage, "Time"), 15);
        QCOMPARE(FrageDatei::zahl(frage, "Points"), 1);
        QCOMPARE(FrageDatei::feld(frage, "AnswerDelay"), QString("0"));
        QCOMPARE(frage.childNodes().count(), 14);
    }

    void beispieldateien()
    {
        QList<QStringList> gerueste;
        for (const char *sprache : {"DE", "EN"}) {
            const QString pfad =
                QStringLiteral(PLENARO_QUELLEN "/examples/%1/BspFragen.xml").arg(QLatin1String(sprache));
            const LadeErgebnis ergebnis = FrageDatei::lesen(pfad);
            QVERIFY2(ergebnis.ok(), qPrintable(pfad));
            // Stored exactly as the program writes files.
            QCOMPARE(FrageDatei::serialisieren(ergebnis.fragen), lesenBytes(pfad));
            QStringList geruest;
            QSet<int> antwortzahlen;
            bool umfrage = false;
            for (const QDomElement &frage : ergebnis.fragen) {
                QVERIFY(!FrageDatei::feld(frage, "QuestionText").isEmpty());
                int antworten = 0;
                for (int i = 1; i <= 4; ++i) {
                    const QString bild = FrageDatei::feld(frage, QStringLiteral("PictureAnswer%1").arg(i));
                    antworten +=
                        FrageDatei::feld(frage, QStringLiteral("Answer%1").arg(i)).isEmpty() && bild.isEmpty()
                            ? 0
                            : 1;
                }
                antwortzahlen.insert(antworten);
                umfrage = umfrage || FrageDatei::feld(frage, "Solution") == "NoAnswer";
                for (const char *feld : {"PictureQuestionText", "PictureAnswer1", "PictureAnswer2",
                                         "PictureAnswer3", "PictureAnswer4"}) {
                    const QString gespeichert = FrageDatei::feld(frage, feld);
                    if (gespeichert.isEmpty())
                        continue;
                    QVERIFY2(!BildPfad::istAbsolut(gespeichert), qPrintable(gespeichert));
                    const QString lokal = BildPfad::bildPfadAufloesen(gespeichert, pfad).lokalerPfad;
                    QVERIFY2(QFileInfo(lokal).isFile(), qPrintable(lokal));
                }
                geruest << FrageDatei::feld(frage, "Solution") + FrageDatei::feld(frage, "Time") +
                               FrageDatei::feld(frage, "Points") + FrageDatei::feld(frage, "AnswerDelay");
            }
            QVERIFY(ergebnis.fragen.size() >= 8);
            QVERIFY(umfrage);
            QVERIFY(antwortzahlen.contains(2) && antwortzahlen.contains(3) && antwortzahlen.contains(4));
            const QDomElement letzte = ergebnis.fragen.last();
            for (const char *feld : {"PictureQuestionText", "PictureAnswer1", "PictureAnswer2",
                                     "PictureAnswer3", "PictureAnswer4"})
                QVERIFY(!FrageDatei::feld(letzte, feld).isEmpty());
            gerueste << geruest;
        }
        // Both languages play the same game.
        QCOMPARE(gerueste.at(0), gerueste.at(1));
    }

    void volleplatteZerstoertDieDateiNicht_data()
    {
        QTest::addColumn<int>("fragen");
        QTest::addColumn<int>("grenze");
        // Small enough to sit in the write buffer until the end, and large enough to fail on the way.
        QTest::newRow("im Puffer") << 4 << 700;
        QTest::newRow("gross") << 400 << 20000;
    }

    void volleplatteZerstoertDieDateiNicht()
    {
        QFETCH(int, fragen);
        QFETCH(int, grenze);
        QTemporaryDir ordner;
        const QString quelle = ordner.filePath("quelle.xml");
        QVERIFY(Testdaten::schreiben(quelle, fragenListe(fragen)));
        const LadeErgebnis geladen = FrageDatei::lesen(quelle);
        QVERIFY(geladen.ok());
        QVERIFY(FrageDatei::serialisieren(geladen.fragen).size() > grenze);

        const QString ziel = ordner.filePath("ziel.xml");
        const QByteArray alt = "<A><Question><QuestionText>alt</QuestionText></Question></A>";
        QVERIFY(Testdaten::schreiben(ziel, alt));
        const QString neu = ordner.filePath("neu.xml");
        QString meldung, meldungNeu;
        bool gespeichert = true, neuGespeichert = true;
        {
            Dateigrenze grenzeSetzen{rlim_t(grenze)};
            QVERIFY(grenzeSetzen.gesetzt());
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression("Failed to write file"));
            gespeichert = bool(FrageDatei::schreiben(ziel, geladen.fragen, &meldung));
        }
        {
            Dateigrenze grenzeSetzen(100);
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression("Failed to write file"));
            neuGespeichert = bool(FrageDatei::neueDateiSchreiben(neu, &meldungNeu));
        }
        QVERIFY(!gespeichert);
        QCOMPARE(lesenBytes(ziel), alt);
        QVERIFY2(meldung.contains(ziel) && meldung.contains("File too large"), qPrintable(meldung));
        QVERIFY(!neuGespeichert);
        QVERIFY(!QFileInfo::exists(neu));
        QVERIFY2(meldungNeu.contains(neu) && meldungNeu.contains("File too large"), qPrintable(meldungNeu));
        // No temporary file is left behind.
        QCOMPARE(QDir(ordner.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"quelle.xml", "ziel.xml"}));

        // With room again the same save goes through.
        QVERIFY(FrageDatei::schreiben(ziel, geladen.fragen));
        QCOMPARE(lesenBytes(ziel), FrageDatei::serialisieren(geladen.fragen));
    }

    void frageInFrageMitWagenruecklauf()
    {
        // Found by fuzzing: the reader used to take the inner question out of the tree while it
        // walked the list of questions; the save then wrote "</>".
        const QString datei =
            QStringLiteral(PLENARO_QUELLEN "/tests/fuzz/korpus/fragedatei/verschachtelt-wagenruecklauf.xml");
        const LadeErgebnis ergebnis = FrageDatei::lesen(datei);
        QVERIFY(ergebnis.ok());
        QCOMPARE(ergebnis.fragen.size(), 2);
        for (const QDomElement &frage : ergebnis.fragen)
            QVERIFY(!frage.isNull());
        QCOMPARE(FrageDatei::feld(ergebnis.fragen.at(0), "QuestionText"), QString("AussenInnenAnswer1"));
        QCOMPARE(FrageDatei::feld(ergebnis.fragen.at(0), "Solution"), QString("Answer2"));
        QCOMPARE(FrageDatei::feld(ergebnis.fragen.at(1), "QuestionText"), QString("Innen"));
        QCOMPARE(FrageDatei::feld(ergebnis.fragen.at(1), "Solution"), QString("Answer1"));
        const QByteArray gespeichert = FrageDatei::serialisieren(ergebnis.fragen);
        QVERIFY2(!gespeichert.contains("</>"), gespeichert.constData());
    }

    void wasGeladenWirdKommtGleichZurueck_data()
    {
        QTest::addColumn<QString>("datei");
        const QDir korpus(QStringLiteral(PLENARO_QUELLEN "/tests/fuzz/korpus/fragedatei"));
        const QStringList dateien = korpus.entryList(QDir::Files);
        QVERIFY(dateien.size() >= 4);
        for (const QString &name : dateien)
            QTest::newRow(qPrintable(name)) << korpus.filePath(name);
    }

    void wasGeladenWirdKommtGleichZurueck()
    {
        QFETCH(QString, datei);
        const LadeErgebnis erstes = FrageDatei::lesen(datei);
        if (!erstes.ok())
            QSKIP("not a question file; the fuzz corpus runner checks how it is refused");
        const QByteArray einmal = FrageDatei::serialisieren(erstes.fragen);
        const LadeErgebnis zweites = lesenAus(einmal);
        QVERIFY(zweites.ok());
        QCOMPARE(zweites.fragen.size(), erstes.fragen.size());
        for (int i = 0; i < erstes.fragen.size(); ++i) {
            QCOMPARE(felder(zweites.fragen.at(i)), felder(erstes.fragen.at(i)));
            QCOMPARE(gestalt(zweites.fragen.at(i)), gestalt(erstes.fragen.at(i)));
        }
        // Saving the saved file again changes no byte, or every save would add to it.
        const QByteArray zweimal = FrageDatei::serialisieren(zweites.fragen);
        QVERIFY2(zweimal == einmal, (einmal + "\n" + zweimal).constData());
    }

    void dateigrenzeBeendetDasProgrammNicht()
    {
        // The tests themselves ignore SIGXFSZ (Dateigrenze); a child that starts from the system's
        // default and goes through the program's start-up shows what the presenter would see.
        const QString quelle = pfad("grenze-quelle.xml");
        QVERIFY(Testdaten::schreiben(quelle, fragenListe(4)));
        const LadeErgebnis geladen = FrageDatei::lesen(quelle);
        QVERIFY(geladen.ok());
        const QString ziel = pfad("grenze.xml");
        const QByteArray alt = "<A><Question><QuestionText>alt</QuestionText></Question></A>";
        QVERIFY(Testdaten::schreiben(ziel, alt));

        // The child's exit code is an index into this list.
        const QStringList ausgaenge{"no verdict", "reported", "SIGXFSZ not ignored", "saved",
                                    "message without path or reason"};
        const pid_t kind = ::fork();
        QVERIFY(kind >= 0);
        if (kind == 0) {
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
            std::signal(SIGXFSZ, SIG_DFL);
            Startregeln::dateigrenzeAlsSchreibfehler();
            struct sigaction jetzt = {};
            ::sigaction(SIGXFSZ, nullptr, &jetzt);
            if (jetzt.sa_handler != SIG_IGN)
                ::_exit(2);
            rlimit grenze = {};
            ::getrlimit(RLIMIT_FSIZE, &grenze);
            grenze.rlim_cur = 100;
            ::setrlimit(RLIMIT_FSIZE, &grenze);
            QString meldung;
            if (FrageDatei::schreiben(ziel, geladen.fragen, &meldung))
                ::_exit(3);
            ::_exit(meldung.contains(ziel) && meldung.contains(QLatin1String("File too large")) ? 1 : 4);
        }
        int status = 0;
        QCOMPARE(::waitpid(kind, &status, 0), kind);
        QVERIFY2(WIFEXITED(status), qPrintable(QStringLiteral("ended by signal %1").arg(WTERMSIG(status))));
        QCOMPARE(ausgaenge.value(WEXITSTATUS(status)), ausgaenge.at(1));
        QCOMPARE(lesenBytes(ziel), alt);
    }

    void fehlgeschlagenesSchreibenMeldetUndBehaeltDieAlteDatei()
    {
        const QString alt = pfad("alt.xml");
        QVERIFY(Testdaten::schreiben(alt, QByteArray("<A><Question/></A>")));
        // A folder cannot be replaced by a file; the old content must stay.
        QString grund;
        const QString blockiert = pfad("ordner.xml");
        QVERIFY(QDir().mkpath(blockiert));
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("Failed to (open|write) file"));
        QVERIFY(!FrageDatei::schreiben(blockiert, {}, &grund));
        QVERIFY(!grund.isEmpty());
        QVERIFY(QFileInfo(blockiert).isDir());

        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("Failed to (open|write) file"));
        QVERIFY(!FrageDatei::neueDateiSchreiben(pfad("fehlt/darunter/neu.xml"), &grund));
        QCOMPARE(lesenBytes(alt), QByteArray("<A><Question/></A>"));
    }
};

QTEST_GUILESS_MAIN(TestFrageDatei)
#include "tst_fragedatei.moc"
