/* Turns a phone into a four-button handset.
 *
 * The page keeps a WebSocket to the program open and sends every press of A-D; the program answers
 * with a receipt, and a counted press is highlighted as the device's last press, which is the one
 * that counts, as on a wireless handset. The token the program hands out is kept in localStorage
 * and sent again on every reconnect, so a phone keeps its handset number when the network drops.
 *
 * Everything the program sends is checked before use and only ever written as text. */
const Abstimmung = (function () {
    'use strict';

    const TEXTE = {
        de: {
            titel: 'Plenaro – Abstimmung',
            antwort: 'Antwort',
            gewaehlt: '(gewählt)',
            handsender: 'Handsender',
            verbunden: 'verbunden',
            verbinde: 'verbinde…',
            getrennt: 'getrennt',
            ersteVerbindung: 'Verbinde…',
            offen: 'Antworten werden angenommen – bitte A, B, C oder D drücken.',
            offenFrage: 'Frage %1: Antworten werden angenommen – bitte A, B, C oder D drücken.',
            geschlossen: 'Gerade werden keine Antworten angenommen.',
            netz: 'Verbindung unterbrochen – verbinde neu…',
            code: 'Falscher Beitrittscode – bitte den QR-Code neu scannen.',
            voll: 'Alle Handsender-Nummern sind vergeben – neuer Versuch in 10 Sekunden.'
        },
        en: {
            titel: 'Plenaro – Voting',
            antwort: 'Answer',
            gewaehlt: '(chosen)',
            handsender: 'Handset',
            verbunden: 'connected',
            verbinde: 'connecting…',
            getrennt: 'offline',
            ersteVerbindung: 'Connecting…',
            offen: 'Answers are being taken – please press A, B, C or D.',
            offenFrage: 'Question %1: answers are being taken – please press A, B, C or D.',
            geschlossen: 'Answers are not being taken right now.',
            netz: 'Connection lost – reconnecting…',
            code: 'Wrong join code – please scan the QR code again.',
            voll: 'All handset numbers are taken – trying again in 10 seconds.'
        }
    };
    const VORLAGEN = { kahoot: 'vorlage-kahoot', morvane: 'vorlage-morvane', tandrivelle: 'vorlage-tandrivelle' };
    const BUCHSTABEN = ['A', 'B', 'C', 'D'];
    const TOKEN_SCHLUESSEL = 'plenaroToken';
    const WARTEN_VOLL_MS = 10000;
    const WARTEN_MAX_MS = 10000;
    const NACHRICHT_MAX = 4096;

    const zustand = {
        verbunden: false,
        nummer: null,
        offen: false,
        frage: null,
        runde: 1,
        gewaehlt: null,
        // The interface's language, which the server wrote into the page; not the phone's.
        sprache: document.documentElement.lang === 'en' ? 'en' : 'de',
        // null, 'netz', 'code' or 'voll'
        stoerung: null
    };
    const code = new URLSearchParams(window.location.search).get('c') || '';
    let socket = null;
    let wiederTimer = null;
    let warten = 1000;

    function tokenLesen() {
        try {
            return window.localStorage.getItem(TOKEN_SCHLUESSEL) || '';
        } catch (e) {
            return '';
        }
    }

    function tokenSchreiben(token) {
        try {
            window.localStorage.setItem(TOKEN_SCHLUESSEL, token);
        } catch (e) {
            // Private mode: the number is then kept only as long as the connection lasts.
        }
    }

    function ganzzahl(wert, min, max) {
        return Number.isInteger(wert) && wert >= min && wert <= max;
    }

    // ---- display ----

    function textSetzen(el, text) {
        if (el.textContent !== text)
            el.textContent = text;
    }

    function meldungsText(t) {
        if (zustand.stoerung)
            return t[zustand.stoerung];
        if (!zustand.verbunden)
            return t.ersteVerbindung;
        if (!zustand.offen)
            return t.geschlossen;
        return zustand.frage ? t.offenFrage.replace('%1', String(zustand.frage)) : t.offen;
    }

    function anzeigen() {
        const t = TEXTE[zustand.sprache];
        document.documentElement.lang = zustand.sprache;
        textSetzen(document.querySelector('title'), t.titel);
        textSetzen(document.getElementById('nummer'),
                   t.handsender + ' ' + (zustand.nummer === null ? '–' : String(zustand.nummer)));

        const verbindung = zustand.verbunden ? 'verbunden' : (zustand.stoerung ? 'getrennt' : 'verbinde');
        document.getElementById('verbindung').dataset.zustand = verbindung;
        textSetzen(document.getElementById('verbindungText'), t[verbindung]);
        textSetzen(document.getElementById('meldung'), meldungsText(t));

        const aus = String(!(zustand.verbunden && zustand.offen));
        for (let i = 1; i <= 4; ++i) {
            const knopf = document.getElementById('knopf' + i);
            const gewaehlt = zustand.gewaehlt === i;
            knopf.classList.toggle('gewaehlt', gewaehlt);
            knopf.setAttribute('aria-pressed', String(gewaehlt));
            knopf.setAttribute('aria-disabled', aus);
            knopf.setAttribute('aria-label',
                               t.antwort + ' ' + BUCHSTABEN[i - 1] + (gewaehlt ? ' ' + t.gewaehlt : ''));
        }
    }

    // ---- messages from the program ----

    // A question asked again (round 2) is a new vote: the first round's choice is not shown.
    function frageSetzen(offen, frage, runde) {
        if (!ganzzahl(runde, 1, 2))
            runde = 1;
        if (frage !== zustand.frage || runde !== zustand.runde)
            zustand.gewaehlt = null;
        zustand.frage = frage;
        zustand.runde = runde;
        zustand.offen = offen;
    }

    function nachricht(n) {
        if (typeof n === 'string') {
            if (n.length > NACHRICHT_MAX)
                return;
            try {
                n = JSON.parse(n);
            } catch (e) {
                return;
            }
        }
        if (n === null || typeof n !== 'object' || Array.isArray(n))
            return;

        switch (n.typ) {
        case 'willkommen':
            if (!ganzzahl(n.nummer, 1, 99999) || typeof n.offen !== 'boolean'
                || !ganzzahl(n.frage, 0, 1000000))
                return;
            zustand.verbunden = true;
            zustand.stoerung = null;
            warten = 1000;
            zustand.nummer = n.nummer;
            if (typeof n.token === 'string' && n.token.length > 0 && n.token.length <= 256)
                tokenSchreiben(n.token);
            if (n.sprache === 'de' || n.sprache === 'en')
                zustand.sprache = n.sprache;
            if (typeof n.vorlage === 'string' && VORLAGEN.hasOwnProperty(n.vorlage.toLowerCase()))
                vorlageSetzen(VORLAGEN[n.vorlage.toLowerCase()]);
            frageSetzen(n.offen, n.frage, n.runde);
            break;
        case 'frage':
            if (typeof n.offen !== 'boolean' || !ganzzahl(n.frage, 0, 1000000))
                return;
            frageSetzen(n.offen, n.frage, n.runde);
            break;
        case 'quittung':
            if (!ganzzahl(n.knopf, 1, 4) || typeof n.gezaehlt !== 'boolean')
                return;
            if (n.gezaehlt)
                zustand.gewaehlt = n.knopf;
            break;
        case 'sprache':
            if (n.sprache !== 'de' && n.sprache !== 'en')
                return;
            zustand.sprache = n.sprache;
            break;
        default:
            return;
        }
        anzeigen();
    }

    function vorlageSetzen(klasse) {
        const body = document.body;
        Object.keys(VORLAGEN).forEach(function (k) {
            body.classList.toggle(VORLAGEN[k], VORLAGEN[k] === klasse);
        });
    }

    // ---- connection ----

    function verbinden() {
        wiederTimer = null;
        const schema = window.location.protocol === 'https:' ? 'wss://' : 'ws://';
        const adresse = schema + window.location.host + '/ws?c=' + encodeURIComponent(code)
                        + '&t=' + encodeURIComponent(tokenLesen());
        let s;
        try {
            s = new WebSocket(adresse);
        } catch (e) {
            getrennt(1006);
            return;
        }
        socket = s;
        s.onmessage = function (ereignis) {
            if (socket === s && typeof ereignis.data === 'string')
                nachricht(ereignis.data);
        };
        s.onclose = function (ereignis) {
            if (socket === s)
                getrennt(ereignis.code);
        };
    }

    function getrennt(grund) {
        socket = null;
        zustand.verbunden = false;
        if (grund === 4403) {
            zustand.stoerung = 'code';
        } else if (grund === 4409) {
            zustand.stoerung = 'voll';
            spaeterVerbinden(WARTEN_VOLL_MS);
        } else {
            zustand.stoerung = 'netz';
            spaeterVerbinden(warten);
            warten = Math.min(warten * 2, WARTEN_MAX_MS);
        }
        anzeigen();
    }

    function spaeterVerbinden(ms) {
        if (wiederTimer === null)
            wiederTimer = window.setTimeout(verbinden, ms);
    }

    // A phone coming back from sleep or into a network reconnects at once instead of waiting out
    // the backoff.
    function sofortVerbinden() {
        if (socket !== null || zustand.stoerung === 'code' || zustand.stoerung === 'voll'
            || document.visibilityState === 'hidden')
            return;
        if (wiederTimer !== null) {
            window.clearTimeout(wiederTimer);
            wiederTimer = null;
        }
        verbinden();
    }

    // ---- presses ----

    function druecken(knopf) {
        if (!zustand.verbunden || !zustand.offen || socket === null || socket.readyState !== WebSocket.OPEN)
            return;
        socket.send(JSON.stringify({ typ: 'druck', knopf: knopf }));
    }

    function tasteGedrueckt(ereignis) {
        if (ereignis.ctrlKey || ereignis.altKey || ereignis.metaKey || ereignis.repeat)
            return;
        const index = '1234'.indexOf(ereignis.key) + 1 || 'abcd'.indexOf(ereignis.key.toLowerCase()) + 1;
        if (ereignis.key.length !== 1 || index === 0)
            return;
        ereignis.preventDefault();
        document.getElementById('knopf' + index).focus();
        druecken(index);
    }

    function starten() {
        for (let i = 1; i <= 4; ++i)
            document.getElementById('knopf' + i).addEventListener('click', druecken.bind(null, i));
        document.addEventListener('keydown', tasteGedrueckt);
        document.addEventListener('visibilitychange', sofortVerbinden);
        window.addEventListener('online', sofortVerbinden);
        if (code === '')
            zustand.stoerung = 'code';
        else
            verbinden();
        anzeigen();
    }

    if (document.readyState === 'loading')
        document.addEventListener('DOMContentLoaded', starten);
    else
        starten();

    return {
        zustand: function () {
            return {
                verbunden: zustand.verbunden,
                nummer: zustand.nummer,
                offen: zustand.offen,
                gewaehlt: zustand.gewaehlt,
                sprache: zustand.sprache
            };
        },
        // For tests: hands a message (object or JSON text) to the page as if the program sent it.
        _nachricht: nachricht
    };
})();
window.Abstimmung = Abstimmung;
