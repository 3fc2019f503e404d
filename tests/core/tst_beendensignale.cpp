#include "beendensignale.h"

#include <QSignalSpy>
#include <QtTest>

#include <csignal>

class TestBeendenSignale final : public QObject
{
    Q_OBJECT

private slots:
    // A request to end arrives in the event loop instead of ending the process; the system's
    // handling is back once the object goes.
    void anfrageKommtImEreignisLaufAn_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }

    void anfrageKommtImEreignisLaufAn()
    {
        QFETCH(int, signal);
        // Ignored before and after: a handler that did not come back cannot end this test.
        std::signal(signal, SIG_IGN);
        {
            BeendenSignale signale;
            QSignalSpy verlangt(&signale, &BeendenSignale::beendenVerlangt);
            QCOMPARE(std::raise(signal), 0);
            QTRY_COMPARE(verlangt.size(), 1);
            QCOMPARE(verlangt.at(0).at(0).toInt(), signal);
        }
        struct sigaction danach = {};
        QCOMPARE(::sigaction(signal, nullptr, &danach), 0);
        QVERIFY(danach.sa_handler == SIG_IGN);
        std::signal(signal, SIG_DFL);
    }
};

QTEST_GUILESS_MAIN(TestBeendenSignale)
#include "tst_beendensignale.moc"
