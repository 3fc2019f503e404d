#include "druckjournal.h"

#include "benutzerdatei.h"
#include "einstellungen.h"
#include "spiel.h"
#include "spielprotokoll.h"
#include "uhr.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <limits>
#include <mutex>
#include <thread>
#include <vector>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <pthread.h>
#include <sched.h>
#endif

namespace {

const QByteArray Kopf = QByteArrayLiteral("PLENARO-DRUCKJOURNAL 1");
const QString Dateiname = QStringLiteral("druckjournal.txt");
// A journal this large is not one of ours; reading it would only cost memory.
constexpr qint64 MaxGroesse = qint64(256) * 1024 * 1024;

QByteArray pruefsumme(const QByteArray &inhalt)
{
    return QByteArray::number(qChecksum(inhalt), 16).rightJustified(4, '0');
}

// The content of a line whose checksum matches; empty otherwise.
QByteArray geprueft(const QByteArray &zeile)
{
    const qsizetype blank = zeile.lastIndexOf(' ');
    if (blank <= 0)
        return {};
    const QByteArray inhalt = zeile.left(blank);
    return zeile.mid(blank + 1) == pruefsumme(inhalt) ? inhalt : QByteArray();
}

bool zahlen(const QList<QByteArray> &teile, int ab, QList<qint64> &werte)
{
    for (qsizetype i = ab; i < teile.size(); ++i) {
        bool ok = false;
        const qint64 wert = teile.at(i).toLongLong(&ok);
        if (!ok)
            return false;
        werte.append(wert);
    }
    return true;
}

bool istUint(qint64 wert)
{
    return wert >= 0 && wert <= qint64(std::numeric_limits<uint>::max());
}

// Whether a line that failed its check may have been an evaluation, judged by what is left of
// it: a press keeps its letter or its many fields, navigation and the file name their letter.
bool vielleichtAuswertung(const QByteArray &zeile)
{
    const QList<QByteArray> teile = zeile.simplified().split(' ');
    const QByteArray &art = teile.first();
    return !(art == "P" || art == "F" || art == "D" || art == "R" || art.startsWith("PLENARO") ||
             teile.size() >= 7);
}

} // namespace

// Writes the journal's records on a thread of its own. The game's thread only puts the values
// in a queue (the writer looks for it by itself while a journal is open); the writer formats
// whatever is waiting and hands it to the system in one write, so little is ever left waiting.
class Druckjournal::Schreiber final
{
    Q_DISABLE_COPY_MOVE(Schreiber)

public:
    explicit Schreiber(Druckjournal &journal)
        : m_journal(journal)
        , m_thread([this]() { laufen(); })
    {
    }

    ~Schreiber()
    {
        {
            const std::lock_guard<std::mutex> sperre(m_mutex);
            m_ende = true;
        }
        m_arbeit.notify_one();
        m_thread.join();
    }

    // Only while nothing waits to be written (after warten()).
    void dateiSetzen(int deskriptor)
    {
        const std::lock_guard<std::mutex> sperre(m_mutex);
        m_deskriptor = deskriptor;
    }

    void eintragen(const Eintrag &eintrag)
    {
        bool wecken = false;
        {
            const std::lock_guard<std::mutex> sperre(m_mutex);
            m_warteschlange.push_back(eintrag);
            ++m_eingereiht;
            wecken = std::exchange(m_schlaeft, false);
        }
        if (wecken)
            m_arbeit.notify_one();
    }

    void synchronisierenAnfordern()
    {
        bool wecken = false;
        {
            const std::lock_guard<std::mutex> sperre(m_mutex);
            m_syncAngefordert = true;
            ++m_eingereiht;
            wecken = std::exchange(m_schlaeft, false);
        }
        if (wecken)
            m_arbeit.notify_one();
    }

    void warten()
    {
        std::unique_lock<std::mutex> sperre(m_mutex);
        const quint64 ziel = m_eingereiht;
        if (m_erledigtBis >= ziel)
            return;
        // A writer that is only looking now and then is told at once.
        m_arbeit.notify_one();
        m_erledigt.wait(sperre, [&]() { return m_erledigtBis >= ziel; });
    }

    QStringList fehlerNehmen()
    {
        const std::lock_guard<std::mutex> sperre(m_mutex);
        return std::exchange(m_gruende, {});
    }

    qint64 synchronisierungen() const { return m_synchronisierungen.load(std::memory_order_relaxed); }

private:
    void laufen()
    {
#ifdef Q_OS_LINUX
        // Woken by a press, the writer waits for a free processor instead of interrupting the
        // game's thread in the middle of it; that interruption cost the press more than the wake.
        const sched_param parameter{};
        pthread_setschedparam(pthread_self(), SCHED_BATCH, &parameter);
#endif
        std::vector<Eintrag> arbeit;
        QByteArray text;
        std::unique_lock<std::mutex> sperre(m_mutex);
        auto zuletzt = std::chrono::steady_clock::time_point();
        for (;;) {
            while (m_warteschlange.empty() && !m_syncAngefordert && !m_ende) {
                // While a journal is open the writer looks for new records by itself, so a press
                // never pays for waking it (a system call on the game's thread): often while a class
                // is pressing, less often after a quiet while. Without a journal it sleeps until
                // one is opened.
                if (m_deskriptor >= 0) {
                    const bool wach = std::chrono::steady_clock::now() - zuletzt < Wachzeit;
                    m_arbeit.wait_for(sperre, wach ? Umschau : Ruheblick);
                } else {
                    m_schlaeft = true;
                    m_arbeit.wait(sperre);
                    m_schlaeft = false;
                }
            }
            m_schlaeft = false;
            if (m_warteschlange.empty() && !m_syncAngefordert)
                return;
            if (!m_warteschlange.empty())
                zuletzt = std::chrono::steady_clock::now();
            arbeit.swap(m_warteschlange);
            const bool sync = std::exchange(m_syncAngefordert, false);
            const quint64 bis = m_eingereiht;
            const int deskriptor = m_deskriptor;
            sperre.unlock();

            QStringList gruende;
            if (!arbeit.empty()) {
                text.resize(0);
                for (const Eintrag &eintrag : arbeit)
                    zeileAnhaengen(text, eintrag);
                arbeit.clear();
                // All waiting lines in one call: a killed process leaves whole lines, a power cut
                // at worst a torn last one, which the checksum catches.
                QString grund;
                if (!BenutzerDatei::allesSchreiben(deskriptor, text.constData(), text.size(), &grund))
                    gruende.append(grund);
            }
            if (sync) {
#ifdef Q_OS_WIN
                const bool ok = ::_commit(deskriptor) == 0;
#else
                const bool ok = ::fdatasync(deskriptor) == 0;
#endif
                m_synchronisierungen.fetch_add(1, std::memory_order_relaxed);
                if (!ok)
                    gruende.append(QString::fromLocal8Bit(std::strerror(errno)));
            }

            sperre.lock();
            if (!gruende.isEmpty()) {
                const bool melden = m_gruende.isEmpty();
                m_gruende += gruende;
                // Said on the journal's own thread, as its signal promises.
                if (melden)
                    QMetaObject::invokeMethod(
                        &m_journal, [journal = &m_journal]() { journal->fehlerMelden(); },
                        Qt::QueuedConnection);
            }
            m_erledigtBis = bis;
            m_erledigt.notify_all();
        }
    }

    // How often the writer looks while presses come in, for how long after the last record, and
    // how often after that: a killed process loses at most what came in since the last look.
    static constexpr std::chrono::milliseconds Umschau{10};
    static constexpr std::chrono::seconds Wachzeit{30};
    static constexpr std::chrono::milliseconds Ruheblick{100};

    Druckjournal &m_journal;
    std::mutex m_mutex;
    std::condition_variable m_arbeit;   // wakes the writer
    std::condition_variable m_erledigt; // wakes warten()
    std::vector<Eintrag> m_warteschlange;
    quint64 m_eingereiht = 0;  // records and sync requests handed over so far
    quint64 m_erledigtBis = 0; // of those, done
    bool m_syncAngefordert = false;
    bool m_schlaeft = false;
    bool m_ende = false;
    int m_deskriptor = -1;
    QStringList m_gruende; // failed writes not yet reported
    std::atomic<qint64> m_synchronisierungen = 0;
    // Last: runs with every member above in place.
    std::thread m_thread;
};

QList<SpielStand::Druck> SpielStand::druckeDerFrage(int frageNr) const
{
    QList<Druck> liste;
    for (const Druck &d : druecke) {
        if (d.frageNr == frageNr)
            liste.append(d);
    }
    return liste;
}

QString SpielStand::angebot() const
{
    return QCoreApplication::translate(
               "SpielStand",
               "Das letzte Spiel wurde nicht beendet (Fragedatei \"%1\", Frage %2, %n "
               "Antworten erfasst). Möchten Sie es fortsetzen?",
               nullptr, int(druecke.size()))
        .arg(QDir::toNativeSeparators(frageDatei), QString::number(aktuelleFrage));
}

QString SpielStand::bericht(bool englisch) const
{
    QString text = (englisch ? QStringLiteral("The interrupted game is restored (answers: %1, evaluated "
                                              "questions: %2")
                             : QStringLiteral("Das unterbrochene Spiel ist wiederhergestellt (Antworten: %1, "
                                              "ausgewertete Fragen: %2"))
                       .arg(druecke.size())
                       .arg(ausgewerteteFragen().size());
    if (uebersprungen > 0)
        text += (englisch ? QStringLiteral(", unreadable lines skipped: %1")
                          : QStringLiteral(", unlesbare Zeilen übersprungen: %1"))
                    .arg(uebersprungen);
    return text + (englisch ? QStringLiteral("). Press Space to go on.")
                            : QStringLiteral("). Weiter mit der Leertaste."));
}

QList<int> SpielStand::ausgewerteteFragen() const
{
    QList<int> fragen;
    for (const Auswertung &a : auswertungen) {
        if (!fragen.contains(a.frageNr))
            fragen.append(a.frageNr);
    }
    return fragen;
}

Druckjournal::Druckjournal(Uhr &uhr, const QString &ordner, QObject *eltern)
    : QObject(eltern)
    , m_uhr(uhr)
{
    const QString basis =
        ordner.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) : ordner;
    m_pfad = QDir(basis).filePath(Dateiname);
}

Druckjournal::~Druckjournal()
{
    if (m_syncTimer)
        m_syncTimer->stop();
    if (m_schreiber && istAktiv() && m_ungesynct)
        m_schreiber->synchronisierenAnfordern();
    warten();
    // Nobody is left to tell the presenter; the log still hears it.
    if (m_schreiber) {
        const QStringList gruende = m_schreiber->fehlerNehmen();
        for (const QString &grund : gruende)
            qCWarning(lcSpiel) << "Druckjournal" << m_pfad << grund;
    }
    m_schreiber.reset();
    // Left behind, it would only be found and thrown away at the next start.
    const bool ohneSpiel = istAktiv() && m_druecke == 0 && m_letzteFrage <= 0;
    m_datei.close();
    if (ohneSpiel)
        QFile::remove(m_pfad);
}

qint64 Druckjournal::synchronisierungen() const
{
    return m_schreiber ? m_schreiber->synchronisierungen() : 0;
}

void Druckjournal::warten() const
{
    if (m_schreiber)
        m_schreiber->warten();
}

void Druckjournal::leeren()
{
    warten();
    fehlerMelden();
}

void Druckjournal::fehlerMelden()
{
    if (!m_schreiber)
        return;
    const QStringList gruende = m_schreiber->fehlerNehmen();
    for (const QString &grund : gruende)
        scheitern(grund);
}

QByteArray Druckjournal::zeile(const QByteArray &inhalt)
{
    return inhalt + ' ' + pruefsumme(inhalt) + '\n';
}

bool Druckjournal::vorhanden() const
{
    return dateiVorhanden() && !lesen().istLeer();
}

bool Druckjournal::dateiVorhanden() const
{
    return QFileInfo(m_pfad).isFile();
}

SpielStand Druckjournal::lesen() const
{
    warten();
    SpielStand stand;
    QFile datei(m_pfad);
    if (!datei.open(QIODevice::ReadOnly) || datei.size() > MaxGroesse) {
        if (datei.exists())
            stand.uebersprungen = 1;
        return stand;
    }
    // Bounded even if the file grew since its size was looked at.
    const QByteArray alles = datei.read(MaxGroesse);
    // What follows the last line end is a line cut off in the middle of its write.
    const qsizetype ende = alles.lastIndexOf('\n') + 1;
    QList<QByteArray> zeilen = alles.left(ende).split('\n');
    zeilen.append(alles.mid(ende));

    // One run of a question: from the moment it was called up until the game moved on. An
    // evaluation always ends a run (presses count only while the countdown runs). A run whose
    // evaluation line is lost would give everyone 0 points for the question; when the run had
    // presses, ended by moving on, and a line in it that cannot be read may have been its
    // evaluation, it is taken as evaluated. A countdown runs to its end far more often than a
    // presenter breaks a question off, and points a class saw given are what a teacher expects
    // back. A run still open at the end is left alone: its countdown may have been running.
    struct Lauf
    {
        int frage = 0;
        bool mitDruecken = false;
        bool ausgewertet = false;
        bool vielleichtAusgewertet = false;
    } lauf;
    const auto weiterZu = [&](int frage) {
        if (frage == lauf.frage)
            return;
        if (lauf.frage >= 1 && lauf.mitDruecken && !lauf.ausgewertet && lauf.vielleichtAusgewertet)
            stand.auswertungen.append({lauf.frage, stand.druecke.size()});
        lauf = Lauf{frage};
    };

    for (qsizetype z = 0; z < zeilen.size(); ++z) {
        const QByteArray &roh = zeilen.at(z);
        if (roh.trimmed().isEmpty())
            continue;
        const bool abgerissen = z == zeilen.size() - 1;
        const QByteArray inhalt = abgerissen ? QByteArray() : geprueft(roh);
        const QList<QByteArray> teile = inhalt.split(' ');
        const QByteArray &art = teile.first();
        QList<qint64> werte;
        bool gelesen = false;
        if (inhalt.startsWith("PLENARO-")) {
            // A journal of another format is not ours to interpret: nothing of it is read.
            if (inhalt != Kopf) {
                const int zeilenMitInhalt =
                    int(std::count_if(zeilen.cbegin(), zeilen.cend(),
                                      [](const QByteArray &r) { return !r.trimmed().isEmpty(); }));
                stand = SpielStand();
                stand.uebersprungen = zeilenMitInhalt;
                return stand;
            }
            gelesen = true;
        } else if (art == "D" && teile.size() == 2) {
            if (stand.frageDatei.isEmpty())
                stand.frageDatei = QUrl::fromPercentEncoding(teile.at(1));
            gelesen = true;
        } else if (art == "F" && teile.size() == 2 && zahlen(teile, 1, werte)) {
            if (werte.at(0) >= 0 && werte.at(0) <= FrageDatei::MaxFragen) {
                stand.aktuelleFrage = int(werte.at(0));
                weiterZu(stand.aktuelleFrage);
                gelesen = true;
            }
        } else if (art == "A" && teile.size() == 2 && zahlen(teile, 1, werte)) {
            if (werte.at(0) >= 1 && werte.at(0) <= FrageDatei::MaxFragen) {
                stand.auswertungen.append({int(werte.at(0)), stand.druecke.size()});
                if (werte.at(0) == lauf.frage)
                    lauf.ausgewertet = true;
                gelesen = true;
            }
        } else if (art == "R" && teile.size() == 2 && zahlen(teile, 1, werte)) {
            if (werte.at(0) >= 1 && werte.at(0) <= FrageDatei::MaxFragen) {
                stand.zweiteRunden.append({int(werte.at(0)), stand.druecke.size()});
                // The second round is a run of its own: its evaluation is still to come.
                if (werte.at(0) == lauf.frage)
                    lauf = Lauf{lauf.frage};
                gelesen = true;
            }
        } else if (art == "P" && teile.size() == 7 && zahlen(teile, 1, werte)) {
            if (werte.at(0) >= 0 && werte.at(0) <= FrageDatei::MaxFragen && istUint(werte.at(1)) &&
                istUint(werte.at(2)) && istUint(werte.at(3))) {
                // A press of another question: the game had moved on, even if the line that
                // said so is lost.
                weiterZu(int(werte.at(0)));
                stand.druecke.append({int(werte.at(0)), uint(werte.at(1)), uint(werte.at(2)),
                                      uint(werte.at(3)), werte.at(4), werte.at(5)});
                lauf.mitDruecken = true;
                gelesen = true;
            }
        }
        if (!gelesen) {
            ++stand.uebersprungen;
            if (inhalt.isEmpty() ? vielleichtAuswertung(roh) : art == "A")
                lauf.vielleichtAusgewertet = true;
        }
    }
    return stand;
}

QString Druckjournal::aufbewahren(QString *grund) const
{
    warten();
    const QFileInfo info(m_pfad);
    QDateTime zeit = info.lastModified();
    if (!zeit.isValid())
        zeit = QDateTime::fromMSecsSinceEpoch(m_uhr.epochMs());
    const QString basis = info.dir().filePath(info.completeBaseName() + QLatin1Char('-') +
                                              zeit.toString(QStringLiteral("yyyy-MM-ddTHH-mm-ss")));
    const QString endung = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    QFile datei(m_pfad);
    QByteArray inhalt;
    for (int n = 1;; ++n) {
        const QString ziel =
            n == 1 ? basis + endung : QStringLiteral("%1-%2%3").arg(basis).arg(n).arg(endung);
        if (!QFileInfo::exists(ziel)) {
            if (datei.copy(ziel))
                return ziel;
            if (grund)
                *grund = datei.errorString();
            return {};
        }
        // A journal kept at an earlier start and not taken up since is there already.
        if (inhalt.isNull()) {
            if (!datei.open(QIODevice::ReadOnly)) {
                if (grund)
                    *grund = datei.errorString();
                return {};
            }
            inhalt = datei.readAll();
            datei.close();
        }
        QFile kopie(ziel);
        if (kopie.open(QIODevice::ReadOnly) && kopie.size() == inhalt.size() && kopie.readAll() == inhalt)
            return ziel;
    }
}

FrageDatei::LadeErgebnis Druckjournal::anwenden(const SpielStand &stand, spiel &s)
{
    FrageDatei::LadeErgebnis ergebnis = s.ladeFragen(stand.frageDatei);
    if (!ergebnis.ok())
        return ergebnis;
    s.spielZuruecksetzen();
    // In the order they happened: a question run twice is evaluated with the answers it had
    // at that moment, and participants keep the order of their first press.
    qsizetype naechsteAuswertung = 0;
    qsizetype naechsteRunde = 0;
    const auto auswertenBis = [&](qsizetype druecke) {
        while (naechsteRunde < stand.zweiteRunden.size() &&
               stand.zweiteRunden.at(naechsteRunde).nachDruecken <= druecke)
            s.zweiteRundeWiederherstellen(stand.zweiteRunden.at(naechsteRunde++).frageNr);
        while (naechsteAuswertung < stand.auswertungen.size() &&
               stand.auswertungen.at(naechsteAuswertung).nachDruecken <= druecke)
            s.auswertungWiederherstellen(stand.auswertungen.at(naechsteAuswertung++).frageNr);
    };
    for (qsizetype i = 0; i < stand.druecke.size(); ++i) {
        auswertenBis(i);
        const SpielStand::Druck &d = stand.druecke.at(i);
        s.antwortEintragen(d.frageNr, d.klassensatz, d.buzzerNo, d.buttonNo, d.laufzeitMs);
    }
    auswertenBis(stand.druecke.size());
    if (stand.aktuelleFrage > 0)
        s.springeZuFrage(stand.aktuelleFrage);
    qCDebug(lcSpiel) << "Spiel wiederhergestellt:" << stand.druecke.size() << "Drücke,"
                     << stand.auswertungen.size() << "Auswertungen, Frage" << stand.aktuelleFrage;
    return ergebnis;
}

void Druckjournal::schliessen()
{
    if (m_syncTimer)
        m_syncTimer->stop();
    m_ungesynct = false;
    // The writer must be done with the file before it is closed, renamed or removed.
    leeren();
    if (m_schreiber)
        m_schreiber->dateiSetzen(-1);
    m_datei.close();
}

void Druckjournal::entfernen()
{
    schliessen();
    QFile::remove(m_pfad);
    m_fehler.clear();
}

QByteArray Druckjournal::alsText(const SpielStand &stand)
{
    QByteArray text = zeile(Kopf) + zeile("D " + QUrl::toPercentEncoding(stand.frageDatei));
    qsizetype naechsteAuswertung = 0;
    qsizetype naechsteRunde = 0;
    const auto auswertungenBis = [&](qsizetype druecke) {
        while (naechsteRunde < stand.zweiteRunden.size() &&
               stand.zweiteRunden.at(naechsteRunde).nachDruecken <= druecke)
            zeileAnhaengen(text, {'R', {stand.zweiteRunden.at(naechsteRunde++).frageNr}});
        while (naechsteAuswertung < stand.auswertungen.size() &&
               stand.auswertungen.at(naechsteAuswertung).nachDruecken <= druecke)
            zeileAnhaengen(text, {'A', {stand.auswertungen.at(naechsteAuswertung++).frageNr}});
    };
    for (qsizetype i = 0; i < stand.druecke.size(); ++i) {
        auswertungenBis(i);
        zeileAnhaengen(text, {'P', stand.druecke.at(i)});
    }
    auswertungenBis(stand.druecke.size());
    zeileAnhaengen(text, {'F', {stand.aktuelleFrage}});
    return text;
}

bool Druckjournal::beginnen(const QString &frageDatei)
{
    if (!istAktiv() && dateiVorhanden()) {
        const SpielStand alt = lesen();
        QString grund;
        if ((!alt.istLeer() || alt.uebersprungen > 0) && aufbewahren(&grund).isEmpty()) {
            scheitern(grund);
            return false;
        }
    }
    SpielStand neu;
    neu.frageDatei = frageDatei;
    return fortsetzen(neu);
}

bool Druckjournal::fortsetzen(const SpielStand &stand)
{
    // The old journal stays until the new one has replaced it whole.
    schliessen();
    m_fehler.clear();
    QDir().mkpath(QFileInfo(m_pfad).absolutePath());
    // Written whole and renamed into place: never a journal without its header.
    const SchreibErgebnis ergebnis = BenutzerDatei::schreiben(m_pfad, alsText(stand));
    if (!ergebnis.ok()) {
        scheitern(ergebnis.grund);
        return false;
    }
    m_letzteFrage = stand.aktuelleFrage;
    m_druecke = std::count_if(stand.druecke.cbegin(), stand.druecke.cend(),
                              [](const SpielStand::Druck &d) { return d.aufFrage(); });
    return oeffnenZumAnhaengen();
}

bool Druckjournal::oeffnenZumAnhaengen()
{
    m_datei.setFileName(m_pfad);
    if (!m_datei.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        scheitern(m_datei.errorString());
        return false;
    }
    if (!m_schreiber)
        m_schreiber = std::make_unique<Schreiber>(*this);
    m_schreiber->dateiSetzen(m_datei.handle());
    return true;
}

SpielStand::Druck Druckjournal::druck(const spiel &s, uint klassensatz, uint buzzerNo, uint buttonNo,
                                      bool *geschrieben)
{
    const SpielStand::Druck d{s.getAktuelleFrageNr(), klassensatz,    buzzerNo, buttonNo,
                              s.laufzeit(),           m_uhr.epochMs()};
    const bool ok = druck(d);
    if (geschrieben)
        *geschrieben = ok;
    return d;
}

bool Druckjournal::druck(const SpielStand::Druck &d)
{
    if (d.aufFrage())
        ++m_druecke;
    return eintragen({'P', d});
}

bool Druckjournal::frageAufgerufen(int frageNr)
{
    if (frageNr == m_letzteFrage)
        return istAktiv();
    m_letzteFrage = frageNr;
    return eintragen({'F', {frageNr}});
}

bool Druckjournal::ausgewertet(int frageNr)
{
    return eintragen({'A', {frageNr}});
}

bool Druckjournal::zweiteRunde(int frageNr)
{
    return eintragen({'R', {frageNr}});
}

void Druckjournal::spielBeobachten(const spiel &s)
{
    connect(&s, &spiel::ranglisteAktualisieren, this, [this, &s]() { ausgewertet(s.getAktuelleFrageNr()); });
}

void Druckjournal::zeileAnhaengen(QByteArray &text, const Eintrag &eintrag)
{
    // Without a text object of its own: the writer formats every press of a game.
    char puffer[128];
    char *p = puffer;
    char *const ende = puffer + sizeof puffer;
    *p++ = eintrag.art;
    const auto zahl = [&](auto wert) {
        *p++ = ' ';
        p = std::to_chars(p, ende, wert).ptr;
    };
    const SpielStand::Druck &d = eintrag.werte;
    zahl(d.frageNr);
    if (eintrag.art == 'P') {
        zahl(d.klassensatz);
        zahl(d.buzzerNo);
        zahl(d.buttonNo);
        zahl(d.laufzeitMs);
        zahl(d.zeitpunkt);
    }
    const quint16 summe = qChecksum(QByteArrayView(puffer, p - puffer));
    *p++ = ' ';
    for (int stelle = 3; stelle >= 0; --stelle)
        *p++ = "0123456789abcdef"[(summe >> (4 * stelle)) & 0xf];
    *p++ = '\n';
    text.append(puffer, p - puffer);
}

bool Druckjournal::eintragen(const Eintrag &eintrag)
{
    if (!m_datei.isOpen())
        return false;
    m_schreiber->eintragen(eintrag);
    m_ungesynct = true;
    if (!m_syncTimer) {
        m_syncTimer = m_uhr.neuerZeitgeber(this);
        m_syncTimer->setSingleShot(true);
        connect(m_syncTimer, &Zeitgeber::timeout, this, &Druckjournal::synchronisieren);
    }
    // Started by the record, so the sync follows the write within the interval.
    if (!m_syncTimer->isActive())
        m_syncTimer->start(SyncIntervall);
    return m_fehler.isEmpty();
}

void Druckjournal::synchronisieren()
{
    if (!m_ungesynct || !m_datei.isOpen())
        return;
    m_ungesynct = false;
    m_schreiber->synchronisierenAnfordern();
}

void Druckjournal::scheitern(const QString &grund)
{
    qCWarning(lcSpiel) << "Druckjournal" << m_pfad << grund;
    if (!m_fehler.isEmpty())
        return;
    m_fehler = Einstellungen::meldung(
        QStringLiteral("Das Druckjournal \"%1\" kann nicht geschrieben werden: %2. Das Spiel läuft weiter, "
                       "kann nach einem Absturz aber nicht wiederhergestellt werden.")
            .arg(QDir::toNativeSeparators(m_pfad), grund),
        QStringLiteral("The press journal \"%1\" cannot be written: %2. The game goes on, but it cannot be "
                       "restored after a crash.")
            .arg(QDir::toNativeSeparators(m_pfad), grund));
    emit schreibfehler(m_fehler);
}
