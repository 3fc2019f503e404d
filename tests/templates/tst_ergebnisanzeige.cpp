// The real pages in the result. Every answer still shows its letter, and the solution carries a
// mark that is a shape (a tick, a frame), not only a colour; before it and after it none shows. A
// question voted on twice shows both rounds.
// On the leaf page, once the wrong answers' leaves rest on the pile, with few voters (they aim at
// the stage's foot) or many (at the pile's middle), at any zoom and window size, every number can
// be read, every fallen leaf is in the window with its middle on the pile, and the right answers'
// leaves have stayed in their cells.
#include "fragedatei.h"
#include "seitenansicht.h"
#include "templatetesthilfe.h"

#include <QtTest>

namespace {

// In the page: `sichtbar(el)` when el is laid out, inside the window, not hidden and not faded to
// near nothing; `nachSelektor(s)` finds one element.
const QString Hilfen = QStringLiteral(R"JS(
    function sichtbar(el) {
        var r = el && el.getBoundingClientRect(), s = el && getComputedStyle(el);
        if (!el || r.width < 1 || r.height < 1 || r.right < 0 || r.bottom < 0 || r.left > window.innerWidth ||
            r.top > window.innerHeight || s.visibility === 'hidden' || s.display === 'none')
            return false;
        var deckung = 1;
        for (var e = el; e; e = e.parentElement)
            deckung *= parseFloat(getComputedStyle(e).opacity);
        return deckung >= 0.4;
    }
    function nachSelektor(s) { return document.querySelector(s); }
    function tickGezeigt(el, teil) {
        if (!sichtbar(el)) return false;
        var s = getComputedStyle(el, teil);
        return s.content !== 'none' && s.display !== 'none' && s.backgroundImage.indexOf('svg') >= 0 &&
            parseFloat(s.width) >= 20 && parseFloat(s.height) >= 20;
    }
    function rahmen(el) {
        return sichtbar(el) && /inset/.test(getComputedStyle(el).boxShadow);
    }
)JS");

struct Vorlage
{
    QString name;
    // The element showing answer b's letter ("b" is replaced by the letter).
    QString buchstabe;
    // True in the page when answer b carries the solution's mark that is not a colour.
    QString zeichen;
};

const QList<Vorlage> Vorlagen{
    {QStringLiteral("Morvane"), QStringLiteral("nachSelektor('.taste' + b)"),
     QStringLiteral("tickGezeigt(nachSelektor('.kachel' + b), '::after') && "
                    "tickGezeigt(nachSelektor('.taste' + b), '::after')")},
    {QStringLiteral("Tandrivelle"), QStringLiteral("nachSelektor('.' + b + '_mit_Rand_Image')"),
     QStringLiteral("sichtbar(nachSelektor('.imghaken_' + b)) && "
                    "rahmen(nachSelektor('.imghaken_' + b).closest('.antwortZeile'))")},
    {QStringLiteral("Kahoot"), QStringLiteral("nachSelektor('.antwort' + b + ' .buchstabeAntwort')"),
     QStringLiteral("sichtbar(nachSelektor('.hakenAntwort' + b)) && rahmen(nachSelektor('.antwort' + b))")},
};

// Empty once the page shows `erwartet`, else what it shows: for each letter, in order, '1' when
// the letter shows, '0' when not; then '|' and the same for the solution's mark ("1111|0100" says
// all letters show and B is marked); with `zaehlen`, then '|' and how many elements carry any mark
// of a result.
QString standSkript(const Vorlage &v, const QString &erwartet, bool zaehlen = true)
{
    return QStringLiteral("(function () { try { %1 "
                          "var b, l = '', z = ''; "
                          "['A', 'B', 'C', 'D'].forEach(function (x) { b = x; "
                          "var e = %2; "
                          "l += sichtbar(e) && (e.textContent.trim() === b || e.alt === b) ? '1' : '0'; "
                          "z += (%3) ? '1' : '0'; }); "
                          "var s = l + '|' + z; "
                          "if (%5) s += '|' + document.querySelectorAll('.richtigeAntwort, .richtigesGeraet, "
                          ".ergebnisAnzeige, .loesungGezeigt').length; "
                          "return s === '%4' ? '' : s; } catch (e) { return 'error: ' + e; } })()")
        .arg(Hilfen, v.buchstabe, v.zeichen, erwartet,
             zaehlen ? QStringLiteral("true") : QStringLiteral("false"));
}

// What keeps a number from being read, one line each. Leaves 1 to `falsch` fell, up to `gezeigt`
// voted. A number sits in its leaf's middle, 60 % of it wide and a third high, and turns with it;
// sampled at 9 x 5 points, more than a tenth of one number under another hides it.
QString haufenSkript(int falsch, int gezeigt)
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

} // namespace

class TestErgebnisanzeige final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FragenBau> m_bau;

    QDomElement frage(const QString &loesung, bool bilder)
    {
        QList<QPair<QString, QString>> felder;
        for (int i = 1; bilder && i <= 4; ++i)
            felder.append({QStringLiteral("PictureAnswer%1").arg(i), m_bau->bild("antwort.png", 120)});
        return m_bau->frage("Welche Antwort?", {"Erste", "Zweite", "Dritte", "Vierte"}, loesung, "15",
                            felder);
    }

private slots:
    void init()
    {
        m_bau = std::make_unique<FragenBau>();
        allesZeigen();
    }
    void cleanup() { m_bau.reset(); }

    void loesungszeichen_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("loesungZeigen");
        for (int i = 0; i < Vorlagen.size(); ++i) {
            QTest::addRow("%s", qPrintable(Vorlagen[i].name)) << i << true;
            QTest::addRow("%s, solution switched off", qPrintable(Vorlagen[i].name)) << i << false;
        }
    }
    // Each answer in turn is the solution, with text answers and with picture answers (which the
    // program marks differently), then a poll: the letters always show in the result, the mark
    // only on the solution, and nothing of it before the result or with the next question. With
    // the solution switched off the program shows no solution, and neither does the page.
    void loesungszeichen()
    {
        QFETCH(int, index);
        QFETCH(bool, loesungZeigen);
        const Vorlage &v = Vorlagen[index];
        Einstellungen::setzen(Schluessel::LoesungAnzeigen, QVariant(loesungZeigen).toString());
        VorlagenSeite s(v.name, QSize(1920, 1080), {79, 59, 1234, 5000, 20, 70, 300, 100});
        QVERIFY(s.ansicht.geladenAbwarten());
        // Kahoot names its answers by symbol until the result; the others show letters throughout.
        const QString vorher =
            (v.name == QLatin1String("Kahoot") ? QStringLiteral("0000") : QStringLiteral("1111")) + "|0000|0";
        int nummer = 0;
        for (const bool bilder : {false, true}) {
            for (int i = 0; i < 5; ++i) {
                const bool umfrage = i == 4;
                const QString loesung = umfrage ? FrageDatei::Umfrage : QStringLiteral("Answer%1").arg(i + 1);
                const QString stelle =
                    QStringLiteral("%1, %2, %3").arg(v.name, bilder ? "pictures" : "texts", loesung);
                zeigen(*s.vorlage, frage(loesung, bilder), ++nummer);
                for (uint geraet = 1; geraet <= 6; ++geraet)
                    s.vorlage->geraeteIDAnzeigen(1, geraet, 1 + geraet % 4);
                s.vorlage->updateCountdown(14, 15);
                QString f2 = s.ansicht.fehlerfreiBis(standSkript(v, vorher), 10000);
                QVERIFY2(f2.isEmpty(), qPrintable(stelle + ", countdown: " + f2 + " instead of " + vorher));

                s.vorlage->countdownAbgelaufen();
                s.vorlage->updateCountdown(0, 15);
                s.vorlage->richtigeAntwortAnzeigen({Person(1, 1), Person(2, 1)}, {Person(3, 1)}, loesung,
                                                   {10.0, 40.0, 30.0, 20.0});
                if (!loesungZeigen) {
                    // What the page shows then is read at once: no mark may come of the statements.
                    const QString gezeigt = s.ansicht.lesen(standSkript(v, QString(), false)).toString();
                    QVERIFY2(gezeigt.endsWith(QLatin1String("|0000")), qPrintable(stelle + ": " + gezeigt));
                    QCOMPARE(s.ansicht
                                 .lesen("document.querySelectorAll('.richtigeAntwort, .richtigesGeraet, "
                                        ".loesungGezeigt').length")
                                 .toInt(),
                             0);
                    continue;
                }
                QString marken = QStringLiteral("0000");
                if (!umfrage)
                    marken[i] = QLatin1Char('1');
                // Without a solution Morvane and Tandrivelle show their usual letters, Kahoot its
                // letters with the chart.
                const QString erwartet = QStringLiteral("1111|") + marken;
                f2 = s.ansicht.fehlerfreiBis(standSkript(v, erwartet, false), 10000);
                QVERIFY2(f2.isEmpty(), qPrintable(stelle + ", result: " + f2 + " instead of " + erwartet));
            }
        }
        // The next question takes every mark back.
        zeigen(*s.vorlage, frage(QStringLiteral("Answer1"), false), ++nummer);
        const QString f2 = s.ansicht.fehlerfreiBis(standSkript(v, vorher), 10000);
        QVERIFY2(f2.isEmpty(), qPrintable(v.name + ", next question: " + f2));
    }

    void blaetterZahlenLesbar_data()
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
    void blaetterZahlenLesbar()
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
        const QString pruefen = haufenSkript(falsch, gezeigt);
        QString fehler = s.ansicht.fehlerfreiBis(pruefen, 40000);
        QVERIFY2(fehler.isEmpty(), qPrintable(fehler));

        QVERIFY(s.ansicht.groesseAendern(dann));
        fehler = s.ansicht.fehlerfreiBis(pruefen, 40000);
        QVERIFY2(fehler.isEmpty(), qPrintable(QStringLiteral("after resizing:\n") + fehler));
    }

    void zweiRunden_data()
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
    // A question voted on twice shows the first round beside the second, fainter, with a legend
    // naming the rounds (the smaller window in German, the larger in English); the next question,
    // voted on once, shows none of it.
    void zweiRunden()
    {
        QFETCH(QString, name);
        QFETCH(QSize, groesse);
        const bool englisch = groesse.width() > 1024;
        Einstellungen::setzen(Schluessel::InstallerLanguage, englisch ? "1033" : "1031");
        VorlagenSeite s(name, groesse);
        QVERIFY(s.ansicht.geladenAbwarten());
        const QDomElement frage =
            m_bau->frage("Welcher Körper fällt schneller?",
                         {"Der schwere", "Beide gleich", "Der leichte", "Keiner"}, "Answer2", "30");
        zeigen(*s.vorlage, frage);
        s.vorlage->updateCountdown(0, 30);
        s.vorlage->countdownAbgelaufen();
        s.vorlage->ersteRundeAnzeigen({50, 25, 25, 0});
        s.vorlage->richtigeAntwortAnzeigen({Person(1, 1)}, {Person(2, 1)}, "Answer2", {10, 80, 10, 0});
        const QString legende = englisch ? "Round 1Round 2" : "1. Runde2. Runde";
        QCOMPARE(s.ansicht.fehlerfreiBis(ZweiRunden.arg(legende), 20000), QString());

        zeigen(*s.vorlage, frage, 2);
        s.vorlage->richtigeAntwortAnzeigen({Person(1, 1)}, {}, "Answer2", {0, 100, 0, 0});
        QCOMPARE(s.ansicht.fehlerfreiBis(EineRunde, 20000), QString());
    }
};

PLENARO_SEITEN_TEST_MAIN(TestErgebnisanzeige)
#include "tst_ergebnisanzeige.moc"
