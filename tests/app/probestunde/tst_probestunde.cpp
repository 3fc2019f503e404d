// A lesson rehearsed from outside, on a busy machine: the real program under a window manager, the
// receiver simulator with a class of 45 handsets, two phones, real key presses. What a pupil must
// see is read from the pages and checked in the screen's pixels.
//
// PLENARO_PROBE=<W>x<H>[,en][,<look>] runs that one rehearsal instead of the built-in ones.

#include "aussenblick.h"
#include "freierport.h"
#include "testdaten.h"
#include "webwarten.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTransform>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QtTest>

#include <algorithm>
#include <memory>

using namespace Aussenblick;

namespace {

struct Frage
{
    QString text;
    QString bild; // file name below bilder/
    QStringList antworten;
    int loesung = 0;         // 1..4, 0 for a survey
    bool zweiRunden = false; // voted on, discussed, voted on again
};

// What the rehearsal plays: every kind of question a lesson has.
const QList<Frage> &probeFragen()
{
    static const QList<Frage> fragen{
        {QStringLiteral("Auf welchem Kontinent liegt Ägypten?"),
         QStringLiteral("weltkarte.png"),
         {QStringLiteral("Asien"), QStringLiteral("Afrika"), QStringLiteral("Europa"),
          QStringLiteral("Südamerika")},
         2,
         true},
        {{},
         QStringLiteral("formen.png"),
         {QStringLiteral("Dreieck"), QStringLiteral("Kreis"), QStringLiteral("Quadrat"),
          QStringLiteral("Sechseck")},
         1},
        {QStringLiteral("Stellen Sie sich vor, Ihre Klasse plant einen Ausflug an einen See, der drei "
                        "Stunden Fahrt entfernt liegt, und das Budget reicht nur für eine der folgenden "
                        "Möglichkeiten, wobei alle Schülerinnen und Schüler mitkommen sollen und niemand "
                        "zusätzlich zahlen muss: Welche Möglichkeit ist die günstigste?"),
         {},
         {QStringLiteral("Einen gemieteten Reisebus für die ganze Klasse, der am Morgen direkt vor dem "
                         "Schulhaus abfährt und abends zurückkehrt"),
          QStringLiteral("Die Bahn mit einem Gruppenbillett, wobei zweimal umgestiegen werden muss und der "
                         "letzte Kilometer zu Fuss zu gehen ist"),
          QStringLiteral("Fahrräder für alle, aufgeteilt auf zwei Tage mit einer Übernachtung in der "
                         "Jugendherberge auf halber Strecke zum See"),
          QStringLiteral("Gar keinen Ausflug, sondern einen Projekttag im Schulhaus mit Gästen, die von "
                         "ihren Reisen an Seen weltweit erzählen")},
         3},
        {QStringLiteral("Wie hat Ihnen die Stunde gefallen?"),
         {},
         {QStringLiteral("Sehr gut"), QStringLiteral("Gut"), QStringLiteral("Es geht"),
          QStringLiteral("Gar nicht")},
         0},
    };
    return fragen;
}

// A text as a JavaScript string literal.
QString jsText(const QString &text)
{
    return QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact))
        .mid(1)
        .chopped(1);
}

// A phone in the room: its own browser profile, so each gets a number of its own.
class Handy final
{
public:
    explicit Handy(const QString &adresse)
        : m_profil(std::make_unique<QWebEngineProfile>())
        , m_seite(std::make_unique<QWebEnginePage>(m_profil.get()))
    {
        m_seite->load(QUrl(adresse));
    }
    // An answer that comes after the wait gave up never lands in a dead stack frame.
    QString lesen(const QString &ausdruck)
    {
        return wertLesen([&](auto antwort) { m_seite->runJavaScript(ausdruck, antwort); }, 30000).toString();
    }
    // A press once the page takes answers; whether the page shows it as chosen.
    bool druecken(int knopf)
    {
        const QString id = QStringLiteral("document.getElementById('knopf%1')").arg(knopf);
        return warten(
            [&]() {
                if (lesen(id + QStringLiteral(".getAttribute('aria-disabled')")) != QLatin1String("false"))
                    return false;
                lesen(id + QStringLiteral(".click(), ''"));
                return lesen(id + QStringLiteral(".getAttribute('aria-pressed')")) == QLatin1String("true");
            },
            60000, 200);
    }

private:
    std::unique_ptr<QWebEngineProfile> m_profil; // outlives its page
    std::unique_ptr<QWebEnginePage> m_seite;
};

} // namespace

// Waits for `bedingung`, asking every `takt` ms; fails the rehearsal with `was` when it never holds.
#define WARTEN(bedingung, ms, takt, was)                                                                     \
    QVERIFY2(warten([&]() { return bedingung; }, ms, takt), qPrintable(was))

class tst_probestunde final : public QObject
{
    Q_OBJECT

private slots:
    void probestunde_data();
    void probestunde();

private:
    // The page the class sees now, with the probe script in it.
    Seite *sichtbareSeite(const QString &adressteil, int ms = 90000);
    // Proves that what the page says is there is painted on the screen: the marked elements are
    // hidden and shown again, and the screen must change inside each of them.
    void gemalt(Seite &seite, const QList<QJsonObject> &elemente, const QString &was);
    QPoint seitenUrsprung(Seite &seite);
    // `ganz`: the whole element inside the window; otherwise its centre (a leaf on the pile). What
    // is seen goes to `zuMalen`, for the check that it is painted.
    void pruefen(const QJsonValue &element, const QString &was, QList<QJsonObject> *zuMalen = nullptr,
                 bool ganz = true);

    std::unique_ptr<Bildschirm> m_schirm;
    quint16 m_debugPort = 0;
    std::vector<std::unique_ptr<Seite>> m_seiten;
    QHash<QString, Seite *> m_seitenNachAdresse;
    QString m_skript = QString::fromUtf8(Testdaten::lesen(QStringLiteral(":/probeseite.js")));
};

void tst_probestunde::probestunde_data()
{
    QTest::addColumn<QSize>("groesse");
    QTest::addColumn<bool>("englisch");
    QTest::addColumn<QString>("vorlage");
    QTest::addColumn<QSize>("laptop"); // with a size, the page is on a projector beside the laptop
    const QString wahl = qEnvironmentVariable("PLENARO_PROBE");
    if (!wahl.isEmpty()) {
        const QStringList teile = wahl.split(QLatin1Char(','));
        const QStringList masse = teile.value(0).split(QLatin1Char('x'));
        const QString vorlage = teile.size() > 2 ? teile.at(2) : QStringLiteral("Tandrivelle");
        QTest::newRow(qPrintable(wahl))
            << QSize(masse.value(0).toInt(), masse.value(1).toInt()) << teile.contains(QLatin1String("en"))
            << vorlage << (teile.contains(QLatin1String("laptop")) ? QSize(1366, 768) : QSize());
        return;
    }
    QTest::newRow("1024x768 Deutsch Morvane")
        << QSize(1024, 768) << false << QStringLiteral("Morvane") << QSize();
    QTest::newRow("1920x1080 English Tandrivelle on a projector beside a laptop")
        << QSize(1920, 1080) << true << QStringLiteral("Tandrivelle") << QSize(1366, 768);
}

Seite *tst_probestunde::sichtbareSeite(const QString &adressteil, int ms)
{
    Seite *gefunden = nullptr;
    warten(
        [&]() {
            for (const auto &[adresse, socket] : seitenListe(m_debugPort)) {
                if (!adresse.contains(adressteil))
                    continue;
                if (!m_seitenNachAdresse.contains(socket)) {
                    m_seiten.push_back(std::make_unique<Seite>(socket));
                    m_seitenNachAdresse.insert(socket, m_seiten.back().get());
                }
                Seite *seite = m_seitenNachAdresse.value(socket);
                seite->auswerten(m_skript);
                if (seite->auswerten(QStringLiteral("__probe.bereit()")).toString() ==
                    QLatin1String("visible")) {
                    gefunden = seite;
                    return true;
                }
            }
            return false;
        },
        ms, 300);
    return gefunden;
}

QPoint tst_probestunde::seitenUrsprung(Seite &seite)
{
    // Where the page sits on the screen, measured with the mouse: a point on the screen against
    // the same point in the page.
    seite.auswerten(QStringLiteral("__probe.maus = null, __probe.mausVerfolgen()"));
    const QPoint mitte(m_schirm->groesse().width() / 2, m_schirm->groesse().height() / 2);
    QPoint ursprung(-1, -1);
    int schritt = 0;
    warten(
        [&]() {
            const QPoint punkt = mitte + QPoint(schritt % 7, schritt % 5);
            ++schritt;
            m_schirm->xdotool({QStringLiteral("mousemove"), QStringLiteral("--screen"),
                               m_schirm->zweiSchirme() ? QStringLiteral("1") : QStringLiteral("0"),
                               QString::number(punkt.x()), QString::number(punkt.y())});
            const QJsonObject maus = seite.auswerten(QStringLiteral("__probe.maus")).toObject();
            if (maus.isEmpty())
                return false;
            const double dpr = seite.auswerten(QStringLiteral("__probe.dpr()")).toDouble(1.0);
            ursprung = punkt - QPoint(qRound(maus.value(QLatin1String("x")).toDouble() * dpr),
                                      qRound(maus.value(QLatin1String("y")).toDouble() * dpr));
            return true;
        },
        30000, 200);
    return ursprung;
}

void tst_probestunde::pruefen(const QJsonValue &element, const QString &was, QList<QJsonObject> *zuMalen,
                              bool ganz)
{
    // The page's description of the element says what is wrong: not there, hidden, outside, its
    // picture not loaded.
    const QJsonObject e = element.toObject();
    QVERIFY2(e.value(QLatin1String("sichtbar")).toBool() &&
                 e.value(ganz ? QLatin1String("innen") : QLatin1String("mitteInnen")).toBool() &&
                 e.value(QLatin1String("bildFertig")).toBool(),
             qPrintable(was + QStringLiteral(" not seen whole: ") +
                        QString::fromUtf8(QJsonDocument(e).toJson(QJsonDocument::Compact))));
    if (zuMalen)
        zuMalen->append(e);
}

void tst_probestunde::gemalt(Seite &seite, const QList<QJsonObject> &elemente, const QString &was)
{
    if (QTest::currentTestFailed())
        return;
    QPoint ursprung = seitenUrsprung(seite);
    QVERIFY2(ursprung.x() >= 0, qPrintable(was + QStringLiteral(": the page does not see the mouse")));
    double dpr = 1.0;
    QList<QRect> felder;
    // Measured again for every round: on a busy machine a late fit (a picture loaded) may move
    // the elements after they were found, and the window manager the window.
    const auto messen = [&]() {
        const QPoint neu = seitenUrsprung(seite);
        if (neu.x() >= 0)
            ursprung = neu;
        // A page moved to another screen fits its zoom again, which the pixel ratio follows.
        dpr = seite.auswerten(QStringLiteral("__probe.dpr()")).toDouble(1.0);
        QList<QJsonObject> jetzt = elemente;
        const QJsonArray orte = seite.auswerten(QStringLiteral("__probe.orte()")).toArray();
        if (orte.size() == elemente.size()) {
            for (qsizetype i = 0; i < orte.size(); ++i)
                jetzt[i] = orte.at(i).toObject();
        }
        felder.clear();
        for (const QJsonObject &e : std::as_const(jetzt)) {
            const QRectF feld(e[QLatin1String("x")].toDouble(), e[QLatin1String("y")].toDouble(),
                              e[QLatin1String("w")].toDouble(), e[QLatin1String("h")].toDouble());
            felder.append(QTransform::fromScale(dpr, dpr).mapRect(feld).toRect().translated(ursprung));
        }
    };
    // Shown, then hidden until the screen follows; a page that paints nothing never changes. A
    // round that was too early (the page still drawing) is tried again.
    QList<int> ungemalt;
    const bool ok = warten(
        [&]() {
            messen();
            const QImage gezeigt = m_schirm->foto();
            seite.auswerten(QStringLiteral("__probe.verstecken(true)"));
            const bool geaendert = warten(
                [&]() {
                    const QImage versteckt = m_schirm->foto();
                    ungemalt.clear();
                    for (int i = 0; i < felder.size(); ++i) {
                        // A short word covers little of its box: a hundred pixels, or a
                        // hundredth of a small box, are enough.
                        const QRect &feld = felder.at(i);
                        const double noetig = std::min(100.0, 0.01 * feld.width() * feld.height());
                        if (unterschied(gezeigt, versteckt, feld) < std::max(1.0, noetig))
                            ungemalt.append(i);
                    }
                    return ungemalt.isEmpty();
                },
                8000, 300);
            seite.auswerten(QStringLiteral("__probe.verstecken(false)"));
            return geaendert;
        },
        90000, 500);
    seite.auswerten(QStringLiteral("__probe.vergessen()"));
    if (!ok) {
        const QString datei = QDir::temp().filePath(QStringLiteral("probestunde-ungemalt.png"));
        m_schirm->foto().save(datei);
        QString erstes;
        QDebug(&erstes) << felder.value(ungemalt.value(0));
        QFAIL(qPrintable(
            QStringLiteral("%1: %2 of %3 elements not painted on the screen (first: %4); screen in %5")
                .arg(was, QString::number(ungemalt.size()), QString::number(felder.size()), erstes, datei)));
    }
}

void tst_probestunde::probestunde()
{
    QFETCH(QSize, groesse);
    QFETCH(bool, englisch);
    QFETCH(QString, vorlage);
    QFETCH(QSize, laptop);

    QTemporaryDir ordner;
    QVERIFY(ordner.isValid());
    const QDir wurzel(ordner.path());
    for (const char *teil : {"config", "laufzeit", "fragen", "bilder", "berichte"})
        QVERIFY(wurzel.mkpath(QString::fromLatin1(teil)));
    QFile::setPermissions(wurzel.filePath(QStringLiteral("laufzeit")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    for (const char *bild : {"weltkarte.png", "formen.png"})
        QVERIFY(QFile::copy(QStringLiteral(PLENARO_BEISPIELBILDER "/") + QLatin1String(bild),
                            wurzel.filePath(QStringLiteral("bilder/")) + QLatin1String(bild)));
    // Short countdowns; the pictures by a path relative to the file.
    const QString fragen = wurzel.filePath(QStringLiteral("fragen/probestunde.xml"));
    QList<Testdaten::Frage> datei;
    for (const Frage &f : probeFragen())
        datei.append({f.text, f.antworten,
                      f.loesung ? QStringLiteral("Answer%1").arg(f.loesung) : QStringLiteral("NoAnswer"),
                      QStringLiteral("8"), QStringLiteral("1"), QStringLiteral("1"),
                      QStringList(f.bild.isEmpty() ? QString() : QStringLiteral("..\\bilder\\") + f.bild)});
    // The first question is voted on twice, with the teacher's notes for the presenter's view.
    QByteArray xml = Testdaten::dokument(datei);
    xml.insert(xml.indexOf("</Question>"),
               "<Runden>2</Runden><Notizen>Erst diskutieren lassen, dann nochmal abstimmen.</Notizen>");
    QVERIFY(Testdaten::schreiben(fragen, xml));

    // The settings of a teacher who has used the program before: sounds off, phones on.
    {
        QSettings einstellungen(wurzel.filePath(QStringLiteral("config/Corvanta/plenaro.example.conf")),
                                QSettings::IniFormat);
        const QList<QPair<const char *, QString>> werte{
            {"InstallerLanguage", englisch ? "1033" : "1031"},
            {"FrageFile", fragen},
            {"GewaehltesTemplate", vorlage},
            {"HandyPort", QString::number(freierPort())},
            {"HandyAdresse", "127.0.0.1"},
            {"FilePathCSVRangliste", wurzel.filePath(QStringLiteral("berichte"))}};
        for (const auto &[schluessel, wert] : werte)
            einstellungen.setValue(QString::fromUtf8(schluessel), wert);
        for (const char *an :
             {"MultilingualApplikationBereitsEinmalGestartet", "TemplateAutomatischErkennen",
              "EmpfaengerAutomatischFinden", "LösungAnzeigen", "QuizProzentAntwortenAnzeigen",
              "UmfrageProzentAntwortenAnzeigen", "ToeneBuzzerLautlos", "ToeneCountdownLautlos",
              "ToeneAutomatisierungLautlos", "HandyAbstimmung"})
            einstellungen.setValue(QString::fromUtf8(an), "true");
    }

    // The whole rehearsal runs with every core busy.
    Last last;
    m_schirm = std::make_unique<Bildschirm>(groesse, laptop);
    const auto schirmWeg = qScopeGuard([this]() {
        m_seitenNachAdresse.clear();
        m_seiten.clear();
        m_schirm.reset();
    });
    QVERIFY2(m_schirm->bereit(), "Xvfb with openbox did not start");

    QProcessEnvironment umgebung = m_schirm->umgebung();
    umgebung.insert(QStringLiteral("HOME"), ordner.path());
    umgebung.insert(QStringLiteral("XDG_CONFIG_HOME"), wurzel.filePath(QStringLiteral("config")));
    umgebung.insert(QStringLiteral("XDG_RUNTIME_DIR"), wurzel.filePath(QStringLiteral("laufzeit")));
    // The program chooses its own way of drawing, as on a teacher's machine.
    umgebung.remove(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"));
    umgebung.remove(QStringLiteral("QT_LOGGING_RULES"));
    m_debugPort = freierPort();
    umgebung.insert(QStringLiteral("QTWEBENGINE_REMOTE_DEBUGGING"),
                    QStringLiteral("127.0.0.1:%1").arg(m_debugPort));

    const QString familie =
        vorlage == QLatin1String("Morvane") ? QStringLiteral("morvane") : QStringLiteral("tandrivelle");
    Kind simulator(QStringLiteral(PLENARO_SIMULATOR),
                   QStringLiteral("--family %1 --random --handsets 45 --burst 45 --rate 8 --quiet")
                       .arg(familie)
                       .split(QLatin1Char(' ')),
                   umgebung);
    QVERIFY(simulator.prozess().waitForStarted(30000));
    Kind programm(QStringLiteral(PLENARO_PROGRAMM), {}, umgebung);
    QVERIFY(programm.prozess().waitForStarted(30000));
    const auto protokoll = qScopeGuard([&]() {
        if (!QTest::currentTestFailed())
            return;
        const QString bild = QDir::temp().filePath(QStringLiteral("probestunde-fehler.png"));
        m_schirm->foto().save(bild);
        qWarning().noquote() << "The screen is in" << bild << "\nThe program's output:\n"
                             << programm.ausgabe().right(6000);
    });

    // ---- The start screen: every handset that reported in shows its icon; the phones join.
    Seite *start = sichtbareSeite(QStringLiteral("startscreen.html"));
    QVERIFY2(start, "the start screen never became visible");
    // The program's visible window on the laptop's screen or the projector's.
    const auto fensterAuf = [&](bool aufLaptop) {
        QString gefunden;
        warten(
            [&]() {
                gefunden = m_schirm
                               ->xdotool({QStringLiteral("search"), QStringLiteral("--screen"),
                                          QString::number(laptop.isValid() && !aufLaptop ? 1 : 0),
                                          QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                                          QString::number(programm.prozess().processId())},
                                         aufLaptop)
                               .section(QLatin1Char('\n'), 0, 0)
                               .trimmed();
                return !gefunden.isEmpty();
            },
            60000);
        return gefunden;
    };
    const QString fenster = fensterAuf(false);
    QVERIFY2(!fenster.isEmpty(), "no window of the program");
    m_schirm->xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), fenster});
    // With a projector the class's page fills it, and the teacher's keys go to the presenter's view
    // on the laptop, which works the game as the main window does; its dialogs open there too.
    QString referent = fenster;
    const bool lehrerAufLaptop = laptop.isValid();
    if (lehrerAufLaptop) {
        referent = fensterAuf(true);
        QVERIFY2(!referent.isEmpty(), "no presenter's view on the laptop");
        const QString geometrie = m_schirm->xdotool({QStringLiteral("getwindowgeometry"), fenster});
        QVERIFY2(geometrie.contains(QStringLiteral("%1x%2").arg(groesse.width()).arg(groesse.height())),
                 qPrintable(QStringLiteral("the page does not fill the projector: ") + geometrie));
        m_schirm->xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), referent}, true);
    }

    // The handsets report in as soon as the receiver is found; from then on a teacher expects to
    // see them within seconds, however busy the machine.
    WARTEN(start->auswerten(QStringLiteral("__probe.auswahl('.okicon')[0].sichtbar")).toBool(), 90000, 300,
           QStringLiteral("the start screen never showed the receiver as found"));
    // Marked afresh each time, so that the marks are these icons in this order.
    QJsonArray symbole;
    const auto geladen = [](const QJsonValue &e) {
        return e.toObject().value(QLatin1String("bildFertig")).toBool();
    };
    WARTEN((symbole = start->auswerten(QStringLiteral("__probe.vergessen() && __probe.geraete()")).toArray())
                       .size() == 45 &&
               std::all_of(symbole.begin(), symbole.end(), geladen),
           20000, 500,
           QStringLiteral("the start screen shows %1 of 45 handsets, %2 of them loaded")
               .arg(symbole.size())
               .arg(std::count_if(symbole.begin(), symbole.end(), geladen)));
    QList<QJsonObject> zuMalen;
    for (const QJsonValue &e : std::as_const(symbole))
        pruefen(e, QStringLiteral("handset icon"), &zuMalen);
    gemalt(*start, zuMalen, QStringLiteral("handset icons on the start screen"));
    if (QTest::currentTestFailed())
        return;

    QString beitritt;
    WARTEN((beitritt = start->auswerten(QStringLiteral("document.querySelector('.handyAdresse').textContent"))
                           .toString())
               .startsWith(QLatin1String("http://")),
           60000, 100, QStringLiteral("no address for the phones"));
    Handy erstesHandy(beitritt);
    Handy zweitesHandy(beitritt);
    const auto nummer = [](Handy &handy) {
        return handy.lesen(QStringLiteral("document.getElementById('nummer').textContent"))
            .contains(QRegularExpression(QStringLiteral("\\d")));
    };
    WARTEN(nummer(erstesHandy) && nummer(zweitesHandy), 60000, 300,
           QStringLiteral("the phones did not get a number"));

    // ---- Every question, as the class sees it.
    const QString seitenName = vorlage == QLatin1String("Morvane")  ? QStringLiteral("morvane.html")
                               : vorlage == QLatin1String("Kahoot") ? QStringLiteral("kahoot.html")
                                                                    : QStringLiteral("tandrivelleneu.html");
    const auto text = [](const QString &t) {
        return QStringLiteral("__probe.text(%1)").arg(jsText(t));
    };
    const auto bild = [](const QString &b) {
        return QStringLiteral("__probe.bild('%1')").arg(b);
    };
    const auto lesen = [](Seite *seite, const char *was) {
        return seite->auswerten(QStringLiteral("__probe.%1()").arg(QLatin1String(was)));
    };
    // Both phones press (phone 1 `erster`, phone 2 `zweiter`), and the countdown must still move.
    const auto abstimmen = [&](Seite *seite, int erster, int zweiter, const QString &wo) {
        const QString countdown = lesen(seite, "countdown").toString();
        QVERIFY2(erstesHandy.druecken(erster), qPrintable(wo + QStringLiteral(": phone 1 could not answer")));
        QVERIFY2(zweitesHandy.druecken(zweiter),
                 qPrintable(wo + QStringLiteral(": phone 2 could not answer")));
        WARTEN(lesen(seite, "countdown").toString() != countdown, 30000, 200,
               wo + QStringLiteral(": the countdown does not move (%1)").arg(countdown));
    };
    int frageNr = 0;
    for (const Frage &frage : probeFragen()) {
        const QString wo = QStringLiteral("question %1").arg(++frageNr);
        m_schirm->taste(QStringLiteral("space"));
        Seite *seite = nullptr;
        // The question is up once its text (or its picture) is; the answers come after the answer
        // delay, with the countdown.
        const QString zuerst = frage.text.isEmpty() ? bild(frage.bild) : text(frage.text);
        WARTEN((seite = sichtbareSeite(seitenName, 1000)) && !seite->auswerten(zuerst).toObject().isEmpty(),
               90000, 300, wo + QStringLiteral(": the question never showed"));
        WARTEN(!seite->auswerten(text(frage.antworten.at(3))).toObject().isEmpty(), 60000, 200,
               wo + QStringLiteral(": the answers never showed"));
        QList<QJsonObject> zuMalen;
        if (!frage.text.isEmpty())
            pruefen(seite->auswerten(text(frage.text)), wo + QStringLiteral(" text"), &zuMalen);
        if (!frage.bild.isEmpty())
            pruefen(seite->auswerten(bild(frage.bild)), wo + QStringLiteral(" picture"), &zuMalen);
        for (const QString &antwort : frage.antworten)
            pruefen(seite->auswerten(text(antwort)), wo + QStringLiteral(" answer ") + antwort, &zuMalen);
        if (QTest::currentTestFailed())
            return;
        // Phone 1 is wrong at first where the class votes twice, and right after the discussion.
        abstimmen(seite, frage.zweiRunden ? frage.loesung % 4 + 1 : qMax(frage.loesung, 1),
                  frage.loesung == 4 ? 3 : 4, wo);
        gemalt(*seite, zuMalen, wo);
        if (QTest::currentTestFailed())
            return;

        if (frage.zweiRunden) {
            // The first round ends with its shares and no mark; the class discusses, and the teacher
            // asks again. (How the phones start the new vote: the window test.)
            WARTEN(lesen(seite, "prozente").toArray().size() >= 2, 90000, 300,
                   wo + QStringLiteral(": the first round's shares never showed"));
            m_schirm->taste(QStringLiteral("r"));
            WARTEN(lesen(seite, "prozente").toArray().isEmpty(), 90000, 300,
                   wo + QStringLiteral(": the first round's shares stay in the second"));
            abstimmen(seite, frage.loesung, 4, wo + QStringLiteral(", round 2"));
            if (QTest::currentTestFailed())
                return;
        }

        // The end: the shares of the answers and, for a quiz, the correct one marked.
        const QString markiert =
            frage.loesung
                ? QStringLiteral("__probe.markiert(%1)").arg(jsText(frage.antworten.at(frage.loesung - 1)))
                : QStringLiteral("true");
        QJsonArray prozente;
        WARTEN((prozente = lesen(seite, "prozente").toArray()).size() >= 2 &&
                   seite->auswerten(markiert).toBool(),
               90000, 300,
               wo + QStringLiteral(": %1 percentages, correct answer marked: %2")
                        .arg(prozente.size())
                        .arg(frage.loesung ? QStringLiteral("no") : QStringLiteral("(none)")));
        QCOMPARE(lesen(seite, "alleMarken").toInt() > 0, frage.loesung != 0);
        // What the teacher's laptop and the projector show, for looking at.
        const QString fotos = qEnvironmentVariable("PLENARO_PROBE_FOTOS");
        if (frage.zweiRunden && !fotos.isEmpty() && laptop.isValid()) {
            m_schirm->foto(true).save(fotos + QStringLiteral("/laptop.png"));
            m_schirm->foto().save(fotos + QStringLiteral("/projektor.png"));
        }
        QList<QJsonObject> felder;
        for (const QJsonValue &p : std::as_const(prozente))
            pruefen(p, wo + QStringLiteral(" percentage"), &felder);
        // The class has answered: their handsets show. Icons may still move (leaves falling from
        // the tree): looked at once they rest. A leaf may come to rest past the bottom of its pile;
        // the class must still see the handsets that answered.
        QJsonArray geraete;
        QJsonArray vorher;
        warten(
            [&]() { return (vorher = std::exchange(geraete, lesen(seite, "geraete").toArray())) == geraete; },
            60000, 1000);
        for (const QJsonValue &g : std::as_const(geraete)) {
            if (g.toObject().value(QLatin1String("mitteInnen")).toBool())
                pruefen(g, wo + QStringLiteral(" handset icon"), &felder, false);
        }
        const qsizetype imBild = felder.size() - prozente.size();
        QVERIFY2(imBild >= 10,
                 qPrintable(wo + QStringLiteral(": %1 handset icons in the window").arg(imBild)));
        gemalt(*seite, felder, wo + QStringLiteral(" percentages and handsets"));
        if (QTest::currentTestFailed())
            return;
    }

    // ---- The ranking, readable from the back row.
    m_schirm->taste(QStringLiteral("Return"));
    Seite *rangliste = sichtbareSeite(QStringLiteral("rangliste"));
    QVERIFY2(rangliste, "the ranking never showed");
    QJsonArray zeilen;
    WARTEN((zeilen = rangliste->auswerten(QStringLiteral("__probe.auswahl('.zeilenRangliste td')")).toArray())
                   .size() >= 4 * 40,
           60000, 300, QStringLiteral("%1 cells in the ranking").arg(zeilen.size()));
    // A class reads text of a fiftieth of the screen's height from the back row.
    const double lesbar = groesse.height() / 50.0;
    for (const QJsonValue &zelle : std::as_const(zeilen)) {
        pruefen(zelle, QStringLiteral("ranking cell"));
        if (QTest::currentTestFailed())
            return;
        const double schrift = zelle.toObject().value(QLatin1String("schrift")).toDouble();
        QVERIFY2(
            schrift >= lesbar,
            qPrintable(QStringLiteral("ranking text of %1 px, a class needs %2").arg(schrift).arg(lesbar)));
    }

    const auto aktiv = [&]() {
        return m_schirm->aktivesFenster(lehrerAufLaptop);
    };

    // ---- The CSV report, through the real file dialog (its content is the export tests' affair); the
    // teacher takes a while to choose.
    m_schirm->xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), referent},
                      lehrerAufLaptop);
    m_schirm->taste(QStringLiteral("ctrl+s"));
    WARTEN(!aktiv().isEmpty() && aktiv() != referent, 60000, 200, QStringLiteral("no file dialog"));
    const QString dialog = aktiv();
    const QString bericht = wurzel.filePath(QStringLiteral("berichte/bericht.csv"));
    m_schirm->xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a")});
    m_schirm->xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), bericht});
    // A dialog that goes on its own while the teacher still types would lose the report.
    QTest::qWait(10000);
    QCOMPARE(aktiv(), dialog);
    m_schirm->taste(QStringLiteral("Return"));
    WARTEN(QFileInfo(bericht).size() > 0 && aktiv() == referent, 120000, 300,
           QStringLiteral("the CSV report was not written"));

    // ---- The end of the lesson: with the results saved the program quits at once, cleanly.
    m_schirm->xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), referent},
                      lehrerAufLaptop);
    m_schirm->taste(QStringLiteral("q"));
    WARTEN(programm.prozess().state() == QProcess::NotRunning, 60000, 200,
           QStringLiteral("the program did not quit after the results were saved"));
    QCOMPARE(programm.prozess().exitStatus(), QProcess::NormalExit);
    QCOMPARE(programm.prozess().exitCode(), 0);
}

QTEST_MAIN(tst_probestunde)
#include "tst_probestunde.moc"
