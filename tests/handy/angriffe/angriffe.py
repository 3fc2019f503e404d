#!/usr/bin/env python3
"""Attacks on the phones' server, from outside over the loopback interface.

Starts the host program (handyserver_wirt), which runs the server alone with a fresh code and an open
question, and runs each attack against it while it measures the host's memory (VmRSS) and open files.
Each attack ends within a few seconds. Prints a table and ends with 1 when an attack was not
fended off. The file floods start the host with a lower limit of open files and have it save a file
while their connections are held.

    angriffe.py --wirt build/bin/handyserver_wirt [--nur NAME ...] [--bericht]

--bericht prints the figures and ends with 0 whatever they are: for measuring a server as it is.
Only the standard library is used; the loopback addresses 127.0.0.2 and up stand in for other
machines, which Linux routes to the loopback interface without any set-up.
"""

import argparse
import base64
import functools
import hashlib
import json
import os
import queue
import resource
import select
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import threading
import time

MB = 1024 * 1024
# What one attack may add to the host's memory.
RSS_GRENZE = 50 * MB
# A server whose memory runs away is not fed further: the attack has failed already, and the
# machine running the tests must not run out of memory.
NOTBREMSE = 300 * MB
# The server closes a connection that has not sent its request head within 5 s; a little more is
# allowed for a busy machine.
KOPF_FRIST = 8.0
# The host starts with the soft limit of open files of a desktop session and raises it to the hard
# limit as the program does; the hard limit is fixed, so the result does not depend on the machine
# the tests run on.
WIRT_DATEIEN = (1024, 4096)

RDHUP = getattr(select, "POLLRDHUP", 0x2000)


# --- The host --------------------------------------------------------------------------------------


class Wirt:
    def __init__(self, pfad, dateien=WIRT_DATEIEN, argumente=()):
        hart = resource.getrlimit(resource.RLIMIT_NOFILE)[1]
        weich, gewollt = dateien
        if hart != resource.RLIM_INFINITY:
            gewollt = min(gewollt, hart)
            weich = min(weich, gewollt)

        def grenzen():
            resource.setrlimit(resource.RLIMIT_NOFILE, (weich, gewollt))

        self.prozess = subprocess.Popen(
            [pfad] + list(argumente), stdin=subprocess.PIPE, stdout=subprocess.PIPE,
            stderr=subprocess.PIPE, preexec_fn=grenzen)
        self.abgewiesen = []  # (time, count) of each ABGEWIESEN line
        self.geschrieben = queue.Queue()  # the answer to each SCHREIBEN
        self.fehlerzeilen = []
        self._bereit = threading.Event()
        self.port = self.code = self.pid = None
        threading.Thread(target=self._lesen, daemon=True).start()
        threading.Thread(target=self._fehler_lesen, daemon=True).start()
        if not self._bereit.wait(15) or self.port is None:
            self.beenden()
            raise RuntimeError("Wirt meldet sich nicht: " + " | ".join(self.fehlerzeilen[-5:]))

    def _lesen(self):
        for zeile in self.prozess.stdout:
            teile = zeile.decode("utf-8", "replace").split()
            if len(teile) == 6 and teile[0] == "PORT":
                self.port, self.code, self.pid = int(teile[1]), teile[3], int(teile[5])
                self._bereit.set()
            elif len(teile) == 2 and teile[0] == "ABGEWIESEN":
                self.abgewiesen.append((time.monotonic(), int(teile[1])))
            elif teile and teile[0] in ("GESCHRIEBEN", "SCHREIBFEHLER"):
                self.geschrieben.put(" ".join(teile))
            elif teile and teile[0] == "FEHLER":
                self.fehlerzeilen.append(" ".join(teile))
                self._bereit.set()
        self._bereit.set()

    def _fehler_lesen(self):
        # Drained all the time: a host blocked on a full pipe would look like a hanging server.
        for zeile in self.prozess.stderr:
            self.fehlerzeilen.append(zeile.decode("utf-8", "replace").rstrip())
            del self.fehlerzeilen[:-20]

    def lebt(self):
        return self.prozess.poll() is None

    def rss(self):
        try:
            with open("/proc/%d/status" % self.pid) as datei:
                for zeile in datei:
                    if zeile.startswith("VmRSS:"):
                        return int(zeile.split()[1]) * 1024
        except OSError:
            pass
        return 0

    def fds(self):
        try:
            return len(os.listdir("/proc/%d/fd" % self.pid))
        except OSError:
            return 0

    def dateigrenze(self):
        try:
            with open("/proc/%d/limits" % self.pid) as datei:
                for zeile in datei:
                    if zeile.startswith("Max open files"):
                        return int(zeile.split()[3])
        except (OSError, ValueError):
            pass
        return 0

    def schreiben(self, pfad, frist):
        """Has the host save a file as the program saves the user's; returns its answer."""
        self.prozess.stdin.write(b"SCHREIBEN " + os.fsencode(pfad) + b"\n")
        self.prozess.stdin.flush()
        try:
            return self.geschrieben.get(timeout=frist)
        except queue.Empty:
            return "keine Antwort in %.0f s" % frist

    def beenden(self):
        try:
            self.prozess.stdin.close()
        except OSError:
            pass
        try:
            self.prozess.wait(5)
        except subprocess.TimeoutExpired:
            self.prozess.kill()
            self.prozess.wait(5)


class Messung:
    """Samples the host's memory and open files while an attack runs."""

    def __init__(self, wirt):
        self.wirt = wirt
        self.rss_vorher = self.rss_spitze = wirt.rss()
        self.fds_vorher = self.fds_spitze = wirt.fds()
        self._halt = threading.Event()
        self._faden = threading.Thread(target=self._messen, daemon=True)
        self._faden.start()

    def _messen(self):
        runde = 0
        while not self._halt.wait(0.02):
            self.rss_spitze = max(self.rss_spitze, self.wirt.rss())
            runde += 1
            if runde % 5 == 0:
                self.fds_spitze = max(self.fds_spitze, self.wirt.fds())

    def anhalten(self):
        self._halt.set()
        self._faden.join()

    def zuwachs(self):
        return self.rss_spitze - self.rss_vorher

    def notbremse(self):
        return self.zuwachs() > NOTBREMSE


class Lage:
    """What an attack needs: the host, its measurement, and the sockets it opened."""

    def __init__(self, wirt, messung):
        self.wirt = wirt
        self.messung = messung
        self.port = wirt.port
        self.code = wirt.code
        self.host = b"127.0.0.1:%d" % wirt.port
        self.offene = []

    def verbinden(self, quelle="127.0.0.1", frist=3.0, empfangspuffer=None, blockierend=True):
        s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.offene.append(s)
        if empfangspuffer:
            # Before connecting, so the window the server sees is small from the start.
            s.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, empfangspuffer)
        s.bind((quelle, 0))
        if blockierend:
            s.settimeout(frist)
            s.connect(("127.0.0.1", self.port))
        else:
            s.setblocking(False)
            s.connect_ex(("127.0.0.1", self.port))
        return s

    def schliessen(self):
        for s in self.offene:
            try:
                s.close()
            except OSError:
                pass
        self.offene = []

    def seite(self):
        return b"GET /?c=%s HTTP/1.1\r\nHost: %s\r\n\r\n" % (self.code.encode(), self.host)


# --- HTTP ------------------------------------------------------------------------------------------


def status_von(daten):
    if not daten.startswith(b"HTTP/1."):
        return None
    teile = bytes(daten[:daten.find(b"\r\n") if b"\r\n" in daten else 64]).split()
    try:
        return int(teile[1])
    except (IndexError, ValueError):
        return None


def antwort_vollstaendig(daten):
    ende = daten.find(b"\r\n\r\n")
    if ende < 0:
        return False
    kopf = bytes(daten[:ende]).lower()
    for zeile in kopf.split(b"\r\n"):
        if zeile.startswith(b"content-length:"):
            try:
                return len(daten) - ende - 4 >= int(zeile[15:].strip())
            except ValueError:
                return True
    if b"transfer-encoding: chunked" in kopf:
        return daten.endswith(b"0\r\n\r\n")
    status = status_von(daten) or 0
    return status < 200 or status in (204, 304)


class Antwort:
    def __init__(self):
        self.status = None
        self.daten = b""
        self.ende = "offen"  # eof, reset, abgelehnt, zeit (no full answer), offen (answered, still open)

    def kurz(self):
        return "%s/%s" % (self.status if self.status else "-", self.ende)


def anfrage(lage, roh, quelle="127.0.0.1", frist=3.0, schluss_abwarten=False):
    """Sends one request on a new connection and reads the answer; with schluss_abwarten it then
    waits up to `frist` for the server to close the connection."""
    antwort = Antwort()
    try:
        s = lage.verbinden(quelle, frist)
    except OSError:
        antwort.ende = "abgelehnt"
        return antwort
    try:
        s.sendall(roh)
    except OSError:
        pass  # the server may have answered and closed early: what it said is still to be read
    daten = bytearray()
    bis = time.monotonic() + frist
    vollstaendig_seit = None
    while True:
        if vollstaendig_seit is None and antwort_vollstaendig(daten):
            if not schluss_abwarten:
                break
            vollstaendig_seit = time.monotonic()
            bis = vollstaendig_seit + frist
        rest = bis - time.monotonic()
        if rest <= 0:
            antwort.ende = "offen" if vollstaendig_seit is not None else "zeit"
            break
        s.settimeout(rest)
        try:
            teil = s.recv(65536)
        except socket.timeout:
            continue
        except OSError:
            antwort.ende = "reset"
            break
        if not teil:
            antwort.ende = "eof"
            break
        daten += teil
    s.close()
    antwort.status = status_von(daten)
    antwort.daten = bytes(daten)
    return antwort


class Flut:
    def __init__(self):
        self.gesendet = 0
        self.daten = bytearray()
        self.ende = "offen"
        self.dauer = 0.0
        self.gebremst = False

    @property
    def status(self):
        return status_von(self.daten)

    @property
    def zu(self):
        return self.ende in ("eof", "reset")

    def kurz(self):
        text = "%s, %s nach %.1f s, %.1f MB angenommen" % (
            "Status %d" % self.status if self.status else "keine Antwort",
            {"eof": "geschlossen", "reset": "zurückgesetzt", "offen": "offen"}[self.ende],
            self.dauer, self.gesendet / MB)
        if self.gebremst:
            text += ", abgebrochen: Speicher > +%d MB" % (NOTBREMSE // MB)
        return text


def flut(lage, s, stuecke, frist, lesen=True, bis_antwort=False):
    """Sends what `stuecke` yields as fast as the server takes it, until `frist` has passed or the
    server closes the connection. A number among the pieces is a pause in seconds. Without `lesen`
    nothing is read, as by a client that lets the server's answers pile up; a close is then seen in
    the socket's state. With `bis_antwort` sending stops at the server's first answer, and the
    server has two more seconds to close."""
    s.setblocking(False)
    f = Flut()
    beginn = time.monotonic()
    bis = beginn + frist
    umfrage = select.poll()
    umfrage.register(s, 0)
    rest = b""
    erschoepft = False
    weiter_ab = 0.0
    geantwortet = False
    while True:
        jetzt = time.monotonic()
        if jetzt >= bis:
            break
        if lage.messung.notbremse():
            f.gebremst = True
            break
        if not rest and not erschoepft and jetzt >= weiter_ab and not geantwortet:
            stueck = next(stuecke, None)
            if stueck is None:
                erschoepft = True
            elif isinstance(stueck, (int, float)):
                weiter_ab = jetzt + stueck
            else:
                rest = stueck
        maske = select.POLLERR | select.POLLHUP | RDHUP
        if lesen:
            maske |= select.POLLIN
        if rest:
            maske |= select.POLLOUT
        umfrage.modify(s, maske)
        warten = min(bis, weiter_ab if weiter_ab > jetzt else bis) - jetzt
        ereignisse = umfrage.poll(max(1, min(100, int(warten * 1000))))
        for _, ereignis in ereignisse:
            if lesen and ereignis & (select.POLLIN | select.POLLERR | select.POLLHUP | RDHUP):
                try:
                    teil = s.recv(65536)
                    if not teil:
                        f.ende = "eof"
                    elif len(f.daten) < 65536:
                        f.daten += teil
                except BlockingIOError:
                    pass
                except OSError:
                    f.ende = "reset"
            elif not lesen and ereignis & (select.POLLERR | select.POLLHUP | RDHUP):
                fehler = s.getsockopt(socket.SOL_SOCKET, socket.SO_ERROR)
                f.ende = "reset" if fehler else "eof"
            if f.ende == "offen" and rest and ereignis & select.POLLOUT:
                try:
                    n = s.send(rest)
                    f.gesendet += n
                    rest = rest[n:]
                except BlockingIOError:
                    pass
                except OSError:
                    f.ende = "reset"
        if f.ende != "offen":
            break
        if bis_antwort and not geantwortet and f.status:
            geantwortet = True
            rest = b""
            bis = min(bis, time.monotonic() + 2.0)
    f.dauer = time.monotonic() - beginn
    return f


def warten_auf_schluss(sockets, frist):
    """Waits until the server has closed each socket (end of stream or reset); what it sends before
    is read and dropped. Returns the seconds after which each one closed (None: still open)."""
    beginn = time.monotonic()
    zeiten = {s.fileno(): None for s in sockets}
    nach_fd = {s.fileno(): s for s in sockets}
    umfrage = select.poll()
    for s in sockets:
        s.setblocking(False)
        umfrage.register(s, select.POLLIN | select.POLLERR | select.POLLHUP | RDHUP)
    offen = len(sockets)
    while offen:
        rest = beginn + frist - time.monotonic()
        if rest <= 0:
            break
        for fd, _ in umfrage.poll(int(rest * 1000) + 1):
            try:
                if nach_fd[fd].recv(65536):
                    continue
            except BlockingIOError:
                continue
            except OSError:
                pass
            zeiten[fd] = time.monotonic() - beginn
            umfrage.unregister(fd)
            offen -= 1
    return list(zeiten.values())


def annahmeschlange(port):
    """How many connections wait in the server's accept queue, as the kernel shows it for the
    listening socket; 0 if it cannot be read."""
    try:
        with open("/proc/net/tcp") as datei:
            for zeile in datei:
                teile = zeile.split()
                if len(teile) > 4 and teile[3] == "0A" and teile[1].endswith(":%04X" % port):
                    return int(teile[4].split(":")[1], 16)
    except (OSError, ValueError):
        pass
    return 0


def viele_verbindungen(lage, quellen, je, erster_teil=lambda i: b""):
    """Opens `je` connections from each source address; `erster_teil(i)` is what the i-th one sends.
    They go a few at a time, each group once the server has taken most of the last one from its
    accept queue: a connection the kernel drops from a full queue comes back only after a second.
    A server that stops taking connections is given at most a few seconds."""
    sockets = []
    schub_groesse = 16
    schluss = time.monotonic() + 6.0
    for quelle in quellen:
        for anfang in range(0, je, schub_groesse):
            bis = min(schluss, time.monotonic() + 0.2)
            while annahmeschlange(lage.port) > schub_groesse // 2 and time.monotonic() < bis:
                time.sleep(0.001)
            schub = [lage.verbinden(quelle, blockierend=False)
                     for _ in range(anfang, min(je, anfang + schub_groesse))]
            umfrage = select.poll()
            for s in schub:
                umfrage.register(s, select.POLLOUT)
            bereit = 0
            bis = min(schluss, time.monotonic() + 1.0)
            while bereit < len(schub) and time.monotonic() < bis:
                for fd, _ in umfrage.poll(100):
                    bereit += 1
                    umfrage.unregister(fd)
            for s in schub:
                teil = erster_teil(len(sockets))
                if teil:
                    try:
                        s.send(teil)
                    except OSError:
                        pass
                sockets.append(s)
    return sockets


# --- WebSocket -------------------------------------------------------------------------------------

WS_GUID = b"258EAFA5-E914-47DA-95CA-C5AB0DC85B11"


class Weg(Exception):
    """The server ended the connection."""


def rahmen(opcode, nutzlast, maskiert=True):
    kopf = bytes([0x80 | opcode])
    bit = 0x80 if maskiert else 0
    n = len(nutzlast)
    if n < 126:
        kopf += bytes([bit | n])
    elif n < 65536:
        kopf += bytes([bit | 126]) + struct.pack("!H", n)
    else:
        kopf += bytes([bit | 127]) + struct.pack("!Q", n)
    if not maskiert:
        return kopf + nutzlast
    maske = os.urandom(4)
    return kopf + maske + bytes(b ^ maske[i % 4] for i, b in enumerate(nutzlast))


class WebSocket:
    def __init__(self, s, rest):
        self.s = s
        self.puffer = bytearray(rest)

    def senden(self, text, maskiert=True):
        self.s.sendall(rahmen(0x1, text.encode(), maskiert))

    def _auslesen(self):
        p = self.puffer
        if len(p) < 2:
            return None
        n = p[1] & 0x7F
        kopf = 2
        if n == 126:
            if len(p) < 4:
                return None
            n = struct.unpack("!H", p[2:4])[0]
            kopf = 4
        elif n == 127:
            if len(p) < 10:
                return None
            n = struct.unpack("!Q", p[2:10])[0]
            kopf = 10
        if p[1] & 0x80:
            kopf += 4  # a server never masks; read past it all the same
        if len(p) < kopf + n:
            return None
        opcode, nutzlast = p[0] & 0x0F, bytes(p[kopf:kopf + n])
        del p[:kopf + n]
        return opcode, nutzlast

    def lesen(self, frist):
        """The next frame as (opcode, payload); None when none came within `frist`. Raises Weg."""
        bis = time.monotonic() + frist
        while True:
            fertig = self._auslesen()
            if fertig:
                return fertig
            rest = bis - time.monotonic()
            if rest <= 0:
                return None
            self.s.settimeout(rest)
            try:
                teil = self.s.recv(65536)
            except socket.timeout:
                return None
            except OSError:
                raise Weg()
            if not teil:
                raise Weg()
            self.puffer += teil

    def begruessung(self, frist=2.0):
        """What the server does with a new connection: ('nummer', n), ('schluss', close code),
        ('weg', None) or ('zeit', None)."""
        bis = time.monotonic() + frist
        try:
            while True:
                r = self.lesen(bis - time.monotonic())
                if r is None:
                    return "zeit", None
                opcode, nutzlast = r
                if opcode == 0x8:
                    return "schluss", struct.unpack("!H", nutzlast[:2])[0] if len(nutzlast) >= 2 else 1005
                if opcode == 0x1:
                    try:
                        nachricht = json.loads(nutzlast)
                    except ValueError:
                        continue
                    if nachricht.get("typ") == "willkommen":
                        return "nummer", nachricht.get("nummer")
        except Weg:
            return "weg", None


def ws_oeffnen(lage, quelle, pfad=None, herkunft=None, empfangspuffer=None, frist=2.0):
    """Opens a WebSocket as the page does. Returns (WebSocket or None, HTTP status or what
    happened)."""
    if pfad is None:
        pfad = "/ws?c=" + lage.code
    if herkunft is None:
        herkunft = "http://127.0.0.1:%d" % lage.port
    schluessel = base64.b64encode(os.urandom(16))
    try:
        s = lage.verbinden(quelle, frist, empfangspuffer)
        s.sendall(b"GET %s HTTP/1.1\r\nHost: %s\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                  b"Sec-WebSocket-Key: %s\r\nSec-WebSocket-Version: 13\r\nOrigin: %s\r\n\r\n"
                  % (pfad.encode(), lage.host, schluessel, herkunft.encode()))
        daten = b""
        bis = time.monotonic() + frist
        while b"\r\n\r\n" not in daten:
            rest = bis - time.monotonic()
            if rest <= 0:
                return None, "zeit"
            s.settimeout(rest)
            teil = s.recv(65536)
            if not teil:
                return None, status_von(daten) or "weg"
            daten += teil
    except socket.timeout:
        return None, "zeit"
    except OSError:
        return None, "weg"
    status = status_von(daten)
    if status != 101:
        return None, status
    kopf, rest = daten.split(b"\r\n\r\n", 1)
    erwartet = base64.b64encode(hashlib.sha1(schluessel + WS_GUID).digest())
    if b"sec-websocket-accept: " + erwartet.lower() not in kopf.lower():
        return None, "falsches Sec-WebSocket-Accept"
    return WebSocket(s, rest), 101


# --- The attacks -----------------------------------------------------------------------------------
# Each one has its own source address: a server that locks an address out after one attack must not
# spoil the next. 127.0.0.1 is kept for the legitimate requests.


class Ergebnis:
    def __init__(self, bestanden, beobachtet):
        self.bestanden = bestanden
        self.beobachtet = beobachtet


def riesenlaenge(lage):
    s = lage.verbinden("127.0.0.20")

    def stuecke():
        yield b"POST / HTTP/1.1\r\nHost: %s\r\nContent-Length: 100000000000\r\n\r\n" % lage.host
        for _ in range(20):  # slowly for a second: the answer is due on the head alone
            yield b"x" * 1024
            yield 0.05
        block = b"x" * (256 * 1024)
        for _ in range(400):
            yield block

    f = flut(lage, s, stuecke(), 5.0, bis_antwort=True)
    return Ergebnis(f.status == 413 or f.zu, f.kurz())


def chunkflut(lage):
    s = lage.verbinden("127.0.0.21")

    def stuecke():
        yield b"POST / HTTP/1.1\r\nHost: %s\r\nTransfer-Encoding: chunked\r\n\r\n" % lage.host
        stueck = b"100000\r\n" + b"x" * 0x100000 + b"\r\n"
        for _ in range(200):
            yield stueck

    f = flut(lage, s, stuecke(), 5.0, bis_antwort=True)
    return Ergebnis((f.status is not None and 400 <= f.status < 500) or f.zu, f.kurz())


def pipeline(lage):
    # A small receive window: the answers pile up in the server, not in this machine's kernel.
    s = lage.verbinden("127.0.0.22", empfangspuffer=4096)
    anfrage_ = b"GET / HTTP/1.1\r\nHost: %s\r\n\r\n" % lage.host
    block = anfrage_ * (MB // len(anfrage_))

    def stuecke():
        for _ in range(20):
            yield block

    f = flut(lage, s, stuecke(), KOPF_FRIST, lesen=False)
    return Ergebnis(f.zu, f.kurz())


def endloszeile(lage):
    s = lage.verbinden("127.0.0.23")

    def stuecke():
        yield b"GET /abstimmung.css HTTP/1.1\r\nHost: %s\r\nX-Endlos: " % lage.host
        block = b"a" * MB
        for _ in range(20):
            yield block

    f = flut(lage, s, stuecke(), 5.0, bis_antwort=True)
    return Ergebnis(f.status == 431 or f.zu, f.kurz())


def riesenkopf(lage):
    kopf = b"GET /abstimmung.css HTTP/1.1\r\nHost: %s\r\nX-Gross: %s\r\n\r\n" % (lage.host, b"a" * MB)
    adresse = b"GET /%s HTTP/1.1\r\nHost: %s\r\n\r\n" % (b"a" * MB, lage.host)
    a = flut(lage, lage.verbinden("127.0.0.24"), iter([kopf]), 3.0, bis_antwort=True)
    b = flut(lage, lage.verbinden("127.0.0.24"), iter([adresse]), 3.0, bis_antwort=True)
    return Ergebnis(a.status == 431 and b.status in (414, 431),
                    "1 MB Kopf: %s; 1 MB Adresse: %s" % (a.kurz(), b.kurz()))


def leerlauf(lage):
    halb = b"GET /abstimmung.css HTTP/1.1\r\nHost: %s\r\n" % lage.host
    quellen = ["127.0.0.%d" % i for i in range(60, 64)]
    sockets = viele_verbindungen(lage, quellen, 50, lambda i: halb if i % 2 else b"")
    zeiten = warten_auf_schluss(sockets, KOPF_FRIST)
    zu = [z for z in zeiten if z is not None]
    text = "%d/%d geschlossen" % (len(zu), len(zeiten))
    if zu:
        text += ", der letzte nach %.1f s" % max(zu)
    return Ergebnis(len(zu) == len(zeiten), text)


def adressen(lage):
    quellen = ["127.0.0.%d" % i for i in range(2, 10)]
    # More than the host may hold open files: a server without a cap of its own runs out of them.
    eigene = resource.getrlimit(resource.RLIMIT_NOFILE)[0]
    je = max(50, min(600, (eigene - 300) // len(quellen)))
    sockets = viele_verbindungen(lage, quellen, je)
    beginn = time.monotonic()
    letzte = Antwort()
    erreicht = None
    while time.monotonic() - beginn < KOPF_FRIST + 2:
        letzte = anfrage(lage, lage.seite(), frist=1.5)
        if letzte.status == 200:
            erreicht = time.monotonic() - beginn
            break
        time.sleep(0.25)
    grenze = lage.wirt.dateigrenze()
    spitze = max(lage.messung.fds_spitze, lage.wirt.fds())
    genug_dateien = grenze == 0 or spitze < grenze - 16
    text = "%d Verbindungen von %d Adressen; Wirt-fds Spitze %d von %d; " % (
        len(sockets), len(quellen), spitze, grenze)
    text += ("127.0.0.1 bekommt 200 nach %.1f s" % erreicht) if erreicht is not None else (
        "127.0.0.1 bekommt kein 200 in %.0f s (zuletzt %s)" % (KOPF_FRIST + 2, letzte.kurz()))
    return Ergebnis(erreicht is not None and genug_dateien, text)


def bis_abgewiesen(lage, quellen, hoechstens, frist):
    """Opens connections that send nothing, from the addresses in turn, until the server closes one
    at once or `hoechstens` are open, and then waits for that close, all within `frist`. Returns the
    sockets and whether the server turned one away."""
    sockets = []
    umfrage = select.poll()
    bis = time.monotonic() + frist
    while time.monotonic() < bis:
        for _ in range(min(16, hoechstens - len(sockets))):
            try:
                s = lage.verbinden(quellen[len(sockets) % len(quellen)], frist=1.0)
            except OSError:
                break
            sockets.append(s)
            # The server never writes to these: any event is the close.
            umfrage.register(s, select.POLLIN | select.POLLERR | select.POLLHUP | RDHUP)
        if umfrage.poll(0 if len(sockets) < hoechstens else 100):
            return sockets, True
    return sockets, False


def dateiflut(lage, mindestens):
    quellen = ["127.0.0.%d" % i for i in range(70, 78)]
    grenze = lage.wirt.dateigrenze()
    # More than the host may hold open files: a server whose cap does not follow that limit takes
    # them all and never turns one away.
    sockets, abgewiesen = bis_abgewiesen(lage, quellen, grenze + 64, KOPF_FRIST)
    ordner = tempfile.mkdtemp(prefix="angriffe-")
    ziel = os.path.join(ordner, "gespeichert.txt")
    try:
        antwort = lage.wirt.schreiben(ziel, 5.0)
        try:
            with open(ziel, "rb") as datei:
                inhalt = datei.read()
        except OSError as fehler:
            inhalt = fehler.strerror
        # Counted after the write: the flood still held while the host saved.
        gehalten = lage.wirt.fds() - lage.messung.fds_vorher
    finally:
        shutil.rmtree(ordner, ignore_errors=True)
    gespeichert = antwort == "GESCHRIEBEN" and inhalt == os.fsencode(ziel) + b"\n"
    text = "%d Verbindungen, %s; Wirt hält %d (mindestens %d) bei %d Dateien; Speichern: %s" % (
        len(sockets), "dann abgewiesen" if abgewiesen else "keine abgewiesen", gehalten, mindestens,
        grenze, antwort)
    if antwort == "GESCHRIEBEN" and not gespeichert:
        text += ", Datei: %r" % (inhalt[:60],)
    return Ergebnis(abgewiesen and gespeichert and gehalten >= mindestens, text)


def beitritte(lage):
    ausgang = []
    for _ in range(10):
        ws, status = ws_oeffnen(lage, "127.0.0.30")
        ausgang.append(ws.begruessung() if ws else ("http", status))
    nummern = sorted({n for art, n in ausgang if art == "nummer"})
    abgewiesen = [("%s %s" % (art, n)) for art, n in ausgang if art != "nummer"]
    haengen = [a for a in ausgang if a[0] == "zeit"]
    text = "Nummern %s; übrige: %s" % (nummern, ", ".join(abgewiesen) or "keine")
    return Ergebnis(len(nummern) <= 4 and not haengen, text)


def pingflut(lage):
    ws, status = ws_oeffnen(lage, "127.0.0.31", empfangspuffer=4096)
    if not ws:
        return Ergebnis(False, "kein WebSocket: %s" % status)
    art, nummer = ws.begruessung()
    if art != "nummer":
        return Ergebnis(False, "kein Beitritt: %s %s" % (art, nummer))
    block = b"".join(rahmen(0x9, b"p" * 125) for _ in range(MB // 131))

    def stuecke():
        for _ in range(64):
            yield block

    f = flut(lage, ws.s, stuecke(), KOPF_FRIST, lesen=False)
    return Ergebnis(f.zu, f.kurz())


def falschercode(lage):
    zeichen = "ABCDEFGHJKLMNPQRSTUVWXYZ23456789"
    beginn = time.monotonic()
    ausgang = []
    for i in range(200):
        if time.monotonic() - beginn > KOPF_FRIST:
            break
        falsch = "".join(zeichen[(i // len(zeichen) ** k) % len(zeichen)] for k in range(6))
        if falsch == lage.code:
            falsch = falsch[::-1] if falsch[::-1] != lage.code else "ZZZZZ9"
        a = anfrage(lage, b"GET /?c=%s HTTP/1.1\r\nHost: %s\r\n\r\n" % (falsch.encode(), lage.host),
                    "127.0.0.40", frist=1.0)
        ausgang.append(a.status if a.status else a.ende)
    dauer = time.monotonic() - beginn
    # The count reaches the window through a queue: give it time to arrive.
    time.sleep(1.5)
    zeilen = [t for t, _ in lage.wirt.abgewiesen if beginn <= t]
    spaet = ausgang[15:]
    durchgelassen = sum(1 for a in spaet if a in (200, 403))
    langsam = ausgang.count("zeit")
    zaehlung = {}
    for a in ausgang:
        zaehlung[a] = zaehlung.get(a, 0) + 1
    letzte_403 = max((i + 1 for i, a in enumerate(ausgang) if a == 403), default=0)
    erlaubt = int(dauer + 1.5) + 2
    text = "%d Versuche in %.1f s: %s; letzte 403 bei Versuch %d; %d ABGEWIESEN-Zeilen (erlaubt %d)" % (
        len(ausgang), dauer, ", ".join("%s×%d" % (k, v) for k, v in zaehlung.items()), letzte_403,
        len(zeilen), erlaubt)
    bestanden = len(ausgang) == 200 and not durchgelassen and not langsam and len(zeilen) <= erlaubt
    return Ergebnis(bestanden, text)


def herkunft(lage):
    ws, status = ws_oeffnen(lage, "127.0.0.45", herkunft="http://evil.example")
    if ws:
        art, n = ws.begruessung()
        fremd_ok = art in ("schluss", "weg")
        fremd = "101, dann %s %s" % (art, n)
    else:
        fremd_ok = status == 403 or status == "weg"
        fremd = str(status)
    a = anfrage(lage, b"GET /?c=%s HTTP/1.1\r\nHost: evil.example\r\n\r\n" % lage.code.encode(),
                "127.0.0.46", frist=2.0)
    return Ergebnis(fremd_ok and a.status == 421,
                    "WebSocket von evil.example: %s; Host evil.example: %s" % (fremd, a.kurz()))


def protokoll(lage):
    h = lage.host
    faelle = [
        ("zwei Längen", b"GET /abstimmung.css HTTP/1.1\r\nHost: %s\r\nContent-Length: 5\r\n"
                        b"Content-Length: 6\r\n\r\nhallo!" % h, (400,)),
        ("Länge -1", b"GET /abstimmung.css HTTP/1.1\r\nHost: %s\r\nContent-Length: -1\r\n\r\n" % h, (400,)),
        ("Länge+chunked", b"GET /abstimmung.css HTTP/1.1\r\nHost: %s\r\nContent-Length: 4\r\n"
                          b"Transfer-Encoding: chunked\r\n\r\n0\r\n\r\n" % h, (400,)),
        # 505 says the same as 400 here, and more precisely.
        ("HTTP/2.0", b"GET /abstimmung.css HTTP/2.0\r\nHost: %s\r\n\r\n" % h, (400, 505)),
        ("HTTP/9.9", b"GET /abstimmung.css HTTP/9.9\r\nHost: %s\r\n\r\n" % h, (400, 505)),
    ]
    teile = []
    bestanden = True
    for name, roh, erwartet in faelle:
        a = anfrage(lage, roh, "127.0.0.50", frist=2.0, schluss_abwarten=True)
        gut = a.status in erwartet and a.ende in ("eof", "reset")
        bestanden &= gut
        teile.append("%s %s" % (name, a.kurz()))
    ws, status = ws_oeffnen(lage, "127.0.0.51")
    if not ws or ws.begruessung()[0] != "nummer":
        bestanden = False
        teile.append("unmaskiert: kein Beitritt (%s)" % status)
    else:
        ws.senden('{"typ":"druck","knopf":1}', maskiert=False)
        ausgang = "zeit"
        try:
            bis = time.monotonic() + 2.0
            while time.monotonic() < bis:
                r = ws.lesen(bis - time.monotonic())
                if r and r[0] == 0x8:
                    ausgang = "schluss %d" % (struct.unpack("!H", r[1][:2])[0] if len(r[1]) >= 2 else 1005)
                    break
                if r and r[0] == 0x1 and b"quittung" in r[1]:
                    ausgang = "quittiert"
                    break
        except Weg:
            ausgang = "weg"
        bestanden &= ausgang in ("schluss 1002", "weg")
        teile.append("unmaskiert: %s" % ausgang)
    return Ergebnis(bestanden, "; ".join(teile))


# (name, function, expected, whether the memory limit applies[, how the host is started])
ANGRIFFE = [
    ("riesenlaenge", riesenlaenge, "Content-Length 100 GB, langsamer Körper: 413 oder zu", True),
    ("chunkflut", chunkflut, "endloser chunked-Körper: 4xx oder zu", True),
    ("pipeline", pipeline, "20 MB GETs, nie gelesen: zu", True),
    ("endloszeile", endloszeile, "20 MB Kopfzeile ohne CRLF: 431 oder zu", True),
    ("riesenkopf", riesenkopf, "1 MB Kopf: 431; 1 MB Adresse: 414/431", True),
    ("leerlauf", leerlauf, "200 stumme/halbe Verbindungen: zu in %.0f s" % KOPF_FRIST, False),
    ("adressen", adressen, "8 Adressen voll: 127.0.0.1 bekommt 200, fds < Grenze", False),
    ("beitritte", beitritte, "10 Beitritte einer Adresse: <= 4 Nummern, Rest zu", False),
    ("pingflut", pingflut, "Pings, nie gelesen: zu", True),
    ("falschercode", falschercode, "200 falsche Codes: ab ~10 429/zu, Zählung <= 1/s", False),
    ("herkunft", herkunft, "fremde Origin: 403/zu; fremder Host: 421", False),
    ("protokoll", protokoll,
     "doppelte/negative Länge, CL+TE, HTTP/2.0, 9.9: 400+zu; unmaskiert: 1002/zu", False),
]

# The host's limit of open files at its start (soft, hard), and how many connections its server must
# at least hold in the flood: with the hard limit at 256, half the least its cap ever is (16), so the
# flood is known to have reached it; with a soft limit of 64 that the host raises to 512, more than
# the 64 it started with, so the cap follows the limit as raised. Silent connections are held for a
# minute, longer than the attack takes.
DATEIFLUTEN = [
    ("dateiflut", (256, 256), 8),
    ("dateiflut_angehoben", (64, 512), 65),
]
ANGRIFFE += [
    (name, functools.partial(dateiflut, mindestens=mindestens),
     "Verbindungen bis zur Abweisung, Dateien %d/%d: Wirt speichert, hält >= %d" % (weich, hart, mindestens),
     False, {"dateien": (weich, hart), "argumente": ("--kopfzeit", "60000")})
    for name, (weich, hart), mindestens in DATEIFLUTEN
]


def nachkontrolle(lage):
    """After an attack and its sockets are gone: the host still lives, has let go of what the attack
    held, and serves a phone. Returns what is wrong, or an empty string."""
    if not lage.wirt.lebt():
        return "Wirt beendet (Code %s)" % lage.wirt.prozess.returncode
    bis = time.monotonic() + 3.0
    while lage.wirt.fds() > lage.messung.fds_vorher + 8 and time.monotonic() < bis:
        time.sleep(0.05)
    fehler = []
    if lage.wirt.fds() > lage.messung.fds_vorher + 8:
        fehler.append("fds bleiben bei %d" % lage.wirt.fds())
    a = Antwort()
    while time.monotonic() < bis + 2.0:
        a = anfrage(lage, lage.seite(), frist=1.0)
        if a.status == 200:
            break
        time.sleep(0.1)
    if a.status != 200:
        fehler.append("Seite danach: %s" % a.kurz())
    return "; ".join(fehler)


def main():
    namen = [a[0] for a in ANGRIFFE]
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--wirt", required=True, help="the host program handyserver_wirt")
    parser.add_argument("--nur", action="append", choices=namen, help="run only this attack (repeatable)")
    parser.add_argument("--bericht", action="store_true", help="print the figures, never fail")
    args = parser.parse_args()

    # Thousands of connections at once: this side needs the files, not the host.
    _, hart = resource.getrlimit(resource.RLIMIT_NOFILE)
    resource.setrlimit(resource.RLIMIT_NOFILE, (hart if hart != resource.RLIM_INFINITY else 65536, hart))

    zeilen = []
    for name, angriff, erwartet, mit_speicher, *wirt_art in ANGRIFFE:
        if args.nur and name not in args.nur:
            continue
        # A host of its own for each attack: memory freed after one attack would otherwise hide
        # the growth of the next, and a server broken by one would fail all after it.
        try:
            wirt = Wirt(args.wirt, **(wirt_art[0] if wirt_art else {}))
        except RuntimeError as fehler:
            zeilen.append((name, erwartet, str(fehler), "-", "-", "FAIL"))
            continue
        beginn = time.monotonic()
        lage = Lage(wirt, Messung(wirt))
        try:
            ergebnis = angriff(lage)
        except Exception as fehler:  # a broken attack is reported, and the others still run
            ergebnis = Ergebnis(False, "Ausnahme: %r" % fehler)
        finally:
            lage.schliessen()
        danach = nachkontrolle(lage)
        lage.messung.anhalten()
        rss_nachher = wirt.rss()
        fds_nachher = wirt.fds()
        wirt.beenden()
        print("%-13s %.1f s" % (name, time.monotonic() - beginn), file=sys.stderr, flush=True)
        bestanden = ergebnis.bestanden and not danach
        beobachtet = ergebnis.beobachtet
        if mit_speicher and lage.messung.zuwachs() >= RSS_GRENZE:
            bestanden = False
            beobachtet += "; Speicher +%.0f MB" % (lage.messung.zuwachs() / MB)
        if danach:
            beobachtet += "; danach: " + danach
        zeilen.append((name, erwartet, beobachtet,
                       "%.0f/%.0f/%.0f" % (lage.messung.rss_vorher / MB, lage.messung.rss_spitze / MB,
                                           rss_nachher / MB),
                       "%d/%d/%d" % (lage.messung.fds_vorher, lage.messung.fds_spitze, fds_nachher),
                       "PASS" if bestanden else "FAIL"))

    kopf = ("Angriff", "erwartet", "beobachtet", "RSS MB vor/Spitze/nach", "fds vor/Spitze/nach", "Ergebnis")
    breiten = [max(len(z[i]) for z in zeilen + [kopf]) for i in range(len(kopf))]
    for z in [kopf] + zeilen:
        print("  ".join(feld.ljust(breite) for feld, breite in zip(z, breiten)).rstrip())
    fehlgeschlagen = [z[0] for z in zeilen if z[-1] == "FAIL"]
    if fehlgeschlagen:
        print("FAIL: " + ", ".join(fehlgeschlagen))
    return 0 if args.bericht or not fehlgeschlagen else 1


if __name__ == "__main__":
    sys.exit(main())
