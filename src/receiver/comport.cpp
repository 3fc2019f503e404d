#include "comport.h"

#include "einstellungen.h"
#include "schluessel.h"
#include "seriellerport.h"
#include "uhr.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcEmpfaenger, "plenaro.receiver")

const QByteArray comPort::Anfrage = QByteArrayLiteral("#INFO$");
const QByteArray comPort::AntwortMorvane = QByteArrayLiteral("#PLENARO$");
const QByteArray comPort::AntwortTandrivelle = QByteArrayLiteral("#PLENARO_TANDRIVELLE$");

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
    , m_serialPort(ports.neuerPort())
{
}

comPort::~comPort() = default;

void comPort::verbindungStarten()
{
    m_serialPort->leitungEinstellen();
    m_timerPortAnzahl = m_uhr.neuerZeitgeber(this);
    m_timerEmpfaengerPruefen = m_uhr.neuerZeitgeber(this);
    Einstellungen::setzen(Schluessel::EmpfaengerVerbunden, QStringLiteral("false"));
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
    m_scanIndex = m_anzahlPorts;
    naechstenPortPruefen();
    connect(m_timerPortAnzahl, &Zeitgeber::timeout, this, &comPort::checkCOMPorts);
    if (Einstellungen::ist(Schluessel::EmpfaengerAutomatischFinden))
        m_timerPortAnzahl->start(PortAnzahlAbstand);
}

void comPort::naechstenPortPruefen()
{
    if (m_serialPort->isOpen())
        m_serialPort->schliessen();
    if (m_scanIndex <= 0 || m_scanIndex > m_portListe.size())
        return;
    // Kept as listed: the port object shortens "/dev/pts/3" to "pts/3".
    m_probeName = m_portListe.at(m_scanIndex - 1);
    m_serialPort->setPortName(m_probeName);
    if (m_serialPort->oeffnen()) {
        m_serialPort->puffernLeeren();
        m_serialPort->schreiben(Anfrage);
    }
    --m_scanIndex;
    m_uhr.einmal(ProbeAbstand, this, [this]() { timerScanPorts(); });
}

void comPort::timerScanPorts()
{
    const QByteArray antwort = m_serialPort->isOpen() ? m_serialPort->allesLesen() : QByteArray();
    // The reply is text up to the first zero byte.
    const QByteArray text = antwort.left(antwort.indexOf('\0') >= 0 ? antwort.indexOf('\0') : antwort.size());
    QString familie;
    if (text.contains(AntwortMorvane))
        familie = QStringLiteral("Morvane");
    else if (text.contains(AntwortTandrivelle))
        familie = QStringLiteral("Tandrivelle");
    if (familie.isEmpty()) {
        naechstenPortPruefen();
        return;
    }
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
    m_scanIndex = m_anzahlPorts;
    naechstenPortPruefen();
}

void comPort::checkCOMPorts()
{
    if (m_ports.portNamen().size() == m_anzahlPorts)
        return;
    Einstellungen::setzen(Schluessel::EmpfaengerVerbunden, QStringLiteral("false"));
    emit iconEmpfaengerVerbundenAusblenden();
    portListeNeuFuellen();
}

void comPort::checkObEmpfaengerAngeschlossen()
{
    if (Einstellungen::text(Schluessel::EmpfaengerVerbunden) != QLatin1String("false"))
        return;
    emit iconEmpfaengerVerbundenAusblenden();
    portListeNeuFuellen();
}

void comPort::connectSerial()
{
    if (!m_datenVerbunden) {
        connect(m_serialPort.get(), &SeriellerPort::readyRead, this, &comPort::readData,
                Qt::UniqueConnection);
        m_datenVerbunden = true;
    }
    m_serialPort->setPortName(Einstellungen::text(Schluessel::SerialPort));
    m_rest.clear();
    if (m_serialPort->isOpen()) {
        m_serialPort->puffernLeeren();
        m_serialPort->schliessen();
        m_serialPort->oeffnen();
    } else {
        m_serialPort->oeffnen();
        m_serialPort->puffernLeeren();
    }
}

void comPort::SerialPortSchliessen()
{
    qCDebug(lcEmpfaenger) << "SerialPortSchliessen";
    m_serialPort->schliessen();
}

namespace {

// The settings a frame is checked against, read afresh for every frame so that a change in the
// options takes effect with the next press.
const QStringList RahmenSchluessel{
    Schluessel::aktiverKlassensatz(1), Schluessel::aktiverKlassensatz(2), Schluessel::aktiverKlassensatz(3),
    Schluessel::aktiverKlassensatz(4), Schluessel::aktiverKlassensatz(5), Schluessel::aktiverKlassensatz(6),
    Schluessel::SteuerungUeberMaster,  Schluessel::MasterBuzzer,          Schluessel::MasterKlassensatz};

bool klassensatzAktiv(uint klassensatz, const QStringList &aktive)
{
    const QString text = QString::number(klassensatz);
    bool filter = false;
    for (const QString &aktiv : aktive) {
        if (aktiv.isEmpty())
            continue;
        filter = true;
        if (aktiv == text)
            return true;
    }
    return !filter;
}

} // namespace

bool comPort::aufGueltigeKlassensaetzePruefen(uint klassensatz)
{
    return klassensatzAktiv(klassensatz, Einstellungen::texte(RahmenSchluessel).mid(0, 6));
}

void comPort::readData()
{
    qCDebug(lcEmpfaenger) << "Daten empfangen!";
    // Until the receiver is identified the bytes are its reply, which the probe reads.
    if (Einstellungen::text(Schluessel::EmpfaengerVerbunden) != QLatin1String("true"))
        return;
    const qint64 jetzt = m_uhr.monotonMs();
    if (!m_rest.isEmpty() && jetzt - m_restZeit > RestFrist)
        m_rest.clear();
    const QByteArray daten = m_rest + m_serialPort->allesLesen();
    if (daten.isEmpty())
        return;
    const qsizetype ganze = daten.size() - daten.size() % 4;
    for (qsizetype i = 0; i < ganze; i += 4)
        rahmenVerarbeiten(daten.constData() + i);
    m_rest = daten.mid(ganze);
    m_restZeit = jetzt;
}

void comPort::rahmenVerarbeiten(const char *rahmen)
{
    const auto byte = [rahmen](int i) {
        return uint(quint8(rahmen[i]));
    };
    const uint klassensatz = (byte(0) << 8) | byte(1);
    const uint buzzerNo = byte(2);
    const uint buttonNo = (byte(3) & 0x03) + 1;
    const QStringList werte = Einstellungen::texte(RahmenSchluessel);
    if (!klassensatzAktiv(klassensatz, werte.mid(0, 6)))
        return;
    emit signalOptionWindowProtokollAktualisieren(klassensatz, buzzerNo, buttonNo);
    // Exact texts: a stored "07" is never handset 7.
    const bool master = werte.at(6) == QLatin1String("true") && QString::number(buzzerNo) == werte.at(7) &&
                        QString::number(klassensatz) == werte.at(8);
    if (!master) {
        emit signalGereateIDAnzeigen(klassensatz, buzzerNo, buttonNo);
        return;
    }
    switch (buttonNo) {
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
