#include "spiel.h"

#include "spielprotokoll.h"

Q_LOGGING_CATEGORY(lcSpiel, "plenaro.game")

spiel::spiel(Uhr &uhr, Dialoge &dialoge, QObject *eltern)
    : QObject(eltern)
    , m_uhr(uhr)
    , m_katalog(dialoge)
    , m_laufzeitMessung(uhr)
{
}

// --- Navigation ---------------------------------------------------------------------------------

QDomElement spiel::getNaechsteFrage()
{
    m_pausiert = false;
    m_summeLaufzeit = 0;
    const QDomElement frage = m_katalog.getNaechsteFrage();
    vorbereiten(frage);
    return frage;
}

QDomElement spiel::getVorherigeFrage()
{
    m_pausiert = false;
    m_summeLaufzeit = 0;
    const QDomElement frage = m_katalog.getVorherigeFrage();
    vorbereiten(frage);
    return frage;
}

QDomElement spiel::springeZuFrage(int frageNr)
{
    m_pausiert = false;
    m_summeLaufzeit = 0;
    const QDomElement frage = m_katalog.springeZuFrage(frageNr);
    vorbereiten(frage);
    return frage;
}

void spiel::vorbereiten(const QDomElement &frage)
{
    const int zeit = FrageDatei::zahl(frage, QStringLiteral("Time"));
    m_counterAktuellenFrage = zeit;
    m_zeitIntervallAktuelleFrage = zeit;
    m_personenRichtig.clear();
    m_personenFalsch.clear();
    m_rundeBeendet = false;
    // A question gone back to after its second round goes on as that round: asked a third time,
    // its first round would be overwritten by the second.
    m_zweiteRunde = m_zweiteRundeFragen.contains(getAktuelleFrageNr());
}

FrageDatei::LadeErgebnis spiel::ladeFragen(const QString &dateiName)
{
    return m_katalog.ladeFragen(dateiName);
}

QString spiel::getLoesung() const
{
    return m_katalog.feld(FrageDatei::Loesung);
}

// --- Countdown ----------------------------------------------------------------------------------

void spiel::qountdownStarten()
{
    m_countdownAktiv = true;
    if (m_richtigeAntwortTimer)
        m_richtigeAntwortTimer->stop();
    if (!m_countdownTimer) {
        m_countdownTimer = m_uhr.neuerZeitgeber(this);
        connect(m_countdownTimer, &Zeitgeber::timeout, this, &spiel::timerEventSpiel);
    }
    m_countdownTimer->start(1000);
    m_laufzeitMessung.restart();
    qCDebug(lcSpiel) << "Countdown gestartet:" << m_counterAktuellenFrage << "s";
}

void spiel::timerEventSpiel()
{
    --m_counterAktuellenFrage;
    if (m_counterAktuellenFrage > 0) {
        emit timerSlotSpiel(m_counterAktuellenFrage, m_zeitIntervallAktuelleFrage);
        return;
    }
    zeitAbgelaufen();
    emit timerSlotSpiel(m_counterAktuellenFrage, m_zeitIntervallAktuelleFrage);
}

void spiel::zeitAbgelaufen()
{
    // A resume still waiting for the rest of its second would tick an ended countdown again and
    // evaluate it twice.
    countdownTimerStoppen();
    if (!m_richtigeAntwortTimer) {
        m_richtigeAntwortTimer = m_uhr.neuerZeitgeber(this);
        connect(m_richtigeAntwortTimer, &Zeitgeber::timeout, this, &spiel::timerRichtigeAntwortAnzeigen);
    }
    m_richtigeAntwortTimer->start(AnzeigeVerzoegerung);
    // While paused the running time up to the pause is already counted.
    if (!m_pausiert)
        m_summeLaufzeit += m_laufzeitMessung.elapsed();
    m_pausiert = false;
    emit countdownAbgelaufen();
    punkteVerteilen();
    m_countdownAktiv = false;
    m_rundeBeendet = true;
}

void spiel::countdownSofortBeenden()
{
    // Once a countdown has ended its answers are evaluated; a second end would evaluate and
    // show the result again.
    if (!m_countdownAktiv)
        return;
    zeitAbgelaufen();
}

void spiel::countdownTimerStoppen()
{
    if (m_countdownTimer)
        m_countdownTimer->stop();
    // The rest of a second interrupted by a pause would start the ticks again, in whatever
    // question is shown by then.
    if (m_fortsetzungsTimer)
        m_fortsetzungsTimer->stop();
}

void spiel::frageAbbrechen()
{
    countdownTimerStoppen();
    if (m_richtigeAntwortTimer)
        m_richtigeAntwortTimer->stop();
    m_countdownAktiv = false;
    m_pausiert = false;
}

void spiel::timerRichtigeAntwortAnzeigen()
{
    m_richtigeAntwortTimer->stop();
    emit richtigeAntwortAnzeigen();
    for (const Person &person : std::as_const(m_personen)) {
        Person kopie = person;
        kopie.punkteBerechnen();
        kopie.antwortszeitBerechnen();
        qCDebug(lcSpiel) << "Gerät" << kopie.getBuzzerNo() << "Punkte" << kopie.getPunkte() << "Zeit"
                         << kopie.getAntwortszeit();
    }
}

void spiel::fragePausieren()
{
    // Resuming an ended countdown would run its end a second time.
    if (!m_countdownAktiv)
        return;
    m_pausiert = !m_pausiert;
    if (m_pausiert) {
        m_summeLaufzeit += m_laufzeitMessung.elapsed();
        if (m_countdownTimer)
            m_countdownTimer->stop();
        if (m_fortsetzungsTimer) {
            m_fortsetzungsTimer->stop();
            disconnect(m_fortsetzungsTimer, &Zeitgeber::timeout, this,
                       &spiel::singelShotTimerDerPausierungAbgelaufen);
        }
        qCDebug(lcSpiel) << "Pause nach" << m_summeLaufzeit << "ms";
        return;
    }
    m_laufzeitMessung.restart();
    if (m_fortsetzungsTimer) {
        m_fortsetzungsTimer->stop();
        disconnect(m_fortsetzungsTimer, &Zeitgeber::timeout, this,
                   &spiel::singelShotTimerDerPausierungAbgelaufen);
    } else {
        m_fortsetzungsTimer = m_uhr.neuerZeitgeber(this);
    }
    // The rest of the interrupted second, 1 to 1000 ms, so ticks stay on whole seconds of
    // running time however long the pause was.
    m_fortsetzungsTimer->setInterval(int(1000 - m_summeLaufzeit % 1000));
    m_fortsetzungsTimer->setSingleShot(true);
    connect(m_fortsetzungsTimer, &Zeitgeber::timeout, this, &spiel::singelShotTimerDerPausierungAbgelaufen);
    m_fortsetzungsTimer->start();
    qCDebug(lcSpiel) << "Pause beendet, Rest der Sekunde" << m_fortsetzungsTimer->interval() << "ms";
}

void spiel::singelShotTimerDerPausierungAbgelaufen()
{
    if (!m_countdownAktiv)
        return;
    if (!m_countdownTimer) {
        m_countdownTimer = m_uhr.neuerZeitgeber(this);
        connect(m_countdownTimer, &Zeitgeber::timeout, this, &spiel::timerEventSpiel);
    }
    m_countdownTimer->start(1000);
    timerEventSpiel();
}

qint64 spiel::laufzeit() const
{
    if (m_pausiert)
        return m_summeLaufzeit;
    return m_summeLaufzeit + m_laufzeitMessung.elapsed();
}

void spiel::spielZuruecksetzen()
{
    if (m_countdownTimer)
        m_countdownTimer->stop();
    // A paused countdown's resume must not tick into the new game.
    if (m_fortsetzungsTimer)
        m_fortsetzungsTimer->stop();
    m_summeLaufzeit = 0;
    m_pausiert = false;
    m_countdownAktiv = false;
    m_rundeBeendet = false;
    m_zweiteRunde = false;
    m_zweiteRundeFragen.clear();
    m_personen.clear();
    m_personIndex.clear();
    m_personenRichtig.clear();
    m_personenFalsch.clear();
}

// --- Answers ------------------------------------------------------------------------------------

void spiel::antwortErfassen(uint klassensatz, uint buzzerNo, uint buttonNo)
{
    antwortEintragen(getAktuelleFrageNr(), klassensatz, buzzerNo, buttonNo, laufzeit());
}

void spiel::antwortEintragen(int frageNr, uint klassensatz, uint buzzerNo, uint buttonNo, qint64 laufzeitMs)
{
    const GeraetSchluessel schluessel{klassensatz, buzzerNo};
    auto gefunden = m_personIndex.constFind(schluessel);
    qsizetype index;
    if (gefunden == m_personIndex.constEnd()) {
        index = m_personen.size();
        m_personen.append(Person(buzzerNo, klassensatz));
        m_personIndex.insert(schluessel, index);
        qCDebug(lcSpiel) << "Neues Gerät" << klassensatz << buzzerNo;
    } else {
        index = *gefunden;
    }

    AntwortDerPerson &antwort = m_personen[index].getAntwortDerFrage(frageNr);

    // Buttons of answers the question does not have are not stored, but still time-stamped.
    const int fehlend = m_katalog.fehlendeAntworten(frageNr);
    const bool ignoriert = (buttonNo == 3 && (fehlend == 2 || fehlend == 3)) ||
                           (buttonNo == 4 && (fehlend == 1 || fehlend == 3));
    if (!ignoriert)
        antwort.setAntwort(int(buttonNo));

    if (frageNr >= 1) {
        if (m_katalog.feld(frageNr, FrageDatei::Loesung) == FrageDatei::Umfrage)
            antwort.setAntwortszeit(0.0);
        else
            antwort.setAntwortszeit(double(laufzeitMs));
    }
}

void spiel::punkteVerteilen()
{
    const QString loesung = getLoesung();
    if (loesung != FrageDatei::Umfrage) {
        const int richtig = FrageDatei::richtigerKnopf(loesung);
        const int frageNr = getAktuelleFrageNr();
        int punkte = 0;
        for (qsizetype i = 0; i < m_personen.size(); ++i) {
            Person &person = m_personen[i];
            const AntwortDerPerson *vorhanden = person.findeAntwort(frageNr);
            if (!vorhanden || ohneAntwortInZweiterRunde(frageNr, *vorhanden))
                continue;
            if (richtig == 0 || person.getAntwortDerFrage(frageNr).getAntwort() != richtig) {
                person.getAntwortDerFrage(frageNr).setPunkte(0);
                m_personenFalsch.append(person);
            } else {
                if (punkte == 0) {
                    punkte = m_katalog.feld(QStringLiteral("Points")).trimmed().toInt();
                    if (punkte == 0)
                        punkte = 1;
                }
                person.getAntwortDerFrage(frageNr).setPunkte(punkte);
                m_personenRichtig.append(person);
            }
            // Fetched anew: the copy just taken shares the answer list, and only a fresh
            // non-const access separates the two, so the copy keeps its unevaluated state.
            person.getAntwortDerFrage(frageNr).setAusgewertet(true);
        }
    }
    emit ranglisteAktualisieren();
}

namespace {

// The shares of A to D among the participants' answers to `frageNr` that `knopf` picks.
QList<double> anteile(const QList<Person> &personen, int frageNr, int (AntwortDerPerson::*knopf)() const)
{
    int anzahl[4] = {0, 0, 0, 0};
    for (const Person &person : personen) {
        const AntwortDerPerson *antwort = person.findeAntwort(frageNr);
        const int k = antwort ? (antwort->*knopf)() : 0;
        if (k >= 1 && k <= 4)
            ++anzahl[k - 1];
    }
    const int summe = anzahl[0] + anzahl[1] + anzahl[2] + anzahl[3];
    QList<double> prozente;
    for (const int k : anzahl)
        prozente.append(summe > 0 ? k / (summe / 100.0) : 0.0);
    return prozente;
}

} // namespace

QList<double> spiel::getProzenteAntworten(int frageNr) const
{
    return anteile(m_personen, frageNr, &AntwortDerPerson::getAntwort);
}

// --- A second round ------------------------------------------------------------------------------

bool spiel::zweiteRundeMoeglich() const
{
    return getAktuelleFrageNr() >= 1 && !m_countdownAktiv && m_rundeBeendet && !m_zweiteRunde;
}

bool spiel::zweiteRundeStarten()
{
    if (!zweiteRundeMoeglich())
        return false;
    // Nothing of the first round may fire into the second: not its resume, not its result.
    frageAbbrechen();
    const int frageNr = getAktuelleFrageNr();
    ersteRundeBeiseitelegen(frageNr);
    m_counterAktuellenFrage = m_zeitIntervallAktuelleFrage;
    m_summeLaufzeit = 0;
    m_personenRichtig.clear();
    m_personenFalsch.clear();
    m_rundeBeendet = false;
    m_zweiteRunde = true;
    qCDebug(lcSpiel) << "Zweite Runde der Frage" << frageNr;
    return true;
}

void spiel::zweiteRundeWiederherstellen(int frageNr)
{
    if (frageNr >= 1 && frageNr <= getAnzahlFragen())
        ersteRundeBeiseitelegen(frageNr);
}

void spiel::ersteRundeBeiseitelegen(int frageNr)
{
    m_zweiteRundeFragen.insert(frageNr);
    for (Person &person : m_personen) {
        if (person.findeAntwort(frageNr))
            person.getAntwortDerFrage(frageNr).ersteRundeBeiseitelegen();
    }
}

bool spiel::ohneAntwortInZweiterRunde(int frageNr, const AntwortDerPerson &antwort) const
{
    return antwort.getAntwort() == 0 && antwort.getAntwortszeit() == AntwortDerPerson::KeineZeit &&
           m_zweiteRundeFragen.contains(frageNr);
}

QList<double> spiel::getProzenteErsteRunde(int frageNr) const
{
    if (!m_zweiteRundeFragen.contains(frageNr))
        return {};
    return anteile(m_personen, frageNr, &AntwortDerPerson::getAntwortErsteRunde);
}

// --- Taking up an interrupted game --------------------------------------------------------------

void spiel::auswertungWiederherstellen(int frageNr)
{
    const QString loesung = m_katalog.feld(frageNr, FrageDatei::Loesung);
    if (frageNr < 1 || loesung == FrageDatei::Umfrage)
        return;
    const int richtig = FrageDatei::richtigerKnopf(loesung);
    int punkte = m_katalog.feld(frageNr, QStringLiteral("Points")).trimmed().toInt();
    if (punkte == 0)
        punkte = 1;
    for (Person &person : m_personen) {
        const AntwortDerPerson *vorhanden = person.findeAntwort(frageNr);
        if (!vorhanden || ohneAntwortInZweiterRunde(frageNr, *vorhanden))
            continue;
        AntwortDerPerson &antwort = person.getAntwortDerFrage(frageNr);
        antwort.setPunkte(richtig != 0 && antwort.getAntwort() == richtig ? punkte : 0);
        antwort.setAusgewertet(true);
    }
}
