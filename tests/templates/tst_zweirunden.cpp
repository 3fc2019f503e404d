// A question answered twice on the real pages: the result shows the first round beside the second,
// fainter, with a legend naming the rounds, in every look, size and language; a question answered
// once afterwards shows none of it.
#include "seitenansicht.h"
#include "templatetesthilfe.h"

#include <QDir>
#include <QElapsedTimer>
#include <QtTest>

namespace {

// What is wrong with the result of a question answered twice, or empty. `runde1` is the element
// carrying the first round's share of answer A: its own text, or its ::before.
QString zweiRundenPruefen(const QString &runde1, const QString &legende)
{
    return QStringLiteral(R"((function () {
        var f = [], seite = document.querySelector('.seite');
        var w = document.documentElement.clientWidth, h = document.documentElement.clientHeight;
        if (!seite.classList.contains('zweiRunden')) f.push('stage without class');
        var l = document.querySelector('.rundenLegende'), r = l && l.getBoundingClientRect();
        if (!r || r.width === 0 || l.textContent !== '%2') f.push('legend ' + (l && l.textContent));
        else if (r.left < 0 || r.top < 0 || r.right > w + 1 || r.bottom > h + 1) f.push('legend outside');
        var e = document.querySelector('%1'), p = e && e.getBoundingClientRect();
        var vor = e && getComputedStyle(e, '::before');
        // A share before another is drawn from the element's attribute.
        var text = e && e.textContent + (vor.content !== 'none' ? e.getAttribute('data-erste-runde') : '');
        if (!e || p.width === 0 || text.indexOf('50.0%') < 0) f.push('first round ' + text);
        else if (p.right > w + 1 || p.bottom > h + 1) f.push('first round outside');
        var b1 = document.querySelector('.ersteRundeBalkenA'), b2 = document.querySelector('.tabelleProzentBalkenA');
        if (!(Number(b1 ? getComputedStyle(b1).opacity : vor && vor.opacity) < 1)) f.push('not faded');
        if (b1) {
            var r1 = b1.getBoundingClientRect(), r2 = b2.getBoundingClientRect();
            if (!(r1.height > 0 && r1.right <= r2.left + 1)) f.push('bars not side by side');
        }
        return f.join(', ');
    })())")
        .arg(runde1, legende);
}

// Whatever a question answered once shows of rounds, or empty.
const QString EineRunde = QStringLiteral(R"((function () {
    var f = [];
    if (document.querySelector('.seite').classList.contains('zweiRunden')) f.push('stage class');
    document.querySelectorAll('.rundenLegende, .ersteRunde').forEach(function (e) {
        if (e.getClientRects().length) f.push('shown: ' + e.className);
    });
    if (document.querySelector('[data-erste-runde]')) f.push('first round share');
    return f.join(', ');
})())");

} // namespace

class TestZweiRunden final : public QObject
{
    Q_OBJECT

private slots:
    void ergebnis_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("groesse");
        QTest::addColumn<QString>("sprache");
        QTest::addColumn<QString>("runde1");
        const auto zeile = [](const char *name, QSize groesse, const char *sprache, const char *runde1) {
            QTest::addRow("%s %dx%d %s", name, groesse.width(), groesse.height(), sprache)
                << QString(name) << groesse << QString(sprache) << QString(runde1);
        };
        for (const QSize groesse : {QSize(1024, 768), QSize(1920, 1080)}) {
            const char *sprache = groesse.width() < 1920 ? "1031" : "1033";
            zeile("Kahoot", groesse, sprache, ".ersteRundeTextA");
            zeile("Morvane", groesse, sprache, ".prozentAntwortA");
            zeile("Tandrivelle", groesse, sprache, ".prozent_A");
        }
    }
    void ergebnis()
    {
        QFETCH(QString, name);
        QFETCH(QSize, groesse);
        QFETCH(QString, sprache);
        QFETCH(QString, runde1);
        FragenBau bau;
        allesZeigen();
        Einstellungen::setzen(Schluessel::InstallerLanguage, sprache);
        VorlagenSeite s(name, groesse);
        QVERIFY(s.ansicht.geladenAbwarten());
        const QDomElement frage =
            bau.frage("Welcher Körper fällt schneller?",
                      {"Der schwere", "Beide gleich", "Der leichte", "Keiner"}, "Answer2", "30");
        zeigen(*s.vorlage, frage);
        s.vorlage->updateCountdown(0, 30);
        s.vorlage->countdownAbgelaufen();
        s.vorlage->ersteRundeAnzeigen({50, 25, 25, 0});
        s.vorlage->richtigeAntwortAnzeigen({Person(1, 1)}, {Person(2, 1)}, "Answer2", {10, 80, 10, 0});
        const QString legende = sprache == "1033" ? "Round 1Round 2" : "1. Runde2. Runde";
        const QString fehler = s.ansicht.fehlerfreiBis(zweiRundenPruefen(runde1, legende), 20000);
        QVERIFY2(fehler.isEmpty(), qPrintable(fehler));
        const QString ordner = qEnvironmentVariable("PLENARO_SEITENBILDER");
        // For looking at the pages: PLENARO_SEITENBILDER=<folder> keeps a picture of each. The view
        // paints a while after the page has fitted, and without a graphics card slowly: the
        // picture is taken once two grabs half a second apart agree and show more than a blank page.
        QImage bild;
        QElapsedTimer seit;
        bool fertig = false;
        const auto gemalt = [&]() {
            if (fertig || (seit.isValid() && seit.elapsed() < 500))
                return fertig;
            seit.start();
            const QImage vorher = std::exchange(bild, s.ansicht.view.grab().toImage());
            QSet<QRgb> farben;
            for (int y = 0; y < bild.height(); y += 16) {
                for (int x = 0; x < bild.width(); x += 16)
                    farben.insert(bild.pixel(x, y));
            }
            fertig = farben.size() > 16 && bild == vorher;
            return fertig;
        };
        if (!ordner.isEmpty() && s.ansicht.eingepasst() && wartenBis(gemalt, 30000))
            bild.save(QDir(ordner).filePath(QString(QTest::currentDataTag()) + ".png"));

        // The next question is answered once; the game may say so with an empty first round.
        for (const bool leerGemeldet : {false, true}) {
            zeigen(*s.vorlage, frage, 2);
            if (leerGemeldet)
                s.vorlage->ersteRundeAnzeigen({});
            s.vorlage->richtigeAntwortAnzeigen({Person(1, 1)}, {}, "Answer2", {0, 100, 0, 0});
            QCOMPARE(s.ansicht.fehlerfreiBis(EineRunde, 20000), QString());
        }
    }
};

PLENARO_SEITEN_TEST_MAIN(TestZweiRunden)
#include "tst_zweirunden.moc"
