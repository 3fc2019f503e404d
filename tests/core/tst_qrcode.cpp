#include "qrcode.h"

#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

using Matrix = QVector<QVector<bool>>;

const QByteArray Adresse = QByteArrayLiteral("http://192.168.178.24:8080/?code=4711");

// The 7 x 7 finder pattern with its top left module at (x, y): dark ring, light ring, dark 3 x 3
// centre.
bool suchmuster(const Matrix &m, int x, int y)
{
    for (int dy = 0; dy < 7; ++dy)
        for (int dx = 0; dx < 7; ++dx) {
            const int ring = std::min({dx, dy, 6 - dx, 6 - dy});
            if (m[y + dy][x + dx] != (ring != 1))
                return false;
        }
    return true;
}

// What the picture is made of: its box and edges, how many paths and rectangles, the last path.
struct Bild
{
    QString viewBox, kanten, pfad, fehler;
    int pfade = 0, rechtecke = 0;
};

Bild lesen(const QString &svg)
{
    Bild bild;
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto a = xml.attributes();
        if (xml.name() == QLatin1String("svg")) {
            bild.viewBox = a.value(QLatin1String("viewBox")).toString();
            bild.kanten = a.value(QLatin1String("shape-rendering")).toString();
        } else if (xml.name() == QLatin1String("path")) {
            ++bild.pfade;
            bild.pfad = a.value(QLatin1String("d")).toString();
        } else if (xml.name() == QLatin1String("rect")) {
            ++bild.rechtecke;
        }
    }
    if (xml.hasError())
        bild.fehler = xml.errorString();
    return bild;
}

} // namespace

class TestQrCode final : public QObject
{
    Q_OBJECT

private slots:
    void eineAdresseGibtEinQuadratMitSuchmusternUndSeinBild()
    {
        const Matrix m = QrCode::module(Adresse);
        const int n = int(m.size());
        // The encoder's own structure is its business; read out of it right, the square has its
        // finder patterns in three corners only.
        QVERIFY(n >= 21);
        for (const auto &zeile : m)
            QCOMPARE(int(zeile.size()), n);
        QVERIFY(suchmuster(m, 0, 0));
        QVERIFY(suchmuster(m, n - 7, 0));
        QVERIFY(suchmuster(m, 0, n - 7));
        QVERIFY(!suchmuster(m, n - 7, n - 7));
        QVERIFY(QrCode::module(Adresse + '2') != m);

        // The picture draws exactly the dark modules, shifted by the quiet zone, and nothing else.
        const Bild bild = lesen(QrCode::svg(Adresse));
        QVERIFY2(bild.fehler.isEmpty(), qPrintable(bild.fehler));
        QCOMPARE(bild.viewBox, QStringLiteral("0 0 %1 %1").arg(n + 8));
        QCOMPARE(bild.kanten, QStringLiteral("crispEdges"));
        QCOMPARE(bild.pfade, 1);
        QCOMPARE(bild.rechtecke, 1);

        // One run of dark modules after the other, each a rectangle one module high.
        Matrix gezeichnet(n + 8, QVector<bool>(n + 8, false));
        static const QRegularExpression stueck(QStringLiteral("M(\\d+) (\\d+)h(\\d+)v1h-\\3z"));
        qsizetype bis = 0;
        for (auto it = stueck.globalMatch(bild.pfad); it.hasNext();) {
            const auto treffer = it.next();
            QCOMPARE(treffer.capturedStart(), bis);
            bis = treffer.capturedEnd();
            const int x = treffer.captured(1).toInt(), y = treffer.captured(2).toInt();
            const int laenge = treffer.captured(3).toInt();
            QVERIFY(y < n + 8 && x + laenge <= n + 8);
            for (int i = 0; i < laenge; ++i) {
                QVERIFY2(!gezeichnet[y][x + i], "drawn twice");
                gezeichnet[y][x + i] = true;
            }
        }
        QCOMPARE(bis, bild.pfad.size());
        for (int y = 0; y < n + 8; ++y)
            for (int x = 0; x < n + 8; ++x) {
                const bool innen = x >= 4 && y >= 4 && x < n + 4 && y < n + 4;
                QCOMPARE(gezeichnet[y][x], innen && m[y - 4][x - 4]);
            }
    }

    void nichtsOderZuVielGibtKeinBild_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("seite");
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("largest that fits at level M") << QByteArray(2331, 'a') << 177;
        QTest::newRow("one byte more") << QByteArray(2332, 'a') << 0;
        QTest::newRow("zero bytes inside") << QByteArray("a\0b", 3) << 21;
    }
    void nichtsOderZuVielGibtKeinBild()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, seite);
        QCOMPARE(int(QrCode::module(text).size()), seite);
        const QString svg = QrCode::svg(text);
        QCOMPARE(svg.isEmpty(), seite == 0);
        if (seite > 0)
            QCOMPARE(lesen(svg).viewBox, QStringLiteral("0 0 %1 %1").arg(seite + 8));
    }
};

QTEST_GUILESS_MAIN(TestQrCode)
#include "tst_qrcode.moc"
