#include "bildvergleich.h"

#include <QPainter>
#include <QtTest>

namespace {

const QColor blau(0x30, 0x60, 0xc0);

// An antialiased shape on a transparent background, as the generators draw them.
QImage zeichnen(const QColor &farbe = blau, QPointF mitte = {40, 30}, QSize groesse = {80, 60})
{
    QImage bild(groesse, QImage::Format_ARGB32_Premultiplied);
    bild.fill(Qt::transparent);
    QPainter maler(&bild);
    maler.setRenderHint(QPainter::Antialiasing);
    maler.setPen(Qt::NoPen);
    maler.setBrush(farbe);
    maler.drawEllipse(mitte, 15.3, 11.7);
    return bild;
}

// What another machine's rasteriser makes of it: every colour rounded a level the other way, and
// a few edge pixels well off.
QImage andereMaschine(const QImage &bild, int kantenpixel)
{
    QImage anders = bild.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < anders.height(); ++y) {
        auto *zeile = reinterpret_cast<QRgb *>(anders.scanLine(y));
        for (int x = 0; x < anders.width(); ++x) {
            const QRgb p = zeile[x];
            const auto runden = [](int kanal) {
                return kanal < 128 ? kanal + 1 : kanal - 1;
            };
            int alpha = qAlpha(p);
            if (alpha > 0 && alpha < 255 && kantenpixel > 0) {
                alpha = alpha < 128 ? alpha + 60 : alpha - 60;
                --kantenpixel;
            }
            zeile[x] = qRgba(runden(qRed(p)), runden(qGreen(p)), runden(qBlue(p)), alpha);
        }
    }
    return anders;
}

} // namespace

class TestBildvergleich final : public QObject
{
    Q_OBJECT

private slots:
    void zeigenSieDasselbe_data()
    {
        QTest::addColumn<QList<QImage>>("einzelbilder");
        QTest::addColumn<QList<int>>("pausen");
        QTest::addColumn<int>("wiederholungen");
        QTest::addColumn<bool>("gleich");

        // Compared with an endless animation of two frames of 200 ms each.
        const QImage zweites = zeichnen(blau, {42, 30});
        QTest::newRow("same") << QList{zeichnen(), zweites} << QList{200, 200} << -1 << true;
        QTest::newRow("rounded, five edge pixels off")
            << QList{andereMaschine(zeichnen(), 5), zweites} << QList{200, 200} << -1 << true;
        QTest::newRow("other colour")
            << QList{zeichnen(QColor(0x30, 0x68, 0xc0)), zweites} << QList{200, 200} << -1 << false;
        QTest::newRow("moved a pixel")
            << QList{zeichnen(blau, {41, 30}), zweites} << QList{200, 200} << -1 << false;
        QTest::newRow("other size") << QList{zeichnen(blau, {40, 30}, {80, 61}), zweites} << QList{200, 200}
                                    << -1 << false;
        QTest::newRow("a frame less") << QList{zeichnen()} << QList{200} << -1 << false;
        QTest::newRow("slower") << QList{zeichnen(), zweites} << QList{200, 250} << -1 << false;
        QTest::newRow("runs once") << QList{zeichnen(), zweites} << QList{200, 200} << 0 << false;
    }

    void zeigenSieDasselbe()
    {
        QFETCH(QList<QImage>, einzelbilder);
        QFETCH(QList<int>, pausen);
        QFETCH(int, wiederholungen);
        QFETCH(bool, gleich);
        const Bildvergleich::Bilddatei alt{{zeichnen(), zeichnen(blau, {42, 30})}, {200, 200}, -1};
        const QString grund = Bildvergleich::unterschied({einzelbilder, pausen, wiederholungen}, alt);
        QVERIFY2(grund.isEmpty() == gleich, qPrintable(grund));
    }
};

QTEST_GUILESS_MAIN(TestBildvergleich)
#include "tst_bildvergleich.moc"
