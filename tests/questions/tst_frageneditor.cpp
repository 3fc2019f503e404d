#include "dialogrekorder.h"
#include "einstellungen.h"
#include "fragedatei.h"
#include "frageneditor.h"
#include "schluessel.h"
#include "testdaten.h"
#include "testeinstellungen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

#include <memory>

namespace {

using Testdaten::fragen;

void zeile(const char *name, const char *tasten, const QString &danach, int gezeigt,
           const QStringList &felder = {}, const QStringList &dialoge = {})
{
    QTest::newRow(name) << QString(tasten) << danach << gezeigt << felder << dialoge;
}

void dateiZeile(const char *name, char menue, const char *ziel, bool bearbeitet, const char *danach,
                int anzahl, int hinweise, int gefragt, bool offen = true)
{
    QTest::newRow(name) << menue << QString(ziel) << bearbeitet << QString(danach) << anzahl << hinweise
                        << gefragt << offen;
}

} // namespace

class TestFragenEditor final : public QObject
{
    Q_OBJECT

private:
    TestEinstellungen m_einstellungen;
    std::unique_ptr<QTemporaryDir> m_ordner;
    DialogRekorder m_dialoge;
    std::unique_ptr<FragenEditor> m_editor;
    std::unique_ptr<QSignalSpy> m_neustart;

    QString pfad(const QString &name) const { return m_ordner->filePath(name); }
    void starten(const QString &datei)
    {
        Einstellungen::setzen(Schluessel::FrageFile, datei);
        m_editor = std::make_unique<FragenEditor>(&m_dialoge);
        m_neustart = std::make_unique<QSignalSpy>(m_editor.get(), &FragenEditor::spielNeuStarten);
        m_editor->show();
        m_editor->editorInitialisieren();
    }
    QString startenMit(const QList<Testdaten::Frage> &liste,
                       const QString &name = QStringLiteral("fragen.xml"))
    {
        const QString datei = pfad(name);
        Testdaten::schreiben(datei, liste);
        starten(datei);
        return datei;
    }

    template<typename T>
    T *w(const char *name) const
    {
        T *widget = m_editor->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no widget %s", name);
        return widget;
    }
    void klick(const char *name) { w<QAbstractButton>(name)->click(); }
    void aktion(const char *name) { w<QAction>(name)->trigger(); }
    void frageText(const QString &text) { w<QTextEdit>("textEdit_Frage")->setPlainText(text); }
    void waehlen(int index) { w<QComboBox>("comboBox_Frage")->setCurrentIndex(index); }
    QString feld(int index, const QString &name) const
    {
        return FrageDatei::feld(m_editor->frage(index), name);
    }
    QStringList texte() const
    {
        QStringList liste;
        for (int i = 0; i < m_editor->anzahlDerFragen(); ++i)
            liste.append(feld(i, "QuestionText"));
        return liste;
    }

private slots:
    void init()
    {
        m_ordner = std::make_unique<QTemporaryDir>();
        m_dialoge.leeren();
        m_dialoge.sicherungVorgabe = Dialoge::Sichern::Speichern;
    }
    void cleanup()
    {
        m_neustart.reset();
        m_editor.reset();
    }

    void ohneLesbareDateiIstDasFormularGesperrt_data()
    {
        QTest::addColumn<QByteArray>("inhalt"); // empty: no file chosen
        QTest::newRow("no file") << QByteArray();
        QTest::newRow("broken file") << QByteArray("<ArrayOfQuestion><Question>");
    }
    void ohneLesbareDateiIstDasFormularGesperrt()
    {
        QFETCH(QByteArray, inhalt);
        const QString kaputt = pfad("kaputt.xml");
        if (!inhalt.isEmpty())
            Testdaten::schreiben(kaputt, inhalt);
        starten(inhalt.isEmpty() ? QString() : kaputt);
        QVERIFY(!w<QTextEdit>("textEdit_Frage")->isEnabled());
        QVERIFY(!w<QPushButton>("pushButton_Fenster_Schliessen")->isEnabled());
        QCOMPARE(m_editor->anzahlDerFragen(), 0);
        QCOMPARE(m_editor->statusBar()->findChild<QLabel *>()->text(), "Keine Datei ausgewählt");
        // A file that does not load is named, with the reason.
        QCOMPARE(m_dialoge.hinweise.size(), inhalt.isEmpty() ? 0 : 1);
        QCOMPARE(m_dialoge.hinweise.value(0).text.contains(QDir::toNativeSeparators(kaputt)),
                 !inhalt.isEmpty());
        QCOMPARE(m_dialoge.hinweise.value(0).informativerText.isEmpty(), inhalt.isEmpty());
        // Saving and closing without a file write nothing anywhere and ask nothing.
        aktion("actionSpeichern");
        QVERIFY(m_editor->close());
        QVERIFY(m_dialoge.fragen.isEmpty());
        QCOMPARE(QDir(m_ordner->path()).entryList(QDir::Files),
                 inhalt.isEmpty() ? QStringList() : QStringList{"kaputt.xml"});
    }

    // What the form's buttons and fields do to the questions F1 to F4 (F1 with pictures, F2 with
    // points the selector does not offer). A key is a button: < > previous and next, ^ v move up
    // and down, + new, c copy, x delete, A-D a solution, p the question's picture, q answer C's; a
    // digit selects that question, t types "!" after the question's text, z types "-x1000" into the
    // emptied delay, n has the next file dialog choose img/neu.png (else it is cancelled).
    // Afterwards the questions ("_" an empty one), the one shown (from 1), "question:field=value"
    // for what they hold, and the folders the file dialogs started in.
    void formular_data()
    {
        QTest::addColumn<QString>("tasten");
        QTest::addColumn<QString>("danach");
        QTest::addColumn<int>("gezeigt");
        QTest::addColumn<QStringList>("felder");
        QTest::addColumn<QStringList>("dialoge");
        const QString alle = "F1 F2 F3 F4";
        zeile("back at the first", "<", alle, 1, {"0:Answer2=B1", "0:Time=11", "0:Solution=Answer1"});
        zeile("on past the last", "4>", alle, 4, {"3:Answer2=B4", "3:Time=14", "3:Solution=Answer4"});
        zeile("up at the top", "^", alle, 1);
        zeile("down at the bottom", "4v", alle, 4);
        zeile("down, pictures and all", "v", "F2 F1 F3 F4", 2,
              {"1:PictureQuestionText=bilder\\frage.png", "1:PictureAnswer2=a.png",
               "0:PictureQuestionText=", "0:PictureAnswer2="});
        zeile("down and up again", "3v^", alle, 3);
        zeile("new: an empty survey", "2+", "F1 F2 _ F3 F4", 3,
              {"2:Answer1=", "2:Time=15", "2:Points=1", "2:AnswerDelay=0", "2:Solution=NoAnswer"});
        zeile("copy of the form as edited, then its own", "tCct", "F1! F1!! F2 F3 F4", 2,
              {"0:Solution=Answer3", "1:Solution=Answer3", "1:Time=11"});
        zeile("delete the last", "4x", "F1 F2 F3", 3);
        zeile("delete the first", "x", "F2 F3 F4", 1);
        zeile("the only one stays", "xxxxx", "F4", 1);
        zeile("one solution at most", "B", alle, 1, {"0:Solution=Answer2"});
        zeile("none: a survey", "BB", alle, 1, {"0:Solution=NoAnswer"});
        // The selector stays where it was, and what it shows is taken once the question is left.
        zeile("points not offered", ">", alle, 2, {"1:Points=7"});
        zeile("points not offered, left", "><", alle, 1, {"1:Points=1"});
        zeile("whole numbers up to 999", "z", alle, 1, {"0:AnswerDelay=100"});
        // A picture removed keeps its place for the slot's next dialog; one chosen is stored relative
        // to the question file, and an empty slot's dialog starts in the file's folder.
        zeile("picture removed, dialog cancelled", "pp", alle, 1, {"0:PictureQuestionText="},
              {"bilder/frage.png"});
        zeile("picture removed, another chosen", "pnp", alle, 1, {"0:PictureQuestionText=img\\neu.png"},
              {"bilder/frage.png"});
        zeile("picture for an empty slot", "nq", alle, 1, {"0:PictureAnswer3=img\\neu.png"}, {"."});
    }
    void formular()
    {
        QFETCH(QString, tasten);
        QFETCH(int, gezeigt);
        QFETCH(QStringList, felder);
        const QString tastenDerKnoepfe = "<>^v+cxABCDpq";
        const QStringList knoepfe =
            QString(
                "pushButton_FragenEditor_PfeilLinks pushButton_FragenEditor_PfeilRechts "
                "pushButton_FragenEditor_PfeilOben pushButton_FragenEditor_PfeilUnten "
                "pushButton_Plus_Frage_Leer "
                "pushButton_Plus_Frage_Kopie pushButton_Frage_Loeschen checkBox_Loesung_A checkBox_Loesung_B "
                "checkBox_Loesung_C checkBox_Loesung_D pushButton_FragenEditor_Bild_Frage "
                "pushButton_FragenEditor_BildC")
                .split(' ');
        QList<Testdaten::Frage> liste = fragen(4);
        liste[0].bilder = {"bilder\\frage.png", {}, "a.png"};
        liste[1].punkte = "7";
        startenMit(liste);
        for (const QChar taste : tasten) {
            if (taste.isDigit()) {
                waehlen(taste.digitValue() - 1);
            } else if (taste == 't') {
                w<QTextEdit>("textEdit_Frage")->moveCursor(QTextCursor::End);
                QTest::keyClicks(w<QTextEdit>("textEdit_Frage"), "!");
            } else if (taste == 'n') {
                m_dialoge.dateien.append(pfad("img/neu.png"));
            } else if (taste == 'z') {
                w<QLineEdit>("lineEdit_Antwortverzoegerung_Zeit")->clear();
                QTest::keyClicks(w<QLineEdit>("lineEdit_Antwortverzoegerung_Zeit"), "-x1000");
            } else {
                klick(qPrintable(knoepfe.at(tastenDerKnoepfe.indexOf(taste))));
            }
        }
        QTEST(texte().join(' ').replace("  ", " _ "), "danach");
        QStringList ordner;
        for (const QStringList &dialog : m_dialoge.dateiDialoge)
            ordner.append(QDir(m_ordner->path()).relativeFilePath(dialog.at(1)));
        QTEST(ordner, "dialoge");
        for (const QString &f : felder)
            QCOMPARE(feld(f.section(':', 0, 0).toInt(), f.section('=', 0, 0).section(':', 1)),
                     f.section('=', 1));
        // The form shows the question it names, and its place in the list.
        const int i = gezeigt - 1;
        QCOMPARE(m_editor->aktuelleFrage(), i);
        const QComboBox *auswahl = w<QComboBox>("comboBox_Frage");
        QCOMPARE(auswahl->currentIndex(), i);
        QCOMPARE(auswahl->count(), texte().size());
        QCOMPARE(auswahl->itemText(i), QStringLiteral("Frage %1").arg(gezeigt));
        QCOMPARE(w<QLabel>("label_Frage_verschieben")->text(),
                 QStringLiteral("Frage %1/%2 verschieben (auf/ab)").arg(gezeigt).arg(texte().size()));
        for (int k = 0; k < 5; ++k) {
            const QString buchstabe = k ? QString("ABCD").at(k - 1) : QString();
            QCOMPARE(w<QTextEdit>(qPrintable(k ? "textEdit_Antwort_" + buchstabe : "textEdit_Frage"))
                         ->toPlainText(),
                     feld(i, k ? QString("Answer%1").arg(k) : "QuestionText"));
            const QString bild = feld(i, k ? QString("PictureAnswer%1").arg(k) : "PictureQuestionText");
            QCOMPARE(w<QLabel>(qPrintable("label_2_BildPfad" + (k ? buchstabe : "Frage")))->text(),
                     bild.isEmpty() ? "Keine Bilddatei ausgewählt." : bild);
            if (k)
                QCOMPARE(w<QCheckBox>(qPrintable(knoepfe.at(6 + k)))->isChecked(),
                         feld(i, "Solution") == QString("Answer%1").arg(k));
        }
        QCOMPARE(w<QLineEdit>("lineEdit_Punkte_Countdown_Zeit")->text(), feld(i, "Time"));
        QCOMPARE(w<QLineEdit>("lineEdit_Antwortverzoegerung_Zeit")->text(), feld(i, "AnswerDelay"));
    }

    // Closing asks only while the form differs from the file, whichever way it was saved. Steps:
    // a answer A changed, r changed back, t the question's text changed, s saved by the button,
    // m by the menu, w the file's folder gone (a stick pulled out).
    // When the program ends it asks at most once, never discards, and restarts no game. The file is
    // in the layout the editor writes and holds markup, so a save of what was only walked through
    // must give the same bytes: every character taken back from the form as it was.
    void schliessenFragtNurNachAenderungen_data()
    {
        QTest::addColumn<QString>("schritte");
        QTest::addColumn<int>("antwort"); // Dialoge::Sichern
        QTest::addColumn<bool>("beenden");
        QTest::addColumn<bool>("gefragt");
        QTest::addColumn<bool>("offen");
        QTest::addColumn<QString>("gespeichert"); // answer A in the file afterwards
        const int abbrechen = int(Dialoge::Sichern::Abbrechen);
        QTest::newRow("walked through") << "" << abbrechen << false << false << false << "A1";
        QTest::newRow("walked through, saved") << "s" << abbrechen << false << false << false << "A1";
        QTest::newRow("changed back") << "ar" << abbrechen << false << false << false << "A1";
        QTest::newRow("changed, cancelled") << "a" << abbrechen << false << true << true << "A1";
        QTest::newRow("changed, discarded")
            << "a" << int(Dialoge::Sichern::Verwerfen) << false << true << false << "A1";
        QTest::newRow("changed, saved")
            << "a" << int(Dialoge::Sichern::Speichern) << false << true << false << "anders";
        QTest::newRow("saved by the button") << "as" << abbrechen << false << false << false << "anders";
        QTest::newRow("saved by the menu") << "am" << abbrechen << false << false << false << "anders";
        QTest::newRow("only the text after a save")
            << "ast" << abbrechen << false << true << true << "anders";
        QTest::newRow("program ends unchanged") << "" << abbrechen << true << false << false << "A1";
        QTest::newRow("program ends changed")
            << "a" << int(Dialoge::Sichern::Speichern) << true << true << false << "anders";
        // A save that fails says so and keeps the window and its edits until they are saved elsewhere.
        for (const bool beenden : {false, true})
            QTest::addRow("folder gone, %s", beenden ? "program ends" : "closed")
                << "aw" << int(Dialoge::Sichern::Speichern) << beenden << true << true << "";
    }
    void schliessenFragtNurNachAenderungen()
    {
        QFETCH(QString, schritte);
        QFETCH(int, antwort);
        QFETCH(bool, beenden);
        QFETCH(bool, offen);
        QFETCH(QString, gespeichert);
        QList<Testdaten::Frage> liste = fragen(2);
        liste[0].text = "<b>fett</b> &amp; x<sub>2</sub>\n  zwei\u00a0Zeilen\t<i>";
        liste[0].antworten[1] = "<p align=\"center\">B</p>";
        liste[1].antworten[1] = "&lt;tag&gt; & \"x\"";
        const QString datei = pfad("stick/fragen.xml");
        QVERIFY(QDir().mkpath(pfad("stick")) && Testdaten::schreiben(datei, liste));
        QVERIFY(FrageDatei::schreiben(datei, FrageDatei::lesen(datei).fragen));
        const QByteArray vorher = Testdaten::lesen(datei);
        starten(datei);
        klick("pushButton_FragenEditor_PfeilRechts");
        klick("pushButton_FragenEditor_PfeilLinks");
        QVERIFY(!m_editor->isWindowModified());
        for (const QChar schritt : schritte) {
            if (schritt == 'a' || schritt == 'r')
                w<QTextEdit>("textEdit_Antwort_A")->setPlainText(schritt == 'a' ? "anders" : "A1");
            else if (schritt == 't')
                frageText("anders");
            else if (schritt == 'w')
                QVERIFY(QDir(pfad("stick")).removeRecursively() &&
                        Testdaten::schreiben(pfad("stick"), QByteArray("abgezogen")));
            else
                schritt == 'm' ? aktion("actionSpeichern") : klick("pushButton_Fenster_Schliessen");
            QCOMPARE(m_editor->isWindowModified(), QStringLiteral("atw").contains(schritt));
            QVERIFY(m_editor->isVisible());
        }
        m_dialoge.sicherungen = {Dialoge::Sichern(antwort)};
        QCOMPARE(beenden ? m_editor->schliessenOhneNachfrage() : m_editor->close(), !offen);
        if (beenden && !offen)
            QVERIFY(m_editor->schliessenOhneNachfrage());
        QTEST(m_dialoge.fragen.size() == 1, "gefragt");
        QCOMPARE(m_dialoge.hinweise.value(0).text.contains(QDir::toNativeSeparators(datei)),
                 schritte.contains('w'));
        QCOMPARE(FrageDatei::feld(FrageDatei::lesen(datei).fragen.value(0), "Answer1"), gespeichert);
        if (gespeichert == "A1")
            QCOMPARE(Testdaten::lesen(datei), vorher);
        // Closed, the game restarts with the file; left open, the edit is still there.
        QCOMPARE(m_editor->isVisible(), offen);
        QCOMPARE(m_neustart->size(), offen || beenden ? 0 : 1);
        if (offen)
            QCOMPARE(w<QTextEdit>("textEdit_Antwort_A")->toPlainText(), "anders");
        else if (!beenden)
            QCOMPARE(m_neustart->first().first().toString(), datei);
    }

    void hoechstensTausendFragen()
    {
        startenMit(fragen(FrageDatei::MaxFragen - 1));
        QPushButton *leer = w<QPushButton>("pushButton_Plus_Frage_Leer");
        QPushButton *kopie = w<QPushButton>("pushButton_Plus_Frage_Kopie");
        kopie->click();
        QCOMPARE(m_editor->anzahlDerFragen(), FrageDatei::MaxFragen);
        QVERIFY(!leer->isEnabled());
        QVERIFY(!kopie->isEnabled());
        QVERIFY(leer->toolTip().contains("1000"));
        klick("pushButton_Frage_Loeschen");
        QVERIFY(leer->isEnabled());
        QVERIFY(leer->toolTip().isEmpty());
        QVERIFY(m_dialoge.hinweise.isEmpty());
        // A longer file is edited up to the limit, and the presenter is told so.
        startenMit(fragen(FrageDatei::MaxFragen + 1), "lang.xml");
        QCOMPARE(m_editor->anzahlDerFragen(), FrageDatei::MaxFragen);
        QCOMPARE(m_dialoge.hinweise.size(), 1);
        QVERIFY(m_dialoge.hinweise.first().text.contains("1001"));
        QVERIFY(!w<QPushButton>("pushButton_Plus_Frage_Leer")->isEnabled());
    }

    // Open (o), New (n) and Save As (u) on five questions, the last one shown, edits discarded when
    // asked: the file the dialog gives ("": cancelled; kaputt.xml holds no XML, zwei.xml two
    // questions, kein_ordner is a file), whether the last question was edited; then the editor's
    // file and questions, the messages, the questions asked, whether the window is still open.
    void dateiMenue_data()
    {
        QTest::addColumn<char>("menue");
        QTest::addColumn<QString>("ziel");
        QTest::addColumn<bool>("bearbeitet");
        QTest::addColumn<QString>("danach");
        QTest::addColumn<int>("anzahl");
        QTest::addColumn<int>("hinweise");
        QTest::addColumn<int>("gefragt");
        QTest::addColumn<bool>("offen");
        dateiZeile("open, cancelled", 'o', "", false, "fuenf.xml", 5, 0, 0);
        dateiZeile("open, no XML", 'o', "kaputt.xml", false, "fuenf.xml", 5, 1, 0);
        dateiZeile("open, shorter: its last question shown", 'o', "zwei.xml", false, "zwei.xml", 2, 0, 0);
        dateiZeile("open over edits", 'o', "zwei.xml", true, "zwei.xml", 2, 0, 1);
        dateiZeile("new", 'n', "neu.xml", false, "neu.xml", 1, 0, 0);
        // Running as root no folder is read-only; a path below a regular file fails for everyone.
        dateiZeile("new below a file, edits discarded", 'n', "kein_ordner/neu.xml", true, "fuenf.xml", 5, 1,
                   1);
        dateiZeile("save as below a file", 'u', "kein_ordner/neu.xml", true, "fuenf.xml", 5, 1, 0);
        dateiZeile("save as, cancelled", 'u', "", true, "fuenf.xml", 5, 0, 0);
        // Then the game goes on with that file.
        dateiZeile("save as", 'u', "gerettet.xml", true, "gerettet.xml", 5, 0, 0, false);
    }
    void dateiMenue()
    {
        QFETCH(char, menue);
        QFETCH(QString, ziel);
        QFETCH(bool, bearbeitet);
        QFETCH(QString, danach);
        QFETCH(int, anzahl);
        QFETCH(bool, offen);
        Testdaten::schreiben(pfad("kaputt.xml"), QByteArray("kein xml"));
        Testdaten::schreiben(pfad("zwei.xml"), fragen(2));
        Testdaten::schreiben(pfad("kein_ordner"), QByteArray("bleibt"));
        m_dialoge.sicherungVorgabe = Dialoge::Sichern::Verwerfen;
        const QString datei = startenMit(fragen(5), "fuenf.xml");
        const QByteArray vorher = Testdaten::lesen(datei);
        waehlen(4);
        if (bearbeitet)
            frageText("bearbeitet");
        m_dialoge.dateien = ziel.isEmpty() ? QStringList() : QStringList{pfad(ziel)};
        aktion(menue == 'o' ? "action_ffnen" : menue == 'n' ? "actionNeu" : "actionSpeichern_unter");
        QCOMPARE(Einstellungen::text(Schluessel::FrageFile), pfad(danach));
        QCOMPARE(m_editor->anzahlDerFragen(), anzahl);
        QCOMPARE(m_editor->aktuelleFrage(), anzahl - 1);
        QTEST(int(m_dialoge.hinweise.size()), "hinweise");
        // A message names the file, with the system's reason.
        if (!m_dialoge.hinweise.isEmpty()) {
            QVERIFY(m_dialoge.hinweise.first().text.contains(QDir::toNativeSeparators(pfad(ziel))));
            QVERIFY(!m_dialoge.hinweise.first().informativerText.isEmpty());
        }
        QTEST(int(m_dialoge.fragen.size()), "gefragt");
        QCOMPARE(m_editor->isVisible(), offen);
        QCOMPARE(m_neustart->size(), offen ? 0 : 1);
        if (!offen)
            QCOMPARE(m_neustart->first().first().toString(), pfad(danach));
        // What failed or was cancelled leaves the file as it was and the edits in the form; a file
        // opened or written holds what the form shows.
        if (danach == "fuenf.xml") {
            QCOMPARE(Testdaten::lesen(datei), vorher);
            QCOMPARE(w<QTextEdit>("textEdit_Frage")->toPlainText(), bearbeitet ? "bearbeitet" : "F5");
        } else {
            QStringList imFile;
            for (const QDomElement &f : FrageDatei::lesen(pfad(danach)).fragen)
                imFile.append(FrageDatei::feld(f, "QuestionText"));
            QCOMPARE(imFile, texte());
        }
        QCOMPARE(m_editor->isWindowModified(), bearbeitet && danach == "fuenf.xml");
        QCOMPARE(m_editor->windowTitle(), "Frageneditor \u2013 " + danach + "[*]");
    }
};

QTEST_MAIN(TestFragenEditor)
#include "tst_frageneditor.moc"
