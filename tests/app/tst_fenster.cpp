#include "einstellungen.h"
#include "goto.h"
#include "meldungsdialoge.h"
#include "schluessel.h"
#include "shortcutkeys.h"
#include "testeinstellungen.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

class TestFenster final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEinstellungen> m_einstellungen;

private slots:
    void init() { m_einstellungen = std::make_unique<TestEinstellungen>(); }
    void cleanup() { m_einstellungen.reset(); }

    void goToNimmtNurFragenummern()
    {
        Einstellungen::setzen(Schluessel::DesktopWidth, 1920);
        Einstellungen::setzen(Schluessel::DesktopHeight, 1080);
        goTo fenster;
        QCOMPARE(fenster.size(), QSize(282, 98));
        auto *feld = fenster.findChild<QLineEdit *>("lineEdit_Fragenummer");
        auto *knopf = fenster.findChild<QPushButton *>("pushButton");
        QVERIFY(feld && knopf);
        QSignalSpy sprung(&fenster, &goTo::goToButtonEvent);

        knopf->click(); // empty field
        QTest::keyClicks(feld, "abc");
        QCOMPARE(feld->text(), QString());
        QTest::keyClicks(feld, "12345");
        QCOMPARE(feld->text(), QString("1234"));
        knopf->click();
        feld->clear();
        QTest::keyClicks(feld, "7");
        QTest::keyClick(feld, Qt::Key_Return);
        QCOMPARE(sprung.count(), 3);
        QCOMPARE(sprung.at(0).at(0).toInt(), 0);
        QCOMPARE(sprung.at(1).at(0).toInt(), 1234);
        QCOMPARE(sprung.at(2).at(0).toInt(), 7);
    }

    // Opened again after a jump to 9, typing "1" must go to 1, not 91; Escape closes; the window
    // sits in the middle of the main window from the first start on.
    void goToOeffnetLeerUndMittig()
    {
        Einstellungen::setzen(Schluessel::DesktopWidth, 1920);
        Einstellungen::setzen(Schluessel::DesktopHeight, 1080);
        QWidget haupt;
        haupt.setGeometry(100, 80, 1200, 800);
        haupt.show();
        goTo fenster;
        QSignalSpy sprung(&fenster, &goTo::goToButtonEvent);
        auto *feld = fenster.findChild<QLineEdit *>("lineEdit_Fragenummer");

        fenster.zeigen(&haupt);
        QVERIFY(fenster.isVisible());
        QCOMPARE(fenster.frameGeometry().center(), haupt.frameGeometry().center());
        QTest::keyClicks(feld, "9");
        QTest::keyClick(feld, Qt::Key_Return);
        fenster.close();

        fenster.zeigen(&haupt);
        QCOMPARE(feld->text(), QString());
        QTest::keyClicks(feld, "1");
        QTest::keyClick(feld, Qt::Key_Return);
        QCOMPARE(sprung.count(), 2);
        QCOMPARE(sprung.at(1).at(0).toInt(), 1);

        QTest::keyClick(feld, Qt::Key_Escape);
        QVERIFY(!fenster.isVisible());
    }

    // The keys a presenter presses to go on answer the question of an interrupted game with Yes;
    // every other question keeps No as the default.
    void frageMitTasteBeantwortet_data()
    {
        QTest::addColumn<bool>("jaAlsVorgabe");
        QTest::addColumn<int>("taste");
        QTest::addColumn<bool>("ja");
        QTest::newRow("Leertaste, Ja vorgegeben") << true << int(Qt::Key_Space) << true;
        QTest::newRow("Eingabe, Ja vorgegeben") << true << int(Qt::Key_Return) << true;
        QTest::newRow("Leertaste") << false << int(Qt::Key_Space) << false;
        QTest::newRow("Eingabe") << false << int(Qt::Key_Return) << false;
    }

    void frageMitTasteBeantwortet()
    {
        QFETCH(bool, jaAlsVorgabe);
        QFETCH(int, taste);
        QWidget fenster;
        MeldungsDialoge dialoge(&fenster);
        bool gedrueckt = false;
        // Runs inside the box's own loop, once it is shown.
        QTimer::singleShot(0, &fenster, [&]() {
            auto *box = fenster.findChild<QMessageBox *>();
            if (!box)
                return;
            QWidget *ziel = box->focusWidget();
            gedrueckt = ziel != nullptr;
            QTest::keyClick(ziel ? ziel : box, Qt::Key(taste));
            // A key that answered nothing must not leave the test waiting.
            if (box->isVisible())
                box->done(QMessageBox::Cancel);
        });
        Meldung frage{QStringLiteral("Weiter?"), {}, {}, false};
        frage.jaAlsVorgabe = jaAlsVorgabe;
        QTEST(dialoge.frage(frage), "ja");
        QVERIFY(gedrueckt);
    }

    void shortcutFensterGroesseUndZeilen()
    {
        Einstellungen::setzen(Schluessel::DesktopWidth, 1920);
        shortcutkeys klein;
        QCOMPARE(klein.size(), QSize(800, 600));
        QCOMPARE(klein.windowTitle(), QString("Shortcut Keys "));
        const auto zelle = [&klein](int zeile, int spalte) {
            return klein.findChild<QLabel *>(QStringLiteral("zelle_%1_%2").arg(zeile).arg(spalte));
        };
        QCOMPARE(zelle(0, 0)->text(), QString("  Aktion"));
        QCOMPARE(zelle(13, 0)->text(), QString("  Speichern unter \"PDF\""));
        QCOMPARE(zelle(16, 1)->text(), QString("  Q"));
        QVERIFY(zelle(1, 0)->styleSheet().contains("#e8e8e9"));
        QVERIFY(zelle(2, 0)->styleSheet().contains("#ffffff"));
        QVERIFY(zelle(3, 0)->styleSheet().contains("#e8e8e9"));

        Einstellungen::setzen(Schluessel::DesktopWidth, 2560);
        shortcutkeys gross;
        QVERIFY(gross.size() != QSize(800, 600));
    }
};

QTEST_MAIN(TestFenster)
#include "tst_fenster.moc"
