#include "dateigrenze.h"
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

QByteArray bytesVon(const QString &pfad)
{
    QFile datei(pfad);
    return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray();
}

// Question i: "Fi", answers "Ai" and "Bi", time 10 + i, points and solution running through 1 to 4.
QList<Testdaten::Frage> fragen(int anzahl)
{
    QList<Testdaten::Frage> liste;
    for (int i = 1; i <= anzahl; ++i) {
        Testdaten::Frage f;
        f.text = QStringLiteral("F%1").arg(i);
        f.antworten = {QStringLiteral("A%1").arg(i), QStringLiteral("B%1").arg(i), {}, {}};
        f.zeit = QString::number(10 + i);
        f.punkte = QString::number(1 + (i - 1) % 4);
        f.loesung = QStringLiteral("Answer%1").arg(1 + (i - 1) % 4);
        liste.append(f);
    }
    return liste;
}

QString feldImFile(const QString &datei, int index, const QString &name)
{
    return FrageDatei::feld(FrageDatei::lesen(datei).fragen.value(index), name);
}

QStringList texteImFile(const QString &datei)
{
    QStringList liste;
    for (const QDomElement &f : FrageDatei::lesen(datei).fragen)
        liste.append(FrageDatei::feld(f, QStringLiteral("QuestionText")));
    return liste;
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
    void rekorderLeeren(bool speichern = true)
    {
        m_dialoge.leeren();
        m_dialoge.dateien.clear();
        m_dialoge.sicherungVorgabe = speichern ? Dialoge::Sichern::Speichern : Dialoge::Sichern::Verwerfen;
    }

    FragenEditor &starten(const QString &datei)
    {
        Einstellungen::setzen(Schluessel::FrageFile, datei);
        m_editor = std::make_unique<FragenEditor>(&m_dialoge);
        m_neustart = std::make_unique<QSignalSpy>(m_editor.get(), &FragenEditor::spielNeuStarten);
        m_editor->show();
        m_editor->editorInitialisieren();
        return *m_editor;
    }
    QString startenMit(int anzahl, const QString &name = QStringLiteral("fragen.xml"))
    {
        const QString datei = pfad(name);
        Testdaten::schreiben(datei, fragen(anzahl));
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
    QString angezeigt() const { return w<QTextEdit>("textEdit_Frage")->toPlainText(); }
    void waehlen(int index) { w<QComboBox>("comboBox_Frage")->setCurrentIndex(index); }

    QString feld(int index, const char *name) const
    {
        return FrageDatei::feld(m_editor->frage(index), QLatin1String(name));
    }
    QStringList texte() const
    {
        QStringList liste;
        for (int i = 0; i < m_editor->anzahlDerFragen(); ++i)
            liste.append(feld(i, "QuestionText"));
        return liste;
    }
    QStringList auswahl() const
    {
        QStringList liste;
        const QComboBox *box = w<QComboBox>("comboBox_Frage");
        for (int i = 0; i < box->count(); ++i)
            liste.append(box->itemText(i));
        return liste;
    }

private slots:
    void init()
    {
        m_ordner = std::make_unique<QTemporaryDir>();
        rekorderLeeren();
        Einstellungen::setzen(Schluessel::InstallerLanguage, QString());
    }
    void cleanup()
    {
        m_neustart.reset();
        m_editor.reset();
    }

    void ohneLesbareDateiIstDasFormularGesperrt_data()
    {
        QTest::addColumn<QByteArray>("inhalt"); // empty: no file chosen
        QTest::addColumn<bool>("englisch");
        QTest::addColumn<QString>("status");
        QTest::newRow("no file") << QByteArray() << false << QStringLiteral("Keine Datei ausgewählt");
        QTest::newRow("no file, English") << QByteArray() << true << QStringLiteral("No file selected.");
        QTest::newRow("broken file") << QByteArray("<ArrayOfQuestion><Question>") << false << QString();
    }
    void ohneLesbareDateiIstDasFormularGesperrt()
    {
        QFETCH(QByteArray, inhalt);
        QFETCH(bool, englisch);
        QFETCH(QString, status);
        Einstellungen::setzen(Schluessel::InstallerLanguage, englisch ? QStringLiteral("1033") : QString());
        const QString kaputt = pfad(QStringLiteral("kaputt.xml"));
        if (!inhalt.isEmpty())
            Testdaten::schreiben(kaputt, inhalt);
        starten(inhalt.isEmpty() ? QString() : kaputt);
        QVERIFY(!w<QTextEdit>("textEdit_Frage")->isEnabled());
        QVERIFY(!w<QPushButton>("pushButton_Fenster_Schliessen")->isEnabled());
        QCOMPARE(m_editor->anzahlDerFragen(), 0);
        QCOMPARE(w<QComboBox>("comboBox_Frage")->count(), 0);
        if (status.isEmpty()) {
            // Told, with the file and the reason.
            QCOMPARE(m_dialoge.hinweise.size(), 1);
            QVERIFY(m_dialoge.hinweise.first().text.contains(QDir::toNativeSeparators(kaputt)));
            QVERIFY(!m_dialoge.hinweise.first().informativerText.isEmpty());
        } else {
            QCOMPARE(m_editor->statusBar()->findChild<QLabel *>()->text(), status);
            QVERIFY(m_dialoge.hinweise.isEmpty());
        }
        // Saving and closing without a file write nothing anywhere and ask nothing.
        aktion("actionSpeichern");
        QVERIFY(m_editor->close());
        QVERIFY(m_dialoge.fragen.isEmpty());
        QCOMPARE(QDir(m_ordner->path()).entryList(QDir::Files),
                 inhalt.isEmpty() ? QStringList() : QStringList{"kaputt.xml"});
    }

    void zeigtDieErsteFrageUndBeschriftetNachSprache()
    {
        startenMit(3);
        QCOMPARE(angezeigt(), QStringLiteral("F1"));
        QCOMPARE(w<QTextEdit>("textEdit_Antwort_B")->toPlainText(), QStringLiteral("B1"));
        QCOMPARE(w<QLineEdit>("lineEdit_Punkte_Countdown_Zeit")->text(), QStringLiteral("11"));
        QVERIFY(w<QCheckBox>("checkBox_Loesung_A")->isChecked());
        QCOMPARE(auswahl(), (QStringList{"Frage 1", "Frage 2", "Frage 3"}));
        // The number fields take whole numbers from 0 to 999 only.
        const QValidator *pruefer = w<QLineEdit>("lineEdit_Antwortverzoegerung_Zeit")->validator();
        QVERIFY(pruefer);
        QString text = QStringLiteral("1000");
        int pos = 0;
        QCOMPARE(pruefer->validate(text, pos), QValidator::Invalid);
        text = QStringLiteral("999");
        QCOMPARE(pruefer->validate(text, pos), QValidator::Acceptable);

        Einstellungen::setzen(Schluessel::InstallerLanguage, QStringLiteral("1033"));
        startenMit(3);
        QCOMPARE(auswahl(), (QStringList{"Question 1", "Question 2", "Question 3"}));
        QCOMPARE(w<QLabel>("label_Frage_verschieben")->text(), QStringLiteral("Move question 1/3 (up/down)"));
        QCOMPARE(w<QLabel>("label_2_BildPfadA")->text(), QStringLiteral("No image file selected."));
    }

    // Arrows, the selector, insertions and deletions on the questions F1 to F4. A key is a button:
    // < > previous and next, ^ v move up and down, + new, c copy, x delete; a digit selects that
    // question. Afterwards the questions ("_" an empty one) and the one shown, from 1.
    void blaetternVerschiebenEinfuegenLoeschen_data()
    {
        QTest::addColumn<QString>("tasten");
        QTest::addColumn<QString>("danach");
        QTest::addColumn<int>("gezeigt");
        QTest::newRow("back at the first") << "<"
                                           << "F1 F2 F3 F4" << 1;
        QTest::newRow("on past the last") << "4>"
                                          << "F1 F2 F3 F4" << 4;
        QTest::newRow("up at the top") << "^"
                                       << "F1 F2 F3 F4" << 1;
        QTest::newRow("down at the bottom") << "4v"
                                            << "F1 F2 F3 F4" << 4;
        QTest::newRow("down, shown at its new place") << "v"
                                                      << "F2 F1 F3 F4" << 2;
        QTest::newRow("down and up again") << "3v^"
                                           << "F1 F2 F3 F4" << 3;
        QTest::newRow("new after the second") << "2+"
                                              << "F1 F2 _ F3 F4" << 3;
        QTest::newRow("copy of the first") << "c"
                                           << "F1 F1 F2 F3 F4" << 2;
        QTest::newRow("delete the last") << "4x"
                                         << "F1 F2 F3" << 3;
        QTest::newRow("delete the first") << "x"
                                          << "F2 F3 F4" << 1;
        QTest::newRow("the only one stays") << "xxxxx"
                                            << "F4" << 1;
    }
    void blaetternVerschiebenEinfuegenLoeschen()
    {
        QFETCH(QString, tasten);
        QFETCH(QString, danach);
        QFETCH(int, gezeigt);
        const QHash<QChar, const char *> knoepfe{{QLatin1Char('<'), "pushButton_FragenEditor_PfeilLinks"},
                                                 {QLatin1Char('>'), "pushButton_FragenEditor_PfeilRechts"},
                                                 {QLatin1Char('^'), "pushButton_FragenEditor_PfeilOben"},
                                                 {QLatin1Char('v'), "pushButton_FragenEditor_PfeilUnten"},
                                                 {QLatin1Char('+'), "pushButton_Plus_Frage_Leer"},
                                                 {QLatin1Char('c'), "pushButton_Plus_Frage_Kopie"},
                                                 {QLatin1Char('x'), "pushButton_Frage_Loeschen"}};
        startenMit(4);
        for (const QChar taste : tasten) {
            if (taste.isDigit())
                waehlen(taste.digitValue() - 1);
            else
                klick(knoepfe.value(taste));
        }
        QCOMPARE(texte().join(QLatin1Char(' ')).replace(QStringLiteral("  "), QStringLiteral(" _ ")), danach);
        QCOMPARE(m_editor->aktuelleFrage(), gezeigt - 1);
        QCOMPARE(angezeigt(), texte().at(gezeigt - 1));
        QCOMPARE(w<QComboBox>("comboBox_Frage")->currentIndex(), gezeigt - 1);
        QCOMPARE(auswahl().size(), texte().size());
        QCOMPARE(w<QLabel>("label_Frage_verschieben")->text(),
                 QStringLiteral("Frage %1/%2 verschieben (auf/ab)").arg(gezeigt).arg(texte().size()));
    }

    void neueFrageUndKopie()
    {
        startenMit(2);
        // A new question is an empty survey of 15 seconds, one point, no delay.
        klick("pushButton_Plus_Frage_Leer");
        QCOMPARE((QStringList{feld(1, "Answer1"), feld(1, "Time"), feld(1, "Points"), feld(1, "AnswerDelay"),
                              feld(1, "Solution")}),
                 (QStringList{{}, "15", "1", "0", "NoAnswer"}));
        QCOMPARE(w<QLineEdit>("lineEdit_Punkte_Countdown_Zeit")->text(), QStringLiteral("15"));
        QVERIFY(!w<QCheckBox>("checkBox_Loesung_A")->isChecked());

        // A copy takes the form as edited, and is a question of its own.
        waehlen(0);
        frageText(QStringLiteral("neu\nzweizeilig"));
        w<QCheckBox>("checkBox_Loesung_C")->click();
        klick("pushButton_Plus_Frage_Kopie");
        QCOMPARE(feld(1, "Solution"), QStringLiteral("Answer3"));
        QCOMPARE(feld(1, "Time"), QStringLiteral("11"));
        frageText(QStringLiteral("nur die Kopie"));
        QCOMPARE(texte(), (QStringList{"neu\nzweizeilig", "nur die Kopie", "", "F2"}));
    }

    void hoechstensEineLoesungUndPunkteDieDieAuswahlNichtKennt()
    {
        QList<Testdaten::Frage> liste = fragen(2);
        liste[1].punkte = QStringLiteral("7");
        const QString datei = pfad(QStringLiteral("f.xml"));
        Testdaten::schreiben(datei, liste);
        starten(datei);
        QCheckBox *a = w<QCheckBox>("checkBox_Loesung_A");
        QCheckBox *b = w<QCheckBox>("checkBox_Loesung_B");
        b->click();
        QVERIFY(!a->isChecked() && b->isChecked());
        QCOMPARE(feld(0, "Solution"), QStringLiteral("Answer2"));
        b->click();
        for (const char *box :
             {"checkBox_Loesung_A", "checkBox_Loesung_B", "checkBox_Loesung_C", "checkBox_Loesung_D"})
            QVERIFY(!w<QCheckBox>(box)->isChecked());
        // Saving does not close the window.
        klick("pushButton_Fenster_Schliessen");
        QCOMPARE(feldImFile(datei, 0, FrageDatei::Loesung), QStringLiteral("NoAnswer"));
        QVERIFY(m_editor->isVisible());

        // Points the selector does not offer leave it where it was until the question is edited.
        klick("pushButton_FragenEditor_PfeilRechts");
        QCOMPARE(w<QComboBox>("comboBox_Punkte")->currentText(), QStringLiteral("1"));
        QCOMPARE(feld(1, "Points"), QStringLiteral("7"));
        klick("pushButton_FragenEditor_PfeilLinks");
        QCOMPARE(feld(1, "Points"), QStringLiteral("1"));
    }

    void bilderWandernMitIhrerFrageUndKommenZurueck()
    {
        QList<Testdaten::Frage> liste = fragen(2);
        liste[0].bilder = {QStringLiteral("bilder\\frage.png"), {}, QStringLiteral("a.png")};
        const QString datei = pfad(QStringLiteral("f.xml"));
        Testdaten::schreiben(datei, liste);
        starten(datei);
        QCOMPARE(w<QLabel>("label_2_BildPfadFrage")->text(), QStringLiteral("bilder\\frage.png"));
        klick("pushButton_FragenEditor_PfeilUnten");
        QCOMPARE(feld(1, "PictureQuestionText"), QStringLiteral("bilder\\frage.png"));
        QCOMPARE(feld(1, "PictureAnswer2"), QStringLiteral("a.png"));
        QCOMPARE(feld(0, "PictureQuestionText"), QString());
        QCOMPARE(feld(0, "PictureAnswer2"), QString());

        // Removing keeps the path for the next dialog of the slot; saving writes the field empty.
        klick("pushButton_FragenEditor_Bild_Frage");
        QVERIFY(m_dialoge.dateiDialoge.isEmpty());
        QCOMPARE(w<QLabel>("label_2_BildPfadFrage")->text(), QStringLiteral("Keine Bilddatei ausgewählt."));
        klick("pushButton_Fenster_Schliessen");
        QVERIFY(bytesVon(datei).contains("<PictureQuestionText></PictureQuestionText>"));
        QCOMPARE(feldImFile(datei, 1, QStringLiteral("PictureQuestionText")), QString());

        klick("pushButton_FragenEditor_Bild_Frage"); // cancelled
        QCOMPARE(m_dialoge.dateiDialoge.size(), 1);
        QCOMPARE(m_dialoge.dateiDialoge.first().at(1),
                 m_ordner->path() + QStringLiteral("/bilder/frage.png"));
        QCOMPARE(feld(1, "PictureQuestionText"), QString());
        m_dialoge.dateien = {m_ordner->path() + QStringLiteral("/img/neu.png")};
        klick("pushButton_FragenEditor_Bild_Frage");
        QCOMPARE(w<QLabel>("label_2_BildPfadFrage")->text(), QStringLiteral("img\\neu.png"));
        QCOMPARE(feld(1, "PictureQuestionText"), QStringLiteral("img\\neu.png"));
        // A slot without a removed picture starts in the folder of the question file.
        klick("pushButton_FragenEditor_BildC");
        QCOMPARE(m_dialoge.dateiDialoge.last().at(1), m_ordner->path());
    }

    // Saved means saved: no question about unsaved changes right after a save, and the next edit
    // is unsaved again.
    void gespeicherterStand_data()
    {
        QTest::addColumn<QString>("speichern"); // the button or the menu entry
        QTest::newRow("button") << QStringLiteral("pushButton_Fenster_Schliessen");
        QTest::newRow("menu") << QStringLiteral("actionSpeichern");
    }
    void gespeicherterStand()
    {
        QFETCH(QString, speichern);
        const QString datei = startenMit(2);
        const auto sichern = [&]() {
            if (speichern.startsWith(QLatin1String("action")))
                aktion(qPrintable(speichern));
            else
                klick(qPrintable(speichern));
        };
        QVERIFY(!m_editor->isWindowModified());
        w<QTextEdit>("textEdit_Antwort_D")->setPlainText(QStringLiteral("x"));
        QVERIFY(m_editor->isWindowModified());
        sichern();
        QVERIFY(!m_editor->isWindowModified());
        QCOMPARE(feldImFile(datei, 0, QStringLiteral("Answer4")), QStringLiteral("x"));

        frageText(QStringLiteral("danach"));
        QVERIFY(m_editor->isWindowModified());
        sichern();
        QVERIFY(!m_editor->isWindowModified());
        // Another question, saved, then closed: nothing to ask.
        klick("pushButton_FragenEditor_PfeilRechts");
        frageText(QStringLiteral("zweite"));
        sichern();
        QVERIFY(m_editor->close());
        QVERIFY(m_dialoge.fragen.isEmpty());
        QCOMPARE(texteImFile(datei), (QStringList{"danach", "zweite"}));

        // Changed after the save: closing asks again.
        starten(datei);
        frageText(QStringLiteral("wieder"));
        sichern();
        frageText(QStringLiteral("noch einmal"));
        m_dialoge.sicherungen = {Dialoge::Sichern::Abbrechen};
        QVERIFY(!m_editor->close());
        QCOMPARE(m_dialoge.fragen.size(), 1);
        QCOMPARE(texteImFile(datei), (QStringList{"wieder", "zweite"}));
    }

    void schliessenFragtNurNachAenderungen_data()
    {
        QTest::addColumn<bool>("aendern");
        QTest::addColumn<int>("antwort"); // Dialoge::Sichern
        QTest::addColumn<bool>("offen");
        QTest::addColumn<QString>("gespeichert"); // answer A in the file afterwards
        QTest::newRow("walked through, nothing changed")
            << false << int(Dialoge::Sichern::Abbrechen) << false << QStringLiteral("A1");
        QTest::newRow("changed, cancelled")
            << true << int(Dialoge::Sichern::Abbrechen) << true << QStringLiteral("A1");
        QTest::newRow("changed, discarded")
            << true << int(Dialoge::Sichern::Verwerfen) << false << QStringLiteral("A1");
        QTest::newRow("changed, saved")
            << true << int(Dialoge::Sichern::Speichern) << false << QStringLiteral("anders");
    }
    void schliessenFragtNurNachAenderungen()
    {
        QFETCH(bool, aendern);
        QFETCH(int, antwort);
        QFETCH(bool, offen);
        QFETCH(QString, gespeichert);
        const QString datei = startenMit(2);
        const QByteArray vorher = bytesVon(datei);
        klick("pushButton_FragenEditor_PfeilRechts");
        klick("pushButton_FragenEditor_PfeilLinks");
        if (aendern)
            w<QTextEdit>("textEdit_Antwort_A")->setPlainText(QStringLiteral("anders"));
        m_dialoge.sicherungen = {Dialoge::Sichern(antwort)};
        QCOMPARE(m_editor->close(), !offen);
        QCOMPARE(m_dialoge.fragen.size(), aendern ? 1 : 0);
        if (aendern)
            QCOMPARE(m_dialoge.fragen.first().text,
                     QStringLiteral("Möchten Sie die vorgenommenen Änderungen speichern?"));
        QCOMPARE(feldImFile(datei, 0, QStringLiteral("Answer1")), gespeichert);
        if (gespeichert == QLatin1String("A1"))
            QCOMPARE(bytesVon(datei), vorher);
        // Closed, the game restarts with the file; left open, the edit is still there.
        QCOMPARE(m_neustart->size(), offen ? 0 : 1);
        if (offen)
            QCOMPARE(w<QTextEdit>("textEdit_Antwort_A")->toPlainText(), QStringLiteral("anders"));
        else
            QCOMPARE(m_neustart->first().first().toString(), datei);
    }

    void beendenVerliertKeineAenderungen()
    {
        const QString datei = startenMit(2);
        QVERIFY(m_editor->schliessenOhneNachfrage());
        QVERIFY(!m_editor->isVisible());
        QVERIFY(m_dialoge.fragen.isEmpty());

        // When the program ends, changes are saved, asked once, never discarded; no restart.
        starten(datei);
        w<QLineEdit>("lineEdit_Punkte_Countdown_Zeit")->setText(QStringLiteral("42"));
        QTest::keyClick(w<QLineEdit>("lineEdit_Punkte_Countdown_Zeit"), Qt::Key_1);
        QVERIFY(m_editor->schliessenOhneNachfrage());
        QVERIFY(m_editor->schliessenOhneNachfrage());
        QCOMPARE(m_dialoge.fragen.size(), 1);
        QCOMPARE(m_neustart->size(), 0);
        QCOMPARE(feldImFile(datei, 0, QStringLiteral("Time")), QStringLiteral("421"));
    }

    void schreibfehlerWerdenGemeldetUndNichtsGehtVerloren()
    {
        // Running as root no folder is read-only; a path below a regular file fails for everyone.
        const QString sperre = pfad(QStringLiteral("kein_ordner"));
        Testdaten::schreiben(sperre, QByteArray("bleibt"));
        const QString unmoeglich = sperre + QStringLiteral("/fragen.xml");
        rekorderLeeren(false); // a new file may discard the edits, and fails before it could
        const QString datei = startenMit(2);
        const QByteArray vorher = bytesVon(datei);
        frageText(QStringLiteral("bearbeitet"));
        for (const char *wie : {"actionSpeichern_unter", "actionNeu"}) {
            m_dialoge.dateien = {unmoeglich};
            aktion(wie);
        }
        QCOMPARE(m_dialoge.hinweise.size(), 2);
        QVERIFY(m_dialoge.hinweise.first().text.contains(QDir::toNativeSeparators(unmoeglich)));
        QVERIFY(!m_dialoge.hinweise.first().informativerText.isEmpty());
        QVERIFY(m_editor->isVisible());
        QCOMPARE(m_neustart->size(), 0);
        QCOMPARE(m_editor->pfad(), datei);
        QCOMPARE(Einstellungen::text(Schluessel::FrageFile), datei);
        QCOMPARE(texte(), (QStringList{"bearbeitet", "F2"}));
        QCOMPARE(bytesVon(sperre), QByteArray("bleibt"));
        QCOMPARE(bytesVon(datei), vorher);

        // The file's own folder goes away: saving reports it, closing keeps the window open.
        const QString ordner = pfad(QStringLiteral("stick"));
        QVERIFY(QDir().mkpath(ordner));
        const QString aufStick = ordner + QStringLiteral("/fragen.xml");
        Testdaten::schreiben(aufStick, fragen(2));
        rekorderLeeren();
        starten(aufStick);
        frageText(QStringLiteral("wichtig"));
        QVERIFY(QDir(ordner).removeRecursively());
        Testdaten::schreiben(ordner, QByteArray("abgezogen"));
        klick("pushButton_Fenster_Schliessen");
        QCOMPARE(m_dialoge.hinweise.size(), 1);
        QVERIFY(m_dialoge.hinweise.first().text.contains(QDir::toNativeSeparators(aufStick)));
        QVERIFY(m_editor->isWindowModified());
        QVERIFY(!m_editor->close());
        QVERIFY(!m_editor->schliessenOhneNachfrage());
        QVERIFY(m_editor->isVisible());
        QCOMPARE(m_neustart->size(), 0);
        QCOMPARE(texte(), (QStringList{"wichtig", "F2"}));

        // Saved elsewhere, all is well again.
        m_dialoge.dateien = {pfad(QStringLiteral("gerettet.xml"))};
        aktion("actionSpeichern_unter");
        QCOMPARE(texteImFile(pfad(QStringLiteral("gerettet.xml"))), (QStringList{"wichtig", "F2"}));
        QCOMPARE(m_neustart->size(), 1);
        QCOMPARE(m_neustart->first().first().toString(), pfad(QStringLiteral("gerettet.xml")));
        QVERIFY(!m_editor->isVisible());
    }

    // A question file opened through a link: saving keeps the link and writes its target, and a
    // save that fails leaves the target as it was.
    void speichernDurchEinenLink()
    {
        QTemporaryDir anderswo;
        const QString echt = anderswo.filePath(QStringLiteral("echt.xml"));
        Testdaten::schreiben(echt, fragen(2));
        {
            const FrageDatei::LadeErgebnis gelesen = FrageDatei::lesen(echt);
            QVERIFY(FrageDatei::schreiben(echt, gelesen.fragen));
        }
        const QByteArray vorher = bytesVon(echt);
        const QString link = pfad(QStringLiteral("link.xml"));
        QVERIFY(QFile::link(echt, link));
        starten(link);
        frageText(QStringLiteral("über den Link"));
        {
            const Dateigrenze platte(100);
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("Failed to write file")));
            klick("pushButton_Fenster_Schliessen");
        }
        QCOMPARE(m_dialoge.hinweise.size(), 1);
        QCOMPARE(bytesVon(echt), vorher);
        QVERIFY(m_editor->isWindowModified());

        klick("pushButton_Fenster_Schliessen");
        QCOMPARE(m_dialoge.hinweise.size(), 1);
        QCOMPARE(QFileInfo(link).symLinkTarget(), echt);
        QCOMPARE(texteImFile(echt), (QStringList{"über den Link", "F2"}));
        QVERIFY(!m_editor->isWindowModified());
        QVERIFY(m_editor->close());
        QVERIFY(m_dialoge.fragen.isEmpty());
        QCOMPARE(QDir(anderswo.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"echt.xml"});
    }

    void auszeichnungenBleibenZeichenFuerZeichen()
    {
        const QString markup = QStringLiteral("<b>fett</b> &amp; x<sub>2</sub>\n  zwei\u00a0Zeilen\t<i>");
        QList<Testdaten::Frage> liste = fragen(2);
        liste[0].text = markup;
        liste[0].antworten[0] = QStringLiteral("<p align=\"center\">A</p>");
        liste[1].antworten[1] = QStringLiteral("&lt;tag&gt; & \"x\"");
        const QString datei = pfad(QStringLiteral("f.xml"));
        // In the layout the editor writes, so an unchanged save must give the same bytes.
        Testdaten::schreiben(datei, liste);
        QVERIFY(FrageDatei::schreiben(datei, FrageDatei::lesen(datei).fragen));
        const QByteArray vorher = bytesVon(datei);
        starten(datei);
        klick("pushButton_FragenEditor_PfeilRechts");
        klick("pushButton_FragenEditor_PfeilLinks");
        QVERIFY(!m_editor->isWindowModified());
        klick("pushButton_Fenster_Schliessen");
        QCOMPARE(bytesVon(datei), vorher);
        QCOMPARE(feld(0, "QuestionText"), markup);

        // Typing into a box keeps everything else exactly.
        QTextEdit *frage = w<QTextEdit>("textEdit_Frage");
        frage->moveCursor(QTextCursor::End);
        QTest::keyClicks(frage, QStringLiteral(" <u>"));
        klick("pushButton_Fenster_Schliessen");
        QCOMPARE(feldImFile(datei, 0, QStringLiteral("QuestionText")), markup + QStringLiteral(" <u>"));
    }

    void hoechstensTausendFragen()
    {
        const QString datei = startenMit(FrageDatei::MaxFragen - 1);
        QPushButton *leer = w<QPushButton>("pushButton_Plus_Frage_Leer");
        QPushButton *kopie = w<QPushButton>("pushButton_Plus_Frage_Kopie");
        QVERIFY(leer->isEnabled());
        QVERIFY(leer->toolTip().isEmpty());
        kopie->click();
        QCOMPARE(m_editor->anzahlDerFragen(), FrageDatei::MaxFragen);
        QVERIFY(!leer->isEnabled());
        QVERIFY(!kopie->isEnabled());
        QVERIFY(leer->toolTip().contains(QStringLiteral("1000")));
        leer->click();
        QCOMPARE(m_editor->anzahlDerFragen(), FrageDatei::MaxFragen);
        klick("pushButton_Fenster_Schliessen");
        QCOMPARE(FrageDatei::lesen(datei).fragen.size(), FrageDatei::MaxFragen);
        klick("pushButton_Frage_Loeschen");
        QVERIFY(leer->isEnabled());
        QVERIFY(leer->toolTip().isEmpty());
        QVERIFY(m_dialoge.hinweise.isEmpty());

        // A longer file is edited up to the limit, and the presenter is told so.
        startenMit(FrageDatei::MaxFragen + 1, QStringLiteral("lang.xml"));
        QCOMPARE(m_editor->anzahlDerFragen(), FrageDatei::MaxFragen);
        QCOMPARE(m_dialoge.hinweise.size(), 1);
        QVERIFY(m_dialoge.hinweise.first().text.contains(QStringLiteral("1001")));
        QVERIFY(!w<QPushButton>("pushButton_Plus_Frage_Leer")->isEnabled());
    }

    void oeffnenNeuUndTitel()
    {
        const QString datei = startenMit(5, QStringLiteral("fuenf.xml"));
        w<QTextEdit>("textEdit_Antwort_D")->setPlainText(QStringLiteral("x"));
        QVERIFY(m_editor->isWindowModified());
        w<QTextEdit>("textEdit_Antwort_D")->setPlainText(QString());
        QVERIFY(!m_editor->isWindowModified());
        waehlen(4);

        // Cancelled and unreadable files change nothing.
        aktion("action_ffnen");
        QCOMPARE(m_dialoge.dateiDialoge.value(0).value(0), QStringLiteral("Öffnen Fragen XML-Datei"));
        const QString kaputt = pfad(QStringLiteral("kaputt.xml"));
        Testdaten::schreiben(kaputt, QByteArray("kein xml"));
        m_dialoge.dateien = {kaputt};
        aktion("action_ffnen");
        QCOMPARE(m_dialoge.hinweise.size(), 1);
        QCOMPARE(m_editor->pfad(), datei);
        QCOMPARE(Einstellungen::text(Schluessel::FrageFile), datei);
        QCOMPARE(m_editor->anzahlDerFragen(), 5);

        // A shorter file shows its last question.
        const QString zwei = pfad(QStringLiteral("zwei.xml"));
        Testdaten::schreiben(zwei, fragen(2));
        m_dialoge.dateien = {zwei};
        aktion("action_ffnen");
        QCOMPARE(m_editor->aktuelleFrage(), 1);
        QCOMPARE(angezeigt(), QStringLiteral("F2"));
        QCOMPARE(Einstellungen::text(Schluessel::FrageFile), zwei);
        QCOMPARE(m_editor->windowTitle(), QStringLiteral("Frageneditor \u2013 zwei.xml[*]"));

        // Opening over unsaved edits asks first.
        frageText(QStringLiteral("ungespeichert"));
        m_dialoge.dateien = {datei};
        aktion("action_ffnen");
        QCOMPARE(m_dialoge.fragen.size(), 1);
        QCOMPARE(texteImFile(zwei), (QStringList{"F1", "ungespeichert"}));

        const QString neu = pfad(QStringLiteral("neu.xml"));
        m_dialoge.dateien = {neu};
        aktion("actionNeu");
        QCOMPARE(m_dialoge.speicherDialoge.last().value(0), QStringLiteral("Speichern unter..."));
        QCOMPARE(m_dialoge.speicherDialoge.last().value(2), QStringLiteral("XML files (*.xml)"));
        QCOMPARE(bytesVon(neu), FrageDatei::neueDatei());
        QCOMPARE(m_editor->anzahlDerFragen(), 1);
        QCOMPARE(w<QLineEdit>("lineEdit_Punkte_Countdown_Zeit")->text(), QStringLiteral("15"));
        QCOMPARE(Einstellungen::text(Schluessel::FrageFile), neu);
        QVERIFY(!m_editor->isWindowModified());
        QVERIFY(w<QTextEdit>("textEdit_Frage")->isEnabled());
    }

    void speichernUnterStartetDasSpielMitDerNeuenDatei()
    {
        const QString datei = startenMit(3);
        frageText(QStringLiteral("kopiert"));
        aktion("actionSpeichern_unter"); // cancelled
        QCOMPARE(m_neustart->size(), 0);
        QVERIFY(m_editor->isVisible());

        const QString ziel = pfad(QStringLiteral("anders.xml"));
        m_dialoge.dateien = {ziel};
        aktion("actionSpeichern_unter");
        QCOMPARE(texteImFile(ziel), (QStringList{"kopiert", "F2", "F3"}));
        QCOMPARE(texteImFile(datei), (QStringList{"F1", "F2", "F3"}));
        QCOMPARE(Einstellungen::text(Schluessel::FrageFile), ziel);
        QCOMPARE(m_neustart->size(), 1);
        QCOMPARE(m_neustart->first().first().toString(), ziel);
        QVERIFY(m_dialoge.fragen.isEmpty());
        QVERIFY(!m_editor->isVisible());
    }
};

QTEST_MAIN(TestFragenEditor)
#include "tst_frageneditor.moc"
