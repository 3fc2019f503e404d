/* The pile of fallen leaves on the leaf page.
 *
 * The program lets the leaf of every wrong answer fall: it makes the leaf `position: relative`,
 * moves it by jQuery towards the pile (its offsets in the stage's own pixels) and turns it by a CSS
 * transition, each leaf after a random delay. The page finishes the fall. Should a fall end off the
 * pile (the window changed while the leaf fell), the pile is where it ends up all the same: a leaf
 * that would sink below its depth in the pile stays there, and a leaf that stops above it slides
 * down onto it; each leaf has its own depth.
 *
 * Where the program aims, many leaves end on top of each other and hide each other's numbers. So
 * once a leaf has come to rest (the program's moves over, its turn and its slide ended), the page
 * lays it on the pile: the leaves at rest are pushed apart until the middles of any two, where
 * the numbers are, are far enough apart for both to be read, inside the pile's outline and the
 * window. A leaf that lands later makes its neighbours move aside; leaves that have not fallen
 * never move. When the stage changes size, the leaves at rest go with the pile.
 *
 * The page moves a leaf by its `left` and `top` (in stage pixels, as the program does) and shows
 * the move with an animation of its own, which leaves the program's transitions alone. Everything
 * is measured in stage pixels from the layout, which neither the scale of the stage nor a leaf's
 * turn changes. A leaf the program moves again, hides or sets back is the program's again. */
var Blaetterhaufen = (function () {
    'use strict';

    var plan = null;
    var beobachter = null;
    // Per leaf the program has made movable: `stand` is 'wartet' (not moved yet), 'faellt',
    // 'kommtZurRuhe' or 'liegt'; `oben`/`links` the offsets last seen, `ort` where a leaf at rest
    // lies (its middle, relative to the pile's picture).
    var blaetter = new Map();
    var geplant = false;

    // Steps of the program's move come every frame; this long without one, the move is over.
    var Ruhepause = 300;
    var RutschenMs = 1500;
    var AusweichenMs = 400;

    function element(selektor) { return document.querySelector(selektor); }

    // Offset of `el` from the tree column, in stage pixels.
    function lage(el) {
        var baum = element(plan.baum);
        var x = 0, y = 0;
        for (var e = el; e && e !== baum; e = e.offsetParent) {
            x += e.offsetLeft;
            y += e.offsetTop;
        }
        return {x: x, y: y};
    }

    function haufenBild() {
        var bild = element(plan.bild);
        var l = lage(bild);
        return {x: l.x, y: l.y, w: bild.offsetWidth, h: bild.offsetHeight};
    }

    function nummer(blatt) {
        return parseInt(blatt.className.replace(/\D+/g, ''), 10) || 0;
    }

    // Where the top of a leaf lies in the pile: between a third and four fifths of the way down.
    function tiefe(blatt) {
        var h = haufenBild();
        return h.y + (h.h - blatt.offsetHeight) * (0.3 + ((nummer(blatt) * 37) % 50) / 100);
    }

    // The page's own changes are no steps of the program's: their records are dropped at once.
    function schreiben(blatt, eigenschaften) {
        var z = blaetter.get(blatt);
        Object.keys(eigenschaften).forEach(function (k) { blatt.style[k] = eigenschaften[k]; });
        if (beobachter)
            beobachter.takeRecords();
        if (z) {
            z.oben = blatt.style.top;
            z.links = blatt.style.left;
        }
    }

    function zeigen(blatt, von, bis, ms, kurve) {
        var z = blaetter.get(blatt);
        if (z && z.bewegung)
            z.bewegung.cancel();
        var bewegung = blatt.animate([von, bis], {duration: ms, easing: kurve});
        if (z)
            z.bewegung = bewegung;
    }

    function vergessen(blatt) {
        var z = blaetter.get(blatt);
        if (!z)
            return;
        clearTimeout(z.warten);
        if (z.bewegung)
            z.bewegung.cancel();
        blaetter.delete(blatt);
    }

    function liegtAuf(blatt) {
        return blatt.style.position === 'relative' && blatt.style.display !== 'none';
    }

    // A step of the program's fall: a leaf never sinks below its depth.
    function schritt(blatt, z) {
        z.stand = 'faellt';
        z.ort = null;
        z.runde += 1;
        if (z.bewegung) {
            z.bewegung.cancel();
            z.bewegung = null;
        }
        var ziel = tiefe(blatt);
        var oben = lage(blatt).y;
        if (oben > ziel)
            schreiben(blatt, {top: parseFloat(blatt.style.top || '0') - (oben - ziel) + 'px'});
        else {
            z.oben = blatt.style.top;
            z.links = blatt.style.left;
        }
        clearTimeout(z.warten);
        z.warten = setTimeout(nachrutschen, Ruhepause, blatt, z.runde);
    }

    // The program's move is over: the rest of the way down, then rest.
    function nachrutschen(blatt, runde) {
        var z = blaetter.get(blatt);
        if (!z || z.runde !== runde || !liegtAuf(blatt))
            return;
        z.stand = 'kommtZurRuhe';
        var oben = lage(blatt).y;
        var ziel = tiefe(blatt);
        if (oben < ziel - 2) {
            var von = blatt.style.top || '0px';
            schreiben(blatt, {top: parseFloat(von) + (ziel - oben) + 'px'});
            zeigen(blatt, {top: von}, {top: blatt.style.top}, RutschenMs, 'ease-in');
        }
        ruhen(blatt, runde);
    }

    // Rest begins when the leaf's last animation has ended: the program's turn, the page's slide.
    function ruhen(blatt, runde) {
        var z = blaetter.get(blatt);
        if (!z || z.runde !== runde || !liegtAuf(blatt))
            return;
        var laufend = blatt.getAnimations();
        if (laufend.length) {
            Promise.all(laufend.map(function (a) { return a.finished.catch(function () {}); }))
                .then(function () { ruhen(blatt, runde); });
            return;
        }
        z.stand = 'liegt';
        planen();
    }

    function planen() {
        if (geplant)
            return;
        geplant = true;
        setTimeout(ordnen, 0);
    }

    // Half the width and height of the box a turned leaf takes.
    function ausdehnung(blatt) {
        var t = getComputedStyle(blatt).transform;
        var m = !t || t === 'none' ? new DOMMatrix() : new DOMMatrix(t);
        var w = blatt.offsetWidth, h = blatt.offsetHeight;
        return {x: (Math.abs(m.a) * w + Math.abs(m.c) * h) / 2,
                y: (Math.abs(m.b) * w + Math.abs(m.d) * h) / 2};
    }

    // The pile's outline, from its picture: a hill, highest in the middle. A leaf's middle may lie
    // a little above it, as a leaf rests on a slope, but never above the leaves the picture shows.
    function oberkante(h, x, auflage) {
        var t = (x - (h.x + h.w / 2)) / (0.45 * h.w);
        return h.y + Math.max(0.06 * h.h, h.h * (0.07 + 0.64 * t * t) - auflage);
    }

    function ordnen() {
        geplant = false;
        if (!plan)
            return;
        var liegend = [];
        blaetter.forEach(function (z, blatt) {
            if (z.stand === 'liegt' && liegtAuf(blatt))
                liegend.push(blatt);
        });
        if (!liegend.length)
            return;
        var baum = element(plan.baum);
        var breite = baum.clientWidth, hoehe = baum.clientHeight;
        var h = haufenBild();
        var unten = Math.min(h.y + h.h, hoehe);

        var punkte = liegend.map(function (blatt) {
            var z = blaetter.get(blatt);
            var s = getComputedStyle(blatt);
            var l = lage(blatt);
            var w = blatt.offsetWidth, hb = blatt.offsetHeight;
            // The place the leaf has without its offsets; read with the offsets as they are shown.
            var basis = {x: l.x - parseFloat(s.left || '0'), y: l.y - parseFloat(s.top || '0')};
            var e = ausdehnung(blatt);
            var mitte = z.ort ? {x: h.x + z.ort.x, y: h.y + z.ort.y} : {x: l.x + w / 2, y: l.y + hb / 2};
            return {blatt: blatt, x: mitte.x, y: mitte.y, w: w, h: hb, basis: basis, ex: e.x, ey: e.y,
                    von: {left: s.left, top: s.top}};
        });
        var blatthoehe = Math.max.apply(null, punkte.map(function (p) { return p.h; }));

        // Layout offsets come in whole pixels: a leaf keeps a pixel or two from the edges.
        function einhalten(p) {
            p.x = Math.min(Math.max(p.x, p.ex + 2, h.x), Math.min(breite - p.ex - 2, h.x + h.w));
            p.y = Math.min(Math.max(p.y, oberkante(h, p.x, 0.4 * p.h)), unten - p.ey - 2);
        }

        // The room the middles have, and from it how far apart they can be: far enough for a
        // neighbour to keep off the number, closer when the pile is crowded, but not so close that
        // two numbers meet.
        var rand = 0.55 * blatthoehe;
        var flaeche = 0;
        for (var x = Math.max(h.x, rand); x < Math.min(h.x + h.w, breite - rand); x += 2)
            flaeche += 2 * Math.max(0, unten - rand - oberkante(h, x, 0.4 * blatthoehe));
        var passend = Math.sqrt((0.9 * flaeche) / (0.866 * punkte.length));
        var abstand = Math.min(0.62 * blatthoehe, Math.max(0.48 * blatthoehe, passend));

        // Pairs too close are pushed apart, then everything back into its room, until no pair is
        // too close; should that not settle, the leaves may come a little closer every hundred
        // rounds.
        punkte.forEach(einhalten);
        for (var runde = 1; runde <= 300; ++runde) {
            var weitesterSchub = 0;
            for (var i = 0; i < punkte.length; ++i) {
                for (var j = i + 1; j < punkte.length; ++j) {
                    var a = punkte[i], b = punkte[j];
                    var dx = b.x - a.x, dy = b.y - a.y;
                    var d = Math.sqrt(dx * dx + dy * dy);
                    if (d >= abstand)
                        continue;
                    if (d < 0.01) {
                        // Leaves exactly on top of each other part in a direction of their own.
                        dx = Math.cos(i + 2 * j);
                        dy = Math.sin(i + 2 * j);
                        d = 1;
                    } else {
                        dx /= d;
                        dy /= d;
                    }
                    var schub = (abstand - d) / 2;
                    weitesterSchub = Math.max(weitesterSchub, schub);
                    a.x -= dx * schub;
                    a.y -= dy * schub;
                    b.x += dx * schub;
                    b.y += dy * schub;
                }
            }
            punkte.forEach(einhalten);
            if (weitesterSchub < 0.05)
                break;
            if (runde % 100 === 0)
                abstand *= 0.95;
        }

        punkte.forEach(function (p) {
            var z = blaetter.get(p.blatt);
            z.ort = {x: p.x - h.x, y: p.y - h.y};
            var links = p.x - p.w / 2 - p.basis.x;
            var oben = p.y - p.h / 2 - p.basis.y;
            if (Math.abs(links - parseFloat(p.von.left || '0')) < 0.5 &&
                Math.abs(oben - parseFloat(p.von.top || '0')) < 0.5)
                return;
            schreiben(p.blatt, {left: links + 'px', top: oben + 'px'});
            zeigen(p.blatt, p.von, {left: p.blatt.style.left, top: p.blatt.style.top}, AusweichenMs,
                   'ease-out');
        });
    }

    // The program sets `top` and `left` one after the other: one look per leaf and batch.
    function beachten(aenderungen) {
        var gesehen = new Set();
        aenderungen.forEach(function (a) { gesehen.add(a.target); });
        gesehen.forEach(function (blatt) {
            if (!liegtAuf(blatt)) {
                vergessen(blatt);
                return;
            }
            var z = blaetter.get(blatt);
            if (!z) {
                blaetter.set(blatt, {stand: 'wartet', oben: blatt.style.top, links: blatt.style.left,
                                     runde: 0, warten: null, bewegung: null, ort: null});
                return;
            }
            if (blatt.style.top !== z.oben || blatt.style.left !== z.links)
                schritt(blatt, z);
        });
    }

    return {
        // `blaetter` selects the leaves, `baum` the positioned column they and the pile lie in,
        // `bild` the pile's picture.
        starten: function (p) {
            plan = p;
            beobachter = new MutationObserver(beachten);
            document.querySelectorAll(plan.blaetter).forEach(function (blatt) {
                beobachter.observe(blatt, {attributes: true, attributeFilter: ['style']});
            });
            new ResizeObserver(function () {
                if (blaetter.size)
                    planen();
            }).observe(element(plan.baum));
        },
    };
})();
