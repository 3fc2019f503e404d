#include "dialogrekorder.h"
#include "einstellungen.h"
#include "fakeports.h"
#include "klangrekorder.h"
#include "netzadressen.h"
#include "optionwindow.h"
#include "schluessel.h"
#include "sprachkataloge.h"
#include "startregeln.h"
#include "testdaten.h"
#include "testeinstellungen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTranslator>
#include <QtTest>

class TestOptionWindow final : public QObject
{
    Q_OBJECT

private:
    // A fresh world for each test: an empty store, no ports, nothing played or asked.
    struct Welt
    {
        TestEinstellungen einstellungen;
        FakePortSystem ports;
        KlangRekorder klang;
        DialogRekorder dialoge;
    };
    std::unique_ptr<Welt> m;

    template<typename T>
    static T *kind(QWidget &fenster, const char *name)
    {
        auto *widget = fenster.findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("missing widget %s", name);
        return widget;
    }

    std::unique_ptr<OptionWindow> neuesFenster()
    {
        auto fenster = std::make_unique<OptionWindow>(m->ports, m->klang, nullptr, &m->dialoge);
        for (const char *name : {"Morvane", "Tandrivelle", "Kahoot"})
            fenster->templateRegistrieren(QString::fromLatin1(name));
        fenster->felderAktualisieren();
        return fenster;
    }

private slots:
    void init() { m = std::make_unique<Welt>(); }
    void cleanup() { m.reset(); }

    // Every tab shows each of its fields at its size hint, in either language, and the dialog
    // opens on the desktop; also when it opens again after a long address (IPv6) was stored.
    void jedesFeldInVollerGroesse_data()
    {
        QTest::addColumn<bool>("englisch");
        QTest::newRow("German") << false;
        QTest::newRow("English") << true;
    }

    void jedesFeldInVollerGroesse()
    {
        QFETCH(bool, englisch);
        Startregeln::jederStart(QSize(1366, 768));
        QVERIFY(!Sprachkataloge::installieren(*qApp, englisch).isEmpty());
        auto fenster = neuesFenster();
        fenster->show();
        fenster->hide();
        Einstellungen::setzen(Schluessel::HandyAdresse,
                              QStringLiteral("fd00:1234:5678:9abc:def0:1234:5678:9abc"));
        fenster->felderAktualisieren();
        fenster->show();
        QVERIFY(QTest::qWaitForWindowExposed(fenster.get()));
        QVERIFY(QRect(0, 0, 1366, 768).contains(fenster->geometry()));
        auto *tabs = kind<QTabWidget>(*fenster, "tabWidgetDerOptionen");
        QCOMPARE(tabs->currentIndex(), 0);
        QStringList zuKlein;
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QCoreApplication::processEvents();
            int felder = 0;
            for (QWidget *feld : tabs->widget(i)->findChildren<QWidget *>()) {
                // The spin boxes' own line edits are part of their box.
                if (!feld->isVisibleTo(fenster.get()) ||
                    feld->objectName().startsWith(QLatin1String("qt_")) ||
                    !(qobject_cast<QLineEdit *>(feld) || qobject_cast<QAbstractSpinBox *>(feld) ||
                      qobject_cast<QComboBox *>(feld) || qobject_cast<QAbstractButton *>(feld) ||
                      qobject_cast<QLabel *>(feld)))
                    continue;
                ++felder;
                // Wrapped text needs its height at the width it got; a field for typing shows its
                // text at its smallest size, a field of fixed text only at its size hint.
                const auto *text = qobject_cast<QLabel *>(feld);
                const auto *liste = qobject_cast<QComboBox *>(feld);
                const QSize noetig =
                    text && text->wordWrap()          ? QSize(0, text->heightForWidth(text->width()))
                    : qobject_cast<QLineEdit *>(feld) ? feld->minimumSizeHint()
                    // A list's hint can stay as it was before a longer entry came.
                    : liste ? feld->sizeHint().expandedTo(
                                  QSize(liste->fontMetrics().horizontalAdvance(liste->currentText()), 0))
                            : feld->sizeHint();
                if (feld->height() < noetig.height() || feld->width() < noetig.width())
                    QDebug(&zuKlein.emplace_back()) << feld->objectName() << feld->size() << "<" << noetig;
            }
            QVERIFY2(felder > 0, qPrintable(tabs->widget(i)->objectName()));
        }
        for (QTranslator *t : qApp->findChildren<QTranslator *>())
            delete t;
        QVERIFY2(zuKlein.isEmpty(), qPrintable(zuKlein.join(QLatin1Char('\n'))));
    }

    // A click writes "true" or "false" at once and says so; opening the dialog shows the store.
    // Only the exact "true" ticks a box; two design boxes keep their state on anything but
    // "true" or "false".
    void schalterSchreibenBeimKlickUndWerdenZurueckgelesen_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("schluessel");
        QTest::addColumn<bool>("dreiwertig");
        const QList<QPair<const char *, QString>> tabelle = {
            {"checkBoxEmpfaengerAutomatischFinden", Schluessel::EmpfaengerAutomatischFinden},
            {"checkBox_Auswertung_Quiz_Prozentangabe_Anzeigen", Schluessel::QuizProzentAntwortenAnzeigen},
            {"checkBox_Auswertung_Umfrage_Prozentangabe_Anzeigen",
             Schluessel::UmfrageProzentAntwortenAnzeigen},
            {"checkBox_Auswertung_Loesung_Loesung_Anzeigen", Schluessel::LoesungAnzeigen},
            {"checkBox_Steuerung_Master_Aktivieren", Schluessel::SteuerungUeberMaster},
            {"checkBox_Steuerung_Automatisierung_Aktivieren", Schluessel::AutomatisierungAktiviert},
            {"checkBox_Klassensatz_Konferenzmodus", Schluessel::Konferenzmodus},
            {"checkBox_Toene_Buzzer_Lautlos", Schluessel::ToeneBuzzerLautlos},
            {"checkBox_Toene_Countdown_Lautlos", Schluessel::ToeneCountdownLautlos},
            {"checkBox_Toene_Automatisierung_Lautlos", Schluessel::ToeneAutomatisierungLautlos},
            {"checkBox_Template_Auto_Erkennung", Schluessel::TemplateAutomatischErkennen},
            {"checkBox_FrageNummerAnzeigen", Schluessel::FrageNummerInTemplateAnzeigen},
            {"checkBox_Fragetext_Fett_Anzeigen", Schluessel::FragetextFett},
            {"checkBox_Steuerung_FrageBeenden", Schluessel::FrageBeendenWennAlleGeantwortet},
            {"checkBox_Handys_Abstimmung", Schluessel::HandyAbstimmung},
        };
        for (const auto &[box, schluessel] : tabelle)
            QTest::newRow(box) << QString::fromLatin1(box) << schluessel
                               << (schluessel == Schluessel::TemplateAutomatischErkennen ||
                                   schluessel == Schluessel::FrageNummerInTemplateAnzeigen);
    }

    void schalterSchreibenBeimKlickUndWerdenZurueckgelesen()
    {
        QFETCH(QString, box);
        QFETCH(QString, schluessel);
        QFETCH(bool, dreiwertig);
        Startregeln::jederStart(QSize(1366, 768));
        auto fenster = neuesFenster();
        auto *schalter = fenster->findChild<QCheckBox *>(box);
        QVERIFY(schalter);
        QSignalSpy geaendert(fenster.get(), &OptionWindow::einstellungGeaendert);

        QVERIFY(!Einstellungen::vorhanden(schluessel));
        schalter->click();
        QCOMPARE(Einstellungen::text(schluessel),
                 schalter->isChecked() ? QStringLiteral("true") : QStringLiteral("false"));
        const bool erst = schalter->isChecked();
        schalter->click();
        QCOMPARE(Einstellungen::text(schluessel), erst ? QStringLiteral("false") : QStringLiteral("true"));
        QCOMPARE(geaendert.count(), 2);
        QCOMPARE(geaendert.at(1).at(0).toString(), schluessel);

        // Refresh reads the store, not the widget, and writes nothing.
        for (const char *wert : {"true", "false", "true", "True", "true", "1"}) {
            const bool vorher = schalter->isChecked();
            Einstellungen::setzen(schluessel, QString::fromLatin1(wert));
            fenster->felderAktualisieren();
            const bool erwartet =
                qstrcmp(wert, "true") == 0 || (dreiwertig && qstrcmp(wert, "false") != 0 && vorher);
            QVERIFY2(schalter->isChecked() == erwartet, wert);
        }
        QCOMPARE(geaendert.count(), 2);
    }

    void namenslisteWirdGeprueftBevorSieGilt()
    {
        QTemporaryDir ordner;
        const QString gut = ordner.filePath(QStringLiteral("klasse 7b.csv"));
        const QString schlecht = ordner.filePath(QStringLiteral("notizen.csv"));
        QVERIFY(Testdaten::schreiben(gut, "Gerät;Name\n1;Anna\n2;Ben\n"));
        QVERIFY(Testdaten::schreiben(schlecht, "1;Anna\nEinkaufen;Milch;Brot\n"));
        auto fenster = neuesFenster();
        auto *feld = kind<QLineEdit>(*fenster, "lineEdit_Steuerung_Namensliste");
        auto *waehlen = kind<QPushButton>(*fenster, "pushButton_Steuerung_Namensliste_Waehlen");
        auto *entfernen = kind<QPushButton>(*fenster, "pushButton_Steuerung_Namensliste_Entfernen");
        QSignalSpy geaendert(fenster.get(), &OptionWindow::einstellungGeaendert);
        QVERIFY(feld->text().isEmpty());

        // Cancelled: nothing is written.
        waehlen->click();
        QCOMPARE(m->dialoge.dateiDialoge.size(), 1);
        QVERIFY(!Einstellungen::vorhanden(Schluessel::NamenslisteDatei));

        m->dialoge.dateien = {gut};
        waehlen->click();
        QCOMPARE(Einstellungen::text(Schluessel::NamenslisteDatei), gut);
        QCOMPARE(feld->text(), QDir::toNativeSeparators(gut));
        QCOMPARE(geaendert.count(), 1);
        QCOMPARE(geaendert.at(0).at(0).toString(), Schluessel::NamenslisteDatei);
        QVERIFY(m->dialoge.hinweise.isEmpty());

        // A file that is no list of names is refused with the reason; the list in use stays.
        m->dialoge.dateien = {schlecht};
        waehlen->click();
        QCOMPARE(m->dialoge.hinweise.size(), 1);
        QVERIFY(m->dialoge.hinweise.at(0).text.contains(QDir::toNativeSeparators(schlecht)));
        QCOMPARE(Einstellungen::text(Schluessel::NamenslisteDatei), gut);
        QCOMPARE(feld->text(), QDir::toNativeSeparators(gut));
        QCOMPARE(geaendert.count(), 1);
        // The next dialog starts in the folder of the list in use.
        QCOMPARE(m->dialoge.dateiDialoge.last().value(1), ordner.path());

        entfernen->click();
        QVERIFY(feld->text().isEmpty());
        QCOMPARE(Einstellungen::text(Schluessel::NamenslisteDatei), QString());
        QCOMPARE(geaendert.count(), 2);
        // Refresh reads the store.
        Einstellungen::setzen(Schluessel::NamenslisteDatei, gut);
        fenster->felderAktualisieren();
        QCOMPARE(feld->text(), QDir::toNativeSeparators(gut));
    }

    // Typed numbers are written when the dialog closes, whichever way, each within its range:
    // class sets are 16-bit numbers on the wire, handset numbers one byte. The phones' numbers
    // only when changed: a dialog opened and closed must not restart the phones' server.
    void zahlenfelderWerdenBeimSchliessenGeschrieben_data()
    {
        QTest::addColumn<int>("weg");
        int weg = 0;
        for (const char *name : {"Schliessen", "Fensterknopf", "Escape", "Programmende"})
            QTest::newRow(name) << weg++;
    }

    void zahlenfelderWerdenBeimSchliessenGeschrieben()
    {
        QFETCH(int, weg);
        auto fenster = neuesFenster();
        fenster->beimBeenden(); // a closed dialog writes nothing at the end
        QVERIFY(!Einstellungen::vorhanden(Schluessel::MasterBuzzer));
        fenster->show();
        QVERIFY(QTest::qWaitForWindowExposed(fenster.get()));
        struct Feld
        {
            const char *name;
            QString schluessel;
            QString getippt;
            QString gespeichert; // also what the field shows
        };
        const QList<Feld> felder = {
            {"lineEdit_Steuerung_Device_Nr", Schluessel::MasterBuzzer, "256", "25"},
            {"lineEdit_Steuerung_Klassensatz_Nr", Schluessel::MasterKlassensatz, "65535", "65535"},
            {"lineEdit_Steuerung_Automatisierung_Zeit", Schluessel::AutomatisierungZeit, "10001", "1000"},
            {"lineEdit_Klassensatz_ID1", Schluessel::aktiverKlassensatz(1), "x1y2", "12"},
            {"lineEdit_Klassensatz_ID2", Schluessel::aktiverKlassensatz(2), "65536", "6553"},
            // Without the leading zero, so it matches class set 258.
            {"lineEdit_Klassensatz_ID3", Schluessel::aktiverKlassensatz(3), "0258", "258"},
            {"lineEdit_Klassensatz_ID4", Schluessel::aktiverKlassensatz(4), "", ""},
        };
        for (const Feld &feld : felder)
            QTest::keyClicks(kind<QLineEdit>(*fenster, feld.name), feld.getippt);
        kind<QSpinBox>(*fenster, "spinBox_Handys_NummernJeAdresse")->setValue(30);
        for (const Feld &feld : felder)
            QVERIFY2(!Einstellungen::vorhanden(feld.schluessel), "written before closing");
        QVERIFY(!Einstellungen::vorhanden(Schluessel::HandyNummernJeAdresse));

        QSignalSpy geaendert(fenster.get(), &OptionWindow::einstellungGeaendert);
        if (weg == 0)
            kind<QPushButton>(*fenster, "pushButtonSchliessen")->click();
        else if (weg == 1)
            QVERIFY(fenster->close()); // what the window's close button does
        else if (weg == 2)
            QTest::keyClick(fenster.get(), Qt::Key_Escape);
        else
            fenster->beimBeenden();
        QVERIFY(!fenster->isVisible());
        for (const Feld &feld : felder) {
            QVERIFY2(Einstellungen::vorhanden(feld.schluessel), feld.name);
            QCOMPARE(Einstellungen::text(feld.schluessel), feld.gespeichert);
        }
        QCOMPARE(Einstellungen::text(Schluessel::HandyNummernJeAdresse), QStringLiteral("30"));
        QVERIFY(!Einstellungen::vorhanden(Schluessel::HandyPort));
        QCOMPARE(geaendert.count(), felder.size() + 1);

        // The next opening shows what was stored; a number out of range (a hand-edited file), the
        // standard.
        Einstellungen::setzen({{Schluessel::MasterKlassensatz, "12"}, {Schluessel::HandyPort, "80"}});
        fenster->felderAktualisieren();
        QCOMPARE(kind<QLineEdit>(*fenster, "lineEdit_Steuerung_Klassensatz_Nr")->text(),
                 QStringLiteral("12"));
        QCOMPARE(kind<QLineEdit>(*fenster, "lineEdit_Klassensatz_ID3")->text(), QStringLiteral("258"));
        QCOMPARE(kind<QSpinBox>(*fenster, "spinBox_Handys_Port")->value(), 8080);
    }

    // After a fresh start each list shows its built-in sound, in the interface language; a choice
    // is stored as the entry, and playing is heard even where the sound is silenced in the game.
    void klaengeWaehlenUndAnhoeren()
    {
        Startregeln::jederStart(QSize(1366, 768));
        Einstellungen::setzen(Schluessel::ToeneCountdownLautlos, QStringLiteral("true"));
        auto fenster = neuesFenster();
        auto *buzzer = kind<QComboBox>(*fenster, "comboBox_Toene_Buzzer");
        auto *countdown = kind<QComboBox>(*fenster, "comboBox_Toene_Countdown");
        auto *automatisierung = kind<QComboBox>(*fenster, "comboBox_Toene_Automatisierung");
        QCOMPARE(buzzer->currentText(), QStringLiteral("bell.wav (Standard)"));
        QCOMPARE(buzzer->currentData().toString(), QStringLiteral("bell.wav (default)"));
        QCOMPARE(countdown->currentData().toString(), QStringLiteral("ring.wav (default)"));
        QCOMPARE(automatisierung->currentData().toString(), QStringLiteral("bell.wav (default)"));
        // Filling the lists is no choice of the presenter.
        QCOMPARE(Einstellungen::text(Schluessel::SoundFileToeneBuzzer), QStringLiteral("bell.wav"));

        const int anzahl = QDir(QStringLiteral(":/sound/sound")).entryList(QDir::Files).size();
        QVERIFY(anzahl >= 2);
        for (QComboBox *liste : {buzzer, countdown, automatisierung})
            QCOMPARE(liste->count(), anzahl);
        // Each list marks only its own default.
        QVERIFY(countdown->findData(QStringLiteral("bell.wav")) >= 0);
        QCOMPARE(buzzer->findData(QStringLiteral("ring.wav (default)")), -1);
        QVERIFY(buzzer->findData(QStringLiteral("ring.wav")) >= 0);

        QSignalSpy geaendert(fenster.get(), &OptionWindow::einstellungGeaendert);

        buzzer->setCurrentIndex(buzzer->findText(QStringLiteral("horn.wav")));
        QCOMPARE(Einstellungen::text(Schluessel::SoundFileToeneBuzzer), QStringLiteral("horn.wav"));
        QCOMPARE(geaendert.count(), 1);
        buzzer->setCurrentIndex(buzzer->findData(QStringLiteral("bell.wav (default)")));
        QCOMPARE(Einstellungen::text(Schluessel::SoundFileToeneBuzzer), QStringLiteral("bell.wav (default)"));

        kind<QPushButton>(*fenster, "pushButtonToeneBuzzer")->click();
        countdown->setCurrentIndex(countdown->findText(QStringLiteral("plop2.wav")));
        QCOMPARE(Einstellungen::text(Schluessel::SoundFileToeneCountdown), QStringLiteral("plop2.wav"));
        kind<QPushButton>(*fenster, "pushButtonToeneCountdown")->click(); // silenced, still heard here
        kind<QPushButton>(*fenster, "pushButtonToeneAutomatisierung")->click();
        QCOMPARE(m->klang.gespielt, QStringList({":/sound/sound/bell.wav", ":/sound/sound/plop2.wav",
                                                 ":/sound/sound/bell.wav"}));

        // A stored file name selects that entry on the next opening.
        Einstellungen::setzen(Schluessel::SoundFileToeneAutomatisierung, QStringLiteral("ebeep.wav"));
        fenster->felderAktualisieren();
        QCOMPARE(automatisierung->currentText(), QStringLiteral("ebeep.wav"));
        QCOMPARE(countdown->currentText(), QStringLiteral("plop2.wav"));
    }

    // The protocol tab shows the last press; the count of discarded presses only once there are any.
    void protokollZeigtTasteGeraetUndKlassensatz_data()
    {
        QTest::addColumn<uint>("taste");
        QTest::addColumn<QString>("text");
        const QStringList texte = {"", "A", "B", "C", "D", ""};
        for (uint taste = 0; taste < 6; ++taste)
            QTest::addRow("%u", taste) << taste << texte.at(taste);
    }

    void protokollZeigtTasteGeraetUndKlassensatz()
    {
        QFETCH(uint, taste);
        QFETCH(QString, text);
        auto fenster = neuesFenster();
        auto *feldTaste = kind<QLineEdit>(*fenster, "lineEdit_Protokoll_GeraeteTaste");
        feldTaste->setText(QStringLiteral("alt"));
        fenster->optionWindowProtokollAktualisieren(65535, 127, taste);
        QCOMPARE(feldTaste->text(), text);
        QCOMPARE(kind<QLineEdit>(*fenster, "lineEdit_Protokoll_GeraeteNummer")->text(),
                 QStringLiteral("127"));
        QCOMPARE(kind<QLineEdit>(*fenster, "lineEdit_Protokoll_KlassensatzNummer")->text(),
                 QStringLiteral("65535"));

        auto *verworfen = kind<QLabel>(*fenster, "label_Protokoll_Verworfen");
        QVERIFY(verworfen->isHidden());
        fenster->verworfeneDrueckeAnzeigen(int(taste));
        QCOMPARE(verworfen->isHidden(), taste == 0);
        QVERIFY(taste == 0 || verworfen->text().endsWith(QStringLiteral(": %1").arg(taste)));
    }

    // The question number and bold text are Tandrivelle's switches: hidden from the dialog's
    // construction on for any other template, and shown or hidden with each choice.
    void templateWahlMeldetSichEinmalUndVerstecktDieTandrivelleSchalter()
    {
        Einstellungen::setzen(Schluessel::GewaehltesTemplate, QStringLiteral("Morvane"));
        OptionWindow fenster(m->ports, m->klang, nullptr, &m->dialoge);
        auto *nummer = kind<QCheckBox>(fenster, "checkBox_FrageNummerAnzeigen");
        auto *fett = kind<QCheckBox>(fenster, "checkBox_Fragetext_Fett_Anzeigen");
        QVERIFY(nummer->isHidden() && fett->isHidden());
        for (const char *name : {"Morvane", "Tandrivelle", "Kahoot", "Kahoot"})
            fenster.templateRegistrieren(QString::fromLatin1(name));
        QCOMPARE(fenster.registrierteTemplates(), QStringList({"Morvane", "Tandrivelle", "Kahoot"}));
        fenster.felderAktualisieren();
        auto *liste = kind<QComboBox>(fenster, "comboBox_Template");
        QCOMPARE(liste->count(), 3);
        QCOMPARE(liste->currentText(), QStringLiteral("Morvane"));

        // The store as each choice is announced.
        QStringList beimSignal;
        connect(&fenster, &OptionWindow::signalTemplateGewaehlt, this,
                [&] { beimSignal.append(Einstellungen::text(Schluessel::GewaehltesTemplate)); });
        liste->setCurrentIndex(liste->findText(QStringLiteral("Tandrivelle")));
        QCOMPARE(beimSignal, QStringList{"Tandrivelle"});
        QVERIFY(!nummer->isHidden() && !fett->isHidden());
        liste->setCurrentIndex(liste->findText(QStringLiteral("Kahoot")));
        QVERIFY(nummer->isHidden() && fett->isHidden());

        // Opening the dialog again refills the list without a new choice; a template changed
        // elsewhere (by the receiver) shows.
        fenster.felderAktualisieren();
        QCOMPARE(liste->currentText(), QStringLiteral("Kahoot"));
        Einstellungen::setzen(Schluessel::GewaehltesTemplate, QStringLiteral("Tandrivelle"));
        fenster.felderAktualisieren();
        QCOMPARE(liste->currentText(), QStringLiteral("Tandrivelle"));
        QVERIFY(!nummer->isHidden() && !fett->isHidden());
        QCOMPARE(beimSignal, QStringList({"Tandrivelle", "Kahoot"}));
    }

    // Back in German the file is the one before.
    void spracheTauschtNurDieBeispieldatei_data()
    {
        QTest::addColumn<QString>("vorher");
        QTest::addColumn<QString>("englisch");
        const QString bsp = QStringLiteral("/opt/plenaro/examples/%1/BspFragen.xml");
        QTest::newRow("Beispiel") << bsp.arg("DE") << bsp.arg("EN");
        // The teacher's own files stay, whatever their name.
        for (const char *eigene : {"/home/lehrer/Quiz/DE/Fragen.xml", "/home/lehrer/BspFragen.xml", ""})
            QTest::addRow("eigene %s", eigene) << QString::fromUtf8(eigene) << QString::fromUtf8(eigene);
    }

    void spracheTauschtNurDieBeispieldatei()
    {
        QFETCH(QString, vorher);
        QFETCH(QString, englisch);
        Einstellungen::setzen(Schluessel::FrageFile, vorher);
        auto fenster = neuesFenster();
        auto *sprache = kind<QComboBox>(*fenster, "comboBox_Sprache");
        QCOMPARE(sprache->currentText(), QStringLiteral("Deutsch")); // no value stored yet

        sprache->setCurrentIndex(sprache->findText(QStringLiteral("English")));
        QCOMPARE(Einstellungen::text(Schluessel::InstallerLanguage), QStringLiteral("1033"));
        QCOMPARE(Einstellungen::text(Schluessel::FrageFile), englisch);

        fenster->felderAktualisieren();
        QCOMPARE(sprache->currentText(), QStringLiteral("English"));

        sprache->setCurrentIndex(sprache->findText(QStringLiteral("Deutsch")));
        QCOMPARE(Einstellungen::text(Schluessel::InstallerLanguage), QStringLiteral("1031"));
        QCOMPARE(Einstellungen::text(Schluessel::FrageFile), vorher);
    }

    void portListeUndPortWahl()
    {
        m->ports.namen = {"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyUSB1"};
        Einstellungen::setzen(Schluessel::SerialPort, QStringLiteral("/dev/ttyUSB0"));
        Einstellungen::setzen(Schluessel::EmpfaengerVerbunden, QStringLiteral("false"));
        auto fenster = neuesFenster();
        auto *liste = kind<QComboBox>(*fenster, "comboBoxSerialPorts");
        QCOMPARE(liste->count(), 3);
        QCOMPARE(liste->currentText(), QStringLiteral("/dev/ttyUSB0"));

        // The port and its state in the store as each choice is announced.
        QStringList beimSignal;
        connect(fenster.get(), &OptionWindow::comPortIndexChanged, this, [&] {
            beimSignal += Einstellungen::texte({Schluessel::SerialPort, Schluessel::EmpfaengerVerbunden});
            fenster->portListeAktualisieren(); // what the main window does in its reaction
        });
        liste->setCurrentIndex(2);
        QCOMPARE(beimSignal, QStringList({"/dev/ttyUSB1", "true"}));
        QCOMPARE(liste->currentText(), QStringLiteral("/dev/ttyUSB1"));

        // A refresh with the port gone selects nothing and chooses nothing.
        m->ports.namen = {"/dev/ttyS0"};
        fenster->portListeAktualisieren();
        QCOMPARE(liste->count(), 1);
        QCOMPARE(liste->currentIndex(), -1);
        m->ports.namen.clear();
        fenster->felderAktualisieren();
        QCOMPARE(liste->count(), 0);
        QCOMPARE(beimSignal.size(), 2);
        QCOMPARE(Einstellungen::text(Schluessel::SerialPort), QStringLiteral("/dev/ttyUSB1"));
    }

    void handyAdresseAutomatischOderGewaehlt()
    {
        // An address chosen earlier on a network that is not up now.
        const QString fern = QStringLiteral("10.254.253.252");
        QVERIFY(!lokaleAdressen().contains(fern));
        Einstellungen::setzen(Schluessel::HandyAdresse, fern);
        auto fenster = neuesFenster();
        auto *liste = kind<QComboBox>(*fenster, "comboBox_Handys_Adresse");
        QStringList eintraege;
        for (int i = 0; i < liste->count(); ++i)
            eintraege.append(liste->itemText(i));
        QCOMPARE(eintraege, QStringList{"Automatisch"} + lokaleAdressen() << fern);
        QCOMPARE(liste->currentText(), fern);
        QCOMPARE(Einstellungen::text(Schluessel::HandyAdresse), fern); // filling writes nothing

        QSignalSpy geaendert(fenster.get(), &OptionWindow::einstellungGeaendert);
        liste->setCurrentIndex(0);
        QVERIFY(Einstellungen::vorhanden(Schluessel::HandyAdresse));
        QCOMPARE(Einstellungen::text(Schluessel::HandyAdresse), QString());
        liste->setCurrentIndex(liste->count() - 1);
        QCOMPARE(Einstellungen::text(Schluessel::HandyAdresse), fern);
        QCOMPARE(geaendert.count(), 2);
        QCOMPARE(geaendert.at(0).at(0).toString(), Schluessel::HandyAdresse);

        // "Automatisch" once stored, the gone address no longer shows.
        Einstellungen::setzen(Schluessel::HandyAdresse, QString());
        fenster->felderAktualisieren();
        QCOMPARE(liste->currentIndex(), 0);
        QCOMPARE(liste->count(), lokaleAdressen().size() + 1);
    }
};

QTEST_MAIN(TestOptionWindow)
#include "tst_optionwindow.moc"
