/* The ranking's fit, shared by the German and the English page; loaded at the end of the body.
 *
 * A class reads the list from the back row, so it is never scaled down while more columns side by
 * side make it larger: up to four, each with the headings above it. */
(function () {
    'use strict';

    var spalten = 4;

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

    Einpassen.starten({
        buehne: '.seite',
        breite: 1000,
        hoehe: 600,
        hoeheAusInhalt: true,
        pixel: '--px',
        spalten: spalten,
        zeilen: '.zeilenRangliste',
        maxSkala: 2.5,
        minSkala: 0.35,
        texte: '.textTitelRangliste',
        scrollen: true
    });
})();
