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
#include <QMenu>
#include <QMenuBar>
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

} // namespace

class TestFragenEditor final : public QObject
{
    Q_OBJECT

private:
    TestEinstellungen m_einstellungen;
    std::unique_ptr<QTemporaryDir> m_ordner;
    DialogRekorder m_dialoge;
    std::unique_ptr<FragenEditor> m_editor;

    QString pfad(const QString &name) const { return m_ordner->filePath(name); }
    void rekorderLeeren(bool antwortJa = true)
    {
        m_dialoge.leeren();
        m_dialoge.dateien.clear();
        m_dialoge.antwortJa = antwortJa;
        m_dialoge.sicherungVorgabe = antwortJa ? Dialoge::Sichern::Speichern : Dialoge::Sichern::Verwerfen;
    }

    FragenEditor &starten(const QString &datei)
    {
        Einstellungen::setzen(Schluessel::FrageFile, datei);
        m_editor = std::make_unique<FragenEditor>(&m_dialoge);
        m_editor->show();
        m_editor->editorInitialisieren();
        return *m_editor;
    }

    FragenEditor &startenMit(int anzahl, const QString &name = QStringLiteral("fragen.xml"))
    {
        const QString datei = pfad(name);
        Testdaten::schreiben(datei, fragen(anzahl));
        return starten(datei);
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
    QStringList texteImFile(const QString &datei) const
    {
        QStringList liste;
        for (const QDomElement &f : FrageDatei::lesen(datei).fragen)
            liste.append(FrageDatei::feld(f, QStringLiteral("QuestionText")));
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
    void cleanup() { m_editor.reset(); }

    void formularUndMenue()
    {
        starten(QString());
        for (const char *name : {"label_4",
                                 "comboBox_Frage",
                                 "label_Frage_verschieben",
                                 "label_2",
                                 "textEdit_Frage",
                                 "label_2_BildPfadFrage",
                                 "label_17",
                                 "label_24",
                                 "label_29",
                                 "label_25",
                                 "checkBox_Loesung_A",
                                 "checkBox_Loesung_B",
                                 "checkBox_Loesung_C",
                                 "checkBox_Loesung_D",
                                 "textEdit_Antwort_A",
                                 "textEdit_Antwort_B",
                                 "textEdit_Antwort_C",
                                 "textEdit_Antwort_D",
                                 "label_2_BildPfadA",
                                 "label_2_BildPfadB",
                                 "label_2_BildPfadC",
                                 "label_2_BildPfadD",
                                 "label_5",
                                 "label_26",
                                 "lineEdit_Punkte_Countdown_Zeit",
                                 "label_51",
                                 "comboBox_Punkte",
                                 "label_46",
                                 "lineEdit_Antwortverzoegerung_Zeit"})
            QVERIFY2(m_editor->findChild<QWidget *>(QLatin1String(name)), name);
        // Every picture the buttons name is carried by the program.
        const struct
        {
            const char *knopf;
            const char *bild;
        } knoepfe[] = {{"pushButton_FragenEditor_PfeilLinks", ":/images/pfeil_links.png"},
                       {"pushButton_FragenEditor_PfeilRechts", ":/images/pfeil_rechts.png"},
                       {"pushButton_FragenEditor_PfeilOben", ":/images/pfeil_oben.png"},
                       {"pushButton_FragenEditor_PfeilUnten", ":/images/pfeil.png"},
                       {"pushButton_FragenEditor_Bild_Frage", ":/images/cam_plus.png"},
                       {"pushButton_FragenEditor_BildA", ":/images/cam_plus.png"},
                       {"pushButton_FragenEditor_BildB", ":/images/cam_plus.png"},
                       {"pushButton_FragenEditor_BildC", ":/images/cam_plus.png"},
                       {"pushButton_FragenEditor_BildC_2", ":/images/cam_plus.png"}};
        for (const auto &k : knoepfe) {
            QVERIFY2(QImage(QLatin1String(k.bild)).width() >= 32, k.bild);
            QVERIFY2(!w<QPushButton>(k.knopf)->icon().isNull(), k.knopf);
        }
        QVERIFY(QImage(QStringLiteral(":/images/cam_minus.png")).width() >= 32);
        QCOMPARE(w<QPushButton>("pushButton_Plus_Frage_Leer")->text(), QStringLiteral("+ Frage (leer)"));
        QCOMPARE(w<QPushButton>("pushButton_Plus_Frage_Kopie")->text(), QStringLiteral("+ Frage (Kopie)"));
        QCOMPARE(w<QPushButton>("pushButton_Frage_Loeschen")->text(), QStringLiteral("Frage löschen"));
        QCOMPARE(w<QPushButton>("pushButton_Fenster_Schliessen")->text(), QStringLiteral("Speichern"));
        QCOMPARE(m_editor->minimumSize(), QSize(900, 750));
        QCOMPARE(m_editor->windowTitle(), QStringLiteral("Frageneditor"));

        const struct
        {
            const char *name;
            const char *text;
            const char *taste;
        } aktionen[] = {{"actionNeu", "Neu...", "Ctrl+N"},
                        {"action_ffnen", "Öffnen...", "Ctrl+O"},
                        {"actionSpeichern", "Speichern", "Ctrl+S"},
                        {"actionSpeichern_unter", "Speichern unter...", "Ctrl+Shift+S"}};
        const QMenu *datei = w<QMenu>("menuDatei");
        for (const auto &a : aktionen) {
            const QAction *aktion = w<QAction>(a.name);
            QCOMPARE(aktion->text(), QString::fromUtf8(a.text));
            QCOMPARE(aktion->shortcut(), QKeySequence(QLatin1String(a.taste)));
            QVERIFY(datei->actions().contains(const_cast<QAction *>(aktion)));
        }
    }

    void ohneDateiIstDasFormularGesperrt()
    {
        starten(QString());
        QVERIFY(!w<QTextEdit>("textEdit_Frage")->isEnabled());
        QVERIFY(!w<QPushButton>("pushButton_Fenster_Schliessen")->isEnabled());
        QVERIFY(m_editor->menuBar()->isEnabled());
        QCOMPARE(w<QComboBox>("comboBox_Frage")->count(), 0);
        QVERIFY(m_editor->statusBar()->findChild<QLabel *>()->text() ==
                QStringLiteral("Keine Datei ausgewählt"));
        // Saving without a file writes nothing anywhere.
        klick("pushButton_Fenster_Schliessen");
        QVERIFY(m_dialoge.hinweise.isEmpty());

        Einstellungen::setzen(Schluessel::InstallerLanguage, QStringLiteral("1033"));
        starten(QString());
        QCOMPARE(m_editor->statusBar()->findChild<QLabel *>()->text(), QStringLiteral("No file selected."));
    }

    void eineUnlesbareStartdateiWirdGemeldet()
    {
        const QString kaputt = pfad(QStringLiteral("kaputt.xml"));
        Testdaten::schreiben(kaputt, QByteArray("<ArrayOfQuestion><Question>"));
        starten(kaputt);
        QCOMPARE(m_dialoge.hinweise.size(), 1);
        QVERIFY(m_dialoge.hinweise.first().text.contains(QDir::toNativeSeparators(kaputt)));
        QVERIFY(!m_dialoge.hinweise.first().informativerText.isEmpty());
        QVERIFY(!w<QTextEdit>("textEdit_Frage")->isEnabled());
        QCOMPARE(m_editor->anzahlDerFragen(), 0);
    }

    void zeigtDieErsteFrageUndBeschriftetNachSprache()
    {
        startenMit(3);
        QCOMPARE(w<QTextEdit>("textEdit_Frage")->toPlainText(), QStringLiteral("F1"));
        QCOMPARE(w<QTextEdit>("textEdit_Antwort_B")->toPlainText(), QStringLiteral("B1"));
        QCOMPARE(w<QLineEdit>("lineEdit_Punkte_Countdown_Zeit")->text(), QStringLiteral("11"));
        QVERIFY(w<QCheckBox>("checkBox_Loesung_A")->isChecked());
        QCOMPARE(auswahl(), (QStringList{"Frage 1", "Frage 2", "Frage 3"}));
        QCOMPARE(w<QLabel>("label_Frage_verschieben")->text(),
                 QStringLiteral("Frage 1/3 verschieben (auf/ab)"));
        QCOMPARE(w<QLabel>("label_2_BildPfadA")->text(), QStringLiteral("Keine Bilddatei ausgewählt."));
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
        // Rebuilt after an insertion the entries say "Frage" in both languages.
        klick("pushButton_Plus_Frage_Leer");
        QCOMPARE(auswahl(), (QStringList{"Frage 1", "Frage 2", "Frage 3", "Frage 4"}));
    }

    void pfeileUndAuswahlBlaettern()
    {
        startenMit(3);
        klick("pushButton_FragenEditor_PfeilLinks");
        QCOMPARE(m_editor->aktuelleFrage(), 0);
        klick("pushButton_FragenEditor_PfeilRechts");
        klick("pushButton_FragenEditor_PfeilRechts");
        QCOMPARE(m_editor->aktuelleFrage(), 2);
        // At the end the arrow only takes the form over.
        w<QTextEdit>("textEdit_Frage")->setPlainText(QStringLiteral("geändert"));
        klick("pushButton_FragenEditor_PfeilRechts");
        QCOMPARE(m_editor->aktuelleFrage(), 2);
        QCOMPARE(feld(2, "QuestionText"), QStringLiteral("geändert"));
        w<QComboBox>("comboBox_Frage")->setCurrentIndex(0);
        QCOMPARE(w<QTextEdit>("textEdit_Frage")->toPlainText(), QStringLiteral("F1"));
        QCOMPARE(w<QLabel>("label_Frage_verschieben")->text(),
                 QStringLiteral("Frage 1/3 verschieben (auf/ab)"));
    }

    void verschiebenAnDenEndenUndHinUndZurueck()
    {
        startenMit(4);
        const QStringList anfang = texte();
        klick("pushButton_FragenEditor_PfeilOben");
        QCOMPARE(texte(), anfang);
        QCOMPARE(m_editor->aktuelleFrage(), 0);

        klick("pushButton_FragenEditor_PfeilUnten");
        QCOMPARE(texte(), (QStringList{"F2", "F1", "F3", "F4"}));
        // The moved question stays on screen at its new place.
        QCOMPARE(m_editor->aktuelleFrage(), 1);
        QCOMPARE(w<QTextEdit>("textEdit_Frage")->toPlainText(), QStringLiteral("F1"));
        QCOMPARE(w<QComboBox>("comboBox_Frage")->currentIndex(), 1);
        klick("pushButton_FragenEditor_PfeilUnten");
        klick("pushButton_FragenEditor_PfeilOben");
        klick("pushButton_FragenEditor_PfeilOben");
        QCOMPARE(texte(), anfang);

        w<QComboBox>("comboBox_Frage")->setCurrentIndex(3);
        klick("pushButton_FragenEditor_PfeilUnten");
        QCOMPARE(texte(), anfang);
        QCOMPARE(m_editor->aktuelleFrage(), 3);
    }

    void leereFrageNachDerDrittenVonFuenf()
    {
        startenMit(5);
        w<QComboBox>("comboBox_Frage")->setCurrentIndex(2);
        klick("pushButton_Plus_Frage_Leer");
        QCOMPARE(m_editor->anzahlDerFragen(), 6);
        QCOMPARE(texte(), (QStringList{"F1", "F2", "F3", "", "F4", "F5"}));
        QCOMPARE(m_editor->aktuelleFrage(), 3);
        QCOMPARE(feld(3, "Time"), QStringLiteral("15"));
        QCOMPARE(feld(3, "Points"), QStringLiteral("1"));
        QCOMPARE(feld(3, "AnswerDelay"), QStringLiteral("0"));
        QCOMPARE(feld(3, "Solution"), QStringLiteral("NoAnswer"));
        for (const char *name : {"Answer1", "Answer2", "PictureQuestionText", "PictureAnswer4"})
            QCOMPARE(feld(3, name), QString());
        QCOMPARE(w<QComboBox>("comboBox_Frage")->currentIndex(), 3);
        QCOMPARE(w<QLineEdit>("lineEdit_Punkte_Countdown_Zeit")->text(), QStringLiteral("15"));
        QVERIFY(!w<QCheckBox>("checkBox_Loesung_A")->isChecked());
        QCOMPARE(auswahl().size(), 6);
    }

    void kopieNimmtDasBearbeiteteMit()
    {
        startenMit(2);
        w<QTextEdit>("textEdit_Frage")->setPlainText(QStringLiteral("neu\nzweizeilig"));
        w<QCheckBox>("checkBox_Loesung_C")->click();
        klick("pushButton_Plus_Frage_Kopie");
        QCOMPARE(m_editor->anzahlDerFragen(), 3);
        QCOMPARE(texte(), (QStringList{"neu\nzweizeilig", "neu\nzweizeilig", "F2"}));
        QCOMPARE(feld(1, "Solution"), QStringLiteral("Answer3"));
        QCOMPARE(feld(1, "Time"), QStringLiteral("11"));
        // A copy, not the same element: editing one leaves the other.
        w<QTextEdit>("textEdit_Frage")->setPlainText(QStringLiteral("nur die Kopie"));
        QCOMPARE(feld(0, "QuestionText"), QStringLiteral("neu\nzweizeilig"));
        QCOMPARE(feld(1, "QuestionText"), QStringLiteral("nur die Kopie"));
    }

    void loeschenDerLetztenUndDerEinzigen()
    {
        startenMit(3);
        w<QComboBox>("comboBox_Frage")->setCurrentIndex(2);
        klick("pushButton_Frage_Loeschen");
        QCOMPARE(texte(), (QStringList{"F1", "F2"}));
        QCOMPARE(m_editor->aktuelleFrage(), 1);
        QCOMPARE(w<QTextEdit>("textEdit_Frage")->toPlainText(), QStringLiteral("F2"));
        w<QComboBox>("comboBox_Frage")->setCurrentIndex(0);
        klick("pushButton_Frage_Loeschen");
        QCOMPARE(texte(), (QStringList{"F2"}));
        QCOMPARE(w<QTextEdit>("textEdit_Frage")->toPlainText(), QStringLiteral("F2"));
        klick("pushButton_Frage_Loeschen");
        QCOMPARE(texte(), (QStringList{"F2"}));
        QCOMPARE(auswahl(), (QStringList{"Frage 1"}));
    }

    void hoechstensEineLoesung()
    {
        const QString datei = pfad(QStringLiteral("f.xml"));
        startenMit(1, QStringLiteral("f.xml"));
        QCheckBox *a = w<QCheckBox>("checkBox_Loesung_A");
        QCheckBox *b = w<QCheckBox>("checkBox_Loesung_B");
        QVERIFY(a->isChecked());
        b->click();
        QVERIFY(!a->isChecked());
        QVERIFY(b->isChecked());
        QCOMPARE(feld(0, "Solution"), QStringLiteral("Answer2"));
        b->click();
        QVERIFY(!a->isChecked() && !b->isChecked() && !w<QCheckBox>("checkBox_Loesung_C")->isChecked() &&
                !w<QCheckBox>("checkBox_Loesung_D")->isChecked());
        klick("pushButton_Fenster_Schliessen");
        QCOMPARE(FrageDatei::feld(FrageDatei::lesen(datei).fragen.value(0), FrageDatei::Loesung),
                 QStringLiteral("NoAnswer"));
        // Saving does not close the window.
        QVERIFY(m_editor->isVisible());
    }

    void bilderWandernMitIhrerFrageUndKommenZurueck()
    {
        QList<Testdaten::Frage> liste = fragen(2);
        liste[0].bilder = {QStringLiteral("bilder\\frage.png"), {}, QStringLiteral("a.png")};
        const QString datei = pfad(QStringLiteral("f.xml"));
        Testdaten::schreiben(datei, liste);
        starten(datei);
        QCOMPARE(w<QLabel>("label_2_BildPfadFrage")->text(), QStringLiteral("bilder\\frage.png"));
        QCOMPARE(w<QLabel>("label_2_BildPfadA")->text(), QStringLiteral("Keine Bilddatei ausgewählt."));

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
        const QByteArray geschrieben = bytesVon(datei);
        QVERIFY(geschrieben.contains("<PictureQuestionText></PictureQuestionText>"));
        QCOMPARE(
            FrageDatei::feld(FrageDatei::lesen(datei).fragen.value(1), QStringLiteral("PictureQuestionText")),
            QString());

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

    void punkteDieDieAuswahlNichtKennt()
    {
        QList<Testdaten::Frage> liste = fragen(2);
        liste[0].punkte = QStringLiteral("3");
        liste[1].punkte = QStringLiteral("7");
        const QString datei = pfad(QStringLiteral("f.xml"));
        Testdaten::schreiben(datei, liste);
        starten(datei);
        QCOMPARE(w<QComboBox>("comboBox_Punkte")->currentText(), QStringLiteral("3"));
        klick("pushButton_FragenEditor_PfeilRechts");
        QCOMPARE(w<QComboBox>("comboBox_Punkte")->currentText(), QStringLiteral("3"));
        QCOMPARE(feld(1, "Points"), QStringLiteral("7"));
        klick("pushButton_FragenEditor_PfeilLinks");
        QCOMPARE(feld(1, "Points"), QStringLiteral("3"));
    }

    void schliessenFragtNurNachAenderungen()
    {
        const QString datei = pfad(QStringLiteral("f.xml"));
        startenMit(2, QStringLiteral("f.xml"));
        const QByteArray vorher = bytesVon(datei);
        QSignalSpy neustart(m_editor.get(), &FragenEditor::spielNeuStarten);
        // Walking through the questions changes nothing.
        klick("pushButton_FragenEditor_PfeilRechts");
        QVERIFY(m_editor->close());
        QVERIFY(m_dialoge.fragen.isEmpty());
        QCOMPARE(neustart.size(), 1);
        QCOMPARE(neustart.first().first().toString(), datei);
        QCOMPARE(bytesVon(datei), vorher);

        // Changed, cancelled: the editor stays open with the edit, nothing written, no restart.
        starten(datei);
        QSignalSpy neustart2(m_editor.get(), &FragenEditor::spielNeuStarten);
        w<QTextEdit>("textEdit_Antwort_A")->setPlainText(QStringLiteral("anders"));
        m_dialoge.sicherungen = {Dialoge::Sichern::Abbrechen, Dialoge::Sichern::Verwerfen};
        QVERIFY(!m_editor->close());
        QCOMPARE(w<QTextEdit>("textEdit_Antwort_A")->toPlainText(), QStringLiteral("anders"));
        QCOMPARE(neustart2.size(), 0);
        QCOMPARE(bytesVon(datei), vorher);

        // Discarded: nothing written, the game still restarts.
        m_dialoge.fragen.clear();
        QVERIFY(m_editor->close());
        QCOMPARE(m_dialoge.fragen.size(), 1);
        QCOMPARE(m_dialoge.fragen.first().text,
                 QStringLiteral("Möchten Sie die vorgenommenen Änderungen speichern?"));
        QCOMPARE(neustart2.size(), 1);
        QCOMPARE(bytesVon(datei), vorher);

        // Answered Yes: written, then the restart.
        rekorderLeeren();
        starten(datei);
        QSignalSpy neustart3(m_editor.get(), &FragenEditor::spielNeuStarten);
        w<QTextEdit>("textEdit_Antwort_A")->setPlainText(QStringLiteral("anders"));
        QVERIFY(m_editor->close());
        QCOMPARE(m_dialoge.fragen.size(), 1);
        QCOMPARE(neustart3.size(), 1);
        QCOMPARE(FrageDatei::feld(FrageDatei::lesen(datei).fragen.value(0), QStringLiteral("Answer1")),
                 QStringLiteral("anders"));
    }

    void beendenVerliertKeineAenderungen()
    {
        const QString datei = pfad(QStringLiteral("f.xml"));
        startenMit(2, QStringLiteral("f.xml"));
        QSignalSpy neustart(m_editor.get(), &FragenEditor::spielNeuStarten);
        QVERIFY(m_editor->schliessenOhneNachfrage());
        QVERIFY(!m_editor->isVisible());
        QVERIFY(m_dialoge.fragen.isEmpty());
        QCOMPARE(neustart.size(), 0);

        starten(datei);
        QSignalSpy neustart2(m_editor.get(), &FragenEditor::spielNeuStarten);
        w<QLineEdit>("lineEdit_Punkte_Countdown_Zeit")->setText(QStringLiteral("42"));
        QTest::keyClick(w<QLineEdit>("lineEdit_Punkte_Countdown_Zeit"), Qt::Key_1);
        QVERIFY(m_editor->schliessenOhneNachfrage());
        QCOMPARE(m_dialoge.fragen.size(), 1);
        QCOMPARE(neustart2.size(), 0);
        QCOMPARE(FrageDatei::feld(FrageDatei::lesen(datei).fragen.value(0), QStringLiteral("Time")),
                 QStringLiteral("421"));

        // No discards; an editor closed before is not asked again.
        starten(datei);
        w<QTextEdit>("textEdit_Frage")->setPlainText(QStringLiteral("verworfen"));
        rekorderLeeren(false);
        QVERIFY(m_editor->schliessenOhneNachfrage());
        QVERIFY(m_editor->schliessenOhneNachfrage());
        QCOMPARE(m_dialoge.fragen.size(), 1);
        QCOMPARE(texteImFile(datei), (QStringList{"F1", "F2"}));
    }

    void schreibfehlerWerdenGemeldetUndNichtsGehtVerloren()
    {
        // Running as root no folder is read-only; a path below a regular file fails for everyone.
        const QString sperre = pfad(QStringLiteral("kein_ordner"));
        Testdaten::schreiben(sperre, QByteArray("bleibt"));
        const QString unmoeglich = sperre + QStringLiteral("/fragen.xml");

        const QString datei = pfad(QStringLiteral("f.xml"));
        startenMit(2, QStringLiteral("f.xml"));
        const QByteArray vorher = bytesVon(datei);
        QSignalSpy neustart(m_editor.get(), &FragenEditor::spielNeuStarten);
        w<QTextEdit>("textEdit_Frage")->setPlainText(QStringLiteral("bearbeitet"));

        m_dialoge.dateien = {unmoeglich};
        m_editor->findChild<QAction *>(QStringLiteral("actionSpeichern_unter"))->trigger();
        QCOMPARE(m_dialoge.hinweise.size(), 1);
        QVERIFY(m_dialoge.hinweise.first().text.contains(QDir::toNativeSeparators(unmoeglich)));
        QVERIFY(!m_dialoge.hinweise.first().informativerText.isEmpty());
        QVERIFY(m_editor->isVisible());
        QCOMPARE(neustart.size(), 0);
        QCOMPARE(m_editor->pfad(), datei);
        QCOMPARE(Einstellungen::text(Schluessel::FrageFile), datei);
        QCOMPARE(texte(), (QStringList{"bearbeitet", "F2"}));
        QCOMPARE(bytesVon(sperre), QByteArray("bleibt"));
        QCOMPARE(bytesVon(datei), vorher);

        m_dialoge.dateien = {unmoeglich};
        m_editor->findChild<QAction *>(QStringLiteral("actionNeu"))->trigger();
        QCOMPARE(m_dialoge.hinweise.size(), 2);
        QCOMPARE(m_editor->pfad(), datei);
        QCOMPARE(texte(), (QStringList{"bearbeitet", "F2"}));

        // The file's own folder goes away: saving reports it, closing keeps the window open.
        const QString ordner = pfad(QStringLiteral("stick"));
        QVERIFY(QDir().mkpath(ordner));
        const QString aufStick = ordner + QStringLiteral("/fragen.xml");
        Testdaten::schreiben(aufStick, fragen(2));
        rekorderLeeren();
        starten(aufStick);
        QSignalSpy neustart2(m_editor.get(), &FragenEditor::spielNeuStarten);
        w<QTextEdit>("textEdit_Frage")->setPlainText(QStringLiteral("wichtig"));
        QVERIFY(QDir(ordner).removeRecursively());
        Testdaten::schreiben(ordner, QByteArray("abgezogen"));
        klick("pushButton_Fenster_Schliessen");
        QCOMPARE(m_dialoge.hinweise.size(), 1);
        QVERIFY(m_dialoge.hinweise.first().text.contains(QDir::toNativeSeparators(aufStick)));
        QVERIFY(m_editor->isWindowModified());
        QVERIFY(!m_editor->close());
        QCOMPARE(m_dialoge.fragen.size(), 1);
        QVERIFY(m_editor->isVisible());
        QCOMPARE(neustart2.size(), 0);
        QVERIFY(!m_editor->schliessenOhneNachfrage());
        QVERIFY(m_editor->isVisible());
        QCOMPARE(texte(), (QStringList{"wichtig", "F2"}));
        QCOMPARE(bytesVon(ordner), QByteArray("abgezogen"));

        // Saved elsewhere, all is well again.
        m_dialoge.dateien = {pfad(QStringLiteral("gerettet.xml"))};
        m_editor->findChild<QAction *>(QStringLiteral("actionSpeichern_unter"))->trigger();
        QCOMPARE(texteImFile(pfad(QStringLiteral("gerettet.xml"))), (QStringList{"wichtig", "F2"}));
        QCOMPARE(neustart2.size(), 1);
        QCOMPARE(neustart2.first().first().toString(), pfad(QStringLiteral("gerettet.xml")));
        QVERIFY(!m_editor->isVisible());
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
        {
            Testdaten::schreiben(datei, liste);
            const FrageDatei::LadeErgebnis gelesen = FrageDatei::lesen(datei);
            QVERIFY(FrageDatei::schreiben(datei, gelesen.fragen));
        }
        const QByteArray vorher = bytesVon(datei);
        starten(datei);
        QCOMPARE(w<QTextEdit>("textEdit_Frage")->toPlainText().left(11), QStringLiteral("<b>fett</b>"));
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
        QCOMPARE(FrageDatei::feld(FrageDatei::lesen(datei).fragen.value(0), QStringLiteral("QuestionText")),
                 markup + QStringLiteral(" <u>"));
    }

    void hoechstensTausendFragen()
    {
        startenMit(FrageDatei::MaxFragen - 1);
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
        QCOMPARE(FrageDatei::lesen(pfad(QStringLiteral("fragen.xml"))).fragen.size(), FrageDatei::MaxFragen);
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
        const QString datei = pfad(QStringLiteral("fuenf.xml"));
        startenMit(5, QStringLiteral("fuenf.xml"));
        QCOMPARE(m_editor->windowTitle(), QStringLiteral("Frageneditor \u2013 fuenf.xml[*]"));
        QVERIFY(!m_editor->isWindowModified());
        w<QTextEdit>("textEdit_Antwort_D")->setPlainText(QStringLiteral("x"));
        QVERIFY(m_editor->isWindowModified());
        w<QTextEdit>("textEdit_Antwort_D")->setPlainText(QString());
        QVERIFY(!m_editor->isWindowModified());
        w<QComboBox>("comboBox_Frage")->setCurrentIndex(4);

        // Cancelled and unreadable files change nothing.
        QAction *oeffnen = m_editor->findChild<QAction *>(QStringLiteral("action_ffnen"));
        oeffnen->trigger();
        QCOMPARE(m_dialoge.dateiDialoge.size(), 1);
        QCOMPARE(m_dialoge.dateiDialoge.first().at(0), QStringLiteral("Öffnen Fragen XML-Datei"));
        const QString kaputt = pfad(QStringLiteral("kaputt.xml"));
        Testdaten::schreiben(kaputt, QByteArray("kein xml"));
        m_dialoge.dateien = {kaputt};
        oeffnen->trigger();
        QCOMPARE(m_dialoge.hinweise.size(), 1);
        QCOMPARE(m_editor->pfad(), datei);
        QCOMPARE(Einstellungen::text(Schluessel::FrageFile), datei);
        QCOMPARE(m_editor->anzahlDerFragen(), 5);

        // A shorter file shows its last question.
        const QString zwei = pfad(QStringLiteral("zwei.xml"));
        Testdaten::schreiben(zwei, fragen(2));
        m_dialoge.dateien = {zwei};
        oeffnen->trigger();
        QCOMPARE(m_editor->anzahlDerFragen(), 2);
        QCOMPARE(m_editor->aktuelleFrage(), 1);
        QCOMPARE(w<QTextEdit>("textEdit_Frage")->toPlainText(), QStringLiteral("F2"));
        QCOMPARE(Einstellungen::text(Schluessel::FrageFile), zwei);
        QCOMPARE(m_editor->windowTitle(), QStringLiteral("Frageneditor \u2013 zwei.xml[*]"));

        // Opening over unsaved edits asks first.
        w<QTextEdit>("textEdit_Frage")->setPlainText(QStringLiteral("ungespeichert"));
        QVERIFY(m_editor->isWindowModified());
        m_dialoge.dateien = {datei};
        oeffnen->trigger();
        QCOMPARE(m_dialoge.fragen.size(), 1);
        QCOMPARE(texteImFile(zwei), (QStringList{"F1", "ungespeichert"}));
        QCOMPARE(m_editor->aktuelleFrage(), 1);

        const QString neu = pfad(QStringLiteral("neu.xml"));
        m_dialoge.dateien = {neu};
        m_editor->findChild<QAction *>(QStringLiteral("actionNeu"))->trigger();
        QCOMPARE(m_dialoge.speicherDialoge.last().at(0), QStringLiteral("Speichern unter..."));
        QCOMPARE(m_dialoge.speicherDialoge.last().at(2), QStringLiteral("XML files (*.xml)"));
        QCOMPARE(bytesVon(neu), FrageDatei::neueDatei());
        QCOMPARE(m_editor->anzahlDerFragen(), 1);
        QCOMPARE(w<QLineEdit>("lineEdit_Punkte_Countdown_Zeit")->text(), QStringLiteral("15"));
        QCOMPARE(Einstellungen::text(Schluessel::FrageFile), neu);
        QVERIFY(!m_editor->isWindowModified());
        QVERIFY(w<QTextEdit>("textEdit_Frage")->isEnabled());
    }

    void speichernUnterStartetDasSpielMitDerNeuenDatei()
    {
        startenMit(3);
        QSignalSpy neustart(m_editor.get(), &FragenEditor::spielNeuStarten);
        w<QTextEdit>("textEdit_Frage")->setPlainText(QStringLiteral("kopiert"));
        m_editor->findChild<QAction *>(QStringLiteral("actionSpeichern_unter"))->trigger(); // cancelled
        QCOMPARE(neustart.size(), 0);
        QVERIFY(m_editor->isVisible());

        const QString ziel = pfad(QStringLiteral("anders.xml"));
        m_dialoge.dateien = {ziel};
        m_editor->findChild<QAction *>(QStringLiteral("actionSpeichern_unter"))->trigger();
        QCOMPARE(texteImFile(ziel), (QStringList{"kopiert", "F2", "F3"}));
        QCOMPARE(texteImFile(pfad(QStringLiteral("fragen.xml"))), (QStringList{"F1", "F2", "F3"}));
        QCOMPARE(Einstellungen::text(Schluessel::FrageFile), ziel);
        QCOMPARE(neustart.size(), 1);
        QCOMPARE(neustart.first().first().toString(), ziel);
        QVERIFY(m_dialoge.fragen.isEmpty());
        QVERIFY(!m_editor->isVisible());
    }
};

QTEST_MAIN(TestFragenEditor)
#include "tst_frageneditor.moc"
