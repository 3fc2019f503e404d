/* Makes a page fit its window, whatever the window's size, the view's zoom and the texts the
 * program writes into it.
 *
 * The page is laid out on a stage (`buehne`) at least `breite` x `hoehe` CSS pixels large and as
 * large as the window in the window's proportions; the stage is then scaled to the window: by a
 * transform, or, with `pixel`, by giving that CSS variable the length of one stage pixel, which
 * the page's lengths are multiples of. Then the sizes a page reads are the sizes seen. Texts
 * that must stay inside a box (`texte`) get a smaller font when they do not fit: first with whole
 * words, and only when a word is too long even for the smallest of those sizes, with words broken.
 *
 * The fit runs whenever the program changes the page (every statement is a DOM change), when a
 * picture has loaded and when the window or the zoom changes, once for all changes of a frame and
 * before that frame is drawn.
 *
 * The program's language reaches the page as "?lang=en" in the page address; `uebersetzen` lists
 * the German words of the page and of the program's statements with their English counterparts. */
var Einpassen = (function () {
    'use strict';

    var optionen = null;
    var beobachter = null;
    var englisch = /(^|[?&])lang=en(&|$)/.test(window.location.search);

    function passtNicht(el) {
        return el.scrollHeight > el.clientHeight + 1 || el.scrollWidth > el.clientWidth + 1;
    }

    // Largest font size in [min, max] at which the box fits, or null when not even min does.
    function groesseSuchen(el, min, max) {
        el.style.fontSize = max + 'px';
        if (!passtNicht(el))
            return max;
        el.style.fontSize = min + 'px';
        if (passtNicht(el))
            return null;
        var passt = min;
        var zuGross = max;
        while (zuGross - passt > 0.5) {
            var mitte = (passt + zuGross) / 2;
            el.style.fontSize = mitte + 'px';
            if (passtNicht(el))
                zuGross = mitte;
            else
                passt = mitte;
        }
        el.style.fontSize = passt + 'px';
        return passt;
    }

    function textEinpassen(el) {
        // Unchanged text in an unchanged box keeps the size found last time.
        var schluessel = el.innerHTML + '|' + el.className + '|' + el.clientWidth + 'x' + el.clientHeight;
        if (el.einpassenSchluessel === schluessel)
            return;
        el.style.fontSize = '';
        el.classList.remove('woerterBrechen');
        el.classList.add('woerterGanz');
        // Empty or hidden boxes have nothing to fit.
        if (!el.textContent.trim() || el.clientHeight === 0 || !passtNicht(el))
            return;
        var basis = parseFloat(window.getComputedStyle(el).fontSize);
        // Whole words are not worth a size the back row cannot read: a long word is broken first.
        var ganzeWoerter = Math.min(basis, Math.max(optionen.minSchrift, basis * optionen.minAnteil, lesbar()));
        if (groesseSuchen(el, ganzeWoerter, basis) !== null)
            return;
        el.classList.remove('woerterGanz');
        el.classList.add('woerterBrechen');
        if (groesseSuchen(el, Math.min(optionen.minSchrift, basis), basis) === null)
            el.style.fontSize = Math.min(optionen.minSchrift, basis) + 'px';
    }

    function merken(el) {
        el.einpassenSchluessel = el.innerHTML + '|' + el.className + '|' + el.clientWidth + 'x' + el.clientHeight;
    }

    var fensterGroesse = '';

    function fenster() {
        return document.documentElement.clientWidth + 'x' + document.documentElement.clientHeight;
    }

    // The scale of the last fit, where the next one takes its first look.
    var letzteSkala = null;
    // The stage's scale as drawn, for sizes that are meant in the window's pixels.
    var buehnenSkala = 1;

    // The smallest text a class reads from the back row, `lesbarAnteil` of the window's height, in
    // the stage's pixels.
    function lesbar() {
        return optionen.lesbarAnteil * document.documentElement.clientHeight / buehnenSkala;
    }

    // Lays the stage out at scale `skala` and tells the scales its content needs: to be no taller
    // than the window (measured in stage pixels, the content is nearly the same at every scale, only
    // lines may break differently), and, when it is wider than the stage, to be no wider.
    function messen(buehne, vw, vh, skala) {
        var teiler = 1;
        if (optionen.pixel) {
            buehne.style.setProperty(optionen.pixel, skala + 'px');
            buehne.style.width = vw + 'px';
            teiler = skala;
        } else {
            buehne.style.width = vw / skala + 'px';
        }
        buehne.style.height = 'auto';
        if (!optionen.pixel)
            buehne.style.minHeight = '';
        var zuBreit = buehne.scrollWidth > buehne.clientWidth + 1;
        return {
            hoehe: vh / (buehne.scrollHeight / teiler),
            breite: zuBreit ? (skala * buehne.clientWidth) / buehne.scrollWidth : Infinity
        };
    }

    function noetig(inhalt, hoechstens) {
        return Math.max(optionen.minSkala, Math.min(hoechstens, inhalt.hoehe, inhalt.breite));
    }

    // The largest scale up to `hoechstens` at which the content fits, measured from `skala` on. A
    // scale seen to fit with less than a hundredth to gain is kept, so the stage is not laid out
    // anew; after three looks, the last scale seen to fit.
    function skalaNachInhalt(buehne, vw, vh, skala, hoechstens) {
        var passt = null;
        for (var runde = 0; runde < 3; ++runde) {
            var neu = noetig(messen(buehne, vw, vh, skala), hoechstens);
            if (neu >= skala) {
                passt = skala;
                if (neu <= skala * 1.01)
                    break;
            }
            skala = neu;
        }
        return passt === null ? skala : passt;
    }

    // The columns go to the stage as `data-spalten` and `--spalten`, and with `zeilen`, how many of
    // that element's children each column takes as `--zeilenProSpalte`.
    function spaltenSetzen(buehne, spalten) {
        var zeilen = optionen.zeilen ? document.querySelector(optionen.zeilen) : null;
        var anzahl = !zeilen ? 0
                   : optionen.ausgeblendet ? zeilen.querySelectorAll(':scope > :not(' + optionen.ausgeblendet + ')').length
                                           : zeilen.children.length;
        var proSpalte = zeilen ? String(Math.ceil(anzahl / spalten)) : '';
        if (buehne.getAttribute('data-spalten') === String(spalten) &&
            buehne.style.getPropertyValue('--zeilenProSpalte') === proSpalte)
            return;
        buehne.style.setProperty('--spalten', spalten);
        buehne.style.setProperty('--zeilenProSpalte', proSpalte);
        buehne.setAttribute('data-spalten', spalten);
    }

    // With `spalten`, the content may flow into up to that many columns (rows matching `ausgeblendet`
    // take no place), and gets as many as make
    // it clearly larger. Each count is laid out once at the largest scale, where a width too large
    // shows as overflow, and tells the scale it needs. A list too long even for all columns at the
    // smallest scale stays in one and scrolls: its height in one column tells that, and when it had
    // one column already, that look is taken at the scale it has, which costs no new styles for all
    // its rows.
    function spaltenWaehlen(buehne, vw, vh, hoechstens, bisher) {
        var start = Number(buehne.getAttribute('data-spalten')) > 1 ? hoechstens : bisher;
        spaltenSetzen(buehne, 1);
        var eine = messen(buehne, vw, vh, start);
        var beste = {spalten: 1, skala: noetig(eine, start)};
        if (optionen.spalten === 1)
            return beste;
        if (eine.hoehe * optionen.spalten * 2 < optionen.minSkala)
            return optionen.ausgeblendet ? alleSpalten(buehne, vw, vh) : beste;
        if (start !== hoechstens)
            beste.skala = noetig(messen(buehne, vw, vh, hoechstens), hoechstens);
        for (var spalten = 2; spalten <= optionen.spalten && beste.skala < hoechstens; ++spalten) {
            spaltenSetzen(buehne, spalten);
            var moeglich = noetig(messen(buehne, vw, vh, hoechstens), hoechstens);
            if (moeglich > beste.skala * 1.02)
                beste = {spalten: spalten, skala: moeglich};
            else if (moeglich <= beste.skala)
                break;
        }
        return optionen.ausgeblendet && beste.skala <= optionen.minSkala ? alleSpalten(buehne, vw, vh) : beste;
    }

    // A list the page shows a part at a time (`ausgeblendet`) and that does not fit takes as many
    // columns as are as wide as the window at the smallest scale; any other list stays in one and
    // scrolls.
    function alleSpalten(buehne, vw, vh) {
        var spalten = optionen.spalten;
        for (; spalten > 1; --spalten) {
            spaltenSetzen(buehne, spalten);
            if (messen(buehne, vw, vh, optionen.minSkala).breite >= optionen.minSkala)
                break;
        }
        return {spalten: spalten, skala: optionen.minSkala};
    }

    // The content decides the height (the ranking grows with its rows); the chosen number of
    // columns is then fitted exactly. It stays while the window and the number of rows (`zeilen`)
    // do: a refresh of the same class costs one look.
    var gewaehlt = {fuer: null, spalten: 1};

    function inhaltEinpassen(buehne, vw, vh, hoechstens) {
        var skala = letzteSkala === null ? hoechstens
                                         : Math.max(optionen.minSkala, Math.min(letzteSkala, hoechstens));
        var zeilen = optionen.zeilen ? document.querySelector(optionen.zeilen) : null;
        var fuer = zeilen ? [vw, vh, zeilen.children.length].join(' ') : null;
        if (fuer === null || fuer !== gewaehlt.fuer) {
            var beste = spaltenWaehlen(buehne, vw, vh, hoechstens, skala);
            gewaehlt = {fuer: fuer, spalten: beste.spalten};
            skala = beste.skala;
        }
        spaltenSetzen(buehne, gewaehlt.spalten);
        letzteSkala = skalaNachInhalt(buehne, vw, vh, skala, hoechstens);
        return letzteSkala;
    }

    function buehneEinpassen() {
        var buehne = document.querySelector(optionen.buehne);
        if (!buehne)
            return;
        fensterGroesse = fenster();
        var vw = document.documentElement.clientWidth;
        var vh = document.documentElement.clientHeight;
        if (vw <= 0 || vh <= 0)
            return;
        // A smallest scale that follows the window: text a class must read from the back row.
        if (optionen.minSkalaFuer)
            optionen.minSkala = optionen.minSkalaFuer(vw, vh);
        var skala = Math.min(vw / optionen.breite, vh / optionen.hoehe, optionen.maxSkala);
        if (optionen.hoeheAusInhalt)
            skala = inhaltEinpassen(buehne, vw, vh, skala);
        buehnenSkala = optionen.pixel ? 1 : skala;
        if (optionen.pixel) {
            // No transform: the stage is as wide as the window, and its lengths are multiples of the
            // variable. Its height stays its content's, so that measuring it changes nothing.
            buehne.style.setProperty(optionen.pixel, skala + 'px');
            buehne.style.width = vw + 'px';
            if (!optionen.hoeheAusInhalt)
                buehne.style.height = vh + 'px';
            buehne.style.setProperty('--buehneBreite', vw + 'px');
            buehne.style.setProperty('--buehneHoehe', vh + 'px');
            return;
        }
        // Cut to hundredths so that the scaled stage never ends a fraction beyond the window.
        var breite = Math.floor((vw / skala) * 100) / 100;
        var hoehe = Math.floor((vh / skala) * 100) / 100;
        buehne.style.width = breite + 'px';
        if (optionen.hoeheAusInhalt)
            buehne.style.minHeight = hoehe + 'px';
        else
            buehne.style.height = hoehe + 'px';
        buehne.style.transform = 'scale(' + skala + ')';
        // For boxes whose limit is a share of the stage.
        buehne.style.setProperty('--buehneBreite', breite + 'px');
        buehne.style.setProperty('--buehneHoehe', hoehe + 'px');
    }

    function uebersetzen() {
        if (!englisch || !optionen.uebersetzen)
            return;
        optionen.uebersetzen.forEach(function (eintrag) {
            document.querySelectorAll(eintrag[0]).forEach(function (el) {
                var alt = el.innerHTML;
                var neu = alt.split(eintrag[1]).join(eintrag[2]);
                if (neu !== alt)
                    el.innerHTML = neu;
            });
        });
    }

    var geplant = false;

    // Statements arrive one by one; they are fitted together before the next frame is drawn, and
    // also when no frame comes (a hidden view draws none).
    function planen() {
        if (geplant)
            return;
        geplant = true;
        window.requestAnimationFrame(geplantEinpassen);
        window.setTimeout(geplantEinpassen, 80);
    }

    function geplantEinpassen() {
        if (geplant)
            einpassen();
    }

    function einpassen() {
        geplant = false;
        if (!optionen)
            return;
        uebersetzen();
        buehneEinpassen();
        var texte = optionen.texte ? document.querySelectorAll(optionen.texte) : [];
        texte.forEach(function (el) {
            textEinpassen(el);
            merken(el);
        });
        if (optionen.danach)
            optionen.danach();
        // What the fit itself changed is no reason to fit again.
        if (beobachter)
            beobachter.takeRecords();
    }

    // Changes to what cannot move the texts (icons, bars, the vote count) do not refit the page:
    // in a hall the count changes hundreds of times a second.
    function zaehlt(aenderung) {
        if (!optionen.unwichtig)
            return true;
        var ziel = aenderung.target.nodeType === 1 ? aenderung.target : aenderung.target.parentElement;
        if (!ziel)
            return true;
        return aenderung.type === 'attributes' ? !ziel.matches(optionen.unwichtig)
                                               : !ziel.closest(optionen.unwichtig);
    }

    // A page never scrolls: what does not fit is made to fit. Words stay whole while they can.
    var regeln = '.woerterGanz { overflow-wrap: normal !important; word-break: normal !important; }' +
                 '.woerterBrechen { overflow-wrap: anywhere !important; word-break: normal !important; }';

    function starten(o) {
        optionen = Object.assign(
            {texte: '', minSchrift: 12, minAnteil: 0.45, lesbarAnteil: 0.022, maxSkala: 4, minSkala: 0.3,
             spalten: 1}, o);
        var stil = document.createElement('style');
        stil.textContent = (optionen.scrollen ? '' : 'html, body { overflow: hidden; }') + regeln;
        document.head.appendChild(stil);
        if (englisch) {
            document.documentElement.lang = 'en';
            document.documentElement.classList.add('englisch');
        }
        beobachter = new MutationObserver(function (aenderungen) {
            if (aenderungen.some(zaehlt))
                planen();
        });
        beobachter.observe(document.body, {
            subtree: true,
            childList: true,
            characterData: true,
            attributes: true,
            attributeFilter: ['style', 'class', 'src', 'height', 'width']
        });
        window.addEventListener('resize', planen);
        // A new zoom factor does not always come as a resize event.
        new ResizeObserver(planen).observe(document.documentElement);
        // Pictures change the layout only once they have loaded.
        document.addEventListener('load', planen, true);
        if (document.fonts)
            document.fonts.ready.then(planen);
        einpassen();
    }

    // `fertig()` tells whether the last change has been fitted (for tests and tools).
    return {
        starten: starten,
        einpassen: einpassen,
        englisch: englisch,
        fertig: function () {
            if ((beobachter && beobachter.takeRecords().some(zaehlt)) || fenster() !== fensterGroesse)
                planen();
            return !geplant;
        }
    };
})();

/* A page collects its garbage when the program allows it (it starts the engine with the
 * collector callable): once the page has been still for 3 s, at most every 20 s, and at once when
 * it is put out of sight. Otherwise what each fill left behind stays until the engine's own
 * collector gets round to it, tens of MB over a teaching day. While a countdown or a leaf runs the
 * page is never still, so the pause never falls into a moving picture. */
(function () {
    'use strict';
    if (typeof window.gc !== 'function')
        return;
    var ruhe = 3000;
    var abstand = 20000;
    var zuletzt = 0;
    var zeitgeber = null;

    function sammeln() {
        if (zeitgeber !== null)
            window.clearTimeout(zeitgeber);
        zeitgeber = null;
        zuletzt = Date.now();
        window.gc();
    }

    function spaeter() {
        if (zeitgeber !== null)
            window.clearTimeout(zeitgeber);
        zeitgeber = window.setTimeout(sammeln, Math.max(ruhe, zuletzt + abstand - Date.now()));
    }

    new MutationObserver(spaeter).observe(document, {
        childList: true, subtree: true, attributes: true, characterData: true
    });
    document.addEventListener('visibilitychange', function () {
        if (document.hidden)
            sammeln();
    });
})();
