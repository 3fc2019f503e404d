#include "frageneditor.h"
#include "ui_frageneditor.h"

#include "bildpfad.h"
#include "dialoge.h"
#include "einstellungen.h"
#include "fensterdialoge.h"
#include "fragedatei.h"
#include "schluessel.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIntValidator>
#include <QLabel>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTextDocument>

#include <algorithm>

namespace {

// The fields of a question in the order of a new file.
const QStringList Felder{
    QStringLiteral("QuestionText"),   QStringLiteral("Answer1"),        QStringLiteral("Answer2"),
    QStringLiteral("Answer3"),        QStringLiteral("Answer4"),        QStringLiteral("PictureQuestionText"),
    QStringLiteral("PictureAnswer1"), QStringLiteral("PictureAnswer2"), QStringLiteral("PictureAnswer3"),
    QStringLiteral("PictureAnswer4"), QStringLiteral("AnswerDelay"),    QStringLiteral("Solution"),
    QStringLiteral("Time"),           QStringLiteral("Points")};

const QString Dateibild = QStringLiteral(":/images/frageneditor_50.png");

// The stored text exactly as typed: the plain-text form of QTextDocument would turn no-break
// spaces into blanks, the raw text keeps them and only separates paragraphs by U+2029.
QString textAus(const QTextDocument *dokument)
{
    QString text = dokument->toRawText();
    text.replace(QChar(0x2029), QLatin1Char('\n'));
    return text;
}

QString textAus(const QTextEdit *feld)
{
    return textAus(feld->document());
}

void feldSetzen(QDomElement &frage, const QString &name, const QString &wert)
{
    const QDomElement alt = frage.firstChildElement(name);
    // An unchanged field keeps its element as read, with whatever it carries.
    if (!alt.isNull() && alt.text() == wert)
        return;
    QDomDocument dokument = frage.ownerDocument();
    QDomElement neu = dokument.createElement(name);
    neu.appendChild(dokument.createTextNode(wert));
    if (alt.isNull())
        frage.appendChild(neu);
    else
        frage.replaceChild(neu, alt);
}

// The optional fields are written only when they differ from their default, so a file that never
// used them is saved without them, byte for byte as before. A value that already means the
// default (a "1", a hand-written "x") keeps its element as read.
void rundenSetzen(QDomElement &frage, bool zwei)
{
    if (zwei == (FrageDatei::runden(frage) == 2))
        return;
    if (zwei)
        feldSetzen(frage, FrageDatei::Runden, QStringLiteral("2"));
    else
        frage.removeChild(frage.firstChildElement(FrageDatei::Runden));
}

void notizenSetzen(QDomElement &frage, const QString &text)
{
    if (text == FrageDatei::notizen(frage))
        return;
    if (text.isEmpty())
        frage.removeChild(frage.firstChildElement(FrageDatei::Notizen));
    else
        feldSetzen(frage, FrageDatei::Notizen, text);
}

QStringList felderVon(const QDomElement &frage)
{
    QStringList werte;
    werte.reserve(Felder.size() + 2);
    for (const QString &name : Felder)
        werte.append(FrageDatei::feld(frage, name));
    werte.append(QString::number(FrageDatei::runden(frage)));
    werte.append(FrageDatei::notizen(frage));
    return werte;
}

QString ordnerVon(const QString &datei)
{
    return datei.isEmpty() ? QString() : QFileInfo(datei).absolutePath();
}

} // namespace

FragenEditor::FragenEditor(Dialoge *dialoge, QWidget *eltern)
    : QMainWindow(eltern)
    , ui(std::make_unique<Ui::FragenEditor>())
{
    if (!dialoge)
        m_eigeneDialoge = std::make_unique<FensterDialoge>(this);
    m_dialoge = dialoge ? dialoge : m_eigeneDialoge.get();

    ui->setupUi(this);
    m_titel = windowTitle();
    m_statusLabel = new QLabel(this);

    const std::array<std::pair<QPushButton *, QLabel *>, 5> plaetze{
        {{ui->pushButton_FragenEditor_Bild_Frage, ui->label_2_BildPfadFrage},
         {ui->pushButton_FragenEditor_BildA, ui->label_2_BildPfadA},
         {ui->pushButton_FragenEditor_BildB, ui->label_2_BildPfadB},
         {ui->pushButton_FragenEditor_BildC, ui->label_2_BildPfadC},
         {ui->pushButton_FragenEditor_BildC_2, ui->label_2_BildPfadD}}};
    for (std::size_t i = 0; i < plaetze.size(); ++i) {
        m_bilder[i].feld = Felder.at(5 + static_cast<qsizetype>(i));
        m_bilder[i].knopf = plaetze[i].first;
        m_bilder[i].anzeige = plaetze[i].second;
    }

    for (QTextEdit *feld : {ui->textEdit_Frage, ui->textEdit_Antwort_A, ui->textEdit_Antwort_B,
                            ui->textEdit_Antwort_C, ui->textEdit_Antwort_D})
        connect(feld, &QTextEdit::textChanged, this, &FragenEditor::formGeaendert);
    for (QLineEdit *feld : {ui->lineEdit_Punkte_Countdown_Zeit, ui->lineEdit_Antwortverzoegerung_Zeit})
        connect(feld, &QLineEdit::textEdited, this, &FragenEditor::formGeaendert);
    connect(ui->comboBox_Punkte, &QComboBox::currentIndexChanged, this, &FragenEditor::formGeaendert);
    connect(ui->checkBox_ZweiRunden, &QCheckBox::toggled, this, &FragenEditor::formGeaendert);
    connect(ui->plainTextEdit_Notizen, &QPlainTextEdit::textChanged, this, &FragenEditor::formGeaendert);

    // A quarter of the screen in from the left, half its width, three quarters of its height.
    if (const QScreen *bildschirm = QGuiApplication::primaryScreen()) {
        const int breite = bildschirm->geometry().width();
        const int hoehe = bildschirm->geometry().height();
        setGeometry(breite / 4, hoehe / 18, breite / 2, hoehe - hoehe / 4);
    }
}

FragenEditor::~FragenEditor() = default;

void FragenEditor::editorInitialisieren()
{
    for (QLineEdit *feld : {ui->lineEdit_Punkte_Countdown_Zeit, ui->lineEdit_Antwortverzoegerung_Zeit})
        feld->setValidator(new QIntValidator(0, 999, feld));
    statusBar()->addWidget(m_statusLabel);
    m_statusLabel->setText(Einstellungen::meldung(QStringLiteral("Keine Datei ausgewählt"),
                                                  QStringLiteral("No file selected.")));

    const QString datei = Einstellungen::text(Schluessel::FrageFile);
    if (!datei.isEmpty() && readXMLFile(datei)) {
        m_pfad = datei;
        m_statusLabel->setText(QDir::toNativeSeparators(datei));
        m_aktuelleFrage = 0;
        frageInEditorAnzeigen(m_aktuelleFrage);
    } else {
        eingabenSperren();
        eingabenLeeren();
    }
    titelAktualisieren();
}

bool FragenEditor::schliessenOhneNachfrage()
{
    if (isVisible() && !aenderungenSichern())
        return false;
    m_ohneNachfrageSchliessen = true;
    close();
    return true;
}

void FragenEditor::closeEvent(QCloseEvent *ereignis)
{
    if (m_ohneNachfrageSchliessen) {
        ereignis->accept();
        return;
    }
    if (!aenderungenSichern()) {
        ereignis->ignore();
        return;
    }
    ereignis->accept();
    emit spielNeuStarten(Einstellungen::text(Schluessel::FrageFile));
}

// --- Files -------------------------------------------------------------------------------------

bool FragenEditor::readXMLFile(const QString &datei)
{
    FrageDatei::LadeErgebnis ergebnis = FrageDatei::lesen(datei);
    if (!ergebnis.ok()) {
        fehlerMelden(QStringLiteral("Die Fragedatei %1 kann nicht geöffnet werden."),
                     QStringLiteral("The question file %1 cannot be opened."), datei,
                     ergebnis.beschreibung(Einstellungen::istEnglisch()));
        return false;
    }
    m_dokument = ergebnis.dokument;
    m_fragen = ergebnis.fragen;
    m_dateiStand = felderAller();
    if (ergebnis.weggelassen > 0) {
        const int alle = FrageDatei::MaxFragen + ergebnis.weggelassen;
        m_dialoge->hinweis(
            {Einstellungen::meldung(
                 QStringLiteral("Die Datei %1 enthält %2 Fragen; bearbeitet werden die ersten %3.")
                     .arg(QDir::toNativeSeparators(datei))
                     .arg(alle)
                     .arg(FrageDatei::MaxFragen),
                 QStringLiteral("The file %1 holds %2 questions; the first %3 are edited.")
                     .arg(QDir::toNativeSeparators(datei))
                     .arg(alle)
                     .arg(FrageDatei::MaxFragen)),
             Einstellungen::meldung(QStringLiteral("Speichern Sie die Fragen unter einem neuen Namen, "
                                                   "damit die übrigen in der Datei erhalten bleiben."),
                                    QStringLiteral("Save the questions under a new name to keep the rest "
                                                   "in the file.")),
             Dateibild, true});
    }
    fragenAuswahlNeuAufbauen(Einstellungen::meldung(QStringLiteral("Frage "), QStringLiteral("Question ")));
    {
        const QSignalBlocker sperre(ui->comboBox_Punkte);
        ui->comboBox_Punkte->clear();
        ui->comboBox_Punkte->addItems(
            {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")});
    }
    eingabenFreigeben();
    return true;
}

bool FragenEditor::writeXMLFile(const QString &ziel)
{
    QString grund;
    if (!FrageDatei::schreiben(ziel, m_fragen, &grund)) {
        fehlerMelden(QStringLiteral("Die Fragedatei %1 konnte nicht gespeichert werden."),
                     QStringLiteral("The question file %1 could not be saved."), ziel, grund);
        return false;
    }
    m_dateiStand = felderAller();
    return true;
}

void FragenEditor::fehlerMelden(const QString &deutsch, const QString &englisch, const QString &datei,
                                const QString &grund)
{
    m_dialoge->hinweis({Einstellungen::meldung(deutsch, englisch).arg(QDir::toNativeSeparators(datei)), grund,
                        Dateibild, true});
}

bool FragenEditor::dateiUnveraendert() const
{
    if (m_fragen.isEmpty())
        return true;
    const FrageDatei::LadeErgebnis datei = FrageDatei::lesen(m_pfad);
    // A file that is gone or unreadable cannot hold the edits, so they count as unsaved.
    if (!datei.ok() || datei.fragen.size() != m_fragen.size())
        return false;
    for (qsizetype i = 0; i < m_fragen.size(); ++i) {
        if (felderVon(datei.fragen.at(i)) != felderVon(m_fragen.at(i)))
            return false;
    }
    return true;
}

bool FragenEditor::aenderungenSichern()
{
    if (m_fragen.isEmpty())
        return true;
    frageUebernehmen();
    if (dateiUnveraendert())
        return true;
    if (m_eigeneDialoge)
        m_eigeneDialoge->titel = tr("Frageneditor schliessen");
    const Dialoge::Sichern wahl =
        m_dialoge->sichern({Einstellungen::meldung(QStringLiteral("Möchten Sie die vorgenommenen "
                                                                  "Änderungen speichern?"),
                                                   QStringLiteral("Do you want to save your changes?")),
                            {},
                            {},
                            true});
    if (m_eigeneDialoge)
        m_eigeneDialoge->titel.clear();
    // Cancelled, or a save that failed (and said why): the editor stays open with the edits.
    switch (wahl) {
    case Dialoge::Sichern::Speichern:
        return writeXMLFile(m_pfad);
    case Dialoge::Sichern::Verwerfen:
        return true;
    case Dialoge::Sichern::Abbrechen:
        break;
    }
    return false;
}

void FragenEditor::on_actionNeu_triggered()
{
    const QString datei =
        m_dialoge->dateiZumSpeichern(tr("Speichern unter..."), ordnerVon(m_pfad), tr("XML files (*.xml)"));
    if (datei.isEmpty() || !aenderungenSichern())
        return;
    QString grund;
    if (!FrageDatei::neueDateiSchreiben(datei, &grund)) {
        fehlerMelden(QStringLiteral("Die Fragedatei %1 konnte nicht angelegt werden."),
                     QStringLiteral("The question file %1 could not be created."), datei, grund);
        return;
    }
    if (!readXMLFile(datei))
        return;
    m_aktuelleFrage = 0;
    m_pfad = datei;
    Einstellungen::setzen(Schluessel::FrageFile, datei);
    m_statusLabel->setText(QDir::toNativeSeparators(datei));
    frageInEditorAnzeigen(m_aktuelleFrage);
    einfuegenKnoepfeAktualisieren();
    titelAktualisieren();
}

QString FragenEditor::frageDateiWaehlen()
{
    const QString ordner = ordnerVon(m_pfad);
    return m_dialoge->dateiZumOeffnen(tr("Öffnen Fragen XML-Datei"),
                                      ordner.isEmpty() ? QStringLiteral("/") : ordner,
                                      tr("XML Files (*.xml)"));
}

void FragenEditor::on_action_ffnen_triggered()
{
    const QString datei = frageDateiWaehlen();
    if (datei.isEmpty() || !aenderungenSichern())
        return;
    if (!readXMLFile(datei))
        return;
    m_pfad = datei;
    Einstellungen::setzen(Schluessel::FrageFile, datei);
    m_statusLabel->setText(QDir::toNativeSeparators(datei));
    m_aktuelleFrage = std::min(m_aktuelleFrage, anzahlDerFragen() - 1);
    frageInEditorAnzeigen(m_aktuelleFrage);
    einfuegenKnoepfeAktualisieren();
    titelAktualisieren();
}

void FragenEditor::speichern()
{
    if (m_fragen.isEmpty())
        return;
    frageUebernehmen();
    writeXMLFile(m_pfad);
    titelAktualisieren();
}

void FragenEditor::on_actionSpeichern_triggered()
{
    speichern();
}

void FragenEditor::on_pushButton_Fenster_Schliessen_clicked()
{
    speichern();
}

void FragenEditor::on_actionSpeichern_unter_triggered()
{
    if (m_fragen.isEmpty())
        return;
    const QString datei =
        m_dialoge->dateiZumSpeichern(tr("Speichern unter..."), m_pfad, tr("XML files (*.xml)"));
    if (datei.isEmpty())
        return;
    frageUebernehmen();
    if (!writeXMLFile(datei))
        return;
    m_pfad = datei;
    Einstellungen::setzen(Schluessel::FrageFile, datei);
    m_statusLabel->setText(QDir::toNativeSeparators(datei));
    titelAktualisieren();
    // Nothing is unsaved now, so closing asks nothing and hands the new file to the game.
    close();
}

// --- Form --------------------------------------------------------------------------------------

void FragenEditor::frageInEditorAnzeigen(int index)
{
    if (index < 0 || index >= anzahlDerFragen())
        return;
    m_anzeigen = true;
    const QDomElement frage = m_fragen.at(index);
    for (Bildplatz &platz : m_bilder)
        bildAnzeigen(platz, FrageDatei::feld(frage, platz.feld));

    ui->textEdit_Frage->setPlainText(FrageDatei::feld(frage, QStringLiteral("QuestionText")));
    ui->textEdit_Antwort_A->setPlainText(FrageDatei::feld(frage, QStringLiteral("Answer1")));
    ui->textEdit_Antwort_B->setPlainText(FrageDatei::feld(frage, QStringLiteral("Answer2")));
    ui->textEdit_Antwort_C->setPlainText(FrageDatei::feld(frage, QStringLiteral("Answer3")));
    ui->textEdit_Antwort_D->setPlainText(FrageDatei::feld(frage, QStringLiteral("Answer4")));

    ui->lineEdit_Punkte_Countdown_Zeit->setText(FrageDatei::feld(frage, QStringLiteral("Time")));
    ui->lineEdit_Antwortverzoegerung_Zeit->setText(FrageDatei::feld(frage, QStringLiteral("AnswerDelay")));
    {
        const QSignalBlocker sperre(ui->comboBox_Frage);
        ui->comboBox_Frage->setCurrentIndex(index);
    }
    ui->label_Frage_verschieben->setText(
        Einstellungen::meldung(QStringLiteral("Frage %1/%2 verschieben (auf/ab)"),
                               QStringLiteral("Move question %1/%2 (up/down)"))
            .arg(index + 1)
            .arg(anzahlDerFragen()));
    // A value the selector does not offer leaves it where it was.
    const int punkte = ui->comboBox_Punkte->findText(FrageDatei::feld(frage, QStringLiteral("Points")));
    if (punkte >= 0)
        ui->comboBox_Punkte->setCurrentIndex(punkte);

    const QString loesung = FrageDatei::feld(frage, FrageDatei::Loesung);
    QCheckBox *const boxen[] = {ui->checkBox_Loesung_A, ui->checkBox_Loesung_B, ui->checkBox_Loesung_C,
                                ui->checkBox_Loesung_D};
    for (int i = 0; i < 4; ++i)
        boxen[i]->setChecked(loesung == QStringLiteral("Answer%1").arg(i + 1));
    ui->checkBox_ZweiRunden->setChecked(FrageDatei::runden(frage) == 2);
    ui->plainTextEdit_Notizen->setPlainText(FrageDatei::notizen(frage));
    m_anzeigen = false;
}

void FragenEditor::frageUebernehmen()
{
    if (m_aktuelleFrage < 0 || m_aktuelleFrage >= anzahlDerFragen())
        return;
    QString loesung = FrageDatei::Umfrage;
    const QCheckBox *const boxen[] = {ui->checkBox_Loesung_A, ui->checkBox_Loesung_B, ui->checkBox_Loesung_C,
                                      ui->checkBox_Loesung_D};
    for (int i = 0; i < 4; ++i) {
        if (boxen[i]->isChecked())
            loesung = QStringLiteral("Answer%1").arg(i + 1);
    }
    const QStringList werte{textAus(ui->textEdit_Frage),
                            textAus(ui->textEdit_Antwort_A),
                            textAus(ui->textEdit_Antwort_B),
                            textAus(ui->textEdit_Antwort_C),
                            textAus(ui->textEdit_Antwort_D),
                            m_bilder[0].bildGesetzt ? m_bilder[0].pfad : QString(),
                            m_bilder[1].bildGesetzt ? m_bilder[1].pfad : QString(),
                            m_bilder[2].bildGesetzt ? m_bilder[2].pfad : QString(),
                            m_bilder[3].bildGesetzt ? m_bilder[3].pfad : QString(),
                            m_bilder[4].bildGesetzt ? m_bilder[4].pfad : QString(),
                            ui->lineEdit_Antwortverzoegerung_Zeit->text(),
                            loesung,
                            ui->lineEdit_Punkte_Countdown_Zeit->text(),
                            ui->comboBox_Punkte->currentText()};
    QDomElement &frage = m_fragen[m_aktuelleFrage];
    for (qsizetype i = 0; i < Felder.size(); ++i)
        feldSetzen(frage, Felder.at(i), werte.at(i));
    rundenSetzen(frage, ui->checkBox_ZweiRunden->isChecked());
    notizenSetzen(frage, textAus(ui->plainTextEdit_Notizen->document()).left(FrageDatei::MaxNotizen));
}

void FragenEditor::formGeaendert()
{
    if (m_anzeigen || m_fragen.isEmpty())
        return;
    frageUebernehmen();
    titelAktualisieren();
}

QVector<QStringList> FragenEditor::felderAller() const
{
    QVector<QStringList> alle;
    alle.reserve(m_fragen.size());
    for (const QDomElement &frage : m_fragen)
        alle.append(felderVon(frage));
    return alle;
}

void FragenEditor::titelAktualisieren()
{
    if (m_pfad.isEmpty()) {
        setWindowTitle(m_titel);
        setWindowModified(false);
        return;
    }
    setWindowTitle(m_titel + QStringLiteral(" \u2013 ") + QFileInfo(m_pfad).fileName() +
                   QStringLiteral("[*]"));
    setWindowModified(felderAller() != m_dateiStand);
}

void FragenEditor::eingabenSperren()
{
    ui->centralwidget->setEnabled(false);
}

void FragenEditor::eingabenFreigeben()
{
    ui->centralwidget->setEnabled(true);
    einfuegenKnoepfeAktualisieren();
}

void FragenEditor::eingabenLeeren()
{
    m_anzeigen = true;
    for (QCheckBox *box :
         {ui->checkBox_Loesung_A, ui->checkBox_Loesung_B, ui->checkBox_Loesung_C, ui->checkBox_Loesung_D})
        box->setChecked(false);
    for (QTextEdit *feld : {ui->textEdit_Frage, ui->textEdit_Antwort_A, ui->textEdit_Antwort_B,
                            ui->textEdit_Antwort_C, ui->textEdit_Antwort_D})
        feld->clear();
    ui->lineEdit_Punkte_Countdown_Zeit->clear();
    ui->lineEdit_Antwortverzoegerung_Zeit->clear();
    ui->checkBox_ZweiRunden->setChecked(false);
    ui->plainTextEdit_Notizen->clear();
    {
        const QSignalBlocker sperre(ui->comboBox_Frage);
        ui->comboBox_Frage->clear();
    }
    ui->comboBox_Punkte->clear();
    m_anzeigen = false;
}

void FragenEditor::fragenAuswahlNeuAufbauen(const QString &wort)
{
    const QSignalBlocker sperre(ui->comboBox_Frage);
    ui->comboBox_Frage->clear();
    for (int i = 1; i <= anzahlDerFragen(); ++i)
        ui->comboBox_Frage->addItem(wort + QString::number(i));
}

void FragenEditor::einfuegenKnoepfeAktualisieren()
{
    const bool voll = anzahlDerFragen() >= FrageDatei::MaxFragen;
    const QString grund =
        voll ? Einstellungen::meldung(QStringLiteral("Eine Fragedatei fasst höchstens %1 Fragen."),
                                      QStringLiteral("A question file holds at most %1 questions."))
                   .arg(FrageDatei::MaxFragen)
             : QString();
    for (QPushButton *knopf : {ui->pushButton_Plus_Frage_Leer, ui->pushButton_Plus_Frage_Kopie}) {
        knopf->setEnabled(!voll);
        knopf->setToolTip(grund);
    }
}

// --- Navigation and order ----------------------------------------------------------------------

void FragenEditor::on_pushButton_FragenEditor_PfeilLinks_clicked()
{
    frageUebernehmen();
    if (m_aktuelleFrage > 0)
        frageInEditorAnzeigen(--m_aktuelleFrage);
}

void FragenEditor::on_pushButton_FragenEditor_PfeilRechts_clicked()
{
    frageUebernehmen();
    if (m_aktuelleFrage < anzahlDerFragen() - 1)
        frageInEditorAnzeigen(++m_aktuelleFrage);
}

void FragenEditor::on_comboBox_Frage_currentIndexChanged(int index)
{
    if (index < 0 || index >= anzahlDerFragen())
        return;
    frageUebernehmen();
    m_aktuelleFrage = index;
    frageInEditorAnzeigen(m_aktuelleFrage);
}

void FragenEditor::verschieben(int richtung)
{
    const int i = ui->comboBox_Frage->currentIndex();
    const int ziel = i + richtung;
    if (i < 0 || ziel < 0 || ziel >= anzahlDerFragen())
        return;
    frageUebernehmen();
    // The whole element moves, so whatever else the question carries goes with it.
    std::swap(m_fragen[i], m_fragen[ziel]);
    m_aktuelleFrage = ziel;
    frageInEditorAnzeigen(m_aktuelleFrage);
    titelAktualisieren();
}

void FragenEditor::on_pushButton_FragenEditor_PfeilOben_clicked()
{
    verschieben(-1);
}

void FragenEditor::on_pushButton_FragenEditor_PfeilUnten_clicked()
{
    verschieben(+1);
}

void FragenEditor::einfuegen(bool kopie)
{
    const int i = ui->comboBox_Frage->currentIndex();
    if (i < 0 || i >= anzahlDerFragen() || anzahlDerFragen() >= FrageDatei::MaxFragen)
        return;
    frageUebernehmen();
    QDomElement neu;
    if (kopie) {
        neu = m_fragen.at(i).cloneNode(true).toElement();
    } else {
        neu = m_dokument.createElement(QStringLiteral("Question"));
        const QStringList werte{{},
                                {},
                                {},
                                {},
                                {},
                                {},
                                {},
                                {},
                                {},
                                {},
                                QStringLiteral("0"),
                                FrageDatei::Umfrage,
                                QStringLiteral("15"),
                                QStringLiteral("1")};
        for (qsizetype k = 0; k < Felder.size(); ++k) {
            QDomElement feld = m_dokument.createElement(Felder.at(k));
            feld.appendChild(m_dokument.createTextNode(werte.at(k)));
            neu.appendChild(feld);
        }
    }
    m_fragen.insert(i + 1, neu);
    // The entries read "Frage" in both languages once the list has been rebuilt here.
    fragenAuswahlNeuAufbauen(QStringLiteral("Frage "));
    m_aktuelleFrage = i + 1;
    frageInEditorAnzeigen(m_aktuelleFrage);
    einfuegenKnoepfeAktualisieren();
    titelAktualisieren();
}

void FragenEditor::on_pushButton_Plus_Frage_Leer_clicked()
{
    einfuegen(false);
}

void FragenEditor::on_pushButton_Plus_Frage_Kopie_clicked()
{
    einfuegen(true);
}

void FragenEditor::on_pushButton_Frage_Loeschen_clicked()
{
    const int i = ui->comboBox_Frage->currentIndex();
    if (anzahlDerFragen() < 2 || i < 0 || i >= anzahlDerFragen())
        return;
    m_fragen.removeAt(i);
    fragenAuswahlNeuAufbauen(QStringLiteral("Frage "));
    m_aktuelleFrage = std::min(i, anzahlDerFragen() - 1);
    frageInEditorAnzeigen(m_aktuelleFrage);
    einfuegenKnoepfeAktualisieren();
    titelAktualisieren();
}

// --- Solution ----------------------------------------------------------------------------------

void FragenEditor::loesungGeklickt(int box)
{
    QCheckBox *const boxen[] = {ui->checkBox_Loesung_A, ui->checkBox_Loesung_B, ui->checkBox_Loesung_C,
                                ui->checkBox_Loesung_D};
    // At most one answer is correct; none checked makes a survey question.
    if (boxen[box]->isChecked()) {
        for (int i = 0; i < 4; ++i) {
            if (i != box)
                boxen[i]->setChecked(false);
        }
    }
    formGeaendert();
}

void FragenEditor::on_checkBox_Loesung_A_clicked()
{
    loesungGeklickt(0);
}

void FragenEditor::on_checkBox_Loesung_B_clicked()
{
    loesungGeklickt(1);
}

void FragenEditor::on_checkBox_Loesung_C_clicked()
{
    loesungGeklickt(2);
}

void FragenEditor::on_checkBox_Loesung_D_clicked()
{
    loesungGeklickt(3);
}

// --- Pictures ----------------------------------------------------------------------------------

QString FragenEditor::keinBildText() const
{
    return Einstellungen::meldung(QStringLiteral("Keine Bilddatei ausgewählt."),
                                  QStringLiteral("No image file selected."));
}

void FragenEditor::bildAnzeigen(Bildplatz &platz, const QString &pfad)
{
    platz.pfad = pfad;
    platz.bildGesetzt = !pfad.isEmpty();
    platz.knopf->setIcon(QIcon(platz.bildGesetzt ? QStringLiteral(":/images/cam_minus.png")
                                                 : QStringLiteral(":/images/cam_plus.png")));
    platz.anzeige->setText(platz.bildGesetzt ? pfad : keinBildText());
}

QString FragenEditor::openFielBildPfad(const Bildplatz &platz)
{
    QString start = ordnerVon(m_pfad);
    // The dialog opens where the picture last removed from this slot was, to put it back quickly.
    if (!platz.recoveryPfadImageDatei.isEmpty()) {
        const QString zuletzt =
            QString(platz.recoveryPfadImageDatei).replace(QLatin1Char('\\'), QLatin1Char('/'));
        start = BildPfad::istAbsolut(zuletzt) ? zuletzt : start + QLatin1Char('/') + zuletzt;
    }
    const QString datei = m_dialoge->dateiZumOeffnen(tr("Bilddatei öffnen."), start,
                                                     tr("Image Files (*.jpg *.png *.gif *.jfif *.webp)"));
    return QDir::fromNativeSeparators(datei);
}

void FragenEditor::bildKnopf(Bildplatz &platz)
{
    if (m_fragen.isEmpty())
        return;
    if (platz.bildGesetzt) {
        platz.recoveryPfadImageDatei = platz.pfad;
        bildAnzeigen(platz, QString());
    } else {
        const QString datei = openFielBildPfad(platz);
        if (datei.isEmpty())
            return;
        bildAnzeigen(platz, BildPfad::relativerBildPfad(QDir::fromNativeSeparators(m_pfad), datei));
    }
    formGeaendert();
}

void FragenEditor::on_pushButton_FragenEditor_Bild_Frage_clicked()
{
    bildKnopf(m_bilder[0]);
}

void FragenEditor::on_pushButton_FragenEditor_BildA_clicked()
{
    bildKnopf(m_bilder[1]);
}

void FragenEditor::on_pushButton_FragenEditor_BildB_clicked()
{
    bildKnopf(m_bilder[2]);
}

void FragenEditor::on_pushButton_FragenEditor_BildC_clicked()
{
    bildKnopf(m_bilder[3]);
}

void FragenEditor::on_pushButton_FragenEditor_BildC_2_clicked()
{
    bildKnopf(m_bilder[4]);
}
