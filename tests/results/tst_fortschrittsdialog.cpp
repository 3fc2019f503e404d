#include "fortschrittsdialog.h"
#include "testeinstellungen.h"

#include <QProgressDialog>
#include <QWidget>
#include <QtTest>

class TestFortschrittsDialog final : public QObject
{
    Q_OBJECT

private slots:
    void abbrechenStopptDenExport()
    {
        TestEinstellungen einstellungen;
        QWidget fenster;
        fenster.show();
        auto fortschritt = std::make_unique<FortschrittsDialog>(&fenster, QStringLiteral("PDF"));
        auto *dialog = fenster.findChild<QProgressDialog *>();
        QVERIFY(dialog);
        QCOMPARE(dialog->windowModality(), Qt::WindowModal);
        QCOMPARE(dialog->minimumDuration(), 500);
        // A quick export never shows it. Exports start with 0 %.
        QVERIFY(fortschritt->weiter(0));
        QVERIFY(fortschritt->weiter(10));
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->value(), 10);

        dialog->cancel();
        QVERIFY(!fortschritt->weiter(20));
        fortschritt.reset();
        QVERIFY(!fenster.findChild<QProgressDialog *>());
    }
};

QTEST_MAIN(TestFortschrittsDialog)
#include "tst_fortschrittsdialog.moc"
