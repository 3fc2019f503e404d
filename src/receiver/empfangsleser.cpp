#include "empfangsleser.h"

#include "empfaengerprotokoll.h"
#include "seriellerport.h"
#include "uhr.h"

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcEmpfaenger)

Empfangsleser::Empfangsleser(SeriellerPort *port, Uhr &uhr)
    : m_port(port)
    , m_uhr(uhr)
    , m_stille(uhr.neuerZeitgeber(this))
{
    m_stille->setSingleShot(true);
    connect(m_stille, &Zeitgeber::timeout, this, &Empfangsleser::stilleDa);
    m_port->setParent(this);
    connect(m_port, &SeriellerPort::readyRead, this, &Empfangsleser::datenDa);
    connect(m_port, &SeriellerPort::verloren, this, &Empfangsleser::portVerloren);
}

Empfangsleser::~Empfangsleser()
{
    if (m_port->isOpen())
        m_port->schliessen();
}

void Empfangsleser::leitungEinstellen()
{
    m_port->leitungEinstellen();
}

void Empfangsleser::probeSenden(quint64 auftrag, const QString &name)
{
    m_auftrag = auftrag;
    m_modus = Modus::Zu;
    if (m_port->isOpen())
        m_port->schliessen();
    m_port->setPortName(name);
    if (!m_port->oeffnen())
        return;
    m_modus = Modus::Probe;
    m_nachAntwort.clear();
    m_port->puffernLeeren();
    m_port->schreiben(QByteArray::fromRawData(EmpfaengerProtokoll::Anfrage,
                                              qsizetype(sizeof EmpfaengerProtokoll::Anfrage) - 1));
}

void Empfangsleser::probeLesen(quint64 auftrag)
{
    QByteArray bytes;
    if (auftrag == m_auftrag && m_modus == Modus::Probe) {
        bytes = m_port->allesLesen();
        m_modus = Modus::Beantwortet;
        // A receiver answers before it sends any press: what follows its answer was pressed after
        // it and waits for the stream, however late this read comes on a busy machine.
        const QByteArrayView anfang(EmpfaengerProtokoll::AntwortMorvane,
                                    qsizetype(sizeof EmpfaengerProtokoll::AntwortMorvane) - 2);
        const qsizetype beginn = bytes.indexOf(anfang);
        const qsizetype ende = beginn < 0 ? -1 : bytes.indexOf('$', beginn);
        if (ende >= 0) {
            m_nachAntwort = bytes.mid(ende + 1);
            bytes.truncate(ende + 1);
        }
    }
    emit antwort(auftrag, bytes);
}

void Empfangsleser::stromOeffnen(quint64 auftrag, const QString &name)
{
    // The receiver that has just answered stays open: whatever it sent after its answer are
    // presses, and a teacher may press at once after plugging it in, before this runs.
    const bool offenLassen = m_port->isOpen() && m_port->portName() == name &&
                             (m_modus == Modus::Beantwortet || m_modus == Modus::Strom);
    if (!offenLassen)
        m_nachAntwort.clear();
    m_auftrag = auftrag;
    m_modus = Modus::Zu;
    m_decoder.vergessen();
    m_stille->stop();
    bool ok = offenLassen;
    if (!offenLassen) {
        if (m_port->isOpen())
            m_port->schliessen();
        m_port->setPortName(name);
        // What the device sent while the port was closed, or to a probe's question, is no press.
        ok = m_port->oeffnen();
        if (ok)
            m_port->puffernLeeren();
    }
    if (ok)
        m_modus = Modus::Strom;
    emit stromGeoeffnet(auftrag, ok);
    if (ok && (m_port->bytesDa() || !m_nachAntwort.isEmpty()))
        datenDa();
}

void Empfangsleser::schliessen(quint64 auftrag)
{
    m_auftrag = auftrag;
    m_modus = Modus::Zu;
    m_stille->stop();
    if (m_port->isOpen())
        m_port->schliessen();
}

void Empfangsleser::einstellungenSetzen(const EmpfangsEinstellungen &einstellungen)
{
    m_filter.setzen(einstellungen);
    QList<quint32> klassensaetze;
    for (const QString &text : einstellungen.aktiveKlassensaetze) {
        bool ok = false;
        const uint zahl = text.toUInt(&ok);
        // Only exact texts filter (see EmpfangsFilter): "0258" lets no class set through.
        if (ok && zahl <= 0xffff && QString::number(zahl) == text)
            klassensaetze.append(zahl);
    }
    m_decoder.klassensaetzeVorgeben(klassensaetze);
}

void Empfangsleser::datenDa()
{
    // While probing, the reply waits in the port for probeLesen.
    if (m_modus != Modus::Strom)
        return;
    const qint64 ankunft = m_uhr.monotonMs();
    const QByteArray bytes = std::exchange(m_nachAntwort, {}) + m_port->allesLesen();
    m_gelesen.clear();
    m_decoder.lesen(bytes.constData(), bytes.size(), ankunft, m_gelesen);
    weitergeben(ankunft);
}

void Empfangsleser::stilleDa()
{
    if (m_modus != Modus::Strom)
        return;
    // Bytes that came meanwhile are no silence.
    if (m_port->bytesDa()) {
        datenDa();
        return;
    }
    m_gelesen.clear();
    m_decoder.stille(m_gelesen);
    weitergeben(m_uhr.monotonMs());
}

void Empfangsleser::weitergeben(qint64 ankunft)
{
    if (m_decoder.wartet())
        m_stille->start(int(RahmenDecoder::Luecke));
    else
        m_stille->stop();
    const quint64 vorher = m_filter.gedrosselt();
    QVector<Druck> angenommen;
    angenommen.reserve(m_gelesen.size());
    for (Druck &druck : m_gelesen) {
        if (m_filter.pruefen(druck, ankunft) == EmpfangsFilter::Urteil::Angenommen)
            angenommen.append(druck);
    }
    if (!angenommen.isEmpty())
        emit druecke(angenommen);
    if (m_filter.gedrosselt() != vorher)
        emit gedrosselt(m_filter.gedrosselt());
}

void Empfangsleser::portVerloren()
{
    const bool warOffen = m_modus != Modus::Zu;
    m_modus = Modus::Zu;
    qCDebug(lcEmpfaenger) << "Port verloren:" << m_port->portName();
    if (warOffen)
        emit verloren(m_auftrag);
}
