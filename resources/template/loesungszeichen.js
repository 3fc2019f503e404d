/* Marks the solution by shape, not only by colour.
 *
 * The program shows the solution by colour: a green tile, a green tick picture, green handset
 * icons. A good part of every class cannot tell that green from red or from the page's other
 * colours, so the page itself watches what the program's statements do and, while the result is
 * shown, gives the elements of the correct answer the class `richtigeAntwort` (the page's style
 * draws a tick badge and a frame for it) and the stage (`buehne`) the classes `ergebnisAnzeige`
 * (a result is shown) and `loesungGezeigt` (a solution is marked). Everything is taken back when
 * the program takes its own marks back, so nothing changes outside the result display.
 *
 * `richtig(b)` says from the page whether answer `b` ("A" to "D") carries the program's mark,
 * `markieren(b)` lists the selectors of the elements that get the class, `ergebnis()` (optional)
 * says whether a result without a solution is shown, `weitere()` (optional) marks further
 * elements. */
var Loesungszeichen = (function () {
    'use strict';

    var plan = null;
    var Buchstaben = ['A', 'B', 'C', 'D'];

    function setzen(el, klasse, an) {
        if (el.classList.contains(klasse) !== an)
            el.classList.toggle(klasse, an);
    }

    // Only changes what differs, so its own class changes come back as records that change nothing.
    function pruefen() {
        var buehne = document.querySelector(plan.buehne);
        if (!buehne)
            return;
        var loesung = false;
        Buchstaben.forEach(function (b) {
            var ja = !!plan.richtig(b);
            loesung = loesung || ja;
            plan.markieren(b).forEach(function (selektor) {
                document.querySelectorAll(selektor).forEach(function (el) {
                    setzen(el, 'richtigeAntwort', ja);
                });
            });
        });
        setzen(buehne, 'loesungGezeigt', loesung);
        setzen(buehne, 'ergebnisAnzeige', loesung || (plan.ergebnis ? !!plan.ergebnis() : false));
        if (plan.weitere)
            plan.weitere(setzen);
    }

    function zeigt(selektor, eigenschaft, aus) {
        var el = document.querySelector(selektor);
        return !!el && window.getComputedStyle(el)[eigenschaft] !== aus;
    }

    return {
        starten: function (p) {
            plan = p;
            // Mutation records arrive before the next frame is drawn: the marks never lag a frame.
            new MutationObserver(pruefen).observe(document.body, {
                subtree: true,
                attributes: true,
                attributeFilter: ['class', 'style', 'src'],
            });
            pruefen();
        },
        // True when the element matched by `selektor` exists and its `eigenschaft` is not `aus`.
        zeigt: zeigt,
    };
})();
