// The real pages: statements run on them without a script error, they reach a page in order even
// while it is on its way, what is shown fits every window, and what the class must read can be read.
#include "fakebruecke.h"
#include "fragedatei.h"
#include "geraetschluessel.h"
#include "qrcode.h"
#include "rangliste.h"
#include "seitenansicht.h"
#include "startscreen.h"
#include "templatetesthilfe.h"

#include <QRegularExpression>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QtTest>

namespace {

// What the first group of `muster` matches in the statements, each once.
QStringList treffer(const QStringList &anweisungen, const QString &muster)
{
    const QRegularExpression ausdruck(muster);
    QStringList gefunden;
    for (const QString &anweisung : anweisungen) {
        for (auto it = ausdruck.globalMatch(anweisung); it.hasNext();)
            gefunden.append(it.next().captured(1));
    }
    gefunden.removeDuplicates();
    return gefunden;
}

// A text with the characters that could end a statement's string, and how a page must show it:
// markup as markup, line breaks as breaks, quotes and backslashes as they are.
const QString Zeilentrenner = QString(QChar(0x2028));
const QString Boese = "Er sagt \"it's\" \\ </script><b>x</b>\r\nZeile" + Zeilentrenner + "Ende";
const QString BoeseGezeigt = "Er sagt \"it's\" \\ <b>x</b><br>Zeile<br>Ende";

// Everything a template sends through one question with pictures and through a text question, a
// vote in conference mode, and then a question with what must be escaped.
QStringList vorlagenAnweisungen(const QString &name, FragenBau &bau)
{
    FakeBruecke fake;
    fake.antworter = [](const QString &ausdruck) -> QVariant {
        if (ausdruck.contains(QLatin1String("offsetTop")))
            return QVariantMap{{"left", 10}, {"top", 10}};
        return 100;
    };
    TestUhr uhr;
    FesterZufall zufall({79, 59, 1234, 5000, 20, 70, 300, 100});
    auto vorlage = templateErzeugen(name, fake, uhr, zufall);
    const QString bild = bau.bild("bild.png", 100);
    QList<QPair<QString, QString>> bilder{{"PictureQuestionText", bild}};
    for (int i = 1; i <= 4; ++i)
        bilder.append({QStringLiteral("PictureAnswer%1").arg(i), bild});
    for (const QDomElement &frage : {bau.frage("Frage mit Bild", {"a"}, "Answer2", "12", bilder),
                                     bau.frage("Wie geht's?\nGut", {"a", "b", "c", "d"}, "Answer1", "120")}) {
        zeigen(*vorlage, frage);
        for (const uint geraet : {1u, 2u, 60u, 1u})
            vorlage->geraeteIDAnzeigen(1, geraet, 2);
        for (const int rest : {119, 15, 4, 2, 0})
            vorlage->updateCountdown(rest, 120);
        vorlage->countdownAbgelaufen();
        vorlage->richtigeAntwortAnzeigen({Person(1, 1)}, {Person(2, 1), Person(60, 1)},
                                         FrageDatei::feld(frage, "Solution"), {25, 25, 50, 0});
    }
    Einstellungen::setzen(Schluessel::Konferenzmodus, QStringLiteral("true"));
    vorlage->geraeteIDAnzeigen(1, 5, 1);
    // Answer A's picture has an awkward name, B's is missing.
    const QString seltsam = bau.bild("O'Brien #1 100% \"x\" ?" + Zeilentrenner + ".png", 60);
    zeigen(*vorlage, bau.frage(Boese, {"a", "b", Boese, "</script>'"}, "Answer3", "1'5\"\\</script>",
                               {{"PictureAnswer1", seltsam}, {"PictureAnswer2", "fehlt \"'.png"}}));
    return fake.nehmen();
}

// Every look of the start screen, with handsets, phones and the receiver, the last in English.
QStringList startAnweisungen()
{
    FakeBruecke fake;
    TestUhr uhr;
    startscreen start(uhr);
    start.brueckeSetzen(&fake);
    for (const char *name : {"Morvane", "Tandrivelle"}) {
        start.templateSetzen(QString::fromLatin1(name));
        start.geraeteIDAnzeigen(1, 1, 1);
        uhr.vorspulen(500);
        start.geraeteIDAnzeigen(1, 1, 1);
        start.geraeteIDAnzeigen(1, 60, 4);
        start.iconEmpfaengerErkanntAnzeigen();
        start.iconEmpfaengerErkanntVerbergen();
        start.senderAnimationNeuStarten();
        start.handyBeitrittZeigen(QStringLiteral("http://192.168.1.20:8080"), QStringLiteral("4711"),
                                  QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\"/>"));
        start.handyBeitrittVerbergen();
    }
    Einstellungen::setzen(Schluessel::InstallerLanguage, QStringLiteral("1033"));
    start.templateSetzen(QStringLiteral("Kahoot"));
    return fake.nehmen();
}

// 300 characters of question, 120 per answer, and words of 40 letters.
const QString LangeFrage = QStringLiteral(
    "Stellen Sie sich vor, Ihre Klasse plant einen Ausflug an einen See, der drei Stunden Fahrt "
    "entfernt liegt, und das Budget reicht nur für eine der folgenden Möglichkeiten, wobei alle "
    "Schülerinnen und Schüler mitkommen sollen und niemand etwas zahlen muss: Welche "
    "Möglichkeit würden Sie für die Klasse wählen?");
const QString LangeAntwort =
    QStringLiteral("Einen gemieteten Reisebus für die ganze Klasse, der am Morgen direkt vor dem Schulhaus "
                   "abfährt und abends zurückkehrt!");
const QString LangesWort = QStringLiteral("Donaudampfschifffahrtsgesellschaftsboote");

// Everything that is wrong with the page's fit, one line each; empty when it fits. `boxen` are the
// answer boxes (they must not overlap; at least two show), `texte` the boxes whose text must not
// overflow (at least one shows), `sichtbar` further elements that must be inside the window (each
// selector shows one at least), `breit` what together spans most of the window's width, with no
// wide empty bands beside it.
QString pruefSkript(const QString &boxen, const QString &texte, const QString &sichtbar,
                    const QString &breit = QString())
{
    return QStringLiteral(R"JS((function () { try {
    var fehler = [];
    var b = window.innerWidth, h = window.innerHeight, d = document.documentElement;
    if (d.scrollWidth > b || d.scrollHeight > h)
        fehler.push('page ' + d.scrollWidth + 'x' + d.scrollHeight + ' in window ' + b + 'x' + h);
    function zeigt(el) {
        var r = el.getBoundingClientRect();
        return r.width > 0 && r.height > 0 && getComputedStyle(el).visibility !== 'hidden';
    }
    function name(el) { return el.className || el.tagName; }
    function drin(el) {
        var r = el.getBoundingClientRect();
        if (r.left < -0.5 || r.top < -0.5 || r.right > b + 0.5 || r.bottom > h + 0.5)
            fehler.push(name(el) + ' outside the window: ' + [r.left, r.top, r.right, r.bottom].join(','));
    }
    var boxen = Array.from(document.querySelectorAll('%1')).filter(zeigt);
    if (boxen.length < 2) fehler.push(boxen.length + ' boxes of %1 shown');
    boxen.forEach(drin);
    for (var i = 0; i < boxen.length; ++i)
        for (var j = i + 1; j < boxen.length; ++j) {
            var r = boxen[i].getBoundingClientRect(), s = boxen[j].getBoundingClientRect();
            if (Math.min(r.right, s.right) - Math.max(r.left, s.left) > 1 &&
                Math.min(r.bottom, s.bottom) - Math.max(r.top, s.top) > 1)
                fehler.push(name(boxen[i]) + ' overlaps ' + name(boxen[j]));
        }
    var texte = Array.from(document.querySelectorAll('%2')).filter(zeigt);
    if (!texte.length) fehler.push('no text of %2 shown');
    texte.forEach(function (el) {
        drin(el);
        if (el.scrollHeight > el.clientHeight + 1 || el.scrollWidth > el.clientWidth + 1)
            fehler.push(name(el) + ' overflows: ' + el.scrollWidth + 'x' + el.scrollHeight + ' in ' +
                        el.clientWidth + 'x' + el.clientHeight);
    });
    '%3'.split(',').filter(function (s) { return s.trim(); }).forEach(function (selektor) {
        var alle = Array.from(document.querySelectorAll(selektor));
        if (!alle.length) fehler.push('nothing matches ' + selektor);
        alle.forEach(function (el) { zeigt(el) ? drin(el) : fehler.push(name(el) + ' not shown'); });
    });
    if ('%4') {
        var links = b, rechts = 0;
        document.querySelectorAll('%4').forEach(function (el) {
            links = Math.min(links, el.getBoundingClientRect().left);
            rechts = Math.max(rechts, el.getBoundingClientRect().right);
        });
        if (rechts - links < 0.85 * b) fehler.push('%4 spans ' + (rechts - links) + ' of ' + b);
    }
    return fehler.join('\n');
} catch (e) { return 'check failed: ' + e; } })())JS")
        .arg(boxen, texte, sichtbar, breit);
}

// What keeps the texts of `texte` (the question's and the answers') from being read, one line each:
// each fits its box in a font the back row reads (2.2 % of the window's height, in the pixels seen),
// broken rather than shrunk further; the word that fits, answer C's, stays whole.
QString lesbarSkript(const QString &texte)
{
    return QStringLiteral(R"JS((function () {
    var s = document.querySelector('.seite'), d = window.devicePixelRatio, f = [];
    var skala = s.getBoundingClientRect().width / s.offsetWidth * d, lesbar = 0.022 * window.innerHeight * d - 0.5;
    var texte = document.querySelectorAll('%1');
    if (texte.length !== 5) f.push(texte.length + ' texts');
    texte.forEach(function (e) {
        var schrift = parseFloat(getComputedStyle(e).fontSize) * skala;
        if (e.scrollHeight > e.clientHeight + 1 || e.scrollWidth > e.clientWidth + 1 || schrift < lesbar)
            f.push(e.className + ': ' + schrift + ' px, readable from ' + lesbar);
    });
    if (!texte[3].classList.contains('woerterGanz')) f.push(texte[3].className);
    return f.join('\n');
})())JS")
        .arg(texte);
}

// `mitBildern`: the question's text and picture and answer A's text and picture, all seen; `frei`:
// the element the pause sign may cover; `breit`: what spans most of a window's width, also a wide one;
// `cd`: the elements of answers C and D, and whether each shows in a question with three answers
// (the blue look keeps its tile; the others draw nothing there); `buchstabe`: the element showing
// answer b's letter; `zeichen`: true in the page when answer b carries the solution's mark that is
// not a colour (in both, "b" is replaced by the letter).
struct Vorlage
{
    QString name, boxen, texte, countdown, mitBildern, frei, breit, cd, cdGezeigt, buchstabe, zeichen;
};

const QList<Vorlage> Vorlagen{
    {"Morvane", ".imgAntwort, .mitBeschriftung .textAntwort", ".textFrage, .textAntwort", ".text_progressbar",
     ".textFrage, .imgfrageMorvane, .textAntwortA, .imgAntwortA", ".countdown", ".antwortTabelle",
     "'.imgAntwortC', '.imgAntwortD'", "true,true", "nachSelektor('.taste' + b)",
     "tickGezeigt(nachSelektor('.kachel' + b), '::after') && tickGezeigt(nachSelektor('.taste' + b), "
     "'::after')"},
    {"Tandrivelle", ".antwortZeile", ".textFrage, .antwortText", ".text_progressbar, .balkenSchiene",
     ".textFrage, .imgfrage, .textAntwortA, .imgantworttext_a", ".blaetterhaufen", ".hauptbereich, .baum",
     "'.antwortZeile:nth-child(3)', '.antwortZeile:nth-child(4)'", "true,false",
     "nachSelektor('.' + b + '_mit_Rand_Image')",
     "sichtbar(nachSelektor('.imghaken_' + b)) && rahmen(nachSelektor('.imghaken_' + "
     "b).closest('.antwortZeile'))"},
    {"Kahoot", ".antwort", ".textFrage, .antwortText", ".circle",
     ".textFrage, .imgfrageKahoot, .textAntwortA, .imgAntwortA", ".zentrum", ".antworten",
     "'.antwortC', '.antwortD'", "true,false", "nachSelektor('.antwort' + b + ' .buchstabeAntwort')",
     "sichtbar(nachSelektor('.hakenAntwort' + b)) && rahmen(nachSelektor('.antwort' + b))"},
};

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

// What carries a mark of the solution, and with `Ergebnis` of any result.
const QString Markiert = QStringLiteral(".richtigeAntwort, .richtigesGeraet, .loesungGezeigt");
const QString Ergebnis = Markiert + QStringLiteral(", .ergebnisAnzeige");

// Empty once the page shows `erwartet`, else what it shows: for each letter, in order, '1' when
// the letter shows, '0' when not; then '|' and the same for the solution's mark ("1111|0100" says
// all letters show and B is marked); with `zaehlen`, then '|' and how many elements it selects.
QString standSkript(const Vorlage &v, const QString &erwartet, const QString &zaehlen = Ergebnis)
{
    return QStringLiteral("(function () { try { %1 "
                          "var b, l = '', z = ''; "
                          "['A', 'B', 'C', 'D'].forEach(function (x) { b = x; "
                          "var e = %2; "
                          "l += sichtbar(e) && (e.textContent.trim() === b || e.alt === b) ? '1' : '0'; "
                          "z += (%3) ? '1' : '0'; }); "
                          "var s = l + '|' + z; "
                          "if ('%5') s += '|' + document.querySelectorAll('%5').length; "
                          "return s === '%4' ? '' : s; } catch (e) { return 'error: ' + e; } })()")
        .arg(Hilfen, v.buchstabe, v.zeichen, erwartet, zaehlen);
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

class TestSeiten final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FragenBau> m_bau;

    QList<QDomElement> fragen()
    {
        const QString bild = m_bau->bild(QStringLiteral("bild.png"), 400);
        const QString antwortBild = m_bau->bild(QStringLiteral("antwort.png"), 300);
        const QString &a = LangeAntwort, &w = LangesWort;
        return {
            m_bau->frage(LangeFrage, {a, a, a, a}, "Answer2", "45"),
            // A picture question: the seconds and all four answers stay in the window.
            m_bau->frage(LangeFrage.left(190), {a, a.left(80), a, a.left(60)}, "Answer1", "120",
                         {{"PictureQuestionText", bild}, {"PictureAnswer1", antwortBild}}),
            // Long words: one too long for any line, and one that fits.
            m_bau->frage("Welches Wort: " + w + " oder " + w + "?",
                         {w, w.repeated(3), "Dampfschiff", "Keines"}, "Answer4", "20"),
            m_bau->frage("Zeile eins\nZeile zwei\nZeile drei\nZeile vier?",
                         {"Die erste\nZeile\nder Antwort", "Die zweite\nZeile\nder Antwort",
                          "Die dritte\nZeile\nder Antwort", "Diese hier,\nnach drei\nZeilen"},
                         "Answer4", "15"),
        };
    }
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
        // A game that shows everything a page can show, on a screen 1920 pixels wide.
        for (const QString &schalter : {Schluessel::LoesungAnzeigen, Schluessel::QuizProzentAntwortenAnzeigen,
                                        Schluessel::UmfrageProzentAntwortenAnzeigen,
                                        Schluessel::FragetextFett, Schluessel::FrageNummerInTemplateAnzeigen})
            Einstellungen::setzen(schalter, QStringLiteral("true"));
        Einstellungen::setzen(Schluessel::Konferenzmodus, QStringLiteral("false"));
        Einstellungen::setzen(Schluessel::ZoomFaktorTemplateTandrivelle, QStringLiteral("1.2"));
        Einstellungen::setzen(Schluessel::DesktopWidth, 1920);
    }
    void cleanup() { m_bau.reset(); }

    void anweisungen_data()
    {
        QTest::addColumn<QString>("seite");
        QTest::newRow("Morvane") << QString("morvane.html");
        QTest::newRow("Tandrivelle") << QString("tandrivelleneu.html");
        QTest::newRow("Kahoot") << QString("kahoot.html");
        QTest::newRow("start") << QString("startscreen.html");
    }
    // The page is loaded, the statements run on it without a script error; then every class they
    // address exists and every picture they or the page name is there. The last question shows as
    // written; in the blue look its picture with the awkward name loads, and the missing one shows
    // its placeholder, drawn, its text under it as its label.
    void anweisungen()
    {
        QFETCH(QString, seite);
        const QString quelle = QTest::currentDataTag();
        QStringList anweisungen;
        if (quelle == QLatin1String("start")) {
            anweisungen = startAnweisungen();
        } else {
            anweisungen = vorlagenAnweisungen(quelle, *m_bau);
            QVERIFY(anweisungen.size() > 50);
        }
        SeitenAnsicht a(QSize(1920, 1080), "qrc:/template/" + seite);
        QVERIFY(a.geladenAbwarten());
        for (const QString &bild : treffer(anweisungen, QStringLiteral("'\\.\\./([^']+\\.(?:png|gif))'")))
            QVERIFY2(QFile::exists(":/" + bild), qPrintable("missing picture " + bild));
        QCOMPARE(a.fehlerfreiAusfuehren(anweisungen), QString());
        const QStringList klassen =
            treffer(anweisungen, QStringLiteral("qt\\.jQuery\\('\\.([A-Za-z0-9_-]+)"));
        QVERIFY(!klassen.isEmpty());
        for (const QString &klasse : klassen)
            QVERIFY2(a.lesen("qt.jQuery('." + klasse + "').length").toInt() > 0,
                     qPrintable(seite + " has no element of class " + klasse));
        const QString kaputt =
            a.lesen("Array.from(document.images).filter(function(i) { return i.getAttribute('src') && "
                    "i.getAttribute('src').indexOf('file:') !== 0 && i.complete && i.naturalWidth === 0; })"
                    ".map(function(i) { return i.getAttribute('src'); }).join(' ')")
                .toString();
        QVERIFY2(kaputt.isEmpty(), qPrintable(seite + ": pictures not found: " + kaputt));
        if (quelle == QLatin1String("start"))
            return;
        const auto inhalt = [&](const QString &klasse, const char *art) {
            return a.lesen("qt.jQuery('." + klasse + "')." + art + "()").toString();
        };
        QCOMPARE(inhalt("textFrage", "html"), BoeseGezeigt);
        if (quelle != QLatin1String("Morvane"))
            return;
        QCOMPARE(inhalt("textAntwortC", "html"), BoeseGezeigt);
        QCOMPARE(inhalt("textAntwortD", "text"), QString("'"));
        QCOMPARE(inhalt("text_progressbar", "text"), QString("1'5\"\\ Sekunden"));
        QTRY_COMPARE_WITH_TIMEOUT(a.lesen("document.querySelector('.imgAntwortA').naturalHeight").toInt(), 60,
                                  20000);
        QTRY_VERIFY_WITH_TIMEOUT(a.lesen("document.querySelector('.imgAntwortB').naturalHeight").toInt() > 0,
                                 20000);
        QVERIFY(a.lesen("qt.jQuery('.imgAntwortB').height()").toInt() > 0);
        QCOMPARE(inhalt("textAntwortB", "text"), QString("b"));
    }

    // A view kept back behind the start screen has no engine page (and so no renderer) until it is
    // let go; statements sent meanwhile reach the page once it is there, as do statements sent
    // while any page loads (a question shown while its page is still loading). A view that draws
    // nothing (a minimised window) still gets jQuery and what waited for it, after the wait for its
    // first frame.
    void gehalteneAnsichtBekommtIhreSeiteErstBeiDerFreigabe()
    {
        SeitenAnsicht a(QSize(1024, 768), QString(), false);
        WebBruecke &bruecke = *a.bruecke;
        bruecke.zurueckhalten();
        bruecke.erstesBildAbwarten();
        bruecke.seiteLaden(QUrl(QStringLiteral("qrc:/template/startscreen.html")));
        bruecke.verlaufAbschalten();
        bruecke.setZoomFaktor(1.5);
        bruecke.ausfuehren(Anweisung::klasse("textplenarosite").html("gehalten"));
        QList<QVariant> antworten;
        for (const char *ausdruck : {"1", "2"})
            bruecke.rohAuswerten(ausdruck, [&](const QVariant &wert) { antworten.append(wert); });
        QTRY_COMPARE(antworten.size(), 2);
        QVERIFY(!antworten.at(0).isValid() && !antworten.at(1).isValid());
        QVERIFY(!a.view.findChild<QWebEnginePage *>());
        QVERIFY(a.view.url().isEmpty());

        bool gezeichnet = false;
        QElapsedTimer seitDemLaden;
        connect(&a.view, &QWebEngineView::loadFinished, this, [&]() { seitDemLaden.start(); });
        connect(&bruecke, &WebBruecke::gezeichnet, this, [&]() { gezeichnet = true; });
        bruecke.freigeben();
        QVERIFY(a.geladenAbwarten());
        QVERIFY(seitDemLaden.elapsed() >= WebBruecke::BildFrist - 5);
        QVERIFY(!gezeichnet);
        QCOMPARE(a.view.url(), QUrl(QStringLiteral("qrc:/template/startscreen.html")));
        QCOMPARE(a.view.zoomFactor(), 1.5);
        QVERIFY(!a.view.history()->canGoBack());
        QCOMPARE(a.lesen("qt.jQuery('.textplenarosite').text()").toString(), QString("gehalten"));

        a.geladen = false;
        bruecke.seiteLaden(QUrl(QStringLiteral("qrc:/template/rangliste.html")));
        bruecke.ausfuehren(Anweisung::klasse("textTitelRangliste").html("beim Laden"));
        QVERIFY(a.geladenAbwarten());
        QCOMPARE(a.lesen("qt.jQuery('.textTitelRangliste').text()").toString(), QString("beim Laden"));
    }

    // The page the class sees first is drawn before jQuery goes in, however long that frame takes;
    // what the program sends in the meantime follows the injection, in order, and reads see it.
    void ersteSeiteWirdVorDerInjektionGezeichnet()
    {
        QWebEngineView ansicht;
        ansicht.resize(1024, 768);
        ansicht.show();
        QStringList ablauf;
        // The empty document a shown view starts with, and the second page, are not watched.
        const auto ersteSeite = [&]() {
            return ansicht.url().scheme() != QLatin1String("about") &&
                   !ablauf.contains(QStringLiteral("loadFinished"));
        };
        // Ahead of the bridge's own frame request: what the page has when its first frame begins.
        // The page is then kept busy for longer than a view that draws nothing is waited for, so
        // that frame comes as late as on a busy machine.
        connect(&ansicht, &QWebEngineView::loadFinished, this, [&]() {
            if (!ersteSeite())
                return;
            ansicht.page()->runJavaScript(
                QStringLiteral("requestAnimationFrame(function () { window.beimBild = typeof window.qt; });"
                               "for (var t = performance.now(); performance.now() - t < %1;) {} null")
                    .arg(2 * WebBruecke::BildFrist));
        });
        WebBruecke bruecke(&ansicht, WebBruecke::injektionsSkript());
        bruecke.erstesBildAbwarten();
        connect(&ansicht, &QWebEngineView::loadFinished, this, [&](bool ok) {
            if (!ersteSeite())
                return;
            ablauf.append(QStringLiteral("loadFinished"));
            QVERIFY(ok);
            QVERIFY(bruecke.wartetAufBild());
            // Sent while the page waits for its frame.
            bruecke.ausfuehren(Anweisung::klasse("textplenarosite").html("erster"));
            bruecke.ausfuehren(Anweisung::klasse("textplenarosite").html("zweiter"));
            bruecke.rohAuswerten(
                QStringLiteral("qt.jQuery('.textplenarosite').text()"),
                [&](const QVariant &wert) { ablauf.append(QStringLiteral("gelesen ") + wert.toString()); });
        });
        connect(&bruecke, &WebBruecke::geladen, this,
                [&](bool) { ablauf.append(QStringLiteral("geladen")); });
        connect(&bruecke, &WebBruecke::gezeichnet, this, [&]() {
            ablauf.append(QStringLiteral("gezeichnet"));
            QVERIFY(!bruecke.wartetAufBild());
        });
        bruecke.seiteLaden(QUrl(QStringLiteral("qrc:/template/startscreen.html")));
        QTRY_COMPARE_WITH_TIMEOUT(ablauf.size(), 4, 20000);
        QCOMPARE(ablauf, (QStringList{"loadFinished", "geladen", "gezeichnet", "gelesen zweiter"}));
        QCOMPARE(::lesen(bruecke, "window.beimBild").toString(), QString("undefined"));

        // Only the first page waits: the next one gets jQuery at once.
        ablauf.clear();
        ablauf.append(QStringLiteral("loadFinished"));
        bruecke.seiteLaden(QUrl(QStringLiteral("qrc:/template/rangliste.html")));
        QTRY_VERIFY_WITH_TIMEOUT(ablauf.contains(QStringLiteral("geladen")), 20000);
        QVERIFY(!bruecke.wartetAufBild());
        QVERIFY(!ablauf.contains(QStringLiteral("gezeichnet")));
    }

    void vorlagen_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QSize>("erst");
        QTest::addColumn<QSize>("dann");
        for (int i = 0; i < Vorlagen.size(); ++i) {
            QTest::addRow("%s small, then large", qPrintable(Vorlagen[i].name))
                << i << QSize(1024, 768) << QSize(1920, 1080);
            QTest::addRow("%s large, then small, solution switched off", qPrintable(Vorlagen[i].name))
                << i << QSize(1920, 1080) << QSize(1024, 768);
        }
    }
    // Every question of a game, at every stage, fits the window it is shown in, and still fits
    // when the window changes size. Then each answer in turn is the solution, with text answers and
    // with picture answers (which the program marks differently), then a poll: the letters always
    // show in the result, the mark only on the solution, and nothing of it before the result or
    // with the next question. With the solution switched off the program shows no solution, and
    // neither does the page.
    void vorlagen()
    {
        QFETCH(int, index);
        QFETCH(QSize, erst);
        QFETCH(QSize, dann);
        const Vorlage &v = Vorlagen[index];
        VorlagenSeite s(v.name, erst, {79, 59, 1234, 5000, 20, 70, 300, 100});
        SeitenAnsicht &a = s.ansicht;
        templatesPlenaro &vorlage = *s.vorlage;
        QVERIFY(a.geladenAbwarten());
        const QString waehrend = pruefSkript(v.boxen, v.texte, v.countdown, v.breit);
        int nummer = 0;
        for (const QDomElement &frage : fragen()) {
            const QString stelle = QStringLiteral("question %1: ").arg(++nummer);
            zeigen(vorlage, frage, nummer);
            for (uint geraet = 1; geraet <= 60; ++geraet)
                vorlage.geraeteIDAnzeigen(1, geraet, 1 + geraet % 4);
            vorlage.updateCountdown(14, 15);
            QVERIFY(a.eingepasst());
            QCOMPARE(stelle + a.fehler(nummer == 2 ? pruefSkript(v.boxen, v.texte,
                                                                 v.countdown + ", " + v.mitBildern, v.breit)
                                                   : waehrend),
                     stelle);
            if (nummer == 3)
                QCOMPARE(stelle + a.fehler(lesbarSkript(v.texte)), stelle);
            // The pause sign's area is the box of the page's free element, as shares of the window,
            // room for the sign, and covers neither question nor answers nor handsets.
            std::optional<PauseFeld> pause;
            vorlage.pauseFeldLesen([&](const PauseFeld &feld) { pause = feld; });
            QTRY_VERIFY_WITH_TIMEOUT(pause.has_value(), 20000);
            const QRectF r = pause->flaeche;
            const QString f =
                a.fehler(QStringLiteral(
                             "(function () { var b = window.innerWidth, h = window.innerHeight;"
                             " var r = [%2 * b, %3 * h, %4 * b, %5 * h];"
                             " var f = document.querySelector('%6').getBoundingClientRect();"
                             " if ([f.left, f.top, f.right, f.bottom].some(function (x, i) {"
                             " return Math.abs(x - r[i]) > 1; })) return 'not the free box: ' + r.join();"
                             " if (r[3] - r[1] < 0.11 * h) return 'too low for the sign: ' + r.join();"
                             " return Array.from(document.querySelectorAll('.textFrage, .allImgGeraete, %1'))"
                             ".filter(function (e) { var s = e.getBoundingClientRect();"
                             " return s.width > 0 && Math.min(s.right, r[2]) - Math.max(s.left, r[0]) > 1"
                             " && Math.min(s.bottom, r[3]) - Math.max(s.top, r[1]) > 1; })"
                             ".map(function (e) { return e.className; }).join(', '); })()")
                             .arg(v.boxen)
                             .arg(r.left())
                             .arg(r.top())
                             .arg(r.right())
                             .arg(r.bottom())
                             .arg(v.frei));
            QCOMPARE(stelle + f, stelle);

            vorlage.countdownAbgelaufen();
            vorlage.updateCountdown(0, 15);
            vorlage.richtigeAntwortAnzeigen({Person(1, 1)}, {Person(2, 1), Person(3, 1)},
                                            QStringLiteral("Answer2"), {100.0, 100.0, 100.0, 100.0});
            QVERIFY(a.eingepasst());
            QCOMPARE(stelle + a.fehler(pruefSkript(v.boxen, v.texte, QString())), stelle);
            // The first question is seen again after the window has changed size.
            if (nummer == 1) {
                zeigen(vorlage, frage, nummer);
                vorlage.updateCountdown(14, 15);
                QVERIFY(a.groesseAendern(dann));
                QVERIFY(a.eingepasst());
                QCOMPARE(stelle + a.fehler(waehrend), stelle);
            }
        }

        const bool loesungZeigen = erst.width() < dann.width();
        Einstellungen::setzen(Schluessel::LoesungAnzeigen, QVariant(loesungZeigen).toString());
        // Kahoot names its answers by symbol until the result; the others show letters throughout.
        const QString vorher =
            (v.name == QLatin1String("Kahoot") ? QStringLiteral("0000") : QStringLiteral("1111")) + "|0000|0";
        for (const bool bilder : {false, true}) {
            for (int i = 0; i < 5; ++i) {
                const bool umfrage = i == 4;
                const QString loesung = umfrage ? FrageDatei::Umfrage : QStringLiteral("Answer%1").arg(i + 1);
                const QString stelle = QStringLiteral("%1, %2: ").arg(bilder ? "pictures" : "texts", loesung);
                zeigen(vorlage, frage(loesung, bilder), ++nummer);
                for (uint geraet = 1; geraet <= 6; ++geraet)
                    vorlage.geraeteIDAnzeigen(1, geraet, 1 + geraet % 4);
                vorlage.updateCountdown(14, 15);
                QCOMPARE(stelle + a.fehlerfreiBis(standSkript(v, vorher), 10000), stelle);

                vorlage.countdownAbgelaufen();
                vorlage.updateCountdown(0, 15);
                vorlage.richtigeAntwortAnzeigen({Person(1, 1), Person(2, 1)}, {Person(3, 1)}, loesung,
                                                {10.0, 40.0, 30.0, 20.0});
                if (!loesungZeigen) {
                    // What the page shows then is read at once: no mark may come of the statements.
                    QCOMPARE(a.lesen(standSkript(v, QString(), Markiert)).toString().section('|', 1),
                             "0000|0");
                    continue;
                }
                QString erwartet = QStringLiteral("1111|0000");
                if (!umfrage)
                    erwartet[5 + i] = QLatin1Char('1');
                // Without a solution Morvane and Tandrivelle show their usual letters, Kahoot its
                // letters with the chart.
                QCOMPARE(stelle + a.fehlerfreiBis(standSkript(v, erwartet, QString()), 10000), stelle);
            }
        }
        // The next question takes every mark back.
        zeigen(vorlage, frage(QStringLiteral("Answer1"), false), ++nummer);
        QCOMPARE(a.fehlerfreiBis(standSkript(v, vorher), 10000), QString());
    }

    void startbildschirm_data()
    {
        QTest::addColumn<QSize>("groesse");
        QTest::addColumn<bool>("handy");
        QTest::addColumn<bool>("englisch");
        QTest::addColumn<QString>("aussehen"); // empty: as the page loads
        QTest::addColumn<QString>("bild");     // of a handset that reports in
        const QString blau = "_0_blau.png", gruen = "_0_green.png";
        QTest::newRow("1024x768") << QSize(1024, 768) << false << true << "Morvane" << blau;
        QTest::newRow("1920x1080") << QSize(1920, 1080) << false << false << QString() << gruen;
        QTest::newRow("3840x2160") << QSize(3840, 2160) << false << true << "Tandrivelle" << gruen;
        QTest::newRow("1024x768 with phones") << QSize(1024, 768) << true << true << "Morvane" << blau;
        QTest::newRow("1366x768 with phones") << QSize(1366, 768) << true << false << "Tandrivelle" << gruen;
        QTest::newRow("1920x1080 with phones") << QSize(1920, 1080) << true << true << "Morvane" << blau;
    }
    // The start page fits every screen, in both languages and every look; its own words follow the
    // program's. A handset that reports in shows its icon at once: the slots' pictures are in the
    // page before any handset presses (fetched only then, one can take seconds while the program
    // starts up).
    void startbildschirm()
    {
        QFETCH(QSize, groesse);
        QFETCH(bool, handy);
        QFETCH(bool, englisch);
        QFETCH(QString, aussehen);
        QFETCH(QString, bild);
        Einstellungen::setzen(Schluessel::InstallerLanguage, englisch ? "1033" : "1031");
        SeitenAnsicht a(groesse);
        TestUhr uhr;
        startscreen start(uhr);
        start.brueckeSetzen(a.bruecke.get());
        a.bruecke->seiteLaden(QUrl(QStringLiteral("qrc:/template/startscreen.html")));
        QVERIFY(a.geladenAbwarten());
        QCOMPARE(a.lesen(QStringLiteral(
                             "document.documentElement.lang + ': ' + qt.jQuery('.handyAnleitung').text()"))
                     .toString(),
                 englisch ? "en: Vote with your phone: scan the QR code"
                          : "de: Mit dem Handy abstimmen: QR-Code scannen");
        if (!aussehen.isEmpty())
            start.templateSetzen(aussehen);
        QCOMPARE(a.lesen("document.querySelectorAll('.allImgGeraete').length").toInt(), 60);
        QTRY_COMPARE_WITH_TIMEOUT(
            a.lesen(QStringLiteral(
                        "Array.from(document.querySelectorAll('.allImgGeraete')).filter(function (i) {"
                        " return !(i.complete && i.naturalWidth > 0 && "
                        "(i.getAttribute('src') || '').endsWith('%1')); }).length")
                        .arg(bild))
                .toInt(),
            0, 20000);
        for (uint geraet = 1; geraet <= 60; ++geraet)
            start.geraeteIDAnzeigen(1, geraet, 1);
        // Read right after the statements, without waiting: drawn with its picture, no placeholder.
        QCOMPARE(a.lesen("[1, 45, 60].map(function (n) { var i = document.querySelector('.imgGeraeteID' + n);"
                         " return i.complete && i.getBoundingClientRect().width > 0 &&"
                         " getComputedStyle(i.nextElementSibling).visibility === 'hidden'; }).join()")
                     .toString(),
                 QString("true,true,true"));
        start.iconEmpfaengerErkanntAnzeigen();
        if (handy) {
            // The longest address a phone may be shown: four three-digit parts and a five-digit port.
            start.handyBeitrittZeigen(QStringLiteral("http://192.168.178.254:65535"),
                                      QStringLiteral("837265"),
                                      QrCode::svg("http://192.168.178.254:65535/?code=837265"));
            QTRY_VERIFY_WITH_TIMEOUT(
                a.lesen(QStringLiteral("qt.jQuery('.handyQr')[0].naturalWidth")).toInt() > 0, 20000);
        }
        QVERIFY(a.eingepasst());
        QCOMPARE(a.fehler(pruefSkript(
                     QStringLiteral(".schritt, .tabelleDeviceID, .handyBeitritt"),
                     QStringLiteral(".schrittText, .handyAnleitung, .handyAdresse, .handyCodeZeile"),
                     handy ? QStringLiteral(".textplenarosite, .okicon, .handyQr, .handyCode")
                           : QStringLiteral(".textplenarosite, .okicon"))),
                 QString());
        // Hidden until the program shows it.
        QCOMPARE(a.lesen(QStringLiteral("qt.jQuery('.handyBeitritt').is(':visible')")).toBool(), handy);
    }

    void rangliste_data()
    {
        QTest::addColumn<int>("anzahl");
        QTest::addColumn<bool>("englisch");
        QTest::addColumn<QSize>("erst");
        QTest::addColumn<QSize>("dann");
        QTest::newRow("30, 1920x1080 then 1366x768") << 30 << false << QSize(1920, 1080) << QSize(1366, 768);
        QTest::newRow("5 English, 1366x768 then 1024x768")
            << 5 << true << QSize(1366, 768) << QSize(1024, 768);
        // 45 handsets of two class sets (the device heading names the class set) and two phones.
        QTest::newRow("47, 1024x768 then 1920x1080") << 47 << false << QSize(1024, 768) << QSize(1920, 1080);
        QTest::newRow("47 English, 1366x768 then 3840x2160")
            << 47 << true << QSize(1366, 768) << QSize(3840, 2160);
        QTest::newRow("60 English, 1024x768 then 1920x1080")
            << 60 << true << QSize(1024, 768) << QSize(1920, 1080);
        // Too many for three columns of readable text: pages.
        QTest::newRow("200, 1366x768 then 3840x2160")
            << 200 << false << QSize(1366, 768) << QSize(3840, 2160);
        QTest::newRow("1000 English, 1920x1080 then 1024x768")
            << 1000 << true << QSize(1920, 1080) << QSize(1024, 768);
    }
    // The class reads the whole ranking from the back row: every row shown inside the window,
    // without scrolling, in text of at least 2.2 % of the screen's height as it is seen (whatever
    // scales the page), the heading on one line, the device heading broken at its slash only, the
    // same margin right and left. A list too long for that turns its pages: every row is on one
    // page, and the page count shows; shown again or refilled, it starts at page 1. The sizes are
    // the screen's; the view sits below the main window's menu and tool bar.
    void rangliste()
    {
        QFETCH(int, anzahl);
        QFETCH(bool, englisch);
        QFETCH(QSize, erst);
        QFETCH(QSize, dann);
        const QSize leisten(0, 78);
        if (englisch)
            Einstellungen::setzen(Schluessel::InstallerLanguage, QStringLiteral("1033"));
        SeitenAnsicht a(erst - leisten);
        ::rangliste liste;
        liste.brueckeSetzen(a.bruecke.get());
        liste.loadHTML();
        QVERIFY(a.geladenAbwarten());
        QList<Person> personen;
        for (int i = 1; i <= anzahl; ++i) {
            const bool handy = i > anzahl - 2;
            personen << teilnehmer(handy ? uint(i + 2 - anzahl) : uint(i),
                                   handy ? HandyKlassensatz : (anzahl == 47 ? uint(1 + i % 2) : 1u),
                                   {{i % 10, 5432.1 * i}});
        }
        // The walk below turns the pages itself; the page's own turning every 8 s would skip one
        // on a machine slow enough to spend that long on a page.
        a.lesen(QStringLiteral("window.setInterval = function () { return 0; }, true"));
        liste.ranglisteAnzeigen(personen, 9, 9);
        // The page of the program's language; the class sets named where several take part.
        const QString geraet = anzahl != 47 ? (englisch ? "Device-ID" : "Geräte-ID")
                               : englisch   ? "Device ID/Class-set ID"
                                            : "Geräte-ID/Klassensatz-ID";
        const QString woerter =
            englisch ? "en: Ranking according to 9/9 questions|Rank|" + geraet + "|Points|Response time [s]"
                     : "de: Rangliste nach 9/9 Fragen|Rang|" + geraet + "|Punkte|Antwortszeit [s]";
        const QString pruefen =
            pruefSkript(QStringLiteral(".tabelleReiheRangliste"),
                        QStringLiteral("td, th, .textTitelRangliste"), QStringLiteral(".textTitelRangliste"));
        // The ranks shown, the smallest text seen, the heading's lines, the page and the pages, the
        // page count's text, the device heading's breaks, the margins' difference, and the words.
        const QString lesbar = QStringLiteral(R"JS((function () {
            var zellen = Array.from(document.querySelectorAll('.zeilenRangliste td'))
                             .filter(function (td) { return td.offsetHeight > 0; });
            var kleinste = Infinity;
            var raenge = [];
            zellen.forEach(function (td, i) {
                var gesehen = parseFloat(getComputedStyle(td).fontSize) *
                              td.getBoundingClientRect().height / td.offsetHeight * devicePixelRatio;
                kleinste = Math.min(kleinste, gesehen);
                if (i % 4 === 0)
                    raenge.push(Number(td.textContent));
            });
            var zeilen = document.createRange();
            zeilen.selectNodeContents(document.querySelector('.textTitelRangliste'));
            var seite = Rangliste.seite();
            // A line of the device heading ends only at a slash.
            var kopf = document.querySelector('.geraeteID'), text = kopf.textContent, oben = [], n, zeichen = document.createRange();
            for (var w = document.createTreeWalker(kopf, NodeFilter.SHOW_TEXT); (n = w.nextNode());)
                for (var z = 0; z < n.length; oben.push(zeichen.getBoundingClientRect().top))
                    zeichen.setStart(n, z), zeichen.setEnd(n, ++z);
            var schnitt = oben.every(function (t, z) { return !z || t <= oben[z - 1] + 1 || text[z - 1] === '/'; });
            var t = document.querySelector('.tabelleRangliste').getBoundingClientRect();
            var woerter = ['.textTitelRangliste', '.rang', '.geraeteID', '.points', '.antwortszeitS'].map(
                function (s) { return document.querySelector(s).textContent; });
            return [raenge, kleinste, zeilen.getClientRects().length, seite[0], seite[1],
                    document.querySelector('.seitenZahl').textContent, schnitt,
                    t.left - (window.innerWidth - t.right), document.documentElement.lang + ': ' + woerter.join('|')];
        })())JS");
        for (const QSize &schirm : {erst, dann}) {
            if (schirm != erst)
                QVERIFY(a.groesseAendern(schirm - leisten));
            QVERIFY(a.eingepasst());
            QSet<int> gesehen;
            int seiten = 1;
            for (int seite = 1; seite <= seiten; ++seite) {
                if (seite > 1) {
                    a.lesen(QStringLiteral("Rangliste.weiter()"));
                    QVERIFY(a.eingepasst());
                }
                QCOMPARE(a.fehler(pruefen), QString());
                const QVariantList werte = a.lesen(lesbar).toList();
                for (const QVariant &rang : werte.value(0).toList())
                    gesehen.insert(rang.toInt());
                QVERIFY2(werte.value(1).toDouble() >= schirm.height() * 0.022,
                         qPrintable(werte.value(1).toString()));
                QCOMPARE(werte.value(2).toInt(), 1);
                QCOMPARE(werte.value(3).toInt(), seite);
                seiten = werte.value(4).toInt();
                QCOMPARE(werte.value(5).toString().isEmpty(), seiten == 1);
                QVERIFY2(werte.value(6).toBool(), "device heading broken elsewhere than at its slash");
                QVERIFY2(qAbs(werte.value(7).toDouble()) <= 1, qPrintable(werte.value(7).toString()));
                QCOMPARE(werte.value(8).toString(), woerter);
            }
            QCOMPARE(gesehen.size(), anzahl);
            QCOMPARE(seiten > 1, anzahl > 60);
        }
        if (anzahl > 60) {
            // From the last page: shown again, then refilled.
            a.bruecke->ausfuehren(Anweisung::ereignis("ranglisteGezeigt"));
            QTRY_COMPARE(a.lesen(QStringLiteral("Rangliste.seite()[0]")).toInt(), 1);
            a.lesen(QStringLiteral("Rangliste.weiter()"));
            liste.ranglisteAnzeigen(personen, 9, 9);
            QTRY_COMPARE(a.lesen(QStringLiteral("Rangliste.seite()[0]")).toInt(), 1);
        }
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
        QCOMPARE(s.ansicht.fehlerfreiBis(haufenSkript(falsch, gezeigt), 40000), QString());
        QVERIFY(s.ansicht.groesseAendern(dann));
        QCOMPARE(s.ansicht.fehlerfreiBis(haufenSkript(falsch, gezeigt), 40000), QString());
    }

    void zweiRunden_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QSize>("groesse");
        QTest::addColumn<QString>("aenderung");
        QTest::addColumn<QString>("folge");
        int zeile = 0;
        for (const QSize groesse :
             {QSize(1024, 768), QSize(1366, 768), QSize(1920, 1080), QSize(3840, 2160)}) {
            for (int i = 0; i < Vorlagen.size(); ++i) {
                const bool zaehlstand = zeile++ % 2 == 0;
                QTest::addRow("%s %dx%d, %s", qPrintable(Vorlagen[i].name), groesse.width(), groesse.height(),
                              zaehlstand ? "vote count" : "question text")
                    << i << groesse
                    << (zaehlstand ? QString("qt.jQuery('.konferenzmodus').html('#votes: 517')")
                                   : QString("qt.jQuery('.textFrage').text('Wie viele?')"))
                    << QString(zaehlstand ? "kept" : "refit");
            }
        }
    }
    // A question voted on twice shows the first round beside the second, fainter, with a legend
    // naming the rounds, in the page's language, the program's (the smaller window German, the
    // larger English). The next question, with three answers, voted on once, shows none of it,
    // and what D showed goes. In a hall the vote count changes with every press: it cannot move
    // the texts, so the page is not fitted again for it, while a change of the texts is.
    void zweiRunden()
    {
        QFETCH(int, index);
        QFETCH(QSize, groesse);
        QFETCH(QString, aenderung);
        QFETCH(QString, folge);
        const Vorlage &v = Vorlagen[index];
        const bool englisch = groesse.width() > 1024;
        Einstellungen::setzen(Schluessel::InstallerLanguage, englisch ? "1033" : "1031");
        VorlagenSeite s(v.name, groesse);
        SeitenAnsicht &a = s.ansicht;
        QVERIFY(a.geladenAbwarten());
        QCOMPARE(a.lesen(QStringLiteral("document.documentElement.lang")).toString(),
                 QString(englisch ? "en" : "de"));
        QStringList antworten{"Der schwere", "Beide gleich", "Der leichte", "Keiner"};
        zeigen(*s.vorlage, m_bau->frage("Welcher Körper fällt schneller?", antworten, "Answer2", "30"));
        s.vorlage->updateCountdown(0, 30);
        s.vorlage->countdownAbgelaufen();
        s.vorlage->ersteRundeAnzeigen({50, 25, 25, 0});
        s.vorlage->richtigeAntwortAnzeigen({Person(1, 1)}, {Person(2, 1)}, "Answer2", {10, 80, 10, 0});
        const QString legende = englisch ? "Round 1Round 2" : "1. Runde2. Runde";
        QCOMPARE(a.fehlerfreiBis(ZweiRunden.arg(legende), 20000), QString());

        antworten.removeLast();
        zeigen(*s.vorlage, m_bau->frage("Welcher Körper fällt schneller?", antworten, "Answer2", "30"), 2);
        QVERIFY(a.eingepasst());
        QCOMPARE(
            a.lesen(Hilfen + "[" + v.cd + "].map(function (s) { return sichtbar(nachSelektor(s)); }).join()")
                .toString(),
            v.cdGezeigt);
        // Made once the page is still; the answer is kept, since the wait asks more than once.
        const QString js = "window.folge || (function () { if (!Einpassen.fertig()) return 'busy'; " +
                           aenderung + "; return window.folge = Einpassen.fertig() ? 'kept' : 'refit'; })()";
        QTRY_COMPARE_WITH_TIMEOUT(a.lesen(js).toString(), folge, 20000);
        s.vorlage->richtigeAntwortAnzeigen({Person(1, 1)}, {}, "Answer2", {0, 100, 0, 0});
        QCOMPARE(a.fehlerfreiBis(EineRunde, 20000), QString());
    }
};

PLENARO_SEITEN_TEST_MAIN(TestSeiten)
#include "tst_seiten.moc"
