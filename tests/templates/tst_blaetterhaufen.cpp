// The real leaf page: once the wrong answers' leaves rest on the pile, with few voters (they aim at
// the stage's foot) or many (at the pile's middle), at any zoom and window size, every number can
// be read, every fallen leaf is in the window with its middle on the pile, and the right answers'
// leaves have stayed in their cells.
#include "seitenansicht.h"
#include "templatetesthilfe.h"

#include <QtTest>

namespace {

// What keeps a number from being read, one line each. Leaves 1 to `falsch` fell, up to `gezeigt`
// voted. A number sits in its leaf's middle, 60 % of it wide and a third high, and turns with it;
// sampled at 9 x 5 points, more than a tenth of one number under another hides it.
QString pruefSkript(int falsch, int gezeigt)
{
    return QStringLiteral(R"JS((function () { try {
    var falsch = %1, gezeigt = %2, fehler = [], b = window.innerWidth, h = window.innerHeight;
    var seite = document.querySelector('.seite'), skala = seite.getBoundingClientRect().width / seite.offsetWidth;
    var haufen = document.querySelector('.blaetterhaufenimg').getBoundingClientRect();
    function blatt(n) { return document.querySelector('.blatt' + n); }
    function zahl(el) {
        var r = el.getBoundingClientRect(), t = getComputedStyle(el).transform;
        var m = t === 'none' ? new DOMMatrix() : new DOMMatrix(t), w = Math.atan2(m.b, m.a);
        return {x: (r.left + r.right) / 2, y: (r.top + r.bottom) / 2, cos: Math.cos(w), sin: Math.sin(w),
                a: 0.3 * el.offsetWidth * skala, b: 0.17 * el.offsetHeight * skala};
    }
    function darin(z, x, y) {
        var dx = x - z.x, dy = y - z.y;
        return Math.abs(dx * z.cos + dy * z.sin) <= z.a && Math.abs(dy * z.cos - dx * z.sin) <= z.b;
    }
    function verdeckt(z, andere) {
        var unter = 0;
        for (var i = 0; i < 9; ++i)
            for (var j = 0; j < 5; ++j) {
                var s = ((2 * i + 1) / 9 - 1) * z.a, t = ((2 * j + 1) / 5 - 1) * z.b;
                if (darin(andere, z.x + s * z.cos - t * z.sin, z.y + s * z.sin + t * z.cos))
                    ++unter;
            }
        return unter / 45;
    }
    var zahlen = [];
    for (var n = 1; n <= falsch; ++n) {
        var el = blatt(n);
        var r = el.getBoundingClientRect();
        if (el.getAnimations().length || qt.jQuery(el).is(':animated') || r.top + r.height / 2 < haufen.top)
            return 'leaf ' + n + ' has not come to rest on the pile';
        if (r.left < -0.5 || r.top < -0.5 || r.right > b + 0.5 || r.bottom > h + 0.5)
            fehler.push('leaf ' + n + ' outside the window: ' +
                        [r.left, r.top, r.right, r.bottom].map(Math.round));
        var mx = (r.left + r.right) / 2, my = (r.top + r.bottom) / 2;
        if (mx < haufen.left || mx > haufen.right || my > haufen.bottom)
            fehler.push('leaf ' + n + ' off the pile');
        zahlen.push(zahl(el));
    }
    for (var i = 0; i < zahlen.length; ++i)
        for (var j = i + 1; j < zahlen.length; ++j) {
            var anteil = Math.max(verdeckt(zahlen[i], zahlen[j]), verdeckt(zahlen[j], zahlen[i]));
            if (anteil > 0.1)
                fehler.push('numbers ' + (i + 1) + ' and ' + (j + 1) + ' overlap by ' +
                            Math.round(anteil * 100) + ' %');
        }
    for (var n = falsch + 1; n <= gezeigt; ++n) {
        var el = blatt(n), r = el.getBoundingClientRect(), z = el.parentElement.getBoundingClientRect();
        if (Math.abs(r.left + r.right - z.left - z.right) > 2 ||
            Math.abs(r.top + r.bottom - z.top - z.bottom) > 2)
            fehler.push('leaf ' + n + ' left its cell');
    }
    return fehler.join('\n');
} catch (e) { return 'check failed: ' + e; } })())JS")
        .arg(falsch)
        .arg(gezeigt);
}

} // namespace

class TestBlaetterhaufen final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FragenBau> m_bau;

private slots:
    void init()
    {
        m_bau = std::make_unique<FragenBau>();
        allesZeigen();
    }
    void cleanup() { m_bau.reset(); }

    void zahlenLesbar_data()
    {
        QTest::addColumn<int>("falsch");
        QTest::addColumn<int>("gezeigt");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<QSize>("fenster");
        QTest::addColumn<QSize>("dann");
        const auto zeile = [](int falsch, int gezeigt, double zoom, QSize fenster, QSize dann) {
            QTest::addRow("%d of %d wrong, zoom %.1f, %dx%d, then %dx%d", falsch, gezeigt, zoom,
                          fenster.width(), fenster.height(), dann.width(), dann.height())
                << falsch << gezeigt << zoom << fenster << dann;
        };
        zeile(45, 60, 1.2, {1920, 1080}, {1024, 768});
        zeile(45, 60, 0.8, {1024, 768}, {1920, 1080});
        zeile(60, 60, 1.6, {1366, 768}, {1280, 1024});
        zeile(1, 2, 1.6, {1920, 1080}, {2560, 1440});
        zeile(1, 2, 0.8, {1000, 700}, {1280, 1024});
        zeile(4, 30, 1.2, {2560, 1440}, {1000, 700});
    }
    // After a result the numbers of the fallen leaves can be read, and still can once the window
    // has changed size.
    void zahlenLesbar()
    {
        QFETCH(int, falsch);
        QFETCH(int, gezeigt);
        QFETCH(double, zoom);
        QFETCH(QSize, fenster);
        QFETCH(QSize, dann);
        VorlagenSeite s(QStringLiteral("Tandrivelle"), fenster);
        QVERIFY(s.ansicht.geladenAbwarten());
        s.ansicht.bruecke->setZoomFaktor(zoom);
        zeigen(*s.vorlage, m_bau->frage("Frage", {"Eins", "Zwei"}, "Answer1", "15"));
        QList<Person> richtig;
        QList<Person> falsche;
        for (uint geraet = 1; geraet <= uint(gezeigt); ++geraet) {
            s.vorlage->geraeteIDAnzeigen(1, geraet, int(geraet) <= falsch ? 2 : 1);
            (int(geraet) <= falsch ? falsche : richtig) << Person(geraet, 1);
        }
        s.vorlage->countdownAbgelaufen();
        s.vorlage->richtigeAntwortAnzeigen(richtig, falsche, QStringLiteral("Answer1"),
                                           {50.0, 50.0, 0.0, 0.0});
        const QString pruefen = pruefSkript(falsch, gezeigt);
        QString fehler = s.ansicht.fehlerfreiBis(pruefen, 40000);
        QVERIFY2(fehler.isEmpty(), qPrintable(fehler));

        QVERIFY(s.ansicht.groesseAendern(dann));
        fehler = s.ansicht.fehlerfreiBis(pruefen, 40000);
        QVERIFY2(fehler.isEmpty(), qPrintable(QStringLiteral("after resizing:\n") + fehler));
    }
};

PLENARO_SEITEN_TEST_MAIN(TestBlaetterhaufen)
#include "tst_blaetterhaufen.moc"
