#include "mainwindow.h"

#include "ui_mainwindow.h"

#include "comport.h"
#include "dialoge.h"
#include "einstellungen.h"
#include "fragedatei.h"
#include "goto.h"
#include "hilfe.h"
#include "klang.h"
#include "meldungsdialoge.h"
#include "produkt.h"
#include "rangliste.h"
#include "schluessel.h"
#include "seriellerport.h"
#include "shortcutkeys.h"
#include "soundklang.h"
#include "spiel.h"
#include "startregeln.h"
#include "startscreen.h"
#include "templatebasis.h"
#include "templatefabrik.h"
#include "test.h"
#include "uhr.h"
#include "webbruecke.h"
#include "zufall.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLoggingCategory>
#include <QScreen>
#include <QWebEngineSettings>
#include <QWebEngineView>

Q_LOGGING_CATEGORY(lcFenster, "plenaro.app")

namespace {

constexpr int MaxRecentFiles = 5;

const QString Morvane = QStringLiteral("Morvane");
const QString Tandrivelle = QStringLiteral("Tandrivelle");
const QString Kahoot = QStringLiteral("Kahoot");

const QString Verlustwarnung =
    QStringLiteral("Die Resultate eines Quiz oder die Auswertung einer Umfrage können "
                   "dabei verloren gehen.");
const QString VerlustwarnungEn =
    QStringLiteral("The results of a quiz or the evaluation of a survey can be lost.");

Meldung keineFragedatei()
{
    return {Einstellungen::meldung(QStringLiteral("Keine Fragedatei ausgewählt."),
                                   QStringLiteral("No question file selected.")),
            {},
            QStringLiteral(":/images/frageneditor_50.png"),
            true};
}

QString gekuerzt(const QString &pfad)
{
    return pfad.size() > 50 ? QLatin1String("...") + pfad.right(47) : pfad;
}

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

    // Secondary windows and objects first: the slots connected by name below may reach them.
    m_test = new test(this);
    m_goTo = new goTo();
    m_goTo->setAttribute(Qt::WA_QuitOnClose, false);
    m_hilfe = new Hilfe();
    m_hilfe->setAttribute(Qt::WA_QuitOnClose, false);
    m_shortcutkeys = new shortcutkeys();
    m_shortcutkeys->setAttribute(Qt::WA_QuitOnClose, false);
    m_startscreen = new startscreen(*m_uhr, this);
    m_rangliste = new rangliste(this);

    ui->setupUi(this);
    for (QWebEngineView *ansicht : {frageAnsicht(), startAnsicht(), ranglisteAnsicht(), schwarzAnsicht()})
        ansicht->setUrl(QUrl(QStringLiteral("about:blank")));
    frageAnsicht()->settings()->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    for (QWebEngineView *ansicht : {frageAnsicht(), startAnsicht(), ranglisteAnsicht()})
        ansicht->setContextMenuPolicy(Qt::NoContextMenu);
    // Windows that do not exist yet stay greyed out rather than doing nothing when chosen.
    for (QAction *aktion :
         {ui->actionOptionen, ui->actionFrageneditor, ui->actionResultate_PDF, ui->actionResultate_CSV,
          ui->actionSpiel_durchf_hren_2, ui->actionFrageneditor_2, ui->actionEinstellungen_vornehmen})
        aktion->setEnabled(false);
    ui->menuTutorial->setEnabled(false);

    m_spiel = new spiel(*m_uhr, *m_dialoge, this);
    connect(m_spiel, &spiel::timerSlotSpiel, this, &MainWindow::updateCountdown);
    connect(m_spiel, &spiel::countdownAbgelaufen, this, &MainWindow::countdownAbgelaufen);
    connect(m_spiel, &spiel::richtigeAntwortAnzeigen, this, &MainWindow::richtigeAntwortAnzeigen);
    connect(m_spiel, &spiel::ranglisteAktualisieren, this, &MainWindow::ranglisteAktualisieren);
    connect(m_goTo, &goTo::goToButtonEvent, this, &MainWindow::goToFrage);

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

    showMaximized();

    QFile jquery(QStringLiteral(":/jQuery/jQuery/jquery.min.js"));
    if (jquery.open(QIODevice::ReadOnly))
        m_injektionsSkript = QString::fromUtf8(jquery.readAll());
    m_injektionsSkript += QLatin1String("\nvar qt = { 'jQuery': jQuery.noConflict(true) };");

    m_brueckeFrage = new WebBruecke(frageAnsicht(), m_injektionsSkript, this);
    m_brueckeStart = new WebBruecke(startAnsicht(), m_injektionsSkript, this);
    m_brueckeRangliste = new WebBruecke(ranglisteAnsicht(), m_injektionsSkript, this);
    m_brueckeSchwarz = new WebBruecke(schwarzAnsicht(), m_injektionsSkript, this);
    connect(m_brueckeStart, &WebBruecke::geladen, m_startscreen, &startscreen::seiteGeladen);

    m_startscreen->brueckeSetzen(m_brueckeStart);
    m_startscreen->loadHTML();
    m_rangliste->brueckeSetzen(m_brueckeRangliste);
    m_rangliste->loadHTML();
    ansichtZeigen(Ansicht::Start);

    for (QLabel *label : {m_labelDatei, m_labelAnzahl, m_labelPort, m_labelEmpfaenger, m_labelAktuelleFrage})
        ui->statusBar->addWidget(label);
    dateiBeschriftungen();
    setStatusLabelCOMPort();
    setStatusIstEmpfaengerVerbunden();

    m_empfaengerStatus = m_uhr->neuerZeitgeber(this);
    connect(m_empfaengerStatus, &Zeitgeber::timeout, this, &MainWindow::setStatusIstEmpfaengerVerbunden);
    m_empfaengerStatus->start(1000);

    QCoreApplication::setOrganizationName(QString::fromLatin1(Produkt::Organisation));
    QCoreApplication::setOrganizationDomain(QString::fromLatin1(Produkt::WebDomain));
    QCoreApplication::setApplicationName(QString::fromLatin1(Produkt::Anwendungsname));

    // The receiver search starts from a known port name on every start.
    Einstellungen::setzen(Schluessel::SerialPort, QStringLiteral("COM1"));
    setStatusLabelCOMPort();

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
    connect(m_comPort, &comPort::signalGereateIDAnzeigen, this, &MainWindow::druckEmpfangen);
    connect(m_comPort, &comPort::masterTerminate, this, &MainWindow::masterTerminate);
    connect(m_comPort, &comPort::masterPageDown, this, &MainWindow::masterPageDown);
    connect(m_comPort, &comPort::masterPause, this, &MainWindow::masterPause);
    connect(m_comPort, &comPort::masterPageUp, this, &MainWindow::masterPageUp);

    if (Einstellungen::text(Schluessel::GewaehltesTemplate).isEmpty())
        Einstellungen::setzen(Schluessel::GewaehltesTemplate, Tandrivelle);
    m_templateName = Einstellungen::text(Schluessel::GewaehltesTemplate);
    m_template = templateErzeugen(m_templateName, *m_brueckeFrage, *m_uhr, *m_zufall);

    m_zuletztTitel = ui->actionZuletzt_ge_ffnet;
    for (int i = 0; i < MaxRecentFiles; ++i) {
        auto *aktion = new QAction(this);
        aktion->setVisible(false);
        connect(aktion, &QAction::triggered, this, &MainWindow::openRecentFile);
        ui->menuFragen->addAction(aktion);
        m_zuletztAktionen.append(aktion);
    }
    zuletztAktualisieren();

    // Keys must reach the game even while a web view has the focus.
    qApp->installEventFilter(this);
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
}

void MainWindow::ansichtZeigen(Ansicht ansicht)
{
    frageAnsicht()->setVisible(ansicht == Ansicht::Frage);
    startAnsicht()->setVisible(ansicht == Ansicht::Start);
    ranglisteAnsicht()->setVisible(ansicht == Ansicht::Rangliste);
    schwarzAnsicht()->hide();
    m_frageAktiv = ansicht == Ansicht::Frage;
    m_startScreenAngezeigt = ansicht == Ansicht::Start;
    m_schwarzBild = false;
}

void MainWindow::dateiBeschriftungen()
{
    const int anzahl = m_spiel->getAnzahlFragen();
    m_labelDatei->setText(anzahl == 0 ? QStringLiteral("Keine Fragedatei ausgewählt.")
                                      : gekuerzt(Einstellungen::text(Schluessel::FrageFile)));
    m_labelAnzahl->setText(
        Einstellungen::meldung(QStringLiteral("Anzahl Fragen: "), QStringLiteral("Number of questions: ")) +
        QString::number(anzahl));
}

void MainWindow::setStatusLabelCOMPort()
{
    m_labelPort->setText(QLatin1String("  Port: ") + Einstellungen::text(Schluessel::SerialPort) +
                         QLatin1String("  "));
}

void MainWindow::showIconEmpfaengerVerbunden_OpenSerialPort()
{
    m_startscreen->iconEmpfaengerErkanntAnzeigen();
    m_comPort->connectSerial();
}

void MainWindow::empfaengerGefundenEntsprechendesTemplateWaehlen()
{
    templateAusgewaehlt();
}

void MainWindow::setStatusIstEmpfaengerVerbunden()
{
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
    showFullScreen();
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
    showMaximized();
    if (Einstellungen::text(Schluessel::GewaehltesTemplate) == Tandrivelle)
        m_brueckeFrage->setZoomFaktor(Einstellungen::reell(Schluessel::ZoomFaktorTemplateTandrivelle));
    else
        m_brueckeFrage->setZoomFaktor(1.1);
    m_startscreen->tabelleEinpassen();
    m_brueckeRangliste->setZoomFaktor(1.0);
}

void MainWindow::on_actionShortcut_Keys_triggered()
{
    m_shortcutkeys->show();
    m_shortcutkeys->raise();
}

void MainWindow::on_actionTest_triggered()
{
    m_test->show();
}

void MainWindow::on_actionBeenden_triggered()
{
    close();
}

void MainWindow::closeEvent(QCloseEvent *ereignis)
{
    if (m_stimmeErhalten && m_resultateNichtExportiert) {
        const bool englisch = Einstellungen::istEnglisch();
        const Meldung frage{englisch ? QStringLiteral("Are you sure you want to quit Plenaro?")
                                     : QStringLiteral("Möchten Sie Plenaro wirklich beenden?"),
                            englisch ? VerlustwarnungEn : Verlustwarnung, QStringLiteral(":/images/info.png"),
                            true};
        if (!m_dialoge->frage(frage)) {
            ereignis->ignore();
            return;
        }
    }
    m_hilfe->close();
    m_shortcutkeys->close();
    m_goTo->close();
    m_test->close();
    m_comPort->SerialPortSchliessen();
    ereignis->accept();
}

// --- Recent files ---------------------------------------------------------------------------------

void MainWindow::zuletztHinzufuegen(const QString &pfad)
{
    QStringList liste = Einstellungen::liste(Schluessel::RecentFileList);
    liste.removeAll(pfad);
    liste.prepend(pfad);
    while (liste.size() > MaxRecentFiles)
        liste.removeLast();
    Einstellungen::setzen(Schluessel::RecentFileList, liste);
    zuletztAktualisieren();
}

void MainWindow::zuletztAktualisieren()
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

// --- Sounds ---------------------------------------------------------------------------------------

void MainWindow::klangSpielen(const QString &lautlos, const QString &datei, const QString &vorgabe)
{
    if (Einstellungen::text(lautlos) != QLatin1String("false"))
        return;
    const QString wert = Einstellungen::text(datei);
    if (wert == vorgabe + QLatin1String(" (default)"))
        m_klang->abspielen(QLatin1String(":/sound/sound/") + vorgabe);
    else
        m_klang->abspielen(QLatin1String(":/sound/sound/") + wert);
}

// --- Game flow ------------------------------------------------------------------------------------

bool MainWindow::fragenVorhanden()
{
    if (m_spiel->getAnzahlFragen() > 0)
        return true;
    m_dialoge->hinweis(keineFragedatei());
    return false;
}

QString MainWindow::frageNrBeschriftung(bool mitAnzahl) const
{
    const QString nummer = QString::number(m_spiel->getAktuelleFrageNr());
    if (mitAnzahl)
        return Einstellungen::meldung(QStringLiteral("aktuelle Frage-Nr.: "),
                                      QStringLiteral("Current question no: ")) +
               nummer + QLatin1Char('/') + QString::number(m_spiel->getAnzahlFragen());
    return Einstellungen::meldung(QStringLiteral("aktuelle Frage-Nr.: "),
                                  QStringLiteral("Current question no.: ")) +
           nummer;
}

void MainWindow::automatisierungStoppen()
{
    // A presenter who moves on by hand must not be overtaken by an advance still pending.
    if (m_automatisierung)
        m_automatisierung->stop();
}

void MainWindow::frageAufsetzen(bool zeigenUndStarten, const QString &beschriftung)
{
    // Hand-made files may carry anything here; a day is plenty and keeps the timer valid.
    const int verzoegerung =
        std::clamp(FrageDatei::zahl(m_aktuelleFrage, QStringLiteral("AnswerDelay")), 0, 86400);
    if (zeigenUndStarten && m_template)
        m_template->frageAnzeigen(m_aktuelleFrage, m_spiel->getAktuelleFrageNr());
    m_stimmenVerbunden = false;
    m_spiel->countdownTimerStoppen();
    m_labelAktuelleFrage->setText(beschriftung);

    if (m_antwortVerzoegerung) {
        m_antwortVerzoegerung->stop();
        m_antwortVerzoegerung->deleteLater();
    }
    m_antwortVerzoegerung = m_uhr->neuerZeitgeber(this);
    m_antwortVerzoegerung->setSingleShot(true);
    m_antwortVerzoegerung->setInterval(verzoegerung * 1000);
    connect(m_antwortVerzoegerung, &Zeitgeber::timeout, this, &MainWindow::countDownVerzoegeretStarten);
    if (zeigenUndStarten)
        m_antwortVerzoegerung->start();
    else if (m_template)
        m_template->countdownAbgelaufen();
}

void MainWindow::naechsteFrageZeigen()
{
    try {
        automatisierungStoppen();
        if (Zeitgeber *zeitgeber = m_spiel->getRichtigeAntwortTimer())
            zeitgeber->stop();
        m_aktuelleFrage = m_spiel->getNaechsteFrage();
        frageAufsetzen(!m_spiel->istEndeErreicht(), frageNrBeschriftung(true));
    } catch (...) {
        m_dialoge->hinweis({Einstellungen::meldung(QStringLiteral("Keine Fragendatei gefunden"),
                                                   QStringLiteral("No question file found.")),
                            {},
                            {},
                            false});
    }
}

void MainWindow::vorherigeFrageZeigen()
{
    try {
        automatisierungStoppen();
        if (Zeitgeber *zeitgeber = m_spiel->getRichtigeAntwortTimer())
            zeitgeber->stop();
        m_aktuelleFrage = m_spiel->getVorherigeFrage();
        frageAufsetzen(true, frageNrBeschriftung(true));
    } catch (...) {
        m_dialoge->hinweis({Einstellungen::meldung(QStringLiteral("Keine Fragendatei gefunden."),
                                                   QStringLiteral("No question file found.")),
                            {},
                            QStringLiteral(":/images/frageneditor_50.png"),
                            true});
    }
}

void MainWindow::goToFrage(int frageNr)
{
    m_goTo->close();
    if (frageNr == 0)
        frageNr = 1;
    if (!fragenVorhanden())
        return;
    automatisierungStoppen();
    if (Zeitgeber *zeitgeber = m_spiel->getRichtigeAntwortTimer())
        zeitgeber->stop();
    // A running countdown is abandoned without evaluation, as when skipping.
    if (Zeitgeber *zeitgeber = m_spiel->getCountdownTimer())
        zeitgeber->stop();
    m_spiel->setCountdownAktiv(false);
    ansichtZeigen(Ansicht::Frage);
    m_aktuelleFrage = m_spiel->springeZuFrage(frageNr);
    frageAufsetzen(true, frageNrBeschriftung(false));
}

void MainWindow::countDownVerzoegeretStarten()
{
    m_spiel->qountdownStarten();
    m_stimmenVerbunden = true;
    m_gehoerteStimmen.clear();
    if (m_template)
        m_template->antwortenAnzeigen(m_aktuelleFrage);
}

void MainWindow::updateCountdown(int qounterAktuelleFrage, int zeitIntervallAktuelleFrage)
{
    if (m_template)
        m_template->updateCountdown(qounterAktuelleFrage, zeitIntervallAktuelleFrage);
}

void MainWindow::countdownAbgelaufen()
{
    if (m_template)
        m_template->countdownAbgelaufen();
    m_stimmenVerbunden = false;
    m_frageAktiv = false;
    klangSpielen(Schluessel::ToeneCountdownLautlos, Schluessel::SoundFileToeneCountdown,
                 QStringLiteral("ring.wav"));
}

void MainWindow::richtigeAntwortAnzeigen()
{
    if (Einstellungen::ist(Schluessel::AutomatisierungAktiviert)) {
        if (m_automatisierung) {
            m_automatisierung->stop();
            m_automatisierung->deleteLater();
        }
        m_automatisierung = m_uhr->neuerZeitgeber(this);
        m_automatisierung->setSingleShot(true);
        connect(m_automatisierung, &Zeitgeber::timeout, this, &MainWindow::automatisierungOn);
        m_automatisierung->start(std::max(0, Einstellungen::zahl(Schluessel::AutomatisierungZeit)) * 1000);
    }
    if (m_template)
        m_template->richtigeAntwortAnzeigen(m_spiel->getPersonenRichtig(), m_spiel->getPersonenFalsch(),
                                            m_spiel->getLoesung(),
                                            m_spiel->getProzenteAntworten(m_spiel->getAktuelleFrageNr()));
}

void MainWindow::automatisierungOn()
{
    ansichtZeigen(Ansicht::Frage);
    naechsteFrageZeigen();
    klangSpielen(Schluessel::ToeneAutomatisierungLautlos, Schluessel::SoundFileToeneAutomatisierung,
                 QStringLiteral("bell.wav"));
}

void MainWindow::druckEmpfangen(uint klassensatz, uint buzzerNo, uint buttonNo)
{
    // Presses count on the start screen and while a countdown runs, never during the answer
    // delay, a pause or after the end, when the answers are already evaluated.
    if (m_stimmenVerbunden)
        geraeteIDAnzeigen(klassensatz, buzzerNo, buttonNo);
}

void MainWindow::geraeteIDAnzeigen(uint klassensatz, uint buzzerNo, uint buttonNo)
{
    m_startscreen->geraeteIDAnzeigen(klassensatz, buzzerNo, buttonNo);
    if (m_template)
        m_template->geraeteIDAnzeigen(klassensatz, buzzerNo, buttonNo);
    m_spiel->antwortErfassen(klassensatz, buzzerNo, buttonNo);
    m_stimmeErhalten = true;
    const GeraetSchluessel schluessel{klassensatz, buzzerNo};
    if (!m_gehoerteStimmen.contains(schluessel)) {
        m_gehoerteStimmen.insert(schluessel);
        klangSpielen(Schluessel::ToeneBuzzerLautlos, Schluessel::SoundFileToeneBuzzer,
                     QStringLiteral("bell.wav"));
    }
}

void MainWindow::ranglisteAktualisieren()
{
    m_rangliste->ranglisteAnzeigen(m_spiel->getPersonen(), m_spiel->getAnzahlFragen(),
                                   m_spiel->getAktuelleFrageNr());
}

void MainWindow::frageDateiOeffnen(const QString &gegeben)
{
    const QString verzeichnis = Einstellungen::text(Schluessel::DefaultPfadFrageFileOeffnen);
    QString pfad = gegeben;
    if (pfad.isEmpty())
        pfad =
            m_dialoge->dateiZumOeffnen(tr("Öffnen Fragen XML-Datei"), verzeichnis, tr("XML Files (*.xml)"));
    if (!pfad.isEmpty()) {
        const FrageDatei::LadeErgebnis ergebnis = m_spiel->ladeFragen(pfad);
        if (!ergebnis.ok()) {
            // Nothing changes: the game goes on with the file it had.
            const bool englisch = Einstellungen::istEnglisch();
            m_dialoge->hinweis({(englisch ? QStringLiteral("The question file %1 cannot be opened.")
                                          : QStringLiteral("Die Fragedatei %1 kann nicht geöffnet werden."))
                                    .arg(QDir::toNativeSeparators(pfad)),
                                ergebnis.beschreibung(englisch),
                                QStringLiteral(":/images/frageneditor_50.png"), true});
            return;
        }
        Einstellungen::setzen(Schluessel::DefaultPfadFrageFileOeffnen, QFileInfo(pfad).absolutePath());
        zuletztHinzufuegen(pfad);
        Einstellungen::setzen(Schluessel::FrageFile, pfad);
        dateiBeschriftungen();
    }
    neuStarten();
}

void MainWindow::on_action_ffnen_triggered()
{
    frageDateiOeffnen();
}

void MainWindow::on_actionSpiel_neu_starten_triggered()
{
    neuStarten();
}

void MainWindow::neuStarten()
{
    if (Einstellungen::text(Schluessel::GewaehltesTemplate).isEmpty())
        Einstellungen::setzen(Schluessel::GewaehltesTemplate, Tandrivelle);
    const QString name = Einstellungen::text(Schluessel::GewaehltesTemplate);
    m_startscreen->templateSetzen(name);
    Einstellungen::setzen(Schluessel::GewaehltesTemplate, name);
    m_gehoerteStimmen.clear();

    if (m_stimmeErhalten && m_resultateNichtExportiert && !m_startScreenAngezeigt) {
        const bool englisch = Einstellungen::istEnglisch();
        const Meldung frage{englisch ? QStringLiteral("Are you sure you want to restart the game?")
                                     : QStringLiteral("Möchten Sie das Spiel wirklich neu starten?"),
                            englisch ? VerlustwarnungEn : Verlustwarnung, QStringLiteral(":/images/info.png"),
                            true};
        if (!m_dialoge->frage(frage))
            return;
    }

    // Nothing of the old game may fire into the new one.
    automatisierungStoppen();
    if (m_antwortVerzoegerung)
        m_antwortVerzoegerung->stop();
    if (Zeitgeber *zeitgeber = m_spiel->getRichtigeAntwortTimer())
        zeitgeber->stop();

    m_stimmeErhalten = false;
    m_resultateNichtExportiert = true;
    m_startscreen->alleGeraeteVerbergen();
    ansichtZeigen(Ansicht::Start);
    m_startscreen->alleGeraeteVerbergen();

    m_spiel->spielZuruecksetzen();
    ranglisteAktualisieren();
    m_spiel->setEndeErreicht(false);

    m_spiel->ladeFragen(Einstellungen::text(Schluessel::FrageFile));
    m_aktuelleFrage = QDomElement();
    dateiBeschriftungen();

    m_stimmenVerbunden = true;
    m_labelAktuelleFrage->clear();
    m_comPort->connectSerial();
}

void MainWindow::templateAusgewaehlt()
{
    // The receiver is found again after any change of ports; reloading the same template would
    // blank the question on the screen in the middle of a game.
    const QString name = Einstellungen::text(Schluessel::GewaehltesTemplate);
    if (!m_template || name != m_templateName) {
        if (auto neu = templateErzeugen(name, *m_brueckeFrage, *m_uhr, *m_zufall)) {
            m_template = std::move(neu);
            m_templateName = name;
        }
    }
    neuStarten();
}

void MainWindow::on_actionN_chste_Frage_triggered()
{
    if (!fragenVorhanden())
        return;
    ansichtZeigen(Ansicht::Frage);
    if (m_spiel->istCountdownAktiv())
        return;
    if (m_antwortVerzoegerung && m_antwortVerzoegerung->isActive()) {
        m_antwortVerzoegerung->stop();
        countDownVerzoegeretStarten();
    } else {
        naechsteFrageZeigen();
    }
}

void MainWindow::frageVerlassen(bool vorwaerts)
{
    if (!fragenVorhanden())
        return;
    ansichtZeigen(Ansicht::Frage);
    if (Zeitgeber *zeitgeber = m_spiel->getCountdownTimer()) {
        zeitgeber->stop();
        m_spiel->setCountdownAktiv(false);
    }
    if (vorwaerts)
        naechsteFrageZeigen();
    else
        vorherigeFrageZeigen();
}

void MainWindow::on_actionFrage_berspringen_triggered()
{
    frageVerlassen(true);
}

void MainWindow::on_actionFrage_zur_ck_triggered()
{
    frageVerlassen(false);
}

void MainWindow::on_actionGo_To_triggered()
{
    if (m_goTo->isVisible())
        m_goTo->close();
    m_goTo->show();
    m_goTo->raise();
    m_goTo->activateWindow();
}

void MainWindow::on_actionRangliste_triggered()
{
    if (!m_spiel->istCountdownAktiv())
        ansichtZeigen(Ansicht::Rangliste);
}

void MainWindow::pauseUmschalten()
{
    // Only a running countdown pauses; otherwise presses would start counting during the answer
    // delay or after the answers were evaluated.
    if (!m_spiel->istCountdownAktiv())
        return;
    m_spiel->fragePausieren();
    m_stimmenVerbunden = !m_spiel->istPausiert();
}

void MainWindow::masterTerminate()
{
    m_spiel->countdownSofortBeenden();
}

void MainWindow::masterPause()
{
    pauseUmschalten();
}

// The master's D goes forward like Page Down and its B back like Page Up, abandoning a running
// countdown as those keys do; otherwise it would count as running in the next question.
void MainWindow::masterPageUp()
{
    frageVerlassen(true);
}

void MainWindow::masterPageDown()
{
    frageVerlassen(false);
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
        if (!m_spiel->istCountdownAktiv()) {
            ranglisteAnsicht()->show();
            frageAnsicht()->hide();
            startAnsicht()->hide();
            m_frageAktiv = false;
            m_startScreenAngezeigt = false;
        }
        return true;
    case Qt::Key_P:
        if (!m_startScreenAngezeigt && m_frageAktiv)
            pauseUmschalten();
        return true;
    case Qt::Key_T:
        if (m_spiel->istCountdownAktiv())
            m_spiel->countdownSofortBeenden();
        return true;
    case Qt::Key_K:
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
        if (widget && widget != this && widget->window() == this &&
            tasteVerarbeiten(static_cast<QKeyEvent *>(ereignis)))
            return true;
    }
    return QMainWindow::eventFilter(ziel, ereignis);
}
