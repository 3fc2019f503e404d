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
    // Compared with an endless animation of two frames of 200 ms each; the second frame is the same
    // in every row, and there are as many frames as pauses.
    void zeigenSieDasselbe_data()
    {
        QTest::addColumn<QImage>("erstes");
        QTest::addColumn<QList<int>>("pausen");
        QTest::addColumn<int>("wiederholungen");
        QTest::addColumn<bool>("gleich");
        QTest::newRow("same") << zeichnen() << QList{200, 200} << -1 << true;
        QTest::newRow("rounded, five edge pixels off")
            << andereMaschine(zeichnen(), 5) << QList{200, 200} << -1 << true;
        QTest::newRow("other colour") << zeichnen(QColor(0x30, 0x68, 0xc0)) << QList{200, 200} << -1 << false;
        QTest::newRow("moved a pixel") << zeichnen(blau, {41, 30}) << QList{200, 200} << -1 << false;
        QTest::newRow("other size") << zeichnen(blau, {40, 30}, {80, 61}) << QList{200, 200} << -1 << false;
        QTest::newRow("a frame less") << zeichnen() << QList{200} << -1 << false;
        QTest::newRow("slower") << zeichnen() << QList{200, 250} << -1 << false;
        QTest::newRow("runs once") << zeichnen() << QList{200, 200} << 0 << false;
    }

    void zeigenSieDasselbe()
    {
        QFETCH(QImage, erstes);
        QFETCH(QList<int>, pausen);
        QFETCH(int, wiederholungen);
        QFETCH(bool, gleich);
        const QList<QImage> beide{erstes, zeichnen(blau, {42, 30})};
        const Bildvergleich::Bilddatei alt{{zeichnen(), beide.at(1)}, {200, 200}, -1};
        const QString grund =
            Bildvergleich::unterschied({beide.mid(0, pausen.size()), pausen, wiederholungen}, alt);
        QVERIFY2(grund.isEmpty() == gleich, qPrintable(grund));
    }
};

QTEST_GUILESS_MAIN(TestBildvergleich)
#include "tst_bildvergleich.moc"
