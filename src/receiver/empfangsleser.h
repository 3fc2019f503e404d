#pragma once

#include "empfangsfilter.h"
#include "rahmendecoder.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QVector>

class SeriellerPort;
class Uhr;
class Zeitgeber;

// Does everything that touches the serial port, on the thread it lives in: the program gives it a
// thread of its own, so bytes are read and stamped when they arrive however busy the window is,
// and the window receives only decoded presses. Every request carries the number of the
// link's current job, and every answer names the job it belongs to, so the link can tell answers
// that are out of date.
class Empfangsleser final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Empfangsleser)

public:
    // Takes the port over; it becomes a child of the reader and moves with it.
    Empfangsleser(SeriellerPort *port, Uhr &uhr);
    ~Empfangsleser() override;

    void leitungEinstellen();
    // Opens `name` and asks "#INFO$"; the reply is left in the port for probeLesen.
    void probeSenden(quint64 auftrag, const QString &name);
    void probeLesen(quint64 auftrag);
    // Opens `name` for the button stream. A port left open by the probe that found the receiver
    // stays open with what came after the answer; any other starts from a clean buffer.
    void stromOeffnen(quint64 auftrag, const QString &name);
    void schliessen(quint64 auftrag);
    void einstellungenSetzen(const EmpfangsEinstellungen &einstellungen);

signals:
    void antwort(quint64 auftrag, const QByteArray &bytes);
    void stromGeoeffnet(quint64 auftrag, bool ok);
    // Presses that passed the filter, in stream order; one signal per read, not per press.
    void druecke(const QVector<Druck> &druecke);
    void gedrosselt(quint64 anzahl);
    // The port went away while open (unplugged); it is closed already.
    void verloren(quint64 auftrag);

private:
    void datenDa();
    void stilleDa();
    void weitergeben(qint64 ankunft);
    void portVerloren();

    // Beantwortet: the probe's answer is read; what comes after it waits for the stream.
    enum class Modus { Zu, Probe, Beantwortet, Strom };

    SeriellerPort *m_port;
    const Uhr &m_uhr;
    // Runs while the decoder holds bytes that only a quiet line can decide.
    Zeitgeber *m_stille;
    Modus m_modus = Modus::Zu;
    quint64 m_auftrag = 0;
    RahmenDecoder m_decoder;
    EmpfangsFilter m_filter;
    QVector<Druck> m_gelesen;
    // What the probe read after the receiver's answer: the first presses of the stream.
    QByteArray m_nachAntwort;
};
