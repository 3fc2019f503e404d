#include "comport.h"

#include "einstellungen.h"
#include "empfaengerprotokoll.h"
#include "empfangsleser.h"
#include "schluessel.h"
#include "seriellerport.h"
#include "uhr.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcEmpfaenger, "plenaro.receiver")

namespace P = EmpfaengerProtokoll;

comTypFabrik::~comTypFabrik() = default;

comTyp *comTypFabrik::erzeugeComTyp(const QString &art)
{
    if (art == QLatin1String("rs-232"))
        m_comPort = std::make_unique<comPort>(m_ports, m_uhr);
    return m_comPort.get();
}

comPort::comPort(PortSystem &ports, Uhr &uhr, QObject *eltern)
    : QObject(eltern)
    , m_ports(ports)
    , m_uhr(uhr)
{
    qRegisterMetaType<Druck>();
    qRegisterMetaType<QVector<Druck>>();
    qRegisterMetaType<EmpfangsEinstellungen>();
    m_leser = new Empfangsleser(ports.neuerPort().release(), uhr);
    connect(m_leser, &Empfangsleser::antwort, this, &comPort::antwortAuswerten);
    connect(m_leser, &Empfangsleser::stromGeoeffnet, this, &comPort::stromGeoeffnet);
    connect(m_leser, &Empfangsleser::verloren, this, &comPort::verloren);
    connect(m_leser, &Empfangsleser::druecke, this, &comPort::druckeVerteilen);
    connect(m_leser, &Empfangsleser::gedrosselt, this, &comPort::gedrosseltGemeldet);
    if (ports.eigenerLeseFaden()) {
        m_faden.setObjectName(QStringLiteral("Empfaenger"));
        m_leser->moveToThread(&m_faden);
        connect(&m_faden, &QThread::finished, m_leser, &QObject::deleteLater);
        m_faden.start();
    }
    einstellungenNeuLesen();
}

comPort::~comPort()
{
    if (m_faden.isRunning()) {
        m_faden.quit();
        m_faden.wait();
    } else {
        delete m_leser;
    }
}

template<typename F>
void comPort::imLeser(F &&auftrag)
{
    // Directly when the reader shares this thread (tests with hand-fed ports), queued otherwise;
    // either way in the order asked.
    QMetaObject::invokeMethod(m_leser, std::forward<F>(auftrag), Qt::AutoConnection);
}

void comPort::einstellungenNeuLesen()
{
    m_einstellungen = EmpfangsEinstellungen::lesen();
    imLeser([leser = m_leser, e = m_einstellungen]() { leser->einstellungenSetzen(e); });
}

void comPort::verbindungStarten()
{
    imLeser([leser = m_leser]() { leser->leitungEinstellen(); });
    m_timerPortAnzahl = m_uhr.neuerZeitgeber(this);
    m_timerEmpfaengerPruefen = m_uhr.neuerZeitgeber(this);
    m_timerProbe = m_uhr.neuerZeitgeber(this);
    m_timerProbe->setSingleShot(true);
    connect(m_timerProbe, &Zeitgeber::timeout, this, &comPort::timerScanPorts);
    Einstellungen::setzen(Schluessel::EmpfaengerVerbunden, QStringLiteral("false"));
    einstellungenNeuLesen();
    portScanStarten();
    if (Einstellungen::ist(Schluessel::EmpfaengerAutomatischFinden)) {
        connect(m_timerEmpfaengerPruefen, &Zeitgeber::timeout, this,
                &comPort::checkObEmpfaengerAngeschlossen);
        m_timerEmpfaengerPruefen->start(EmpfaengerPruefenAbstand);
    }
}

void comPort::portScanStarten()
{
    m_portListe.append(m_ports.portNamen());
    m_anzahlPorts = int(m_portListe.size());
    passStarten();
    connect(m_timerPortAnzahl, &Zeitgeber::timeout, this, &comPort::checkCOMPorts);
    if (Einstellungen::ist(Schluessel::EmpfaengerAutomatischFinden))
        m_timerPortAnzahl->start(PortAnzahlAbstand);
}

void comPort::passStarten()
{
    // A new pass replaces whatever ran before: its pending probe is stopped and its answers are
    // out of date from here on.
    ++m_auftrag;
    m_suche = true;
    m_empfaengerOffen = false;
    m_scanIndex = int(m_portListe.size());
    naechstenPortPruefen();
}

void comPort::naechstenPortPruefen()
{
    if (m_scanIndex <= 0 || m_scanIndex > m_portListe.size()) {
        passBeenden();
        return;
    }
    // Kept as listed: the port object shortens "/dev/pts/3" to "pts/3".
    m_probeName = m_portListe.at(m_scanIndex - 1);
    imLeser(
        [leser = m_leser, auftrag = m_auftrag, name = m_probeName]() { leser->probeSenden(auftrag, name); });
    --m_scanIndex;
    if (m_timerProbe)
        m_timerProbe->start(ProbeAbstand);
}

void comPort::passBeenden()
{
    m_suche = false;
    if (m_timerProbe)
        m_timerProbe->stop();
    imLeser([leser = m_leser, auftrag = m_auftrag]() { leser->schliessen(auftrag); });
}

void comPort::timerScanPorts()
{
    if (!m_suche)
        return;
    imLeser([leser = m_leser, auftrag = m_auftrag]() { leser->probeLesen(auftrag); });
}

void comPort::antwortAuswerten(quint64 auftrag, const QByteArray &antwort)
{
    if (auftrag != m_auftrag || !m_suche)
        return;
    // The reply is text up to the first zero byte.
    const qsizetype null = antwort.indexOf('\0');
    const QByteArray text = null >= 0 ? antwort.left(null) : antwort;
    QString familie;
    if (text.contains(P::AntwortMorvane))
        familie = QStringLiteral("Morvane");
    else if (text.contains(P::AntwortTandrivelle))
        familie = QStringLiteral("Tandrivelle");
    if (familie.isEmpty()) {
        naechstenPortPruefen();
        return;
    }
    // The pass ends here; the port stays open for connectSerial.
    m_suche = false;
    m_empfaengerOffen = true;
    qCDebug(lcEmpfaenger) << "Empfänger" << familie << "an" << m_probeName;
    QList<QPair<QString, QVariant>> werte{{Schluessel::SerialPort, m_probeName},
                                          {Schluessel::EmpfaengerVerbunden, QStringLiteral("true")}};
    if (Einstellungen::ist(Schluessel::TemplateAutomatischErkennen))
        werte.append({Schluessel::GewaehltesTemplate, familie});
    Einstellungen::setzen(werte);
    emit serialport_eventEmpfaengerGefunden();
}

void comPort::portListeNeuFuellen()
{
    m_portListe.clear();
    for (const QString &name : m_ports.portNamen()) {
        qCDebug(lcEmpfaenger).noquote() << "Port:" << name << "hinzugefügt.";
        m_portListe.append(name);
    }
    m_anzahlPorts = int(m_portListe.size());
}

void comPort::checkCOMPorts()
{
    // The names, not only their number: a receiver replugged while the watch was not looking, or
    // swapped for another device, leaves the number as it was.
    QStringList jetzt = m_ports.portNamen();
    QStringList vorher = m_portListe;
    jetzt.sort();
    vorher.sort();
    if (jetzt == vorher)
        return;
    Einstellungen::setzen(Schluessel::EmpfaengerVerbunden, QStringLiteral("false"));
    emit iconEmpfaengerVerbundenAusblenden();
    portListeNeuFuellen();
    passStarten();
}

void comPort::checkObEmpfaengerAngeschlossen()
{
    // One pass at a time: a pass under way is left to finish.
    if (m_suche || Einstellungen::text(Schluessel::EmpfaengerVerbunden) != QLatin1String("false"))
        return;
    emit iconEmpfaengerVerbundenAusblenden();
    portListeNeuFuellen();
    passStarten();
}

void comPort::connectSerial()
{
    // Nothing to open while no receiver is known: the bytes of an unknown port are not presses.
    if (Einstellungen::text(Schluessel::EmpfaengerVerbunden) != QLatin1String("true")) {
        qCDebug(lcEmpfaenger) << "connectSerial ohne Empfänger";
        return;
    }
    ++m_auftrag;
    m_suche = false;
    if (m_timerProbe)
        m_timerProbe->stop();
    m_empfaengerOffen = true;
    imLeser([leser = m_leser, auftrag = m_auftrag, name = Einstellungen::text(Schluessel::SerialPort)]() {
        leser->stromOeffnen(auftrag, name);
    });
}

void comPort::stromGeoeffnet(quint64 auftrag, bool ok)
{
    if (auftrag != m_auftrag || ok)
        return;
    qCDebug(lcEmpfaenger) << "Port des Empfängers lässt sich nicht öffnen";
    alsVerlorenMelden();
}

void comPort::verloren(quint64 auftrag)
{
    // A port that fails during a probe is simply not the receiver; the pass goes on.
    if (auftrag != m_auftrag || !m_empfaengerOffen)
        return;
    qCDebug(lcEmpfaenger) << "Empfänger verloren";
    alsVerlorenMelden();
}

void comPort::alsVerlorenMelden()
{
    m_empfaengerOffen = false;
    ++m_auftrag;
    Einstellungen::setzen(Schluessel::EmpfaengerVerbunden, QStringLiteral("false"));
    emit iconEmpfaengerVerbundenAusblenden();
    // Without automatic search the link stays quiet, as it does after its first pass.
    if (m_timerPortAnzahl && Einstellungen::ist(Schluessel::EmpfaengerAutomatischFinden)) {
        portListeNeuFuellen();
        passStarten();
    }
}

void comPort::SerialPortSchliessen()
{
    qCDebug(lcEmpfaenger) << "SerialPortSchliessen";
    ++m_auftrag;
    m_suche = false;
    m_empfaengerOffen = false;
    for (Zeitgeber *zeitgeber : {m_timerProbe, m_timerPortAnzahl, m_timerEmpfaengerPruefen}) {
        if (zeitgeber)
            zeitgeber->stop();
    }
    imLeser([leser = m_leser, auftrag = m_auftrag]() { leser->schliessen(auftrag); });
}

bool comPort::aufGueltigeKlassensaetzePruefen(uint klassensatz)
{
    return EmpfangsFilter::klassensatzAngenommen(m_einstellungen.aktiveKlassensaetze, klassensatz);
}

void comPort::druckeVerteilen(const QVector<Druck> &druecke)
{
    for (const Druck &druck : druecke) {
        emit signalOptionWindowProtokollAktualisieren(druck.klassensatz, druck.buzzerNo, druck.buttonNo);
        if (!druck.master) {
            emit signalGereateIDAnzeigen(druck.klassensatz, druck.buzzerNo, druck.buttonNo);
            continue;
        }
        switch (druck.buttonNo) {
        case 1:
            emit masterTerminate();
            break;
        case 2:
            emit masterPageDown();
            break;
        case 3:
            emit masterPause();
            break;
        case 4:
            emit masterPageUp();
            break;
        }
    }
}

void comPort::gedrosseltGemeldet(quint64 anzahl)
{
    if (anzahl == m_gedrosselt)
        return;
    m_gedrosselt = anzahl;
    emit gedrosselteDrueckeGeaendert(anzahl);
}
