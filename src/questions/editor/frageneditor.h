#pragma once

#include <QDomDocument>
#include <QDomElement>
#include <QMainWindow>
#include <QStringList>
#include <QVector>

#include <array>
#include <memory>

namespace Ui {
class FragenEditor;
}

class Dialoge;
class FensterDialoge;
class QLabel;
class QPushButton;

// The window in which the presenter writes and changes question files, one question at a time.
// Questions are held as the file's own DOM elements, so whatever a file carries beyond the known
// fields survives editing. The form is taken over into the element on every edit; the window title
// shows a "*" while the questions differ from what was last read or written.
class FragenEditor final : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FragenEditor)

public:
    // `dialoge` answers the message boxes and file dialogs; without one the editor shows real
    // ones on top of itself.
    explicit FragenEditor(Dialoge *dialoge = nullptr, QWidget *eltern = nullptr);
    ~FragenEditor() override;

    // Loads the file named by "FrageFile", or locks the form when there is none.
    void editorInitialisieren();

    // For the program's quit: closes without asking the game to restart. Asks whether to save only
    // when there are unsaved changes. False when the presenter wanted to save and the file could
    // not be written: the window then stays open and the program should not quit.
    bool schliessenOhneNachfrage();

    int anzahlDerFragen() const { return static_cast<int>(m_fragen.size()); }
    int aktuelleFrage() const { return m_aktuelleFrage; }
    QString pfad() const { return m_pfad; }
    // The question in slot `index` as it stands in memory (the shown one as last taken over).
    QDomElement frage(int index) const { return m_fragen.value(index); }

signals:
    // The editor was closed (or saved under a new name and closed): the game should restart with
    // the question file `frageDatei`, which is also the stored "FrageFile".
    void spielNeuStarten(const QString &frageDatei);

protected:
    void closeEvent(QCloseEvent *ereignis) override;

private slots:
    void on_actionNeu_triggered();
    void on_action_ffnen_triggered();
    void on_actionSpeichern_triggered();
    void on_pushButton_Fenster_Schliessen_clicked();
    void on_actionSpeichern_unter_triggered();
    void on_pushButton_FragenEditor_PfeilLinks_clicked();
    void on_pushButton_FragenEditor_PfeilRechts_clicked();
    void on_comboBox_Frage_currentIndexChanged(int index);
    void on_pushButton_FragenEditor_PfeilOben_clicked();
    void on_pushButton_FragenEditor_PfeilUnten_clicked();
    void on_checkBox_Loesung_A_clicked();
    void on_checkBox_Loesung_B_clicked();
    void on_checkBox_Loesung_C_clicked();
    void on_checkBox_Loesung_D_clicked();
    void on_pushButton_Plus_Frage_Leer_clicked();
    void on_pushButton_Plus_Frage_Kopie_clicked();
    void on_pushButton_Frage_Loeschen_clicked();
    void on_pushButton_FragenEditor_Bild_Frage_clicked();
    void on_pushButton_FragenEditor_BildA_clicked();
    void on_pushButton_FragenEditor_BildB_clicked();
    void on_pushButton_FragenEditor_BildC_clicked();
    void on_pushButton_FragenEditor_BildC_2_clicked();

private:
    // One picture slot: the question's or one answer's.
    struct Bildplatz
    {
        QString feld; // "PictureQuestionText", "PictureAnswer1" …
        QPushButton *knopf = nullptr;
        QLabel *anzeige = nullptr;
        QString pfad; // the stored (relative) path, empty for none
        bool bildGesetzt = false;
        QString recoveryPfadImageDatei; // the path last removed from this slot
    };

    // Loads a file and refills both selectors; a file that cannot be loaded is reported and
    // changes nothing.
    bool readXMLFile(const QString &datei);
    bool writeXMLFile(const QString &ziel);
    void frageInEditorAnzeigen(int index);
    void frageUebernehmen();
    bool dateiUnveraendert() const;
    void eingabenSperren();
    void eingabenFreigeben();
    void eingabenLeeren();
    QString frageDateiWaehlen();
    QString openFielBildPfad(const Bildplatz &platz);
    void bildKnopf(Bildplatz &platz);
    void bildAnzeigen(Bildplatz &platz, const QString &pfad);
    void loesungGeklickt(int box);
    void einfuegen(bool kopie);
    void verschieben(int richtung);
    void fragenAuswahlNeuAufbauen(const QString &wort);
    void einfuegenKnoepfeAktualisieren();
    void speichern();
    // Asks whether to keep unsaved changes; false when the presenter said yes and the file could
    // not be written.
    bool aenderungenSichern();
    void formGeaendert();
    void titelAktualisieren();
    QVector<QStringList> felderAller() const;
    QString keinBildText() const;
    void fehlerMelden(const QString &deutsch, const QString &englisch, const QString &datei,
                      const QString &grund);

    std::unique_ptr<Ui::FragenEditor> ui;
    std::unique_ptr<FensterDialoge> m_eigeneDialoge;
    Dialoge *m_dialoge = nullptr;
    QLabel *m_statusLabel = nullptr;
    QString m_titel;

    QDomDocument m_dokument;
    QVector<QDomElement> m_fragen;
    // The fields of every question as last read from or written to the file.
    QVector<QStringList> m_dateiStand;
    QString m_pfad;
    int m_aktuelleFrage = 0;
    std::array<Bildplatz, 5> m_bilder;
    bool m_ohneNachfrageSchliessen = false;
    // Set while the form is filled from a question, so filling is not taken for an edit.
    bool m_anzeigen = false;
};
