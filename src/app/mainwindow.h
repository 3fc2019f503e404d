#pragma once

#include "geraetschluessel.h"
#include "umgebung.h"

#include <QDomElement>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QSet>

#include <memory>

namespace Ui {
class MainWindow;
}

class Dialoge;
class Hilfe;
class Klang;
class PortSystem;
class QAction;
class QLabel;
class QWebEngineView;
class SkriptBruecke;
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

// The program's one window. It owns the engine, the views and every secondary window, and turns
// the engine's signals, the keyboard and the menus into calls on the active template, the start
// screen and the ranking list.
class MainWindow final : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainWindow)

public:
    explicit MainWindow(const Umgebung &umgebung = {}, QWidget *eltern = nullptr);
    ~MainWindow() override;

    // For the tests that drive a whole game.
    spiel &getSpiel() const { return *m_spiel; }
    templatesPlenaro *getTemplate() const { return m_template.get(); }
    startscreen &getStartscreen() const { return *m_startscreen; }
    QWebEngineView *frageAnsicht() const;
    QWebEngineView *startAnsicht() const;
    QWebEngineView *ranglisteAnsicht() const;
    QWebEngineView *schwarzAnsicht() const;
    SkriptBruecke *frageBruecke() const;
    bool stimmenVerbunden() const { return m_stimmenVerbunden; }
    bool frageAktiv() const { return m_frageAktiv; }
    bool startScreenAngezeigt() const { return m_startScreenAngezeigt; }
    bool schwarzBild() const { return m_schwarzBild; }
    QString statusDatei() const;
    QString statusAnzahl() const;
    QString statusAktuelleFrage() const;
    QString statusEmpfaenger() const;
    QList<QAction *> zuletztGeoeffnet() const { return m_zuletztAktionen; }
    comPort *getComPort() const { return m_comPort; }

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
    void geraeteIDAnzeigen(uint klassensatz, uint buzzerNo, uint buttonNo);
    void on_actionSpiel_neu_starten_triggered();
    void updateCountdown(int qounterAktuelleFrage, int zeitIntervallAktuelleFrage);
    void countdownAbgelaufen();
    void richtigeAntwortAnzeigen();
    void goToFrage(int frageNr);
    void ranglisteAktualisieren();
    void masterTerminate();
    void masterPageDown();
    void masterPause();
    void masterPageUp();
    void automatisierungOn();
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
    void countDownVerzoegeretStarten();
    void on_actionTest_triggered();
    void openRecentFile();
    void on_actionShortcut_Keys_triggered();

    // Opens a question file: `pfad`, or the one the presenter picks when empty.
    void frageDateiOeffnen(const QString &pfad = {});
    // A press from the receiver; it reaches the game only while presses are routed.
    void druckEmpfangen(uint klassensatz, uint buzzerNo, uint buttonNo);

private:
    enum class Ansicht { Frage, Start, Rangliste };

    void ansichtZeigen(Ansicht ansicht);
    bool fragenVorhanden();
    void naechsteFrageZeigen();
    void vorherigeFrageZeigen();
    void frageAufsetzen(bool zeigenUndStarten, const QString &beschriftung);
    void frageVerlassen(bool vorwaerts);
    void automatisierungStoppen();
    void neuStarten();
    void dateiBeschriftungen();
    void zuletztHinzufuegen(const QString &pfad);
    void zuletztAktualisieren();
    void klangSpielen(const QString &lautlos, const QString &datei, const QString &vorgabe);
    void pauseUmschalten();
    bool tasteVerarbeiten(const QKeyEvent *ereignis);
    void zoomAendern(double schritt);
    QString frageNrBeschriftung(bool mitAnzahl) const;

    std::unique_ptr<Ui::MainWindow> ui;

    // The world outside, real or from a test.
    std::unique_ptr<Dialoge> m_eigeneDialoge;
    std::unique_ptr<Klang> m_eigenerKlang;
    Uhr *m_uhr = nullptr;
    Dialoge *m_dialoge = nullptr;
    Klang *m_klang = nullptr;
    Zufall *m_zufall = nullptr;
    PortSystem *m_ports = nullptr;

    test *m_test = nullptr;
    goTo *m_goTo = nullptr;
    Hilfe *m_hilfe = nullptr;
    shortcutkeys *m_shortcutkeys = nullptr;
    startscreen *m_startscreen = nullptr;
    rangliste *m_rangliste = nullptr;
    spiel *m_spiel = nullptr;
    std::unique_ptr<templatesPlenaro> m_template;
    QString m_templateName;
    std::unique_ptr<comTypFabrik> m_fabrik;
    comPort *m_comPort = nullptr;

    QString m_injektionsSkript;
    WebBruecke *m_brueckeFrage = nullptr;
    WebBruecke *m_brueckeStart = nullptr;
    WebBruecke *m_brueckeRangliste = nullptr;
    WebBruecke *m_brueckeSchwarz = nullptr;

    QDomElement m_aktuelleFrage;
    QPointer<Zeitgeber> m_antwortVerzoegerung;
    QPointer<Zeitgeber> m_automatisierung;
    Zeitgeber *m_empfaengerStatus = nullptr;
    // Handsets heard in the current question, so the press sound plays once per handset.
    QSet<GeraetSchluessel> m_gehoerteStimmen;

    QAction *m_zuletztTitel = nullptr;
    QList<QAction *> m_zuletztAktionen;

    QLabel *m_labelDatei = nullptr;
    QLabel *m_labelAnzahl = nullptr;
    QLabel *m_labelPort = nullptr;
    QLabel *m_labelEmpfaenger = nullptr;
    QLabel *m_labelAktuelleFrage = nullptr;

    bool m_stimmenVerbunden = true;
    bool m_frageAktiv = false;
    bool m_startScreenAngezeigt = true;
    bool m_resultateNichtExportiert = true;
    bool m_stimmeErhalten = false;
    bool m_schwarzBild = false;
};
