#include "fortschrittsdialog.h"
#include "testeinstellungen.h"

#include <QProgressDialog>
#include <QWidget>
#include <QtTest>

class TestFortschrittsDialog final : public QObject
{
    Q_OBJECT

private slots:
    void abbrechenStopptDenExport_data()
    {
        QTest::addColumn<bool>("fensterGeschlossen");
        QTest::newRow("Cancel") << false;
        QTest::newRow("window closed") << true;
    }

    void abbrechenStopptDenExport()
    {
        QFETCH(bool, fensterGeschlossen);
        TestEinstellungen einstellungen;
        auto fenster = std::make_unique<QWidget>();
        fenster->show();
        auto fortschritt = std::make_unique<FortschrittsDialog>(fenster.get(), QStringLiteral("PDF"));
        // While the file dialog is still open nothing may come up over it.
        QCoreApplication::processEvents();
        QVERIFY(!fenster->findChild<QProgressDialog *>());

        // A quick export never shows it. Exports start with 0 %.
        QVERIFY(fortschritt->weiter(0));
        auto *dialog = fenster->findChild<QProgressDialog *>();
        QVERIFY(dialog);
        QCOMPARE(dialog->windowModality(), Qt::WindowModal);
        QVERIFY(fortschritt->weiter(10));
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->value(), 10);

        if (fensterGeschlossen)
            fenster.reset();
        else
            dialog->cancel();
        QVERIFY(!fortschritt->weiter(20));
        fortschritt.reset();
        if (fenster)
            QVERIFY(!fenster->findChild<QProgressDialog *>());
    }
};

QTEST_MAIN(TestFortschrittsDialog)
#include "tst_fortschrittsdialog.moc"
