/* The ranking's fit, shared by the German and the English page; loaded at the end of the body.
 *
 * A class reads the list from the back row: its text is never smaller than 2.2 % of the window's
 * height, and more columns side by side make it larger, up to three, each with the headings above
 * it. A list too long even for that is shown a page at a time, the pages turning by themselves
 * every eight seconds with "Seite 2/4" below them; no key changes its meaning meanwhile. */
var Rangliste = (function () {
    'use strict';

    var spalten = 3;
    var zeilenSchrift = 26; // a row's font as designed, in stage pixels (rangliste.css)
    // Of the view's height: 2.2 % of the screen's where the menu and tool bar take a tenth of it.
    var kleinsterAnteil = 0.025;
    var blaetternMs = 8000;

    // The headings once per column. The copies carry the same classes, so the program's statements
    // that set the headings reach them too; rangliste.css shows as many as there are columns.
    var kopf = document.querySelector('.tabelleBezeichnung');
    var vorlage = Array.prototype.slice.call(kopf.children);
    for (var i = 1; i < spalten; ++i)
        vorlage.forEach(function (zelle) {
            var kopie = zelle.cloneNode(true);
            kopie.setAttribute('aria-hidden', 'true');
            kopf.appendChild(kopie);
        });

    // The device heading breaks after its slash or not at all, never at a hyphen ("Klassensatz-/ID"):
    // whatever the program writes into it, each side of the slash goes into a box kept on one line.
    function kopfTrennen() {
        document.querySelectorAll('.tabelleBezeichnung .geraeteID').forEach(function (zelle) {
            var teile = zelle.textContent.split('/');
            if (teile.length < 2 || zelle.querySelector('.ganz'))
                return;
            // One box for the cell's flex layout, in which the lines break.
            var text = document.createElement('span');
            teile.forEach(function (teil, i) {
                if (i > 0)
                    text.appendChild(document.createElement('wbr'));
                var ganz = document.createElement('span');
                ganz.className = 'ganz';
                ganz.textContent = i < teile.length - 1 ? teil + '/' : teil;
                text.appendChild(ganz);
            });
            zelle.textContent = '';
            zelle.appendChild(text);
        });
    }
    new MutationObserver(kopfTrennen).observe(kopf, {childList: true, subtree: true, characterData: true});
    kopfTrennen();

    var buehne = document.querySelector('.seite');
    var zeilen = document.querySelector('.zeilenRangliste');
    var marke = document.createElement('div');
    marke.className = 'seitenZahl';
    buehne.appendChild(marke);

    // Pages: the rows of page `seite` are shown, the others carry `ausserSeite`. `fuer` is the window
    // and the count of rows the pages were made for; rows the program writes anew carry no mark.
    var blatt = {fuer: null, proSeite: 0, seiten: 1, seite: 0, uhr: null};

    function zeigen() {
        var reihen = zeilen.children;
        var von = blatt.seite * blatt.proSeite;
        for (var i = 0; i < reihen.length; ++i) {
            reihen[i].classList.toggle('ausserSeite', blatt.seiten > 1 && (i < von || i >= von + blatt.proSeite));
            reihen[i].seitenMarke = true;
        }
        marke.textContent = blatt.seiten > 1
            ? (Einpassen.englisch ? 'Page ' : 'Seite ') + (blatt.seite + 1) + '/' + blatt.seiten : '';
    }

    function aufheben() {
        if (blatt.uhr !== null)
            window.clearInterval(blatt.uhr);
        blatt = {fuer: null, proSeite: 0, seiten: 1, seite: 0, uhr: null};
        zeigen();
    }

    function weiter() {
        if (blatt.seiten <= 1)
            return;
        blatt.seite = (blatt.seite + 1) % blatt.seiten;
        zeigen();
    }

    // Each time the program shows the list ("ranglisteGezeigt"), it starts at its first page and
    // turns on eight seconds later, whatever page it reached while out of sight. A refill makes its
    // pages anew, from the first.
    function vonVorn() {
        if (blatt.seiten <= 1)
            return;
        window.clearInterval(blatt.uhr);
        blatt.seite = 0;
        blatt.uhr = window.setInterval(weiter, blaetternMs);
        zeigen();
    }
    document.addEventListener('ranglisteGezeigt', vonVorn);

    // After each fit: a list that still does not fit at the smallest readable size is cut into
    // pages of as many rows as fit, all pages equally full.
    function blaettern() {
        var vh = document.documentElement.clientHeight;
        var fuer = [document.documentElement.clientWidth, vh, zeilen.children.length].join(' ');
        var erste = zeilen.firstElementChild;
        // What changes here comes after the fit and is not seen as a change: fit again at once.
        if (blatt.fuer !== null && (blatt.fuer !== fuer || (erste && !erste.seitenMarke))) {
            aufheben();
            Einpassen.einpassen();
            return;
        }
        if (blatt.fuer !== null || !erste || buehne.scrollHeight <= vh + 1)
            return;
        var oben = buehne.getBoundingClientRect().top;
        var reihenOben = zeilen.getBoundingClientRect().top - oben;
        var darunter = buehne.scrollHeight - (zeilen.getBoundingClientRect().bottom - oben);
        var reihe = erste.getBoundingClientRect().height;
        var imRaster = Number(buehne.getAttribute('data-spalten')) || 1;
        var proSpalte = Math.max(1, Math.floor((vh - reihenOben - darunter - 2 * reihe) / reihe));
        var proSeite = proSpalte * imRaster;
        var seiten = Math.ceil(zeilen.children.length / proSeite);
        blatt = {
            fuer: fuer,
            proSeite: Math.ceil(zeilen.children.length / seiten),
            seiten: seiten,
            seite: 0,
            uhr: seiten > 1 ? window.setInterval(weiter, blaetternMs) : null
        };
        zeigen();
        Einpassen.einpassen();
    }

    Einpassen.starten({
        buehne: '.seite',
        breite: 1000,
        hoehe: 600,
        hoeheAusInhalt: true,
        pixel: '--px',
        spalten: spalten,
        zeilen: '.zeilenRangliste',
        ausgeblendet: '.ausserSeite',
        maxSkala: 2.5,
        minSkalaFuer: function (vw, vh) {
            return (kleinsterAnteil * vh) / zeilenSchrift;
        },
        texte: '.textTitelRangliste',
        danach: blaettern
    });

    // The page shown and the count of pages, and turning on at once (for tests and tools).
    return {
        seite: function () {
            return [blatt.seite + 1, blatt.seiten];
        },
        weiter: weiter
    };
})();
