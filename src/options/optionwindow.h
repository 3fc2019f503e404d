#pragma once

#include <QDialog>
#include <QStringList>

class Dialoge;
class Klang;
class PortSystem;

namespace Ui {
class OptionWindow;
}

// The options dialog. Switches and lists write their setting the moment they change; the number
// fields (the phones' port among them) are written when the dialog closes, however it is closed.
class OptionWindow final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OptionWindow)

public:
    // Boxes and the file dialog go through `dialoge` (not owned); without it the real ones open.
    OptionWindow(PortSystem &ports, Klang &klang, QWidget *eltern = nullptr, Dialoge *dialoge = nullptr);
    ~OptionWindow() override;

    // Appends a template name to the design list; a name already there is not added twice.
    void templateRegistrieren(const QString &name);
    QStringList registrierteTemplates() const { return m_templates; }

    // Fills every field from the settings; called each time the dialog is opened.
    void felderAktualisieren();
    // Fills the port list with the ports now present and selects the stored "SerialPort".
    void portListeAktualisieren();

    // The program is quitting: an open dialog stores its number fields and closes, exactly as if
    // "Schliessen" had been pressed. A closed dialog has nothing unsaved.
    void beimBeenden();

    // The stored number of phones one network address may join with, or the standard where none
    // valid is stored.
    static int nummernJeAdresse();

    // The stored value of a sound list entry that stands for the built-in sound (as earlier versions
    // stored it; the list shows it in the interface language).
    static const QString BuzzerStandard;    // "bell.wav (default)"
    static const QString CountdownStandard; // "ring.wav (default)"
    // The resource a sound list entry's stored value plays.
    static QString klangRessource(const QString &eintrag);

signals:
    // The presenter picked a port by hand; "SerialPort" and "EmpfaengerVerbunden" are written.
    void comPortIndexChanged();
    // The presenter picked another template; "GewaehltesTemplate" is written.
    void signalTemplateGewaehlt();
    // Any setting was written by this dialog (the key names which), so readers that keep a copy
    // of their settings can read them again.
    void einstellungGeaendert(const QString &schluessel);

public slots:
    // One accepted press, shown in the protocol tab.
    void optionWindowProtokollAktualisieren(uint klassensatz, uint buzzerNo, uint buttonNo);
    // How many presses the receiver link had to drop so far; shown below the protocol.
    void verworfeneDrueckeAnzeigen(quint64 anzahl);

    void done(int ergebnis) override;

private slots:
    void on_comboBoxSerialPorts_currentIndexChanged(int index);
    void on_pushButtonSchliessen_clicked();
    void on_checkBox_Auswertung_Quiz_Prozentangabe_Anzeigen_clicked();
    void on_checkBox_Auswertung_Umfrage_Prozentangabe_Anzeigen_clicked();
    void on_checkBox_Auswertung_Loesung_Loesung_Anzeigen_clicked();
    void on_checkBox_Steuerung_Master_Aktivieren_clicked();
    void on_checkBox_Klassensatz_Konferenzmodus_clicked();
    void on_checkBox_Toene_Buzzer_Lautlos_clicked();
    void on_checkBox_Toene_Countdown_Lautlos_clicked();
    void on_checkBox_Toene_Automatisierung_Lautlos_clicked();
    void on_comboBox_Toene_Buzzer_currentIndexChanged(int index);
    void on_comboBox_Toene_Countdown_currentIndexChanged(int index);
    void on_comboBox_Toene_Automatisierung_currentIndexChanged(int index);
    void on_checkBox_Steuerung_Automatisierung_Aktivieren_clicked();
    void on_comboBox_Template_currentIndexChanged(int index);
    void on_checkBox_Template_Auto_Erkennung_clicked();
    void on_pushButtonToeneBuzzer_clicked();
    void on_pushButtonToeneCountdown_clicked();
    void on_pushButtonToeneAutomatisierung_clicked();
    void on_checkBox_FrageNummerAnzeigen_clicked();
    void on_checkBoxEmpfaengerAutomatischFinden_clicked();
    void on_checkBox_Fragetext_Fett_Anzeigen_clicked();
    void on_comboBox_Sprache_currentIndexChanged(int index);
    void on_checkBox_Steuerung_FrageBeenden_clicked();
    void on_pushButton_Steuerung_Namensliste_Waehlen_clicked();
    void on_pushButton_Steuerung_Namensliste_Entfernen_clicked();
    void on_checkBox_Handys_Abstimmung_clicked();
    void on_comboBox_Handys_Adresse_currentIndexChanged(int index);
    void on_comboBox_Projektor_currentIndexChanged(int index);

protected:
    void showEvent(QShowEvent *ereignis) override;

private:
    // Grows the dialog until every tab shows its fields whole (wrapped explanations need height
    // for their width, which a dialog's minimum size does not ask for), within the screen.
    void grossGenugFuerAlleTabs();
    void schreiben(const QString &schluessel, const QString &wert);
    void schalterSchreiben(const QString &schluessel, bool an);
    void zahlenfelderSpeichern();
    void klanglistenFuellen();
    void tandrivelleSchalterZeigen(const QString &templateName);
    // The stored port of the phones' page, or the standard one where none valid is stored.
    static int handyPort();
    void handyAdressenFuellen();
    // The screens as Qt lists them now, after "Automatisch"; a chosen screen that is not plugged in
    // stays the choice, for the next time it is.
    void projektorListeFuellen();

    Ui::OptionWindow *ui;
    PortSystem &m_ports;
    Klang &m_klang;
    Dialoge *m_dialoge = nullptr;
    QStringList m_templates;
    bool m_portListeWirdAktualisiert = false;
};
