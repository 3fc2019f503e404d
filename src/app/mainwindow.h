#pragma once

#include "namensliste.h"
#include "spielfenster.h"
#include "umgebung.h"

#include <QDomElement>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QRectF>

#include <memory>

namespace Ui {
class MainWindow;
}

class Dialoge;
class MeldungsDialoge;
class QScreen;
class HandyAbstimmung;
class Druckjournal;
class FragenEditor;
class OptionWindow;
class hilfe_einstellungen_vornehmen;
class hilfe_frageneditor;
class hilfe_spiel_durchfuehren;
class Hilfe;
class Klang;
class PortSystem;
class QAction;
class QLabel;
class QWebEngineView;
class Referentenfenster;
class SkriptBruecke;
class Spielablauf;
class Uhr;
class WebBruecke;
class Zeitgeber;
class Zufall;
class comPort;
class comTypFabrik;
class goTo;
class rangliste;
class shortcutkeys;
class spiel;
class startscreen;
class templatesPlenaro;
class test;

// The program's one window. It owns the engine, the views and every secondary window; the game
// flow decides, this window shows: keys and menus are handed to the flow, which calls back through
// SpielFenster.
class MainWindow final : public QMainWindow, private SpielFenster
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainWindow)

public:
    explicit MainWindow(const Umgebung &umgebung = {}, QWidget *eltern = nullptr);
    ~MainWindow() override;

    // For the tests that drive a whole game.
    spiel &getSpiel() const { return *m_spiel; }
    Spielablauf &getSpielablauf() const { return *m_ablauf; }
    templatesPlenaro *getTemplate() const { return m_template.get(); }
    startscreen &getStartscreen() const { return *m_startscreen; }
    QWebEngineView *frageAnsicht() const;
    QWebEngineView *startAnsicht() const;
    QWebEngineView *ranglisteAnsicht() const;
    QWebEngineView *schwarzAnsicht() const;
    SkriptBruecke *frageBruecke() const;
    bool stimmenVerbunden() const;
    bool frageAktiv() const;
    bool startScreenAngezeigt() const;
    bool schwarzBild() const { return m_schwarzBild; }
    bool pauseSichtbar() const;
    QString statusDatei() const;
    QString statusAnzahl() const;
    QString statusAktuelleFrage() const;
    QString statusEmpfaenger() const;
    QList<QAction *> zuletztGeoeffnet() const { return m_zuletztAktionen; }
    comPort *getComPort() const { return m_comPort; }
    HandyAbstimmung *handys() const { return m_handys; }
    OptionWindow *optionen() const { return m_optionWindow; }
    Referentenfenster *referentenfenster() const { return m_referent; }
    // The receiver, the phones and the secondary windows are set up once the start screen is
    // drawn (or as soon as something needs them), so that they do not delay its first frame.
    bool istEingerichtet() const { return m_eingerichtet; }

signals:
    // The start screen's first frame after its page has loaded.
    void startscreenGezeichnet();
    void eingerichtet();

protected:
    void keyPressEvent(QKeyEvent *ereignis) override;
    void resizeEvent(QResizeEvent *ereignis) override;
    void closeEvent(QCloseEvent *ereignis) override;
    bool eventFilter(QObject *ziel, QEvent *ereignis) override;

public slots:
    void setStatusLabelCOMPort();
    void showIconEmpfaengerVerbunden_OpenSerialPort();
    void empfaengerGefundenEntsprechendesTemplateWaehlen();
    void setStatusIstEmpfaengerVerbunden();
    void iconEmpfaengerErkanntVerbergen();
    void on_actionPlenar_Hilfe_triggered();
    void on_webViewFrage_loadFinished(bool ok);
    void on_action_ffnen_triggered();
    void on_actionImportieren_triggered();
    void on_actionExportieren_triggered();
    void on_actionSpiel_neu_starten_triggered();
    void goToFrage(int frageNr);
    void templateAusgewaehlt();
    void on_actionVergr_ssern_triggered();
    void on_actionVerkleinern_triggered();
    void on_actionVollbild_triggered();
    void on_actionNormal_triggered();
    void on_actionN_chste_Frage_triggered();
    void on_actionFrage_berspringen_triggered();
    void on_actionFrage_zur_ck_triggered();
    void on_actionRangliste_triggered();
    void on_actionBeenden_triggered();
    void on_actionGo_To_triggered();
    void on_actionNochmal_abstimmen_triggered();
    void on_menuAktion_aboutToShow();
    void on_actionTest_triggered();
    void openRecentFile();
    void on_actionShortcut_Keys_triggered();
    void on_actionOptionen_triggered();
    void on_actionResultate_PDF_triggered();
    void on_actionResultate_CSV_triggered();
    void on_actionResultate_XLSX_triggered();
    void on_actionFrageneditor_triggered();
    void on_actionSpiel_durchf_hren_2_triggered();
    void on_actionFrageneditor_2_triggered();
    void on_actionEinstellungen_vornehmen_triggered();
    // A port chosen by hand in the options dialog.
    void portVonHandGewaehlt();

    // Opens a question file: `pfad`, or the one the presenter picks when empty.
    void frageDateiOeffnen(const QString &pfad = {});
    // A press from the receiver or the keys; it reaches the game only while presses are routed.
    void druckEmpfangen(uint klassensatz, uint buzzerNo, uint buttonNo);

private:
    // Lets the pages behind the start screen load and sets up the rest (see istEingerichtet).
    void vorziehen();
    void einrichten();
    // Readies the question page behind the start screen for its first question (see the .cpp).
    void frageVorwaermen();
    // Voting with phones: starts, moves or stops the server as the options say.
    void handysEinrichten();
    // The join box on the start screen with the address, the code and its QR code.
    void handyBeitrittAnzeigen();
    void handyNummernReservieren();

    // SpielFenster
    void ansichtZeigen(Ansicht ansicht) override;
    void frageNrAnzeigen(const QString &text) override;
    void dateiAnzeigen(const QString &datei, const QString &anzahl) override;
    void statusMeldung(const QString &text) override;
    void zuletztGeoeffnetAktualisieren() override;
    bool templateErzeugen(const QString &name) override;
    void frageAnzeigen(const QDomElement &frage, int frageNr) override;
    void antwortenAnzeigen(const QDomElement &frage) override;
    void countdownAnzeigen(int counter, int intervall) override;
    void countdownAbgelaufenAnzeigen() override;
    void richtigeAntwortAnzeigen(const QList<Person> &richtig, const QList<Person> &falsch,
                                 const QString &loesung, const QList<double> &prozente,
                                 const QList<double> &prozenteErsteRunde) override;
    void pauseAnzeigen(bool pausiert) override;
    void druckAnzeigen(uint klassensatz, uint buzzerNo, uint buttonNo) override;
    void startscreenZuruecksetzen(const QString &templateName) override;
    void ranglisteAnzeigen(const QList<Person> &personen, int anzahlFragen, int aktuelleFrageNr) override;
    void goToSchliessen() override;
    void empfaengerOeffnen() override;

    bool tasteVerarbeiten(const QKeyEvent *ereignis);
    void mauszeigerPruefen();
    void mauszeigerVerstecken(bool verstecken);
    void vollbildVerlassen();
    void schwarzUmschalten();
    void pauseHinweisPlatzieren();
    void pauseFeldErfragen();
    // The names behind the handset numbers, from the file the settings name.
    void namenLaden();
    void zoomAendern(double schritt);
    // With two screens the page goes full screen on the projector and the presenter's view to the
    // other screen; with one, the page comes back into its window there. The game is not touched.
    void bildschirmeAufteilen();
    // Where dialogs and the export's progress open: the presenter's view while it is shown.
    QWidget *dialogFenster();
    // Puts the options or the editor, before they are shown, on the presenter's view's screen.
    void beimLehrerOeffnen(QWidget *fenster);

    std::unique_ptr<Ui::MainWindow> ui;

    // The world outside, real or from a test.
    std::unique_ptr<MeldungsDialoge> m_eigeneDialoge;
    std::unique_ptr<Klang> m_eigenerKlang;
    Uhr *m_uhr = nullptr;
    Dialoge *m_dialoge = nullptr;
    Klang *m_klang = nullptr;
    Zufall *m_zufall = nullptr;
    PortSystem *m_ports = nullptr;

    test *m_test = nullptr;
    OptionWindow *m_optionWindow = nullptr;
    hilfe_spiel_durchfuehren *m_tutorialSpiel = nullptr;
    hilfe_frageneditor *m_tutorialEditor = nullptr;
    hilfe_einstellungen_vornehmen *m_tutorialEinstellungen = nullptr;
    QPointer<FragenEditor> m_frageneditor;
    // The test's dialogs, handed to the editor; null in the program, where it shows its own.
    Dialoge *m_testDialoge = nullptr;
    goTo *m_goTo = nullptr;
    Hilfe *m_hilfe = nullptr;
    shortcutkeys *m_shortcutkeys = nullptr;
    startscreen *m_startscreen = nullptr;
    rangliste *m_rangliste = nullptr;
    spiel *m_spiel = nullptr;
    Spielablauf *m_ablauf = nullptr;
    std::unique_ptr<templatesPlenaro> m_template;
    std::unique_ptr<comTypFabrik> m_fabrik;
    comPort *m_comPort = nullptr;
    HandyAbstimmung *m_handys = nullptr;
    quint16 m_handyPort = 0;
    bool m_einrichtungBegonnen = false;
    // The question view stays shown beneath the start screen once readied there.
    bool m_frageDarunter = false;
    bool m_geschlossen = false;
    bool m_eingerichtet = false;
    Druckjournal *m_journal = nullptr;
    Namensliste m_namen;

    QString m_injektionsSkript;
    WebBruecke *m_brueckeFrage = nullptr;
    WebBruecke *m_brueckeStart = nullptr;
    WebBruecke *m_brueckeRangliste = nullptr;
    WebBruecke *m_brueckeSchwarz = nullptr;

    Zeitgeber *m_empfaengerStatus = nullptr;
    // Vollbild hides a resting mouse pointer.
    static constexpr int MausTakt = 250;
    static constexpr int MausVersteckenNach = 2000;
    Zeitgeber *m_mausUhr = nullptr;
    QPoint m_mausPosition;
    int m_mausRuhig = 0;
    bool m_mausVersteckt = false;

    QAction *m_zuletztTitel = nullptr;
    QList<QAction *> m_zuletztAktionen;

    QLabel *m_labelDatei = nullptr;
    QLabel *m_labelAnzahl = nullptr;
    QLabel *m_labelPort = nullptr;
    QLabel *m_labelEmpfaenger = nullptr;
    QLabel *m_labelAktuelleFrage = nullptr;
    // Over the question view while its countdown is paused.
    QLabel *m_pauseHinweis = nullptr;
    // The area of the question view the pause sign may cover, as shares of the view, as the page
    // last reported it; empty until it has.
    QRectF m_pauseFeld;
    bool m_pauseUnten = false;

    bool m_schwarzBild = false;

    Referentenfenster *m_referent = nullptr;
    QAction *m_referentAktion = nullptr;
    bool m_aufProjektor = false;
    // The screen the page fills while m_aufProjektor; other screens coming and going leave the
    // teacher's arrangement (a presenter's view closed on purpose) alone.
    QPointer<QScreen> m_projektor;
};
