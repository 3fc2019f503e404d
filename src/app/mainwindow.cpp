#include "mainwindow.h"

#include "ui_mainwindow.h"

#include "bildschirmwahl.h"
#include "comport.h"
#include "csvrangliste.h"
#include "dialoge.h"
#include "druckjournal.h"
#include "einstellungen.h"
#include "erstesbild.h"
#include "fortschrittsdialog.h"
#include "fragedatei.h"
#include "frageneditor.h"
#include "fragenimport.h"
#include "fremdformat.h"
#include "geraetschluessel.h"
#include "gift.h"
#include "goto.h"
#include "handyabstimmung.h"
#include "handyprotokoll.h"
#include "hilfe.h"
#include "hilfe_einstellungen_vornehmen.h"
#include "hilfe_frageneditor.h"
#include "hilfe_spiel_durchfuehren.h"
#include "klang.h"
#include "meldungsdialoge.h"
#include "moodlexml.h"
#include "netzadressen.h"
#include "optionwindow.h"
#include "pdfrangliste.h"
#include "produkt.h"
#include "qrcode.h"
#include "rangliste.h"
#include "referentenfenster.h"
#include "schluessel.h"
#include "seriellerport.h"
#include "shortcutkeys.h"
#include "soundklang.h"
#include "speicher.h"
#include "spiel.h"
#include "spielablauf.h"
#include "startregeln.h"
#include "startscreen.h"
#include "templatebasis.h"
#include "templatefabrik.h"
#include "test.h"
#include "uhr.h"
#include "webbruecke.h"
#include "xlsxrangliste.h"
#include "zufall.h"

#include <QCloseEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLoggingCategory>
#include <QMenu>
#include <QMenuBar>
#include <QScopeGuard>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QWebEngineSettings>
#include <QWebEngineView>

Q_LOGGING_CATEGORY(lcFenster, "plenaro.app")

namespace {

constexpr int MaxRecentFiles = 5;

const QString Morvane = QStringLiteral("Morvane");
const QString Tandrivelle = QStringLiteral("Tandrivelle");
const QString Kahoot = QStringLiteral("Kahoot");

} // namespace

MainWindow::MainWindow(const Umgebung &umgebung, QWidget *eltern)
    : QMainWindow(eltern)
    , ui(std::make_unique<Ui::MainWindow>())
{
    m_uhr = umgebung.uhr ? umgebung.uhr : &Uhr::system();
    if (!umgebung.dialoge)
        m_eigeneDialoge = std::make_unique<MeldungsDialoge>(this);
    m_dialoge = umgebung.dialoge ? umgebung.dialoge : m_eigeneDialoge.get();
    if (!umgebung.klang)
        m_eigenerKlang = std::make_unique<SoundKlang>();
    m_klang = umgebung.klang ? umgebung.klang : m_eigenerKlang.get();
    m_zufall = umgebung.zufall ? umgebung.zufall : &Zufall::system();
    m_ports = umgebung.ports ? umgebung.ports : &PortSystem::system();

    m_testDialoge = umgebung.dialoge;

    ui->setupUi(this);
    // The menus' shortcuts work while the menu bar is hidden (Vollbild) only as the window's own.
    for (QAction *menue : menuBar()->actions()) {
        if (menue->menu())
            addActions(menue->menu()->actions());
    }
    // The first size where it fits; on a smaller screen (a laptop's 1366x768), the screen's.
    if (const QScreen *schirm = screen()) {
        const QRect frei = schirm->availableGeometry();
        if (width() > frei.width() || height() > frei.height()) {
            resize(size().boundedTo(frei.size()));
            move(frei.topLeft());
        }
    }
    m_mausUhr = m_uhr->neuerZeitgeber(this);
    connect(m_mausUhr, &Zeitgeber::timeout, this, &MainWindow::mauszeigerPruefen);

    m_pauseHinweis = new QLabel(ui->centralWidget);
    m_pauseHinweis->setObjectName(QStringLiteral("pauseHinweis"));
    m_pauseHinweis->setAlignment(Qt::AlignCenter);
    m_pauseHinweis->hide();
    // Only the view in sight gets a page now: every page started here competes with the start
    // screen for the two or four cores of a school laptop.
    startAnsicht()->setUrl(QUrl(QStringLiteral("about:blank")));
    for (QWebEngineView *ansicht : {frageAnsicht(), startAnsicht(), ranglisteAnsicht()})
        ansicht->setContextMenuPolicy(Qt::NoContextMenu);

    m_spiel = new spiel(*m_uhr, *m_dialoge, this);
    m_ablauf = new Spielablauf(*m_spiel, *this, *m_dialoge, *m_klang, *m_uhr, this);
    // The presenter's keys are this window's: its actions and (eventFilter) its key handling.
    m_referent = new Referentenfenster(*m_spiel, *m_ablauf, this);
    m_referent->addActions(actions());
    if (m_eigeneDialoge)
        m_eigeneDialoge->lehrerFensterSetzen(m_referent);
    // With one screen it opens only from the menu: over the page it would show the class the
    // answers. With two it opens by itself on the screen the class does not see.
    m_referentAktion = ui->menuAnsicht->addAction(tr("Referentenansicht"));
    m_referentAktion->setObjectName(QStringLiteral("actionReferentenansicht"));
    m_referentAktion->setCheckable(true);
    connect(m_referentAktion, &QAction::toggled, m_referent, &QWidget::setVisible);
    connect(m_referent, &Referentenfenster::sichtbarGeaendert, m_referentAktion, &QAction::setChecked);
    // Queued: Qt moves the windows of a screen that is gone only after telling of it.
    connect(qApp, &QGuiApplication::screenAdded, this, &MainWindow::bildschirmeAufteilen,
            Qt::QueuedConnection);
    connect(qApp, &QGuiApplication::screenRemoved, this, &MainWindow::bildschirmeAufteilen,
            Qt::QueuedConnection);

    // Status bar labels exist before the start file is loaded, which writes into them.
    m_labelDatei = new QLabel(this);
    m_labelAnzahl = new QLabel(this);
    m_labelPort = new QLabel(this);
    m_labelEmpfaenger = new QLabel(this);
    m_labelAktuelleFrage = new QLabel(this);

    // The question file to start with.
    const Startregeln::StartDatei start = Startregeln::startDatei(QCoreApplication::applicationDirPath());
    m_spiel->ladeFragen(start.pfad);
    if (start.ersterStart)
        Startregeln::ersterStartAbschliessen(start.pfad);
    const QScreen *bildschirm = QGuiApplication::primaryScreen();
    Startregeln::jederStart(bildschirm ? bildschirm->size() : QSize(1920, 1080));

    // Views out of sight are hidden before the window shows: a view that is shown once gets an
    // engine page and a renderer of its own at once.
    ansichtZeigen(Ansicht::Start);
    // With a projector the window is made there, full screen, not moved there once shown.
    bildschirmeAufteilen();
    if (!m_aufProjektor)
        showMaximized();

    m_injektionsSkript = WebBruecke::injektionsSkript();
    m_brueckeFrage = new WebBruecke(frageAnsicht(), m_injektionsSkript, this);
    m_brueckeStart = new WebBruecke(startAnsicht(), m_injektionsSkript, this);
    m_brueckeRangliste = new WebBruecke(ranglisteAnsicht(), m_injektionsSkript, this);
    m_brueckeSchwarz = new WebBruecke(schwarzAnsicht(), m_injektionsSkript, this);
    // The start screen is what the class sees first: the pages behind it load once it is drawn.
    for (WebBruecke *dahinter : {m_brueckeFrage, m_brueckeRangliste, m_brueckeSchwarz})
        dahinter->zurueckhalten();
    // Its own jQuery goes in after that frame too: the page looks the same with or without it.
    m_brueckeStart->erstesBildAbwarten();
    connect(m_brueckeStart, &WebBruecke::gezeichnet, this, [this]() {
        emit startscreenGezeichnet();
        vorziehen();
    });
    // A view that draws nothing (a minimised window) must not keep the others empty.
    Zeitgeber *spaetestens = m_uhr->neuerZeitgeber(this);
    spaetestens->setSingleShot(true);
    connect(spaetestens, &Zeitgeber::timeout, this, &MainWindow::vorziehen);
    spaetestens->start(2000);
    // The start screen and the ranking are built on their bridges and keep them for good.
    m_startscreen = new startscreen(*m_brueckeStart, *m_uhr, this);
    if (m_aufProjektor)
        m_startscreen->schirmbreiteSetzen(screen()->geometry().width());
    m_rangliste = new rangliste(*m_brueckeRangliste, this);
    connect(m_brueckeStart, &WebBruecke::geladen, m_startscreen, &startscreen::seiteGeladen);
    // A moment after its load, when the start has settled: the start screen comes first.
    connect(m_brueckeFrage, &WebBruecke::geladen, this,
            [this]() { m_uhr->einmal(500, this, [this]() { frageVorwaermen(); }); });
    m_startscreen->loadHTML();
    m_rangliste->loadHTML();

    // The texts' widths are no minimum of the window: where they did not fit (a long file name, a
    // narrow screen) the window grew at the first question, and every page was laid out anew.
    for (QLabel *label :
         {m_labelDatei, m_labelAnzahl, m_labelPort, m_labelEmpfaenger, m_labelAktuelleFrage}) {
        label->setMinimumWidth(1);
        ui->statusBar->addWidget(label);
    }
    m_ablauf->dateiBeschriftungen();
    setStatusLabelCOMPort();
    setStatusIstEmpfaengerVerbunden();

    m_empfaengerStatus = m_uhr->neuerZeitgeber(this);
    connect(m_empfaengerStatus, &Zeitgeber::timeout, this, &MainWindow::setStatusIstEmpfaengerVerbunden);
    m_empfaengerStatus->start(1000);

    Produkt::anwendungBenennen();

    // The receiver search starts from a known port name on every start.
    Einstellungen::setzen(Schluessel::SerialPort, QStringLiteral("COM1"));
    setStatusLabelCOMPort();

    m_ablauf->templateAnfangen();

    m_journal = new Druckjournal(*m_uhr, umgebung.journalOrdner, this);
    m_ablauf->journalSetzen(m_journal);
    // A page that loads late (or again) is filled with the results as they are.
    connect(m_brueckeRangliste, &WebBruecke::geladen, m_ablauf, &Spielablauf::ranglisteAktualisieren);

    m_zuletztTitel = ui->actionZuletzt_ge_ffnet;
    for (int i = 0; i < MaxRecentFiles; ++i) {
        auto *aktion = new QAction(this);
        aktion->setVisible(false);
        connect(aktion, &QAction::triggered, this, &MainWindow::openRecentFile);
        ui->menuFragen->addAction(aktion);
        m_zuletztAktionen.append(aktion);
    }
    zuletztGeoeffnetAktualisieren();

    // Keys must reach the game even while a web view has the focus.
    qApp->installEventFilter(this);
}

void MainWindow::bildschirmeAufteilen()
{
    const QList<QScreen *> schirme = QGuiApplication::screens();
    QScreen *primaer = QGuiApplication::primaryScreen();
    QScreen *projektor =
        Bildschirmwahl::projektor(schirme, primaer, Einstellungen::text(Schluessel::ProjektorBildschirm));
    if (!projektor) {
        // The projector was unplugged: the page comes back into its window on the screen that is
        // left. The presenter's view goes: that screen may be what the class sees now (a laptop
        // mirrored to the projector, its lid closed); the menu opens it again.
        if (m_aufProjektor) {
            m_aufProjektor = false;
            m_projektor = nullptr;
            m_referent->hide();
            if (m_startscreen)
                m_startscreen->schirmbreiteSetzen(0);
            vollbildVerlassen();
            Bildschirmwahl::verschieben(this, primaer);
            showMaximized();
        }
        return;
    }
    if (m_aufProjektor && projektor == m_projektor)
        return;
    // The presenter's view opens when a projector comes; moving to another one keeps it as it was.
    const bool referentZeigen = !m_aufProjektor || m_referent->isVisible();
    if (m_projektor)
        disconnect(m_projektor, &QScreen::geometryChanged, this, nullptr);
    m_projektor = projektor;
    // A projector that settles on another resolution (they often do after waking up) gets the
    // start screen fitted to its new width.
    connect(projektor, &QScreen::geometryChanged, this, [this](const QRect &rahmen) {
        if (m_startscreen && m_aufProjektor)
            m_startscreen->schirmbreiteSetzen(rahmen.width());
    });
    Bildschirmwahl::verschieben(this, projektor);
    on_actionVollbild_triggered();
    m_aufProjektor = true;
    if (m_startscreen)
        m_startscreen->schirmbreiteSetzen(projektor->geometry().width());
    Bildschirmwahl::verschieben(m_referent, Bildschirmwahl::lehrer(schirme, primaer, projektor));
    if (referentZeigen)
        m_referent->showMaximized();
}

void MainWindow::frageVorwaermen()
{
    // The first question after the start screen took twice as long as the others: the engine
    // compiled the page's statements then, and drew the view for the first time. Both happen here,
    // out of the class's sight: the statements on an element outside the page, the view beneath
    // the start screen, where it has its frame ready when the start screen goes.
    if (startAnsicht()->isHidden())
        return;
    m_brueckeFrage->aufwaermen();
    m_frageDarunter = true;
    frageAnsicht()->stackUnder(startAnsicht());
    frageAnsicht()->show();
    // The first question was still slower than the rest: the engine lays out its text for the first
    // time then, in fonts and sizes not used yet, and decodes its picture. The question that comes
    // next is shown here once, beneath the start screen, and the page is emptied again once it has
    // been drawn, so that a question asked for out of turn, or from a file opened meanwhile, does
    // not show this one for a frame when the start screen goes.
    const int nr = std::clamp(m_spiel->getAktuelleFrageNr() + 1, 1, std::max(1, m_spiel->getAnzahlFragen()));
    const QDomElement naechste = m_spiel->getFragenkatalog().getFrage(nr);
    if (!m_template || naechste.isNull())
        return;
    m_template->frageAnzeigen(naechste, nr);
    naechstesBildAbwarten(frageAnsicht(), QDeadlineTimer(5000), [this, nr]() {
        if (m_template && !startAnsicht()->isHidden())
            m_template->frageAnzeigen(QDomElement(), nr);
    });
}

void MainWindow::vorziehen()
{
    if (m_brueckeFrage->zurueckgehalten())
        frageAnsicht()->settings()->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    for (WebBruecke *dahinter : {m_brueckeFrage, m_brueckeRangliste, m_brueckeSchwarz})
        dahinter->freigeben();
    if (!m_geschlossen)
        einrichten();
}

void MainWindow::einrichten()
{
    if (m_einrichtungBegonnen)
        return;
    m_einrichtungBegonnen = true;
    m_test = new test(this);
    m_optionWindow = new OptionWindow(*m_ports, *m_klang, this, m_dialoge);
    m_tutorialSpiel = new hilfe_spiel_durchfuehren(this);
    m_tutorialEditor = new hilfe_frageneditor(this);
    m_tutorialEinstellungen = new hilfe_einstellungen_vornehmen(this);
    m_goTo = new goTo();
    m_goTo->setAttribute(Qt::WA_QuitOnClose, false);
    m_hilfe = new Hilfe();
    m_hilfe->setAttribute(Qt::WA_QuitOnClose, false);
    m_shortcutkeys = new shortcutkeys();
    m_shortcutkeys->setAttribute(Qt::WA_QuitOnClose, false);
    connect(m_goTo, &goTo::goToButtonEvent, this, &MainWindow::goToFrage);
    connect(m_optionWindow, &OptionWindow::comPortIndexChanged, this, &MainWindow::portVonHandGewaehlt);
    connect(m_optionWindow, &OptionWindow::signalTemplateGewaehlt, this, &MainWindow::templateAusgewaehlt);

    m_fabrik = std::make_unique<comTypFabrik>(*m_ports, *m_uhr);
    m_comPort = static_cast<comPort *>(m_fabrik->erzeugeComTyp(QStringLiteral("rs-232")));
    connect(m_comPort, &comPort::serialport_eventEmpfaengerGefunden, this,
            &MainWindow::setStatusLabelCOMPort);
    connect(m_comPort, &comPort::serialport_eventEmpfaengerGefunden, this,
            &MainWindow::showIconEmpfaengerVerbunden_OpenSerialPort);
    connect(m_comPort, &comPort::serialport_eventEmpfaengerGefunden, this,
            &MainWindow::empfaengerGefundenEntsprechendesTemplateWaehlen);
    connect(m_comPort, &comPort::iconEmpfaengerVerbundenAusblenden, this,
            &MainWindow::iconEmpfaengerErkanntVerbergen);
    m_comPort->verbindungStarten();
    connect(m_comPort, &comPort::signalGereateIDAnzeigen, m_ablauf, &Spielablauf::druckEmpfangen);
    connect(m_comPort, &comPort::masterTerminate, m_ablauf, &Spielablauf::masterTerminate);
    connect(m_comPort, &comPort::masterPageDown, m_ablauf, &Spielablauf::masterPageDown);
    connect(m_comPort, &comPort::masterPause, m_ablauf, &Spielablauf::masterPause);
    connect(m_comPort, &comPort::masterPageUp, m_ablauf, &Spielablauf::masterPageUp);

    connect(m_comPort, &comPort::signalOptionWindowProtokollAktualisieren, m_optionWindow,
            &OptionWindow::optionWindowProtokollAktualisieren);
    connect(m_comPort, &comPort::gedrosselteDrueckeGeaendert, m_optionWindow,
            &OptionWindow::verworfeneDrueckeAnzeigen);
    // Class sets and the master handset take effect at once, not at the next start.
    connect(m_optionWindow, &OptionWindow::einstellungGeaendert, m_comPort, &comPort::einstellungenNeuLesen);
    connect(m_optionWindow, &OptionWindow::einstellungGeaendert, this, [this](const QString &schluessel) {
        if (schluessel == Schluessel::NamenslisteDatei)
            namenLaden();
        if (schluessel == Schluessel::ProjektorBildschirm)
            bildschirmeAufteilen();
        if (schluessel == Schluessel::HandyAbstimmung || schluessel == Schluessel::HandyPort ||
            schluessel == Schluessel::HandyAdresse)
            handysEinrichten();
        if (schluessel == Schluessel::HandyNummernJeAdresse)
            m_handys->nummernJeAdresseSetzen(OptionWindow::nummernJeAdresse());
    });

    // Phones press through the same door as the receiver's handsets.
    m_handys = new HandyAbstimmung(this);
    connect(m_handys, &HandyAbstimmung::druck, m_ablauf, &Spielablauf::druckEmpfangen);
    connect(m_handys, &HandyAbstimmung::druck, m_optionWindow,
            &OptionWindow::optionWindowProtokollAktualisieren);
    connect(m_handys, &HandyAbstimmung::beigetreten, this,
            [this](uint nummer) { m_startscreen->geraeteIDAnzeigen(HandyKlassensatz, nummer, 0); });
    connect(m_handys, &HandyAbstimmung::gestartet, this, &MainWindow::handyBeitrittAnzeigen);
    connect(m_handys, &HandyAbstimmung::fehlgeschlagen, this, [this](const QString &grund) {
        m_startscreen->handyBeitrittVerbergen();
        const QString port = QString::number(m_handyPort);
        m_dialoge->hinweis(
            {Einstellungen::meldung(
                 QStringLiteral(
                     "Die Abstimmung mit Handys konnte nicht starten: Port %1 ist nicht verfügbar (%2). "
                     "Bitte in den Einstellungen einen anderen Port wählen.")
                     .arg(port, grund),
                 QStringLiteral("Voting with phones could not start: port %1 is not available (%2). "
                                "Please choose another port in the options.")
                     .arg(port, grund)),
             {},
             QStringLiteral(":/images/info.png"),
             true});
    });
    connect(m_ablauf, &Spielablauf::stimmenVerbundenGeaendert, m_handys, [this](bool offen, int frage) {
        m_handys->frageSetzen(offen, frage, m_spiel->istZweiteRunde() ? 2 : 1);
    });
    m_handys->frageSetzen(m_ablauf->stimmenVerbunden(), m_spiel->getAktuelleFrageNr(),
                          m_spiel->istZweiteRunde() ? 2 : 1);
    m_handys->spracheSetzen(Einstellungen::istEnglisch());
    for (const QString &name : {Morvane, Tandrivelle, Kahoot})
        m_optionWindow->templateRegistrieren(name);

    m_handys->vorlageSetzen(m_ablauf->templateName());

    // A turn later, once the window and its start screen are up: a question asked now would come
    // before them. The game a crash left behind is taken up before a phone can join, so that no
    // phone gets a number that answered in it.
    QTimer::singleShot(0, this, [this]() {
        // A broken list is said in a box; the game goes on with handset numbers.
        namenLaden();
        m_ablauf->journalStarten();
        handyNummernReservieren();
        handysEinrichten();
        m_eingerichtet = true;
        emit eingerichtet();
    });
}

void MainWindow::handyNummernReservieren()
{
    if (!m_handys)
        return;
    // Phones of a game taken up again come back with new numbers, never with a stranger's.
    QSet<uint> nummern;
    for (const Person &person : m_spiel->getPersonen()) {
        if (person.getKlassensatz() == HandyKlassensatz)
            nummern.insert(person.getBuzzerNo());
    }
    if (!nummern.isEmpty())
        m_handys->nummernReservieren(nummern);
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
    // The template reads from the question view; it goes first.
    m_template.reset();
    delete m_goTo;
    delete m_hilfe;
    delete m_shortcutkeys;
}

QWebEngineView *MainWindow::frageAnsicht() const
{
    return ui->webViewFrage;
}
QWebEngineView *MainWindow::startAnsicht() const
{
    return ui->webViewStartScreen;
}
QWebEngineView *MainWindow::ranglisteAnsicht() const
{
    return ui->webViewRangliste;
}
QWebEngineView *MainWindow::schwarzAnsicht() const
{
    return ui->webViewBlackscreen;
}
SkriptBruecke *MainWindow::frageBruecke() const
{
    return m_brueckeFrage;
}
bool MainWindow::stimmenVerbunden() const
{
    return m_ablauf->stimmenVerbunden();
}
bool MainWindow::frageAktiv() const
{
    return m_ablauf->frageAktiv();
}
bool MainWindow::startScreenAngezeigt() const
{
    return m_ablauf->startScreenAngezeigt();
}
bool MainWindow::pauseSichtbar() const
{
    return m_pauseHinweis->isVisible();
}
QString MainWindow::statusDatei() const
{
    return m_labelDatei->text();
}
QString MainWindow::statusAnzahl() const
{
    return m_labelAnzahl->text();
}
QString MainWindow::statusAktuelleFrage() const
{
    return m_labelAktuelleFrage->text();
}
QString MainWindow::statusEmpfaenger() const
{
    return m_labelEmpfaenger->text();
}

// --- Window ---------------------------------------------------------------------------------------

void MainWindow::resizeEvent(QResizeEvent *ereignis)
{
    QMainWindow::resizeEvent(ereignis);
    const QRect flaeche(QPoint(0, 0), ui->centralWidget->size());
    for (QWebEngineView *ansicht : {frageAnsicht(), startAnsicht(), ranglisteAnsicht(), schwarzAnsicht()})
        ansicht->setGeometry(flaeche);
    if (m_pauseHinweis && m_pauseHinweis->isVisible())
        pauseFeldErfragen();
}

void MainWindow::ansichtZeigen(Ansicht ansicht)
{
    // The game is quicker than the start screen: what it shows now must not wait for it.
    if (ansicht != Ansicht::Start && m_brueckeFrage)
        vorziehen();
    // However long it was out of sight, the ranking starts at its first page.
    const bool ranglisteZeigt = ansicht == Ansicht::Rangliste || ansicht == Ansicht::RanglisteUnterSchwarz;
    if (ranglisteZeigt && m_brueckeRangliste)
        m_brueckeRangliste->ausfuehren(Anweisung::ereignis("ranglisteGezeigt"));
    if (ansicht == Ansicht::RanglisteUnterSchwarz) {
        ranglisteAnsicht()->show();
        frageAnsicht()->hide();
        startAnsicht()->hide();
        m_pauseHinweis->hide();
        return;
    }
    frageAnsicht()->setVisible(ansicht == Ansicht::Frage || (ansicht == Ansicht::Start && m_frageDarunter));
    startAnsicht()->setVisible(ansicht == Ansicht::Start);
    ranglisteAnsicht()->setVisible(ansicht == Ansicht::Rangliste);
    schwarzAnsicht()->hide();
    m_schwarzBild = false;
    if (ansicht != Ansicht::Frage)
        m_pauseHinweis->hide();
}

void MainWindow::frageNrAnzeigen(const QString &text)
{
    m_labelAktuelleFrage->setText(text);
}

void MainWindow::dateiAnzeigen(const QString &datei, const QString &anzahl)
{
    m_labelDatei->setText(datei);
    m_labelAnzahl->setText(anzahl);
    m_referent->frageZeigen();
}

void MainWindow::statusMeldung(const QString &text)
{
    ui->statusBar->showMessage(text, 8000);
}

bool MainWindow::templateErzeugen(const QString &name)
{
    auto neu = ::templateErzeugen(name, *m_brueckeFrage, *m_uhr, *m_zufall);
    if (!neu)
        return false;
    m_template = std::move(neu);
    m_pauseFeld = QRectF();
    return true;
}

void MainWindow::frageAnzeigen(const QDomElement &frage, int frageNr)
{
    if (m_template)
        m_template->frageAnzeigen(frage, frageNr);
}

void MainWindow::antwortenAnzeigen(const QDomElement &frage)
{
    if (m_template)
        m_template->antwortenAnzeigen(frage);
    // Known before the first pause, so the sign appears in its place at once.
    if (!m_pauseFeld.isValid())
        pauseFeldErfragen();
}

void MainWindow::countdownAnzeigen(int counter, int intervall)
{
    if (m_template)
        m_template->updateCountdown(counter, intervall);
}

void MainWindow::countdownAbgelaufenAnzeigen()
{
    if (m_template)
        m_template->countdownAbgelaufen();
}

void MainWindow::richtigeAntwortAnzeigen(const QList<Person> &richtig, const QList<Person> &falsch,
                                         const QString &loesung, const QList<double> &prozente,
                                         const QList<double> &prozenteErsteRunde)
{
    if (!m_template)
        return;
    m_template->ersteRundeAnzeigen(prozenteErsteRunde);
    m_template->richtigeAntwortAnzeigen(richtig, falsch, loesung, prozente);
}

void MainWindow::pauseAnzeigen(bool pausiert)
{
    if (!pausiert) {
        m_pauseHinweis->hide();
        return;
    }
    pauseHinweisPlatzieren();
    m_pauseHinweis->show();
    m_pauseHinweis->raise();
    pauseFeldErfragen();
}

void MainWindow::pauseFeldErfragen()
{
    if (!m_template)
        return;
    // The answer comes a moment later; until then the sign keeps its last place.
    m_template->pauseFeldLesen([this](const PauseFeld &feld) {
        m_pauseFeld = feld.flaeche;
        m_pauseUnten = feld.unten;
        pauseHinweisPlatzieren();
    });
}

void MainWindow::pauseHinweisPlatzieren()
{
    // The question and the answers stay readable while the class talks: the sign goes where the
    // page says it covers neither, in one line when it fits there, else in two, else smaller.
    const QSize flaeche = ui->centralWidget->size();
    const QRectF feld =
        m_pauseFeld.isValid()
            ? QRectF(m_pauseFeld.x() * flaeche.width(), m_pauseFeld.y() * flaeche.height(),
                     m_pauseFeld.width() * flaeche.width(), m_pauseFeld.height() * flaeche.height())
            : QRectF(QPointF(0, 0), QSizeF(flaeche));
    const QString text = Einstellungen::meldung(QStringLiteral("Pause – weiter mit P"),
                                                QStringLiteral("Paused – press P to continue"));
    const QString zweiZeilig = QString(text).replace(QStringLiteral(" – "), QStringLiteral("\n"));
    // The sign keeps its size in pixels while the page scales: it must fit the room both ways.
    const auto passt = [&]() {
        return m_pauseHinweis->width() <= feld.width() && m_pauseHinweis->height() <= feld.height();
    };
    for (const int punkte : {34, 28, 22, 18, 14}) {
        for (const QString &fassung : {text, zweiZeilig}) {
            m_pauseHinweis->setStyleSheet(
                QStringLiteral(
                    "QLabel { background-color: rgba(20, 30, 60, 215); color: white; font-size: %1pt;"
                    " font-weight: bold; border-radius: %2px; padding: %2px %3px; }")
                    .arg(punkte)
                    .arg(punkte / 2)
                    .arg(punkte));
            m_pauseHinweis->setText(fassung);
            m_pauseHinweis->adjustSize();
            if (passt())
                break;
        }
        if (passt())
            break;
    }
    const QSize g = m_pauseHinweis->size();
    int x = qRound(feld.center().x() - g.width() / 2.0);
    int y = 0;
    if (!m_pauseFeld.isValid())
        y = flaeche.height() - g.height() - flaeche.height() / 30;
    else if (m_pauseUnten)
        y = qRound(feld.bottom() - g.height() - std::min(12.0, feld.height() / 20));
    else
        y = qRound(feld.center().y() - g.height() / 2.0);
    x = std::clamp(x, 0, std::max(0, flaeche.width() - g.width()));
    y = std::clamp(y, 0, std::max(0, flaeche.height() - g.height()));
    m_pauseHinweis->move(x, y);
}

void MainWindow::druckAnzeigen(uint klassensatz, uint buzzerNo, uint buttonNo)
{
    m_startscreen->geraeteIDAnzeigen(klassensatz, buzzerNo, buttonNo);
    m_referent->druckAnzeigen(klassensatz, buzzerNo, buttonNo);
    if (m_template)
        m_template->geraeteIDAnzeigen(klassensatz, buzzerNo, buttonNo);
}

void MainWindow::startscreenZuruecksetzen(const QString &templateName)
{
    m_startscreen->templateSetzen(templateName);
    m_startscreen->alleGeraeteVerbergen();
    // A new game, a new code: phones of the last game do not vote in this one unasked.
    if (m_handys) {
        m_handys->vorlageSetzen(templateName);
        m_handys->neuerCode();
        if (m_handys->laeuft())
            handyBeitrittAnzeigen();
    }
}

void MainWindow::handysEinrichten()
{
    if (!Einstellungen::ist(Schluessel::HandyAbstimmung)) {
        m_handys->stoppen();
        m_startscreen->handyBeitrittVerbergen();
        return;
    }
    bool zahl = false;
    int port = Einstellungen::text(Schluessel::HandyPort).toInt(&zahl);
    if (!zahl || port < 1 || port > 65535)
        port = Schluessel::HandyPortStandard;
    m_handyPort = quint16(port);
    m_handys->nummernJeAdresseSetzen(OptionWindow::nummernJeAdresse());
    // An address chosen in the options is the only one listened on; "Automatisch" listens on all,
    // as the address announced then may be any of this computer's.
    const QHostAddress adresse(Einstellungen::text(Schluessel::HandyAdresse));
    m_handys->starten(m_handyPort, adresse.isNull() ? QHostAddress(QHostAddress::Any) : adresse);
}

void MainWindow::handyBeitrittAnzeigen()
{
    // The address chosen in the options, else the first of this computer's network.
    QString rechner = Einstellungen::text(Schluessel::HandyAdresse);
    if (rechner.isEmpty())
        rechner = lokaleAdressen().value(0, QStringLiteral("127.0.0.1"));
    const QString adresse = m_handys->seitenAdresse(rechner);
    m_startscreen->handyBeitrittZeigen(adresse, m_handys->code(), QrCode::svg(adresse.toUtf8()));
}

void MainWindow::ranglisteAnzeigen(const QList<Person> &personen, int anzahlFragen, int aktuelleFrageNr)
{
    m_rangliste->ranglisteAnzeigen(personen, anzahlFragen, aktuelleFrageNr);
}

void MainWindow::goToSchliessen()
{
    if (m_goTo)
        m_goTo->close();
}

void MainWindow::empfaengerOeffnen()
{
    einrichten();
    m_comPort->connectSerial();
}

void MainWindow::setStatusLabelCOMPort()
{
    // The stored port is a real one only once a receiver was found there; before, it is whatever
    // the first start wrote.
    const QString port = Einstellungen::ist(Schluessel::EmpfaengerVerbunden)
                             ? Einstellungen::text(Schluessel::SerialPort)
                             : QStringLiteral("–");
    m_labelPort->setText(QLatin1String("  Port: ") + port + QLatin1String("  "));
}

void MainWindow::showIconEmpfaengerVerbunden_OpenSerialPort()
{
    m_startscreen->iconEmpfaengerErkanntAnzeigen();
    m_comPort->connectSerial();
}

void MainWindow::empfaengerGefundenEntsprechendesTemplateWaehlen()
{
    m_ablauf->empfaengerGefunden();
}

void MainWindow::setStatusIstEmpfaengerVerbunden()
{
    setStatusLabelCOMPort();
    if (Einstellungen::ist(Schluessel::EmpfaengerVerbunden)) {
        m_labelEmpfaenger->setText(Einstellungen::meldung(QStringLiteral("  USB-Empfänger: verbunden   "),
                                                          QStringLiteral("  USB-Receiver: connected   ")));
        m_startscreen->iconEmpfaengerErkanntAnzeigen();
    } else {
        m_labelEmpfaenger->setText(
            Einstellungen::meldung(QStringLiteral("  USB-Empfänger: nicht verbunden  "),
                                   QStringLiteral("  USB-Receiver: not connected   ")));
        m_startscreen->iconEmpfaengerErkanntVerbergen();
    }
}

void MainWindow::iconEmpfaengerErkanntVerbergen()
{
    m_startscreen->iconEmpfaengerErkanntVerbergen();
}

void MainWindow::on_actionPlenar_Hilfe_triggered()
{
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(Produkt::WebSeite)));
}

void MainWindow::on_webViewFrage_loadFinished(bool)
{
    // jQuery is injected by the bridge of each view as soon as its own page has loaded.
    if (Einstellungen::text(Schluessel::GewaehltesTemplate).isEmpty()) {
        m_startscreen->templateSetzen(Tandrivelle);
        Einstellungen::setzen(Schluessel::GewaehltesTemplate, Tandrivelle);
    }
    const QString name = Einstellungen::text(Schluessel::GewaehltesTemplate);
    if (name == Morvane || name == Tandrivelle || name == Kahoot) {
        m_startscreen->templateSetzen(name);
        Einstellungen::setzen(Schluessel::GewaehltesTemplate, name);
    }
}

void MainWindow::on_actionVollbild_triggered()
{
    // The class sees only the page: no menus, no tool bar, no status bar with the teacher's paths.
    menuBar()->hide();
    for (QToolBar *leiste : findChildren<QToolBar *>())
        leiste->hide();
    statusBar()->hide();
    showFullScreen();
    m_mausPosition = QCursor::pos();
    m_mausRuhig = 0;
    m_mausUhr->start(MausTakt);
}

void MainWindow::mauszeigerPruefen()
{
    // A pointer that rests on the projected page is hidden; any movement shows it again.
    const QPoint jetzt = QCursor::pos();
    if (jetzt != m_mausPosition) {
        m_mausPosition = jetzt;
        m_mausRuhig = 0;
        mauszeigerVerstecken(false);
        return;
    }
    m_mausRuhig += MausTakt;
    if (m_mausRuhig >= MausVersteckenNach)
        mauszeigerVerstecken(true);
}

void MainWindow::mauszeigerVerstecken(bool verstecken)
{
    if (verstecken == m_mausVersteckt)
        return;
    m_mausVersteckt = verstecken;
    if (verstecken)
        QGuiApplication::setOverrideCursor(Qt::BlankCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void MainWindow::vollbildVerlassen()
{
    m_mausUhr->stop();
    mauszeigerVerstecken(false);
    menuBar()->show();
    for (QToolBar *leiste : findChildren<QToolBar *>())
        leiste->show();
    statusBar()->show();
}

void MainWindow::zoomAendern(double schritt)
{
    m_brueckeFrage->setZoomFaktor(m_brueckeFrage->zoomFaktor() + schritt);
    m_brueckeStart->setZoomFaktor(m_brueckeStart->zoomFaktor() + schritt);
    m_startscreen->senderAnimationNeuStarten();
    m_brueckeRangliste->setZoomFaktor(m_brueckeRangliste->zoomFaktor() + schritt);
}

void MainWindow::on_actionVergr_ssern_triggered()
{
    zoomAendern(0.1);
}

void MainWindow::on_actionVerkleinern_triggered()
{
    zoomAendern(-0.1);
}

void MainWindow::on_actionNormal_triggered()
{
    vollbildVerlassen();
    showMaximized();
    if (Einstellungen::text(Schluessel::GewaehltesTemplate) == Tandrivelle)
        m_brueckeFrage->setZoomFaktor(Einstellungen::reell(Schluessel::ZoomFaktorTemplateTandrivelle));
    else
        m_brueckeFrage->setZoomFaktor(1.1);
    m_startscreen->tabelleEinpassen();
    m_brueckeRangliste->setZoomFaktor(1.0);
}

QWidget *MainWindow::dialogFenster()
{
    return m_eigeneDialoge ? m_eigeneDialoge->eltern() : this;
}

void MainWindow::beimLehrerOeffnen(QWidget *fenster)
{
    // Only while the presenter's view is shown; without it they open where they always did.
    if (m_referent->isVisible() && !m_referent->isMinimized())
        Bildschirmwahl::aufSchirmVon(fenster, m_referent);
}

void MainWindow::on_actionResultate_PDF_triggered()
{
    // Last out, once the report is written and its layout and pages freed (some only back in the
    // event loop): their memory goes back to the system instead of staying for the rest of the day.
    // Posted only then, since the file dialog and the progress run event loops of their own.
    const auto freigeben = qScopeGuard([]() { QTimer::singleShot(0, &Speicher::zurueckgeben); });
    pdfrangliste exporter(*m_dialoge);
    FortschrittsDialog fortschritt(
        dialogFenster(),
        Einstellungen::meldung(QStringLiteral("PDF wird erstellt …"), QStringLiteral("Creating the PDF …")));
    exporter.fortschrittSetzen(&fortschritt);
    exporter.namenSetzen(m_namen);
    // Only a report that was really written takes the warning away; a cancel or a failure keeps it.
    if (exporter.ranglisteExportieren(m_spiel->getPersonen(), &m_spiel->getFragenkatalog(),
                                      m_spiel->getAnzahlFragen(), m_spiel->getAktuelleFrageNr()))
        m_ablauf->resultateExportiert();
}

void MainWindow::on_actionResultate_CSV_triggered()
{
    const auto freigeben = qScopeGuard([]() { QTimer::singleShot(0, &Speicher::zurueckgeben); });
    csvrangliste exporter(*m_dialoge);
    FortschrittsDialog fortschritt(
        dialogFenster(),
        Einstellungen::meldung(QStringLiteral("CSV wird erstellt …"), QStringLiteral("Creating the CSV …")));
    exporter.fortschrittSetzen(&fortschritt);
    exporter.namenSetzen(m_namen);
    if (exporter.ranglisteExportieren(m_spiel->getPersonen(), &m_spiel->getFragenkatalog(),
                                      m_spiel->getAnzahlFragen(), m_spiel->getAktuelleFrageNr()))
        m_ablauf->resultateExportiert();
}

void MainWindow::on_actionResultate_XLSX_triggered()
{
    const auto freigeben = qScopeGuard([]() { QTimer::singleShot(0, &Speicher::zurueckgeben); });
    xlsxrangliste exporter(*m_dialoge);
    FortschrittsDialog fortschritt(dialogFenster(),
                                   Einstellungen::meldung(QStringLiteral("Tabelle wird erstellt …"),
                                                          QStringLiteral("Creating the spreadsheet …")));
    exporter.fortschrittSetzen(&fortschritt);
    exporter.namenSetzen(m_namen);
    if (exporter.ranglisteExportieren(m_spiel->getPersonen(), &m_spiel->getFragenkatalog(),
                                      m_spiel->getAnzahlFragen(), m_spiel->getAktuelleFrageNr()))
        m_ablauf->resultateExportiert();
}

void MainWindow::namenLaden()
{
    QString fehler;
    m_namen = Namensliste::ausEinstellungen(&fehler);
    // The game goes on with handset numbers; the teacher learns why the names are missing.
    if (!fehler.isEmpty())
        m_dialoge->hinweis({fehler, {}, QStringLiteral(":/images/info.png"), true});
    m_rangliste->namenSetzen(m_namen);
    m_referent->namenSetzen(m_namen);
    m_ablauf->ranglisteAktualisieren();
}

void MainWindow::on_actionOptionen_triggered()
{
    einrichten();
    m_optionWindow->felderAktualisieren();
    beimLehrerOeffnen(m_optionWindow);
    m_optionWindow->show();
    m_optionWindow->raise();
    m_optionWindow->activateWindow();
}

void MainWindow::portVonHandGewaehlt()
{
    showIconEmpfaengerVerbunden_OpenSerialPort();
    setStatusLabelCOMPort();
    m_optionWindow->portListeAktualisieren();
    // The link reports a port it cannot open as not connected.
    if (!Einstellungen::ist(Schluessel::EmpfaengerVerbunden)) {
        iconEmpfaengerErkanntVerbergen();
        statusMeldung(Einstellungen::meldung(QStringLiteral("Der Port %1 lässt sich nicht öffnen."),
                                             QStringLiteral("The port %1 cannot be opened."))
                          .arg(Einstellungen::text(Schluessel::SerialPort)));
    }
    setStatusIstEmpfaengerVerbunden();
}

void MainWindow::on_actionFrageneditor_triggered()
{
    // A second editor would hold a second copy of the file; the first one is brought forward.
    if (m_frageneditor) {
        m_frageneditor->show();
        m_frageneditor->raise();
        m_frageneditor->activateWindow();
        return;
    }
    m_frageneditor = new FragenEditor(m_testDialoge);
    m_frageneditor->setAttribute(Qt::WA_DeleteOnClose);
    m_frageneditor->setAttribute(Qt::WA_QuitOnClose, false);
    // Queued: the editor finishes closing before the restart may ask its own question.
    connect(
        m_frageneditor, &FragenEditor::spielNeuStarten, m_ablauf,
        [this](const QString &) { m_ablauf->neuStarten(); }, Qt::QueuedConnection);
    beimLehrerOeffnen(m_frageneditor);
    m_frageneditor->show();
    m_frageneditor->editorInitialisieren();
}

void MainWindow::on_actionSpiel_durchf_hren_2_triggered()
{
    einrichten();
    m_tutorialSpiel->show();
    m_tutorialSpiel->raise();
}

void MainWindow::on_actionFrageneditor_2_triggered()
{
    einrichten();
    m_tutorialEditor->show();
    m_tutorialEditor->raise();
}

void MainWindow::on_actionEinstellungen_vornehmen_triggered()
{
    einrichten();
    m_tutorialEinstellungen->show();
    m_tutorialEinstellungen->raise();
}

void MainWindow::on_actionShortcut_Keys_triggered()
{
    einrichten();
    m_shortcutkeys->show();
    m_shortcutkeys->raise();
}

void MainWindow::on_actionTest_triggered()
{
    einrichten();
    m_test->show();
}

void MainWindow::on_actionBeenden_triggered()
{
    close();
}

void MainWindow::closeEvent(QCloseEvent *ereignis)
{
    if (!m_ablauf->beendenBestaetigt()) {
        ereignis->ignore();
        return;
    }
    // Unsaved edits are asked about; when they cannot be saved the program stays open with them.
    if (m_frageneditor && !m_frageneditor->schliessenOhneNachfrage()) {
        ereignis->ignore();
        return;
    }
    m_ablauf->beendet();
    // Closed before it was set up, the window has none of these and sets nothing up any more.
    m_geschlossen = true;
    if (m_optionWindow)
        m_optionWindow->beimBeenden();
    for (QWidget *fenster :
         std::initializer_list<QWidget *>{m_tutorialSpiel, m_tutorialEditor, m_tutorialEinstellungen, m_hilfe,
                                          m_shortcutkeys, m_goTo, m_test}) {
        if (fenster)
            fenster->close();
    }
    if (m_comPort)
        m_comPort->SerialPortSchliessen();
    ereignis->accept();
}

// --- Recent files ---------------------------------------------------------------------------------

void MainWindow::zuletztGeoeffnetAktualisieren()
{
    const QStringList liste = Einstellungen::liste(Schluessel::RecentFileList);
    const int n = std::min(int(liste.size()), MaxRecentFiles);
    m_zuletztTitel->setVisible(!liste.isEmpty());
    for (int i = 0; i < MaxRecentFiles; ++i) {
        QAction *aktion = m_zuletztAktionen.at(i);
        if (i < n) {
            aktion->setText(QFileInfo(liste.at(i)).fileName());
            aktion->setIcon(QIcon(QStringLiteral(":/images/document_reload.png")));
            aktion->setData(liste.at(i));
            aktion->setVisible(true);
        } else {
            aktion->setVisible(false);
        }
    }
}

void MainWindow::openRecentFile()
{
    auto *aktion = qobject_cast<QAction *>(sender());
    if (!aktion)
        return;
    const QString pfad = aktion->data().toString();
    if (QFileInfo(pfad).isFile()) {
        frageDateiOeffnen(pfad);
        return;
    }
    m_dialoge->hinweis({Einstellungen::meldung(QStringLiteral("Datei existiert nicht."),
                                               QStringLiteral("File does not exist.")),
                        {},
                        QStringLiteral(":/images/document_reload_64.png"),
                        true});
}

// --- Game flow: handed to the flow -------------------------------------------------------------------

void MainWindow::frageDateiOeffnen(const QString &pfad)
{
    m_ablauf->frageDateiOeffnen(pfad);
}

void MainWindow::druckEmpfangen(uint klassensatz, uint buzzerNo, uint buttonNo)
{
    m_ablauf->druckEmpfangen(klassensatz, buzzerNo, buttonNo);
}

void MainWindow::goToFrage(int frageNr)
{
    m_ablauf->goToFrage(frageNr);
}

void MainWindow::templateAusgewaehlt()
{
    m_ablauf->templateAusgewaehlt();
}

void MainWindow::on_action_ffnen_triggered()
{
    m_ablauf->frageDateiOeffnen();
}

void MainWindow::on_actionImportieren_triggered()
{
    const QString pfad = m_dialoge->dateiZumOeffnen(
        Einstellungen::meldung(QStringLiteral("Fragen importieren"), QStringLiteral("Import questions")),
        Einstellungen::text(Schluessel::DefaultPfadFrageFileOeffnen),
        Einstellungen::meldung(
            QStringLiteral(
                "Alle Fragenformate (*.csv *.txt *.xml *.gift);;Tabellen (*.csv *.txt);;Moodle XML "
                "(*.xml);;GIFT (*.gift *.txt);;Aiken (*.txt)"),
            QStringLiteral(
                "All question formats (*.csv *.txt *.xml *.gift);;Tables (*.csv *.txt);;Moodle XML "
                "(*.xml);;GIFT (*.gift *.txt);;Aiken (*.txt)")));
    if (pfad.isEmpty())
        return;
    // The content decides, whatever the name: platforms save every text format as ".txt".
    const bool englisch = Einstellungen::istEnglisch();
    Fremdformat::Format format = Fremdformat::Format::Unbekannt;
    const Fremdformat::Ergebnis ergebnis = Fremdformat::lesen(pfad, englisch, &format);
    if (format == Fremdformat::Format::Tabelle) {
        m_ablauf->fragenImportieren(pfad);
        return;
    }
    if (format == Fremdformat::Format::FrageDatei) {
        m_ablauf->frageDateiOeffnen(pfad);
        return;
    }
    const QString bild = QStringLiteral(":/images/frageneditor_50.png");
    // A box with hundreds of lines would not fit the screen; the first ones show the pattern.
    const QString bericht = ergebnis.bericht(englisch, 12);
    if (ergebnis.fragen.isEmpty()) {
        m_dialoge->hinweis(
            {Einstellungen::meldung(QStringLiteral("Aus %1 konnten keine Fragen importiert werden."),
                                    QStringLiteral("No questions could be imported from %1."))
                 .arg(QDir::toNativeSeparators(pfad)),
             bericht, bild, true});
        return;
    }
    const QString ziel = FragenImport::zielPfad(pfad);
    QString fehler;
    if (!Fremdformat::uebernehmen(ergebnis, ziel, &fehler)) {
        m_dialoge->hinweis(
            {Einstellungen::meldung(QStringLiteral("Die Fragedatei %1 kann nicht geschrieben werden."),
                                    QStringLiteral("The question file %1 cannot be written."))
                 .arg(QDir::toNativeSeparators(ziel)),
             fehler, bild, true});
        return;
    }
    m_dialoge->hinweis({Einstellungen::meldung(QStringLiteral("Die Fragen wurden nach %1 importiert."),
                                               QStringLiteral("The questions were imported into %1."))
                            .arg(QDir::toNativeSeparators(ziel)),
                        bericht, QStringLiteral(":/images/info.png"), true});
    m_ablauf->frageDateiOeffnen(ziel);
}

void MainWindow::on_actionExportieren_triggered()
{
    const QString frageDatei = Einstellungen::text(Schluessel::FrageFile);
    const FrageDatei::LadeErgebnis geladen = FrageDatei::lesen(frageDatei);
    if (!geladen.ok()) {
        m_dialoge->hinweis({Einstellungen::meldung(QStringLiteral("Keine Fragedatei ausgewählt."),
                                                   QStringLiteral("No question file selected.")),
                            geladen.beschreibung(Einstellungen::istEnglisch()),
                            QStringLiteral(":/images/frageneditor_50.png"), true});
        return;
    }
    const QFileInfo info(frageDatei);
    const QString ziel = m_dialoge->dateiZumSpeichern(
        Einstellungen::meldung(QStringLiteral("Fragen exportieren"), QStringLiteral("Export questions")),
        info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(" (Moodle).xml"),
        QStringLiteral("Moodle XML (*.xml);;GIFT (*.gift *.txt)"));
    if (ziel.isEmpty())
        return;
    // Writing the export over the question file in use would lose it.
    if (QFileInfo(ziel).absoluteFilePath() == info.absoluteFilePath()) {
        m_dialoge->hinweis({Einstellungen::meldung(
                                QStringLiteral("Der Export kann nicht die geöffnete Fragedatei ersetzen."),
                                QStringLiteral("The export cannot replace the open question file.")),
                            {},
                            QStringLiteral(":/images/info.png"),
                            true});
        return;
    }
    const Fremdformat::Export exportiert =
        Fremdformat::exportieren(geladen.fragen, frageDatei, ziel, Einstellungen::istEnglisch());
    if (!exportiert.geschrieben) {
        m_dialoge->hinweis({exportiert.geschrieben.meldung(), {}, QStringLiteral(":/images/info.png"), true});
        return;
    }
    m_dialoge->hinweis({Einstellungen::meldung(QStringLiteral("%1 Fragen wurden nach %2 exportiert."),
                                               QStringLiteral("%1 questions were exported to %2."))
                            .arg(geladen.fragen.size())
                            .arg(QDir::toNativeSeparators(ziel)),
                        exportiert.verloren.join(QLatin1Char('\n')), QStringLiteral(":/images/info.png"),
                        true});
}

void MainWindow::on_actionSpiel_neu_starten_triggered()
{
    m_ablauf->neuStarten();
}

void MainWindow::on_actionN_chste_Frage_triggered()
{
    m_ablauf->naechsteFrage();
}

void MainWindow::on_actionFrage_berspringen_triggered()
{
    m_ablauf->frageUeberspringen();
}

void MainWindow::on_actionFrage_zur_ck_triggered()
{
    m_ablauf->frageZurueck();
}

void MainWindow::on_actionRangliste_triggered()
{
    m_ablauf->ranglisteZeigen();
}

void MainWindow::on_actionNochmal_abstimmen_triggered()
{
    m_ablauf->nochmalAbstimmen();
}

void MainWindow::on_menuAktion_aboutToShow()
{
    ui->actionNochmal_abstimmen->setEnabled(m_ablauf->nochmalAbstimmenMoeglich());
}

void MainWindow::on_actionGo_To_triggered()
{
    einrichten();
    if (m_goTo->isVisible())
        m_goTo->close();
    m_goTo->zeigen(dialogFenster());
}

// --- Keys -----------------------------------------------------------------------------------------

bool MainWindow::tasteVerarbeiten(const QKeyEvent *ereignis)
{
    if (ereignis->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (ereignis->key()) {
    case Qt::Key_Right:
    case Qt::Key_PageDown:
        on_actionFrage_berspringen_triggered();
        return true;
    case Qt::Key_Left:
    case Qt::Key_PageUp:
        on_actionFrage_zur_ck_triggered();
        return true;
    case Qt::Key_Enter:
        m_ablauf->ranglisteTaste();
        return true;
    case Qt::Key_P:
        m_ablauf->pauseTaste();
        return true;
    case Qt::Key_T:
        m_ablauf->sofortBeendenTaste();
        return true;
    case Qt::Key_R:
        // The menu entry's state is only brought up to date when the menu opens; the key asks
        // the game itself.
        m_ablauf->nochmalAbstimmen();
        return true;
    case Qt::Key_K:
        schwarzUmschalten();
        return true;
    case Qt::Key_Escape:
        // Keys reach the window only while no dialog is open.
        if (!isFullScreen())
            return false;
        on_actionNormal_triggered();
        return true;
    case Qt::Key_1:
    case Qt::Key_A:
        druckEmpfangen(1, 60, 1);
        return true;
    case Qt::Key_2:
    case Qt::Key_B:
        druckEmpfangen(1, 60, 2);
        return true;
    case Qt::Key_3:
    case Qt::Key_C:
        druckEmpfangen(1, 60, 3);
        return true;
    case Qt::Key_4:
    case Qt::Key_D:
        druckEmpfangen(1, 60, 4);
        return true;
    default:
        return false;
    }
}

void MainWindow::schwarzUmschalten()
{
    if (!m_schwarzBild) {
        schwarzAnsicht()->setStyleSheet(QStringLiteral("background-color:black;"));
        schwarzAnsicht()->page()->setBackgroundColor(Qt::black);
        schwarzAnsicht()->show();
        schwarzAnsicht()->raise();
        m_schwarzBild = true;
    } else {
        schwarzAnsicht()->setStyleSheet(QStringLiteral("background:transparent;"));
        schwarzAnsicht()->hide();
        m_schwarzBild = false;
    }
}

void MainWindow::keyPressEvent(QKeyEvent *ereignis)
{
    if (!tasteVerarbeiten(ereignis))
        QMainWindow::keyPressEvent(ereignis);
}

bool MainWindow::eventFilter(QObject *ziel, QEvent *ereignis)
{
    if (ereignis->type() == QEvent::KeyPress) {
        auto *widget = qobject_cast<QWidget *>(ziel);
        // Only keys meant for this window's views; the go-to field keeps its digits.
        if (widget && widget != this && (widget->window() == this || widget->window() == m_referent) &&
            tasteVerarbeiten(static_cast<QKeyEvent *>(ereignis)))
            return true;
    }
    return QMainWindow::eventFilter(ziel, ereignis);
}
