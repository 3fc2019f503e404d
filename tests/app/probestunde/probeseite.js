/* What the rehearsal asks a page, from outside. Evaluated in each page before a question; it only
 * reads, except for hiding and showing again the elements it found, to prove they are painted. */
(function () {
    'use strict';
    if (window.__probe)
        return true;

    function norm(t) {
        return (t || '').replace(/\s+/g, ' ').trim();
    }

    function sichtbar(e) {
        for (let x = e; x && x.nodeType === 1; x = x.parentElement) {
            const s = getComputedStyle(x);
            if (s.display === 'none' || s.visibility === 'hidden' || parseFloat(s.opacity) === 0)
                return false;
        }
        const r = e.getBoundingClientRect();
        return r.width > 0 && r.height > 0;
    }

    function beschreiben(e) {
        if (!e)
            return null;
        const r = e.getBoundingClientRect();
        return {
            x: r.left, y: r.top, w: r.width, h: r.height,
            sichtbar: sichtbar(e),
            innen: r.left >= -1 && r.top >= -1 && r.right <= innerWidth + 1 && r.bottom <= innerHeight + 1,
            mitteInnen: r.left + r.width / 2 < innerWidth && r.top + r.height / 2 < innerHeight &&
                        r.left + r.width / 2 > 0 && r.top + r.height / 2 > 0,
            schrift: parseFloat(getComputedStyle(e).fontSize) * window.devicePixelRatio,
            bildFertig: e.tagName === 'IMG' ? e.complete && e.naturalWidth > 0 : true,
            // For the report when something is not seen.
            quelle: e.tagName === 'IMG' ? e.getAttribute('src') : undefined,
            stil: e.getAttribute('style') || undefined
        };
    }

    let marken = [];

    function merken(e) {
        if (e && marken.indexOf(e) < 0)
            marken.push(e);
        return beschreiben(e);
    }

    // The deepest visible element whose whole text is `t`.
    function mitText(t) {
        t = norm(t);
        let treffer = null;
        for (const e of document.body.querySelectorAll('*'))
            if (norm(e.textContent) === t && sichtbar(e))
                treffer = e;
        return treffer;
    }

    function zweiBilder() {
        return new Promise(function (fertig) {
            requestAnimationFrame(function () { requestAnimationFrame(function () { fertig(true); }); });
        });
    }

    window.__probe = {
        bereit: function () { return document.readyState === 'complete' && document.visibilityState; },
        dpr: function () { return window.devicePixelRatio; },
        maus: null,
        text: function (t) { return merken(mitText(t)); },
        bild: function (name) {
            for (const e of document.querySelectorAll('img'))
                if (sichtbar(e) && decodeURIComponent(e.src).endsWith('/' + name))
                    return merken(e);
            return null;
        },
        auswahl: function (selektor) {
            return Array.prototype.map.call(document.querySelectorAll(selektor), merken);
        },
        // Visible elements that hold nothing but a percentage.
        prozente: function () {
            const liste = [];
            for (const e of document.body.querySelectorAll('*'))
                if (!e.firstElementChild && /^\d{1,3}([.,]\d+)?\s?%$/.test(norm(e.textContent)) && sichtbar(e))
                    liste.push(merken(e));
            return liste;
        },
        // The handset icons on show.
        geraete: function () {
            return Array.prototype.filter.call(document.querySelectorAll('.allImgGeraete'), sichtbar).map(merken);
        },
        // Whether the answer with text `t` is inside a visible mark of the correct answer.
        markiert: function (t) {
            const e = mitText(t);
            const mark = e && e.closest('.richtigeAntwort');
            return !!mark && sichtbar(mark);
        },
        alleMarken: function () {
            return Array.prototype.filter.call(document.querySelectorAll('.richtigeAntwort'), sichtbar).length;
        },
        countdown: function () {
            const text = document.querySelector('.text_progressbar');
            const balken = document.querySelector('.progressbar');
            return (text ? norm(text.textContent) : '') + '|' +
                   (balken ? Math.round(balken.getBoundingClientRect().width) : '');
        },
        vergessen: function () { marken = []; return true; },
        // Where the elements found are now: a late fit may have moved them since.
        orte: function () { return marken.map(beschreiben); },
        verstecken: function (an) {
            marken.forEach(function (e) {
                if (an && e.__sichtbarkeit === undefined) {
                    e.__sichtbarkeit = e.style.visibility;
                    e.style.visibility = 'hidden';
                } else if (!an && e.__sichtbarkeit !== undefined) {
                    e.style.visibility = e.__sichtbarkeit;
                    delete e.__sichtbarkeit;
                }
            });
            return zweiBilder();
        },
        mausVerfolgen: function () {
            document.addEventListener('mousemove', function (ev) {
                window.__probe.maus = { x: ev.clientX, y: ev.clientY };
            }, true);
            return true;
        }
    };
    return true;
})()
