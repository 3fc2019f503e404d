// The real pages: in the result every answer still shows its letter, and the solution carries a
// mark that is a shape (a tick, a frame), not only a colour; before it and after it none shows.
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

} // namespace

class TestLoesungszeichen final : public QObject
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

    void vorlagen_data()
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
    void vorlagen()
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
};

PLENARO_SEITEN_TEST_MAIN(TestLoesungszeichen)
#include "tst_loesungszeichen.moc"
