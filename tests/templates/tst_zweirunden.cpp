// A question voted on twice on the real pages: the result shows the first round beside the second,
// fainter, with a legend naming the rounds, in every look, size and language; a question voted on
// once afterwards shows none of it.
#include "seitenansicht.h"
#include "templatetesthilfe.h"

#include <QDir>
#include <QElapsedTimer>
#include <QtTest>

namespace {

// What is wrong with the result of a question voted on twice, or empty: the legend, and answer A's
// first share (its own element, or the ::before of the second's) faded, in the window, and for
// bars beside the second's.
const QString ZweiRunden = QStringLiteral(R"((function () {
    var f = [], w = innerWidth, h = innerHeight, innen = function (r) { return r.width > 0 && r.right <= w + 1 && r.bottom <= h + 1; };
    if (!document.querySelector('.seite').classList.contains('zweiRunden')) f.push('stage without class');
    var l = document.querySelector('.rundenLegende');
    if (!innen(l.getBoundingClientRect()) || l.textContent !== '%1') f.push('legend ' + l.textContent);
    var e = document.querySelector('.ersteRundeTextA, .prozentAntwortA, .prozent_A'), vor = getComputedStyle(e, '::before');
    var text = e.textContent + (vor.content !== 'none' ? e.getAttribute('data-erste-runde') : '');
    if (!innen(e.getBoundingClientRect()) || text.indexOf('50.0%') < 0) f.push('first round ' + text);
    var b1 = document.querySelector('.ersteRundeBalkenA'), b2 = document.querySelector('.tabelleProzentBalkenA');
    if (!(Number(b1 ? getComputedStyle(b1).opacity : vor.opacity) < 1)) f.push('not faded');
    if (b1 && !(b1.getBoundingClientRect().height > 0 && b1.getBoundingClientRect().right <= b2.getBoundingClientRect().left + 1))
        f.push('bars not side by side');
    return f.join(', ');
})())");

// Whatever a question voted on once shows of rounds, or empty.
const QString EineRunde = QStringLiteral(R"((function () {
    var f = document.querySelector('.seite').classList.contains('zweiRunden') ? ['stage class'] : [];
    document.querySelectorAll('.rundenLegende, .ersteRunde, [data-erste-runde]').forEach(function (e) {
        if (e.getClientRects().length || e.hasAttribute('data-erste-runde')) f.push('shown: ' + e.className);
    });
    return f.join(', ');
})())");

// PLENARO_SEITENBILDER=<folder> keeps a picture of each page, for looking at them. The view paints
// a while after the page has fitted (slowly without a graphics card): the picture is taken once
// two grabs a second apart agree and show more than a blank page.
void bildBehalten(QWebEngineView &view)
{
    const QString ordner = qEnvironmentVariable("PLENARO_SEITENBILDER");
    QImage bild;
    QElapsedTimer seit;
    bool fertig = false;
    if (!ordner.isEmpty() &&
        wartenBis(
            [&]() {
                if (fertig || (seit.isValid() && seit.elapsed() < 1000))
                    return fertig;
                seit.start();
                const QImage vorher = std::exchange(bild, view.grab().toImage());
                QSet<QRgb> farben;
                for (int i = 0; i < 1024; ++i)
                    farben.insert(bild.pixel(i % 32 * bild.width() / 32, i / 32 * bild.height() / 32));
                return fertig = farben.size() > 16 && bild == vorher;
            },
            30000))
        bild.save(QDir(ordner).filePath(QString(QTest::currentDataTag()) + ".png"));
}

} // namespace

class TestZweiRunden final : public QObject
{
    Q_OBJECT

private slots:
    void ergebnis_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("groesse");
        for (const QSize groesse :
             {QSize(1024, 768), QSize(1366, 768), QSize(1920, 1080), QSize(3840, 2160)}) {
            for (const char *name : {"Kahoot", "Morvane", "Tandrivelle"})
                QTest::addRow("%s %dx%d", name, groesse.width(), groesse.height())
                    << QString(name) << groesse;
        }
    }
    // The smaller window in German, the larger in English.
    void ergebnis()
    {
        QFETCH(QString, name);
        QFETCH(QSize, groesse);
        FragenBau bau;
        allesZeigen();
        const bool englisch = groesse.width() > 1024;
        Einstellungen::setzen(Schluessel::InstallerLanguage, englisch ? "1033" : "1031");
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
        const QString legende = englisch ? "Round 1Round 2" : "1. Runde2. Runde";
        QCOMPARE(s.ansicht.fehlerfreiBis(ZweiRunden.arg(legende), 20000), QString());
        if (s.ansicht.eingepasst())
            bildBehalten(s.ansicht.view);

        // The next question is voted on once.
        zeigen(*s.vorlage, frage, 2);
        s.vorlage->richtigeAntwortAnzeigen({Person(1, 1)}, {}, "Answer2", {0, 100, 0, 0});
        QCOMPARE(s.ansicht.fehlerfreiBis(EineRunde, 20000), QString());
    }
};

PLENARO_SEITEN_TEST_MAIN(TestZweiRunden)
#include "tst_zweirunden.moc"
