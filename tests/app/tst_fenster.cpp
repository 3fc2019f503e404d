// The main window's own behaviour, without a game: full screen, size, start-up; and the small
// windows around it.
#include "goto.h"
#include "hauptfenster.h"
#include "meldungsdialoge.h"
#include "shortcutkeys.h"

#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QToolBar>
#include <QtTest>

class TestFenster final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Hauptfenster> h;

private slots:
    void init()
    {
        h = std::make_unique<Hauptfenster>();
        Einstellungen::setzen(Schluessel::DesktopWidth, 1920);
        Einstellungen::setzen(Schluessel::DesktopHeight, 1080);
    }
    void cleanup() { h.reset(); }

    // Closed at once (a double click on the wrong icon): nothing is set up behind the closed
    // window, and it closes again without harm.
    void schliessenBevorDasStartbildSteht()
    {
        MainWindow &f = h->erzeugen(QStringLiteral("Morvane"));
        QVERIFY(f.close());
        h->sekunden(3);                    // past the latest moment a window that draws nothing is set up
        QCoreApplication::processEvents(); // the set-up's last step is queued
        QVERIFY(!f.istEingerichtet() && !f.getComPort() && !f.handys());
    }

    // The projector shows the page and nothing else; the teacher gets the window back with V, N or
    // Esc, but an Esc meant for an open dialog stays with it.
    void vollbildZeigtNurDieSeite_data()
    {
        QTest::addColumn<int>("zurueck");
        QTest::newRow("Esc") << int(Qt::Key_Escape);
        QTest::newRow("N") << int(Qt::Key_N);
        QTest::newRow("V") << int(Qt::Key_V);
    }
    void vollbildZeigtNurDieSeite()
    {
        QFETCH(int, zurueck);
        MainWindow &f = h->erzeugen();
        QVERIFY(h->aktivieren());
        // No receiver yet: the port the first start stored is not shown as if it were one.
        QVERIFY2(h->statusTexte().contains(QStringLiteral("Port: –")), qPrintable(h->statusTexte()));
        const QList<QToolBar *> leisten = f.findChildren<QToolBar *>();
        QVERIFY(!leisten.isEmpty() && leisten.first()->isVisible());
        const auto leistenSichtbar = [&]() {
            return std::any_of(leisten.begin(), leisten.end(), [](QToolBar *l) { return l->isVisible(); });
        };
        h->taste(Qt::Key_V);
        QTRY_VERIFY(f.isFullScreen());
        QVERIFY(!f.menuBar()->isVisible() && !f.statusBar()->isVisible() && !leistenSichtbar());
        // The keys of the game still work, and a resting pointer goes.
        h->taste(Qt::Key_K);
        QVERIFY(f.schwarzBild() && f.schwarzAnsicht()->isVisible());
        h->taste(Qt::Key_K);
        QVERIFY(!f.schwarzBild() && !f.schwarzAnsicht()->isVisible());
        h->uhr.vorspulen(2000);
        QVERIFY(QGuiApplication::overrideCursor() &&
                QGuiApplication::overrideCursor()->shape() == Qt::BlankCursor);

        // Esc in the go-to window closes that window, not the full screen.
        h->taste(Qt::Key_G);
        QLineEdit *feld = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && w != &f && (feld = w->findChild<QLineEdit *>("lineEdit_Fragenummer")))
                break;
        }
        QVERIFY(feld);
        QTest::keyClick(feld, Qt::Key_Escape);
        QVERIFY(!feld->window()->isVisible());
        QVERIFY(f.isFullScreen() && !f.menuBar()->isVisible());

        h->taste(Qt::Key(zurueck));
        QEXPECT_FAIL("V", "V only enters the full screen; it should leave it as N does", Abort);
        QTRY_VERIFY_WITH_TIMEOUT(!f.isFullScreen(), 2000);
        QVERIFY(f.menuBar()->isVisible() && f.statusBar()->isVisible() && leistenSichtbar());
        QVERIFY(!QGuiApplication::overrideCursor());
        // Esc outside Vollbild changes nothing.
        h->taste(Qt::Key_Escape);
        QVERIFY(!f.isFullScreen() && f.menuBar()->isVisible());
    }

    // A small screen (the offscreen one is 800x800): the window opens no larger, grows not when the
    // status bar names the first question, stays so when the teacher takes it out of the maximised
    // state, and can be made as small as a netbook's 1024x600, even with a question file of a long
    // path in its status bar.
    void passtAufKleinenSchirm()
    {
        h->fragen({Testdaten::Frage()}, QStringLiteral("Unterricht/Naturwissenschaften und Technik/Klasse "
                                                       "7b/Einheit Kontinente und Ozeane/Wiederholung.xml"));
        MainWindow &f = h->erzeugen(QStringLiteral("Morvane"), QSize());
        const QRect frei = f.screen()->availableGeometry();
        // The size only: where the frame goes is the window manager's affair.
        const auto passt = [&]() {
            return f.width() <= frei.width() && f.height() <= frei.height();
        };
        QVERIFY(passt());
        f.goToFrage(1);
        QCoreApplication::processEvents();
        QVERIFY2(passt(), qPrintable(QStringLiteral("%1x%2").arg(f.width()).arg(f.height())));
        f.showNormal();
        QTRY_VERIFY(!f.isMaximized());
        QVERIFY2(passt(), qPrintable(QStringLiteral("%1x%2").arg(f.width()).arg(f.height())));
        f.resize(1024, 600);
        QTRY_COMPARE(f.size(), QSize(1024, 600));
    }

    // The go-to window takes question numbers only, up to four digits, and jumps on the button or
    // Return; opened again it starts empty; Escape closes; it sits in the middle of the main window.
    void goToNimmtNurFragenummern()
    {
        QWidget haupt;
        haupt.setGeometry(100, 80, 1200, 800);
        haupt.show();
        goTo fenster;
        auto *feld = fenster.findChild<QLineEdit *>("lineEdit_Fragenummer");
        auto *knopf = fenster.findChild<QPushButton *>("pushButton");
        QVERIFY(feld && knopf);
        QSignalSpy sprung(&fenster, &goTo::goToButtonEvent);

        fenster.zeigen(&haupt);
        QVERIFY(fenster.isVisible());
        QCOMPARE(fenster.frameGeometry().center(), haupt.frameGeometry().center());
        knopf->click(); // empty field
        QTest::keyClicks(feld, "ab12c345");
        QCOMPARE(feld->text(), QString("1234"));
        knopf->click();
        fenster.close();

        fenster.zeigen(&haupt);
        QCOMPARE(feld->text(), QString());
        QTest::keyClicks(feld, "7");
        QTest::keyClick(feld, Qt::Key_Return);
        QCOMPARE(QList<QVariantList>(sprung), (QList<QVariantList>{{0}, {1234}, {7}}));

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
        for (const bool ja : {true, false}) {
            QTest::addRow("space, %s", ja ? "Yes first" : "No first") << ja << int(Qt::Key_Space) << ja;
            QTest::addRow("return, %s", ja ? "Yes first" : "No first") << ja << int(Qt::Key_Return) << ja;
        }
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

    // The shortcut card is 800x600 up to a desktop 2,000 pixels wide.
    void shortcutFensterGroesse_data()
    {
        QTest::addColumn<int>("breite");
        QTest::addColumn<bool>("klein");
        QTest::newRow("2000") << 2000 << true;
        QTest::newRow("2001") << 2001 << false;
    }
    void shortcutFensterGroesse()
    {
        QFETCH(int, breite);
        Einstellungen::setzen(Schluessel::DesktopWidth, breite);
        QTEST(shortcutkeys().size() == QSize(800, 600), "klein");
    }
};

PLENARO_SEITEN_TEST_MAIN(TestFenster)
#include "tst_fenster.moc"
