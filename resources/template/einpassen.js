/* Makes a page fit its window, whatever the window's size, the view's zoom and the texts the
 * program writes into it.
 *
 * The page is laid out on a stage (`buehne`) at least `breite` x `hoehe` CSS pixels large and as
 * large as the window in the window's proportions; the stage is then scaled to the window. Texts
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
        var ganzeWoerter = Math.max(optionen.minSchrift, basis * optionen.minAnteil);
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

    function buehneEinpassen() {
        var buehne = document.querySelector(optionen.buehne);
        if (!buehne)
            return;
        fensterGroesse = fenster();
        var vw = document.documentElement.clientWidth;
        var vh = document.documentElement.clientHeight;
        if (vw <= 0 || vh <= 0)
            return;
        var skala = Math.min(vw / optionen.breite, vh / optionen.hoehe, optionen.maxSkala);
        if (optionen.hoeheAusInhalt) {
            // The content decides the height (the ranking grows with its rows): measure it at the
            // width the stage gets, then shrink further if it is taller than the window.
            for (var runde = 0; runde < 2; ++runde) {
                buehne.style.width = vw / skala + 'px';
                buehne.style.height = 'auto';
                var inhalt = buehne.scrollHeight;
                skala = Math.max(optionen.minSkala, Math.min(skala, vh / inhalt));
            }
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

    function zaehlt(aenderung) {
        if (aenderung.type !== 'attributes' || !optionen.unwichtig)
            return true;
        var ziel = aenderung.target;
        return !(ziel.nodeType === 1 && ziel.matches(optionen.unwichtig));
    }

    // A page never scrolls: what does not fit is made to fit. Words stay whole while they can.
    var regeln = '.woerterGanz { overflow-wrap: normal !important; word-break: normal !important; }' +
                 '.woerterBrechen { overflow-wrap: anywhere !important; word-break: normal !important; }';

    function starten(o) {
        optionen = Object.assign({texte: '', minSchrift: 12, minAnteil: 0.45, maxSkala: 4, minSkala: 0.3},
                                 o);
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
