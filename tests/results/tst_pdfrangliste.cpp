#include <QtTest>
class TestPdfRangliste final : public QObject
{
    Q_OBJECT private slots : void leer() { QVERIFY(true); }
};
QTEST_MAIN(TestPdfRangliste)
#include "tst_pdfrangliste.moc"
