#include "spielablauf.h"

#include "dialoge.h"
#include "druckjournal.h"
#include "einstellungen.h"
#include "fragedatei.h"
#include "fragenimport.h"
#include "klang.h"
#include "schluessel.h"
#include "spiel.h"
#include "startregeln.h"
#include "uhr.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

constexpr int MaxRecentFiles = 5;

const QString Tandrivelle = QStringLiteral("Tandrivelle");

Meldung keineFragedatei()
{
    return {Einstellungen::meldung(QStringLiteral("Keine Fragedatei ausgewählt."),
                                   QStringLiteral("No question file selected.")),
            {},
            QStringLiteral(":/images/frageneditor_50.png"),
            true};
}

QString verlustwarnung()
{
    return Einstellungen::meldung(
        QStringLiteral("Die Resultate eines Quiz oder die Auswertung einer Umfrage können "
                       "dabei verloren gehen."),
        QStringLiteral("The results of a quiz or the evaluation of a survey can be lost."));
}

QString gekuerzt(const QString &pfad)
{
    return pfad.size() > 50 ? QLatin1String("...") + pfad.right(47) : pfad;
}

Meldung ladeFehler(const QString &pfad, const FrageDatei::LadeErgebnis &ergebnis)
{
    const bool englisch = Einstellungen::istEnglisch();
    return {(englisch ? QStringLiteral("The question file %1 cannot be opened.")
                      : QStringLiteral("Die Fragedatei %1 kann nicht geöffnet werden."))
                .arg(QDir::toNativeSeparators(pfad)),
            ergebnis.beschreibung(englisch), QStringLiteral(":/images/frageneditor_50.png"), true};
}

// The recent files with `pfad` first.
void zuletztErgaenzen(const QString &pfad)
{
    QStringList liste = Einstellungen::liste(Schluessel::RecentFileList);
    liste.removeAll(pfad);
    liste.prepend(pfad);
    while (liste.size() > MaxRecentFiles)
        liste.removeLast();
    Einstellungen::setzen(Schluessel::RecentFileList, liste);
}

Meldung fragenAusgelassen(const FrageDatei::LadeErgebnis &ergebnis)
{
    return {ergebnis.meldung(), {}, QStringLiteral(":/images/frageneditor_50.png"), true};
}

} // namespace

Spielablauf::Spielablauf(spiel &engine, SpielFenster &fenster, Dialoge &dialoge, Klang &klang, Uhr &uhr,
                         QObject *eltern)
    : QObject(eltern)
    , m_spiel(engine)
    , m_fenster(fenster)
    , m_dialoge(dialoge)
    , m_klang(klang)
    , m_uhr(uhr)
{
    connect(&m_spiel, &spiel::timerSlotSpiel, this, &Spielablauf::updateCountdown);
    connect(&m_spiel, &spiel::countdownAbgelaufen, this, &Spielablauf::countdownAbgelaufen);
    connect(&m_spiel, &spiel::richtigeAntwortAnzeigen, this, &Spielablauf::richtigeAntwortAnzeigen);
    connect(&m_spiel, &spiel::ranglisteAktualisieren, this, &Spielablauf::ranglisteAktualisieren);

    m_antwortVerzoegerung = m_uhr.neuerZeitgeber(this);
    m_antwortVerzoegerung->setSingleShot(true);
    connect(m_antwortVerzoegerung, &Zeitgeber::timeout, this, &Spielablauf::countDownVerzoegeretStarten);

    m_automatisierung = m_uhr.neuerZeitgeber(this);
    m_automatisierung->setSingleShot(true);
    connect(m_automatisierung, &Zeitgeber::timeout, this, &Spielablauf::automatisierungOn);
}

bool Spielablauf::antwortVerzoegerungLaeuft() const
{
    return m_antwortVerzoegerung->isActive();
}

bool Spielablauf::automatisierungGeplant() const
{
    return m_automatisierung->isActive();
}

// --- Views and labels -------------------------------------------------------------------------------

void Spielablauf::ansichtZeigen(SpielFenster::Ansicht ansicht)
{
    m_ansicht = ansicht;
    m_frageAktiv = ansicht == SpielFenster::Ansicht::Frage;
    m_startScreenAngezeigt = ansicht == SpielFenster::Ansicht::Start;
    m_fenster.ansichtZeigen(ansicht);
}

void Spielablauf::dateiBeschriftungen()
{
    const int anzahl = m_spiel.getAnzahlFragen();
    m_fenster.dateiAnzeigen(
        anzahl == 0 ? Einstellungen::meldung(QStringLiteral("Keine Fragedatei ausgewählt."),
                                             QStringLiteral("No question file selected."))
                    : gekuerzt(Einstellungen::text(Schluessel::FrageFile)),
        Einstellungen::meldung(QStringLiteral("Anzahl Fragen: "), QStringLiteral("Number of questions: ")) +
            QString::number(anzahl));
}

QString Spielablauf::frageNrBeschriftung(bool mitAnzahl) const
{
    const QString nummer = QString::number(m_spiel.getAktuelleFrageNr());
    if (mitAnzahl)
        return Einstellungen::meldung(QStringLiteral("aktuelle Frage-Nr.: "),
                                      QStringLiteral("Current question no: ")) +
               nummer + QLatin1Char('/') + QString::number(m_spiel.getAnzahlFragen());
    return Einstellungen::meldung(QStringLiteral("aktuelle Frage-Nr.: "),
                                  QStringLiteral("Current question no.: ")) +
           nummer;
}

void Spielablauf::klangSpielen(const QString &lautlos, const QString &datei, const QString &vorgabe)
{
    if (Einstellungen::text(lautlos) != QLatin1String("false"))
        return;
    const QString wert = Einstellungen::text(datei);
    if (wert == vorgabe + QLatin1String(" (default)"))
        m_klang.abspielen(QLatin1String(":/sound/sound/") + vorgabe);
    else
        m_klang.abspielen(QLatin1String(":/sound/sound/") + wert);
}

// --- Moving between questions -----------------------------------------------------------------------

bool Spielablauf::fragenVorhanden()
{
    if (m_spiel.getAnzahlFragen() > 0)
        return true;
    m_dialoge.hinweis(keineFragedatei());
    return false;
}

void Spielablauf::laufendeFrageAbbrechen()
{
    // Nothing of the question being left may fire into the next one: not a pending advance, not
    // the rest of its answer delay, not its ticks, resume or result display.
    m_automatisierung->stop();
    m_antwortVerzoegerung->stop();
    m_spiel.frageAbbrechen();
    m_fenster.pauseAnzeigen(false);
}

void Spielablauf::frageAufsetzen(bool zeigenUndStarten, const QString &beschriftung)
{
    // Hand-made files may carry anything here; a day is plenty and keeps the timer valid.
    const int verzoegerung =
        std::clamp(FrageDatei::zahl(m_aktuelleFrage, QStringLiteral("AnswerDelay")), 0, 86400);
    if (zeigenUndStarten)
        m_fenster.frageAnzeigen(m_aktuelleFrage, m_spiel.getAktuelleFrageNr());
    stimmenVerbinden(false);
    m_spiel.countdownTimerStoppen();
    m_fenster.frageNrAnzeigen(beschriftung);

    m_antwortVerzoegerung->stop();
    m_antwortVerzoegerung->setInterval(verzoegerung * 1000);
    if (zeigenUndStarten)
        m_antwortVerzoegerung->start();
    else
        m_fenster.countdownAbgelaufenAnzeigen();
}

void Spielablauf::naechsteFrageZeigen()
{
    try {
        laufendeFrageAbbrechen();
        m_aktuelleFrage = m_spiel.getNaechsteFrage();
        if (m_journal)
            m_journal->frageAufgerufen(m_spiel.getAktuelleFrageNr());
        frageAufsetzen(!m_spiel.istEndeErreicht(), frageNrBeschriftung(true));
    } catch (...) {
        m_dialoge.hinweis({Einstellungen::meldung(QStringLiteral("Keine Fragendatei gefunden"),
                                                  QStringLiteral("No question file found.")),
                           {},
                           {},
                           false});
    }
}

void Spielablauf::vorherigeFrageZeigen()
{
    try {
        laufendeFrageAbbrechen();
        m_aktuelleFrage = m_spiel.getVorherigeFrage();
        if (m_journal)
            m_journal->frageAufgerufen(m_spiel.getAktuelleFrageNr());
        frageAufsetzen(true, frageNrBeschriftung(true));
    } catch (...) {
        m_dialoge.hinweis({Einstellungen::meldung(QStringLiteral("Keine Fragendatei gefunden."),
                                                  QStringLiteral("No question file found.")),
                           {},
                           QStringLiteral(":/images/frageneditor_50.png"),
                           true});
    }
}

void Spielablauf::naechsteFrage()
{
    if (!fragenVorhanden())
        return;
    ansichtZeigen(SpielFenster::Ansicht::Frage);
    if (m_spiel.istCountdownAktiv())
        return;
    if (m_antwortVerzoegerung->isActive()) {
        m_antwortVerzoegerung->stop();
        countDownVerzoegeretStarten();
    } else {
        naechsteFrageZeigen();
    }
}

void Spielablauf::frageVerlassen(bool vorwaerts)
{
    if (!fragenVorhanden())
        return;
    ansichtZeigen(SpielFenster::Ansicht::Frage);
    if (vorwaerts)
        naechsteFrageZeigen();
    else
        vorherigeFrageZeigen();
}

void Spielablauf::frageUeberspringen()
{
    frageVerlassen(true);
}

void Spielablauf::frageZurueck()
{
    frageVerlassen(false);
}

void Spielablauf::goToFrage(int frageNr)
{
    m_fenster.goToSchliessen();
    if (frageNr == 0)
        frageNr = 1;
    if (!fragenVorhanden())
        return;
    laufendeFrageAbbrechen();
    ansichtZeigen(SpielFenster::Ansicht::Frage);
    m_aktuelleFrage = m_spiel.springeZuFrage(frageNr);
    if (m_journal)
        m_journal->frageAufgerufen(m_spiel.getAktuelleFrageNr());
    frageAufsetzen(true, frageNrBeschriftung(false));
}

bool Spielablauf::nochmalAbstimmenMoeglich() const
{
    return m_ansicht == SpielFenster::Ansicht::Frage && !m_antwortVerzoegerung->isActive() &&
           m_spiel.zweiteRundeMoeglich();
}

void Spielablauf::nochmalAbstimmen()
{
    if (!nochmalAbstimmenMoeglich())
        return;
    // A pending advance would leave the question in the middle of its second round.
    m_automatisierung->stop();
    m_spiel.zweiteRundeStarten();
    if (m_journal)
        m_journal->zweiteRunde(m_spiel.getAktuelleFrageNr());
    // The question comes back as it was first shown, without the first round's result.
    ansichtZeigen(SpielFenster::Ansicht::Frage);
    frageAufsetzen(true, frageNrBeschriftung(true));
}

// --- One question -------------------------------------------------------------------------------------

void Spielablauf::countDownVerzoegeretStarten()
{
    m_spiel.qountdownStarten();
    stimmenVerbinden(true);
    m_gehoerteStimmen.clear();
    m_endeWennAlleGeantwortet = Einstellungen::ist(Schluessel::FrageBeendenWennAlleGeantwortet);
    m_fenster.antwortenAnzeigen(m_aktuelleFrage);
}

void Spielablauf::updateCountdown(int counter, int intervall)
{
    m_fenster.countdownAnzeigen(counter, intervall);
}

void Spielablauf::countdownAbgelaufen()
{
    m_fenster.pauseAnzeigen(false);
    m_fenster.countdownAbgelaufenAnzeigen();
    stimmenVerbinden(false);
    m_frageAktiv = false;
    klangSpielen(Schluessel::ToeneCountdownLautlos, Schluessel::SoundFileToeneCountdown,
                 QStringLiteral("ring.wav"));
}

void Spielablauf::richtigeAntwortAnzeigen()
{
    const int frageNr = m_spiel.getAktuelleFrageNr();
    const bool zweiteRunde = m_spiel.istZweiteRunde();
    // The class discusses the first round of a question set to two rounds before voting again:
    // it sees how it voted, not what is right, as after a survey question. Automation would move
    // on in the middle of that discussion.
    const bool diskussion = !zweiteRunde && m_spiel.getFragenkatalog().runden(frageNr) == 2;
    if (Einstellungen::ist(Schluessel::AutomatisierungAktiviert) && !diskussion)
        m_automatisierung->start(std::max(0, Einstellungen::zahl(Schluessel::AutomatisierungZeit)) * 1000);
    const QList<double> prozente = m_spiel.getProzenteAntworten(frageNr);
    if (diskussion) {
        m_fenster.richtigeAntwortAnzeigen({}, {}, FrageDatei::Umfrage, prozente, {});
        return;
    }
    m_fenster.richtigeAntwortAnzeigen(m_spiel.getPersonenRichtig(), m_spiel.getPersonenFalsch(),
                                      m_spiel.getLoesung(), prozente,
                                      zweiteRunde ? m_spiel.getProzenteErsteRunde(frageNr) : QList<double>());
}

void Spielablauf::automatisierungOn()
{
    ansichtZeigen(SpielFenster::Ansicht::Frage);
    naechsteFrageZeigen();
    klangSpielen(Schluessel::ToeneAutomatisierungLautlos, Schluessel::SoundFileToeneAutomatisierung,
                 QStringLiteral("bell.wav"));
}

void Spielablauf::ranglisteAktualisieren()
{
    m_fenster.ranglisteAnzeigen(m_spiel.getPersonen(), m_spiel.getAnzahlFragen(),
                                m_spiel.getAktuelleFrageNr());
}

// --- Presses ------------------------------------------------------------------------------------------

void Spielablauf::stimmenVerbinden(bool an)
{
    const int frage = m_spiel.getAktuelleFrageNr();
    if (an == m_stimmenVerbunden && frage == m_gemeldeteFrage)
        return;
    m_stimmenVerbunden = an;
    m_gemeldeteFrage = frage;
    emit stimmenVerbundenGeaendert(an, frage);
}

void Spielablauf::druckEmpfangen(uint klassensatz, uint buzzerNo, uint buttonNo)
{
    // Presses count on the start screen and while a countdown runs, never during the answer
    // delay, a pause or after the end, when the answers are already evaluated.
    if (m_stimmenVerbunden)
        geraeteIDAnzeigen(klassensatz, buzzerNo, buttonNo);
}

void Spielablauf::geraeteIDAnzeigen(uint klassensatz, uint buzzerNo, uint buttonNo)
{
    m_fenster.druckAnzeigen(klassensatz, buzzerNo, buttonNo);
    if (m_journal) {
        // Handed to the journal before it counts: what it writes is never less than what was shown.
        const SpielStand::Druck druck = m_journal->druck(m_spiel, klassensatz, buzzerNo, buttonNo);
        m_spiel.antwortEintragen(druck.frageNr, klassensatz, buzzerNo, buttonNo, druck.laufzeitMs);
    } else {
        m_spiel.antwortErfassen(klassensatz, buzzerNo, buttonNo);
    }
    m_stimmeErhalten = true;
    const GeraetSchluessel schluessel{klassensatz, buzzerNo};
    if (!m_gehoerteStimmen.contains(schluessel)) {
        m_gehoerteStimmen.insert(schluessel);
        klangSpielen(Schluessel::ToeneBuzzerLautlos, Schluessel::SoundFileToeneBuzzer,
                     QStringLiteral("bell.wav"));
    }
    m_angemeldet.insert(schluessel);
    // Every handset heard in this countdown is in m_angemeldet, so equal sizes mean all answered.
    if (m_endeWennAlleGeantwortet && m_spiel.istCountdownAktiv() &&
        m_gehoerteStimmen.size() == m_angemeldet.size())
        m_spiel.countdownSofortBeenden();
}

void Spielablauf::pauseUmschalten()
{
    // Only a running countdown pauses; otherwise presses would start counting during the answer
    // delay or after the answers were evaluated.
    if (!m_spiel.istCountdownAktiv())
        return;
    m_spiel.fragePausieren();
    stimmenVerbinden(!m_spiel.istPausiert());
    m_fenster.pauseAnzeigen(m_spiel.istPausiert());
}

void Spielablauf::pauseTaste()
{
    if (!m_startScreenAngezeigt && m_frageAktiv)
        pauseUmschalten();
}

void Spielablauf::sofortBeendenTaste()
{
    if (m_spiel.istCountdownAktiv())
        m_spiel.countdownSofortBeenden();
}

void Spielablauf::masterTerminate()
{
    m_spiel.countdownSofortBeenden();
}

void Spielablauf::masterPause()
{
    pauseUmschalten();
}

// The master's D goes forward like Page Down and its B back like Page Up, abandoning a running
// countdown as those keys do.
void Spielablauf::masterPageUp()
{
    frageVerlassen(true);
}

void Spielablauf::masterPageDown()
{
    frageVerlassen(false);
}

// --- Ranking ------------------------------------------------------------------------------------------

void Spielablauf::ranglisteZeigen()
{
    if (!m_spiel.istCountdownAktiv())
        ansichtZeigen(SpielFenster::Ansicht::Rangliste);
}

void Spielablauf::ranglisteTaste()
{
    if (!m_spiel.istCountdownAktiv())
        ansichtZeigen(SpielFenster::Ansicht::RanglisteUnterSchwarz);
}

// --- Restart, files and templates ---------------------------------------------------------------------

bool Spielablauf::neuStartBestaetigt(const QString &grund)
{
    if (!(m_stimmeErhalten && m_resultateNichtExportiert && !m_startScreenAngezeigt))
        return true;
    QString frage = Einstellungen::meldung(QStringLiteral("Möchten Sie das Spiel wirklich neu starten?"),
                                           QStringLiteral("Are you sure you want to restart the game?"));
    if (!grund.isEmpty())
        frage = grund + QLatin1Char('\n') + frage;
    return m_dialoge.frage({frage, verlustwarnung(), QStringLiteral(":/images/info.png"), true});
}

void Spielablauf::zuruecksetzen()
{
    laufendeFrageAbbrechen();
    m_gehoerteStimmen.clear();
    m_angemeldet.clear();
    m_stimmeErhalten = false;
    m_resultateNichtExportiert = true;
    m_fenster.startscreenZuruecksetzen(Einstellungen::text(Schluessel::GewaehltesTemplate));
    ansichtZeigen(SpielFenster::Ansicht::Start);

    m_spiel.spielZuruecksetzen();
    ranglisteAktualisieren();
    m_spiel.setEndeErreicht(false);
    m_aktuelleFrage = QDomElement();
    dateiBeschriftungen();

    stimmenVerbinden(true);
    m_fenster.frageNrAnzeigen({});
    m_fenster.empfaengerOeffnen();
    // A new game replaces the journal of the old one.
    if (m_journal) {
        if (m_spiel.getAnzahlFragen() > 0)
            m_journal->beginnen(Einstellungen::text(Schluessel::FrageFile));
        else
            m_journal->entfernen();
    }
}

void Spielablauf::neuStarten()
{
    if (Einstellungen::text(Schluessel::GewaehltesTemplate).isEmpty())
        Einstellungen::setzen(Schluessel::GewaehltesTemplate, Tandrivelle);
    m_gehoerteStimmen.clear();
    if (neuStartBestaetigt())
        neuLaden();
}

void Spielablauf::neuLaden()
{
    // The file is read again before anything is reset: when it has become unreadable (a stick
    // pulled, a broken edit) the game that runs is worth more than an empty one.
    const QString pfad = Einstellungen::text(Schluessel::FrageFile);
    if (!pfad.isEmpty()) {
        const FrageDatei::LadeErgebnis ergebnis = m_spiel.ladeFragen(pfad);
        if (!ergebnis.ok()) {
            m_dialoge.hinweis(ladeFehler(pfad, ergebnis));
            if (m_spiel.getAnzahlFragen() > 0)
                return;
        }
    }
    zuruecksetzen();
}

void Spielablauf::frageDateiOeffnen(const QString &gegeben)
{
    QString pfad = gegeben;
    if (pfad.isEmpty())
        pfad = m_dialoge.dateiZumOeffnen(tr("Öffnen Fragen XML-Datei"),
                                         Einstellungen::text(Schluessel::DefaultPfadFrageFileOeffnen),
                                         tr("XML Files (*.xml)"));
    // A cancelled dialog, a "No" and a file that does not load all leave the game as it is.
    if (pfad.isEmpty() || !neuStartBestaetigt())
        return;
    const FrageDatei::LadeErgebnis ergebnis = m_spiel.ladeFragen(pfad);
    if (!ergebnis.ok()) {
        m_dialoge.hinweis(ladeFehler(pfad, ergebnis));
        return;
    }
    // Questions left out (a file beyond the limit) are said once, when the file is opened.
    if (!ergebnis.meldung().isEmpty())
        m_dialoge.hinweis(fragenAusgelassen(ergebnis));
    Einstellungen::setzen(Schluessel::DefaultPfadFrageFileOeffnen, QFileInfo(pfad).absolutePath());
    zuletztHinzufuegen(pfad);
    Einstellungen::setzen(Schluessel::FrageFile, pfad);
    zuruecksetzen();
}

std::optional<Meldung> Spielablauf::startDateiVorgeben(const QString &pfad)
{
    const FrageDatei::LadeErgebnis ergebnis = FrageDatei::lesen(pfad);
    if (!ergebnis.ok())
        return ladeFehler(pfad, ergebnis);
    // The first start's values are written all the same, with this file in place of the sample.
    if (Einstellungen::ist(Schluessel::BereitsGestartet))
        Einstellungen::setzen(Schluessel::FrageFile, pfad);
    else
        Startregeln::ersterStartAbschliessen(pfad);
    Einstellungen::setzen(Schluessel::DefaultPfadFrageFileOeffnen, QFileInfo(pfad).absolutePath());
    zuletztErgaenzen(pfad);
    if (!ergebnis.meldung().isEmpty())
        return fragenAusgelassen(ergebnis);
    return std::nullopt;
}

void Spielablauf::fragenImportieren(const QString &gegeben)
{
    QString pfad = gegeben;
    if (pfad.isEmpty())
        pfad = m_dialoge.dateiZumOeffnen(tr("Fragen aus einer Tabelle importieren"),
                                         Einstellungen::text(Schluessel::DefaultPfadFrageFileOeffnen),
                                         tr("Tabellen (*.csv *.txt)"));
    if (pfad.isEmpty())
        return;
    const bool englisch = Einstellungen::istEnglisch();
    const QString name = QDir::toNativeSeparators(pfad);
    const FragenImport::Ergebnis ergebnis = FragenImport::lesen(pfad, englisch);
    const QString bild = QStringLiteral(":/images/frageneditor_50.png");
    const auto liste = [&]() {
        // A box with hundreds of lines would not fit the screen; the first ones show the pattern.
        QStringList zeilen = ergebnis.fehler.mid(0, 12);
        if (ergebnis.fehler.size() > zeilen.size())
            zeilen.append(
                englisch ? QStringLiteral("… and %1 more").arg(ergebnis.fehler.size() - zeilen.size())
                         : QStringLiteral("… und %1 weitere").arg(ergebnis.fehler.size() - zeilen.size()));
        return zeilen.join(QLatin1Char('\n'));
    };
    if (!ergebnis.lesefehler.isEmpty() || ergebnis.fragen.isEmpty()) {
        m_dialoge.hinweis({(englisch ? QStringLiteral("No questions could be imported from %1.")
                                     : QStringLiteral("Aus %1 konnten keine Fragen importiert werden."))
                               .arg(name),
                           ergebnis.lesefehler.isEmpty() ? liste() : ergebnis.lesefehler, bild, true});
        return;
    }
    const QString ziel = FragenImport::zielPfad(pfad);
    QString fehler;
    if (!FrageDatei::schreiben(ziel, ergebnis.fragen, &fehler)) {
        m_dialoge.hinweis({(englisch ? QStringLiteral("The question file %1 cannot be written.")
                                     : QStringLiteral("Die Fragedatei %1 kann nicht geschrieben werden."))
                               .arg(QDir::toNativeSeparators(ziel)),
                           fehler, bild, true});
        return;
    }
    m_dialoge.hinweis({tr("%n Fragen wurden nach %1 importiert.", nullptr, int(ergebnis.fragen.size()))
                           .arg(QDir::toNativeSeparators(ziel)),
                       ergebnis.fehler.isEmpty()
                           ? QString()
                           : (englisch ? QStringLiteral("These lines were skipped:\n")
                                       : QStringLiteral("Diese Zeilen wurden übersprungen:\n")) +
                                 liste(),
                       QStringLiteral(":/images/info.png"), true});
    frageDateiOeffnen(ziel);
}

void Spielablauf::zuletztHinzufuegen(const QString &pfad)
{
    zuletztErgaenzen(pfad);
    m_fenster.zuletztGeoeffnetAktualisieren();
}

void Spielablauf::journalSetzen(Druckjournal *journal)
{
    m_journal = journal;
    if (!m_journal)
        return;
    m_journal->spielBeobachten(m_spiel);
    connect(m_journal, &Druckjournal::schreibfehler, this, [this](const QString &meldung) {
        m_dialoge.hinweis({meldung, {}, QStringLiteral(":/images/info.png"), true});
    });
}

void Spielablauf::journalStarten()
{
    if (!m_journal)
        return;
    if (m_journal->dateiVorhanden() && !journalVorfinden())
        return;
    if (m_spiel.getAnzahlFragen() > 0)
        m_journal->beginnen(Einstellungen::text(Schluessel::FrageFile));
}

bool Spielablauf::journalAufbewahren(QString &kopie)
{
    QString grund;
    kopie = m_journal->aufbewahren(&grund);
    if (!kopie.isEmpty())
        return true;
    const QString pfad = QDir::toNativeSeparators(m_journal->pfad());
    m_dialoge.hinweis(
        {Einstellungen::meldung(
             QStringLiteral("Das Druckjournal \"%1\" kann nicht aufbewahrt werden: %2. Es bleibt "
                            "unverändert; dieses Spiel wird nicht aufgezeichnet.")
                 .arg(pfad, grund),
             QStringLiteral("The press journal \"%1\" cannot be kept: %2. It stays as it is; this "
                            "game is not recorded.")
                 .arg(pfad, grund)),
         {},
         QStringLiteral(":/images/info.png"),
         true});
    return false;
}

bool Spielablauf::journalVorfinden()
{
    const QString bild = QStringLiteral(":/images/info.png");
    SpielStand stand = m_journal->lesen();
    // The line naming the question file may be among the damaged ones; it is the file in use,
    // since a game with another file begins a journal of its own.
    if (stand.frageDatei.isEmpty())
        stand.frageDatei = Einstellungen::text(Schluessel::FrageFile);
    if (stand.istLeer() && stand.uebersprungen == 0) {
        // A game that never got going: nothing to take up.
        m_journal->entfernen();
        return true;
    }
    // A damaged journal is kept as it was, whatever becomes of the game in it.
    QString kopie;
    if (stand.uebersprungen > 0 && !journalAufbewahren(kopie))
        return false;
    if (stand.istLeer() || stand.frageDatei.isEmpty()) {
        if (kopie.isEmpty() && !journalAufbewahren(kopie))
            return false;
        const QString kopieName = QDir::toNativeSeparators(kopie);
        m_dialoge.hinweis(
            {Einstellungen::meldung(
                 QStringLiteral("Das Druckjournal des letzten Spiels ist beschädigt; nichts darin lässt sich "
                                "wiederherstellen (unlesbare Zeilen: %1). Die Datei bleibt unverändert als "
                                "\"%2\" erhalten.")
                     .arg(stand.uebersprungen)
                     .arg(kopieName),
                 QStringLiteral(
                     "The press journal of the last game is damaged; nothing in it can be restored "
                     "(unreadable lines: %1). The file is kept unchanged as \"%2\".")
                     .arg(stand.uebersprungen)
                     .arg(kopieName)),
             {},
             bild,
             true});
        m_journal->entfernen();
        return true;
    }

    const QString kopieName = QDir::toNativeSeparators(kopie);
    QString schaden;
    if (stand.uebersprungen > 0)
        schaden =
            tr("Das Druckjournal ist beschädigt (unlesbare Zeilen: %1). Wiederherstellen lassen sich %2 "
               "und %3. Die Datei bleibt unverändert als \"%4\" erhalten.")
                .arg(QString::number(stand.uebersprungen),
                     tr("%n Antworten", nullptr, int(stand.druecke.size())),
                     tr("%n ausgewertete Fragen", nullptr, int(stand.ausgewerteteFragen().size())),
                     kopieName);
    // Return and Space answer Yes: the keys a presenter presses to go on never set a game aside.
    Meldung angebot{stand.angebot(), schaden, bild, true};
    angebot.jaAlsVorgabe = true;
    bool fortsetzen = m_dialoge.frage(angebot);
    // Only a No confirmed with Yes sets the game aside; whatever else ends the second box (a key
    // pressed to go on, the program asked to end) keeps it.
    if (!fortsetzen) {
        const QString ordner = QDir::toNativeSeparators(QFileInfo(m_journal->pfad()).absolutePath());
        fortsetzen = !m_dialoge.frage(
            {Einstellungen::meldung(
                 QStringLiteral("Möchten Sie das unterbrochene Spiel wirklich nicht fortsetzen?"),
                 QStringLiteral("Are you sure you do not want to continue the interrupted game?")),
             Einstellungen::meldung(
                 QStringLiteral("Seine Ergebnisse werden dann beiseitegelegt: Das Druckjournal bleibt mit "
                                "seinem Datum im Namen im Ordner \"%1\" erhalten. Andernfalls wird das "
                                "Spiel fortgesetzt.")
                     .arg(ordner),
                 QStringLiteral("Its results are then set aside: the press journal is kept, with its date in "
                                "the name, in the folder \"%1\". Otherwise the game goes on.")
                     .arg(ordner)),
             bild, true});
    }
    if (!fortsetzen) {
        if (kopie.isEmpty() && !journalAufbewahren(kopie))
            return false;
        m_journal->entfernen();
        return true;
    }

    const FrageDatei::LadeErgebnis ergebnis = Druckjournal::anwenden(stand, m_spiel);
    if (!ergebnis.ok()) {
        // Perhaps a stick not plugged in: the journal stays where it is, to be offered at the next
        // start; a game begun now keeps it beside its own.
        Meldung meldung = ladeFehler(stand.frageDatei, ergebnis);
        meldung.informativerText +=
            QStringLiteral("\n\n") +
            Einstellungen::meldung(
                QStringLiteral("Das unterbrochene Spiel wird nicht verworfen: Sein Druckjournal bleibt "
                               "erhalten."),
                QStringLiteral("The interrupted game is not thrown away: its press journal is kept."));
        m_dialoge.hinweis(meldung);
        return true;
    }
    Einstellungen::setzen(Schluessel::FrageFile, stand.frageDatei);
    m_journal->fortsetzen(stand);
    m_aktuelleFrage = m_spiel.getFragenkatalog().getFrage(m_spiel.getAktuelleFrageNr());
    m_stimmeErhalten = !stand.druecke.isEmpty();
    stimmenVerbinden(false);
    dateiBeschriftungen();
    m_fenster.frageNrAnzeigen(frageNrBeschriftung(true));
    ranglisteAktualisieren();
    // The results as they were; Space goes on with the next question.
    ansichtZeigen(SpielFenster::Ansicht::Rangliste);
    m_fenster.statusMeldung(stand.bericht(Einstellungen::istEnglisch()));
    return false;
}

void Spielablauf::beendet()
{
    if (m_journal)
        m_journal->beenden();
}

void Spielablauf::templateAnfangen()
{
    if (Einstellungen::text(Schluessel::GewaehltesTemplate).isEmpty())
        Einstellungen::setzen(Schluessel::GewaehltesTemplate, Tandrivelle);
    const QString name = Einstellungen::text(Schluessel::GewaehltesTemplate);
    if (m_fenster.templateErzeugen(name)) {
        m_templateName = name;
        m_templateVorhanden = true;
    }
}

void Spielablauf::templateAusgewaehlt()
{
    const QString name = Einstellungen::text(Schluessel::GewaehltesTemplate);
    if ((!m_templateVorhanden || name != m_templateName) && m_fenster.templateErzeugen(name)) {
        m_templateName = name;
        m_templateVorhanden = true;
    }
    neuStarten();
}

void Spielablauf::empfaengerGefunden()
{
    // The receiver is identified again after every wobble of the USB bus; the same family keeps
    // the game exactly as it is.
    const QString name = Einstellungen::text(Schluessel::GewaehltesTemplate);
    if (m_templateVorhanden && name == m_templateName)
        return;
    const QString grund =
        Einstellungen::meldung(QStringLiteral("Der gefundene Empfänger gehört zum Template „%1“."),
                               QStringLiteral("The receiver found belongs to the template \"%1\"."))
            .arg(name);
    if (!neuStartBestaetigt(grund)) {
        // The presenter keeps the game and its template; the setting says which one is in use.
        if (m_templateVorhanden)
            Einstellungen::setzen(Schluessel::GewaehltesTemplate, m_templateName);
        return;
    }
    if (!m_fenster.templateErzeugen(name))
        return;
    m_templateName = name;
    m_templateVorhanden = true;
    m_gehoerteStimmen.clear();
    m_fenster.statusMeldung(grund + QLatin1Char(' ') +
                            Einstellungen::meldung(QStringLiteral("Das Spiel wurde neu gestartet."),
                                                   QStringLiteral("The game was restarted.")));
    neuLaden();
}

bool Spielablauf::beendenBestaetigt()
{
    if (!(m_stimmeErhalten && m_resultateNichtExportiert))
        return true;
    return m_dialoge.frage({Einstellungen::meldung(QStringLiteral("Möchten Sie Plenaro wirklich beenden?"),
                                                   QStringLiteral("Are you sure you want to quit Plenaro?")),
                            verlustwarnung(), QStringLiteral(":/images/info.png"), true});
}
