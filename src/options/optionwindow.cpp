#include "optionwindow.h"
#include "ui_optionwindow.h"

#include "dialoge.h"
#include "einstellungen.h"
#include "klang.h"
#include "namensliste.h"
#include "netzadressen.h"
#include "schluessel.h"
#include "seriellerport.h"

#include <QCloseEvent>
#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIntValidator>
#include <QMessageBox>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabWidget>

namespace {

const QString Wahr = QStringLiteral("true");
const QString Falsch = QStringLiteral("false");
const QString Klangordner = QStringLiteral(":/sound/sound");
const QString Deutsch = QStringLiteral("Deutsch");
const QString Englisch = QStringLiteral("English");
const QString BeispielDE = QStringLiteral("/DE/BspFragen.xml");
const QString BeispielEN = QStringLiteral("/EN/BspFragen.xml");
const QString Tandrivelle = QStringLiteral("Tandrivelle");

// Class sets are 16-bit numbers on the wire, handset numbers one byte.
constexpr int GroessterKlassensatz = 65535;
constexpr int GroessterMaster = 255;
constexpr int GroessteAutomatisierungsZeit = 10000;

// The toolkit's validator lets a number above the top through as "intermediate" while it has no
// more digits than the top; here such a number cannot be typed at all.
class ZahlValidator final : public QIntValidator
{
public:
    ZahlValidator(int oben, QObject *eltern)
        : QIntValidator(0, oben, eltern)
    {
    }

    State validate(QString &eingabe, int &position) const override
    {
        const State zustand = QIntValidator::validate(eingabe, position);
        bool zahl = false;
        const qlonglong wert = eingabe.toLongLong(&zahl);
        if (zustand == Intermediate && zahl && wert > top())
            return Invalid;
        return zustand;
    }
};

// "0258" would never match class set 258 (the link compares texts), so numbers are stored plain.
QString zahlText(const QString &eingabe)
{
    bool zahl = false;
    const int wert = eingabe.trimmed().toInt(&zahl);
    return zahl ? QString::number(wert) : QString();
}

void zeigeSchalter(QCheckBox *box, const QString &schluessel)
{
    box->setChecked(Einstellungen::ist(schluessel));
}

// Ticks on "true", clears on "false" and leaves the box alone on anything else.
void zeigeDreiwertig(QCheckBox *box, const QString &schluessel)
{
    const QString wert = Einstellungen::text(schluessel);
    if (wert == Wahr)
        box->setChecked(true);
    else if (wert == Falsch)
        box->setChecked(false);
}

} // namespace

const QString OptionWindow::BuzzerStandard = QStringLiteral("bell.wav (default)");
const QString OptionWindow::CountdownStandard = QStringLiteral("ring.wav (default)");

QString OptionWindow::klangRessource(const QString &eintrag)
{
    if (eintrag == BuzzerStandard)
        return Klangordner + QStringLiteral("/bell.wav");
    if (eintrag == CountdownStandard)
        return Klangordner + QStringLiteral("/ring.wav");
    return Klangordner + QLatin1Char('/') + eintrag;
}

OptionWindow::OptionWindow(PortSystem &ports, Klang &klang, QWidget *eltern, Dialoge *dialoge)
    : QDialog(eltern)
    , ui(new Ui::OptionWindow)
    , m_ports(ports)
    , m_klang(klang)
    , m_dialoge(dialoge)
{
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/images/corvanta.ico")));
    ui->tabWidgetDerOptionen->setCurrentIndex(0);

    const int w = Einstellungen::zahl(Schluessel::DesktopWidth);
    const int h = Einstellungen::zahl(Schluessel::DesktopHeight);
    if (w > 0 && h > 0)
        setGeometry(w / 3 - w / 20, h / 18, w / 3 + w / 40, h / 3 + h / 10);

    const QString grau = QStringLiteral("background-color : #E5E4E2");
    for (QLineEdit *feld : {ui->lineEdit_Protokoll_GeraeteTaste, ui->lineEdit_Protokoll_GeraeteNummer,
                            ui->lineEdit_Protokoll_KlassensatzNummer})
        feld->setStyleSheet(grau);
    ui->label_Protokoll_Verworfen->hide();

    ui->lineEdit_Steuerung_Device_Nr->setValidator(new ZahlValidator(GroessterMaster, this));
    auto *klassensatz = new ZahlValidator(GroessterKlassensatz, this);
    for (QLineEdit *feld :
         {ui->lineEdit_Steuerung_Klassensatz_Nr, ui->lineEdit_Klassensatz_ID1, ui->lineEdit_Klassensatz_ID2,
          ui->lineEdit_Klassensatz_ID3, ui->lineEdit_Klassensatz_ID4})
        feld->setValidator(klassensatz);
    ui->lineEdit_Steuerung_Automatisierung_Zeit->setValidator(
        new ZahlValidator(GroessteAutomatisierungsZeit, this));

    // Filled anew at every opening (see handyAdressenFuellen).
    ui->comboBox_Handys_Adresse->setSizeAdjustPolicy(QComboBox::AdjustToContents);

    tandrivelleSchalterZeigen(Einstellungen::text(Schluessel::GewaehltesTemplate));
}

OptionWindow::~OptionWindow()
{
    delete ui;
}

void OptionWindow::templateRegistrieren(const QString &name)
{
    if (m_templates.contains(name)) {
        qDebug() << "Template bereits vorhanden: " << name;
        return;
    }
    m_templates.append(name);
}

void OptionWindow::felderAktualisieren()
{
    portListeAktualisieren();

    klanglistenFuellen();
    zeigeSchalter(ui->checkBox_Toene_Buzzer_Lautlos, Schluessel::ToeneBuzzerLautlos);
    zeigeSchalter(ui->checkBox_Toene_Countdown_Lautlos, Schluessel::ToeneCountdownLautlos);
    zeigeSchalter(ui->checkBox_Toene_Automatisierung_Lautlos, Schluessel::ToeneAutomatisierungLautlos);

    zeigeSchalter(ui->checkBox_Auswertung_Quiz_Prozentangabe_Anzeigen,
                  Schluessel::QuizProzentAntwortenAnzeigen);
    zeigeSchalter(ui->checkBox_Auswertung_Umfrage_Prozentangabe_Anzeigen,
                  Schluessel::UmfrageProzentAntwortenAnzeigen);
    zeigeSchalter(ui->checkBox_Auswertung_Loesung_Loesung_Anzeigen, Schluessel::LoesungAnzeigen);

    zeigeSchalter(ui->checkBox_Steuerung_Master_Aktivieren, Schluessel::SteuerungUeberMaster);
    ui->lineEdit_Steuerung_Device_Nr->setText(Einstellungen::text(Schluessel::MasterBuzzer));
    ui->lineEdit_Steuerung_Klassensatz_Nr->setText(Einstellungen::text(Schluessel::MasterKlassensatz));
    zeigeSchalter(ui->checkBox_Steuerung_Automatisierung_Aktivieren, Schluessel::AutomatisierungAktiviert);
    ui->lineEdit_Steuerung_Automatisierung_Zeit->setText(
        Einstellungen::text(Schluessel::AutomatisierungZeit));
    zeigeSchalter(ui->checkBox_Steuerung_FrageBeenden, Schluessel::FrageBeendenWennAlleGeantwortet);
    ui->lineEdit_Steuerung_Namensliste->setText(
        QDir::toNativeSeparators(Einstellungen::text(Schluessel::NamenslisteDatei)));

    ui->lineEdit_Klassensatz_ID1->setText(Einstellungen::text(Schluessel::aktiverKlassensatz(1)));
    ui->lineEdit_Klassensatz_ID2->setText(Einstellungen::text(Schluessel::aktiverKlassensatz(2)));
    ui->lineEdit_Klassensatz_ID3->setText(Einstellungen::text(Schluessel::aktiverKlassensatz(3)));
    ui->lineEdit_Klassensatz_ID4->setText(Einstellungen::text(Schluessel::aktiverKlassensatz(4)));
    zeigeSchalter(ui->checkBox_Klassensatz_Konferenzmodus, Schluessel::Konferenzmodus);

    const QString gewaehlt = Einstellungen::text(Schluessel::GewaehltesTemplate);
    {
        const QSignalBlocker sperre(ui->comboBox_Template);
        ui->comboBox_Template->clear();
        ui->comboBox_Template->addItems(m_templates);
        if (!gewaehlt.isEmpty())
            ui->comboBox_Template->setCurrentIndex(ui->comboBox_Template->findText(gewaehlt));
    }
    zeigeDreiwertig(ui->checkBox_Template_Auto_Erkennung, Schluessel::TemplateAutomatischErkennen);
    zeigeDreiwertig(ui->checkBox_FrageNummerAnzeigen, Schluessel::FrageNummerInTemplateAnzeigen);
    zeigeSchalter(ui->checkBox_Fragetext_Fett_Anzeigen, Schluessel::FragetextFett);
    {
        const QSignalBlocker sperre(ui->comboBox_Sprache);
        ui->comboBox_Sprache->clear();
        ui->comboBox_Sprache->addItems({Deutsch, Englisch});
        ui->comboBox_Sprache->setCurrentIndex(Einstellungen::istEnglisch() ? 1 : 0);
    }

    zeigeSchalter(ui->checkBoxEmpfaengerAutomatischFinden, Schluessel::EmpfaengerAutomatischFinden);
    tandrivelleSchalterZeigen(gewaehlt);

    zeigeSchalter(ui->checkBox_Handys_Abstimmung, Schluessel::HandyAbstimmung);
    ui->spinBox_Handys_Port->setValue(handyPort());
    ui->spinBox_Handys_NummernJeAdresse->setValue(nummernJeAdresse());
    handyAdressenFuellen();
    projektorListeFuellen();
}

void OptionWindow::showEvent(QShowEvent *ereignis)
{
    QDialog::showEvent(ereignis);
    grossGenugFuerAlleTabs();
}

void OptionWindow::grossGenugFuerAlleTabs()
{
    if (layout())
        layout()->activate();
    QTabWidget *tabs = ui->tabWidgetDerOptionen;
    const QWidget *seite = tabs->currentWidget();
    int breite = seite->width();
    for (int i = 0; i < tabs->count(); ++i) {
        if (const QLayout *l = tabs->widget(i)->layout())
            breite = std::max(breite, l->totalMinimumSize().width());
    }
    int hoehe = seite->height();
    for (int i = 0; i < tabs->count(); ++i) {
        if (const QLayout *l = tabs->widget(i)->layout())
            hoehe = std::max(hoehe, l->hasHeightForWidth() ? l->totalHeightForWidth(breite)
                                                           : l->totalMinimumSize().height());
    }
    QSize ziel = size() + QSize(breite, hoehe) - seite->size();
    if (const QScreen *schirm = screen())
        ziel = ziel.boundedTo(schirm->availableGeometry().size());
    setMinimumSize(ziel);
    if (ziel != size())
        resize(ziel.expandedTo(size()));
}

int OptionWindow::handyPort()
{
    bool zahl = false;
    const int port = Einstellungen::text(Schluessel::HandyPort).toInt(&zahl);
    return zahl && port >= 1024 && port <= 65535 ? port : Schluessel::HandyPortStandard;
}

int OptionWindow::nummernJeAdresse()
{
    bool zahl = false;
    const int anzahl = Einstellungen::text(Schluessel::HandyNummernJeAdresse).toInt(&zahl);
    return zahl && anzahl >= 1 && anzahl <= Schluessel::HandyNummernJeAdresseHoechstens
               ? anzahl
               : Schluessel::HandyNummernJeAdresseStandard;
}

void OptionWindow::handyAdressenFuellen()
{
    const QSignalBlocker sperre(ui->comboBox_Handys_Adresse);
    ui->comboBox_Handys_Adresse->clear();
    ui->comboBox_Handys_Adresse->addItem(tr("Automatisch"), QString());
    const QStringList adressen = lokaleAdressen();
    for (const QString &adresse : adressen)
        ui->comboBox_Handys_Adresse->addItem(adresse, adresse);
    // A choice whose network is down right now (the laptop away from the classroom) stays the
    // choice; it is not silently replaced by whatever is up.
    const QString gewaehlt = Einstellungen::text(Schluessel::HandyAdresse);
    if (!gewaehlt.isEmpty() && !adressen.contains(gewaehlt))
        ui->comboBox_Handys_Adresse->addItem(gewaehlt, gewaehlt);
    ui->comboBox_Handys_Adresse->setCurrentIndex(
        std::max(0, ui->comboBox_Handys_Adresse->findData(gewaehlt)));
    // The dialog grows to every tab's smallest size: that of the list is its longest entry now, not
    // the one of its first opening.
    ui->comboBox_Handys_Adresse->setMinimumWidth(ui->comboBox_Handys_Adresse->sizeHint().width());
}

void OptionWindow::projektorListeFuellen()
{
    const QSignalBlocker sperre(ui->comboBox_Projektor);
    ui->comboBox_Projektor->clear();
    ui->comboBox_Projektor->addItem(tr("Automatisch"), QString());
    for (const QScreen *schirm : QGuiApplication::screens()) {
        const QSize groesse = schirm->size();
        ui->comboBox_Projektor->addItem(
            QStringLiteral("%1 (%2×%3)").arg(schirm->name()).arg(groesse.width()).arg(groesse.height()),
            schirm->name());
    }
    const QString gewaehlt = Einstellungen::text(Schluessel::ProjektorBildschirm);
    if (!gewaehlt.isEmpty() && ui->comboBox_Projektor->findData(gewaehlt) < 0)
        ui->comboBox_Projektor->addItem(gewaehlt, gewaehlt);
    ui->comboBox_Projektor->setCurrentIndex(std::max(0, ui->comboBox_Projektor->findData(gewaehlt)));
}

void OptionWindow::portListeAktualisieren()
{
    m_portListeWirdAktualisiert = true;
    ui->comboBoxSerialPorts->clear();
    ui->comboBoxSerialPorts->addItems(m_ports.portNamen());
    ui->comboBoxSerialPorts->setCurrentIndex(
        ui->comboBoxSerialPorts->findText(Einstellungen::text(Schluessel::SerialPort)));
    m_portListeWirdAktualisiert = false;
}

void OptionWindow::beimBeenden()
{
    if (isVisible())
        close();
}

void OptionWindow::optionWindowProtokollAktualisieren(uint klassensatz, uint buzzerNo, uint buttonNo)
{
    static const char *const Tasten[] = {"A", "B", "C", "D"};
    ui->lineEdit_Protokoll_GeraeteTaste->setText(
        buttonNo >= 1 && buttonNo <= 4 ? QString::fromLatin1(Tasten[buttonNo - 1]) : QString());
    ui->lineEdit_Protokoll_GeraeteNummer->setText(QString::number(buzzerNo));
    ui->lineEdit_Protokoll_KlassensatzNummer->setText(QString::number(klassensatz));
}

void OptionWindow::verworfeneDrueckeAnzeigen(quint64 anzahl)
{
    ui->label_Protokoll_Verworfen->setText(tr("Verworfene Tastendrücke: %1").arg(anzahl));
    ui->label_Protokoll_Verworfen->setVisible(anzahl > 0);
}

// Every way of closing (the button, the window's close button, Escape) ends here.
void OptionWindow::done(int ergebnis)
{
    zahlenfelderSpeichern();
    QDialog::done(ergebnis);
}

void OptionWindow::zahlenfelderSpeichern()
{
    const QList<QPair<QString, QLineEdit *>> felder = {
        {Schluessel::MasterBuzzer, ui->lineEdit_Steuerung_Device_Nr},
        {Schluessel::MasterKlassensatz, ui->lineEdit_Steuerung_Klassensatz_Nr},
        {Schluessel::AutomatisierungZeit, ui->lineEdit_Steuerung_Automatisierung_Zeit},
        {Schluessel::aktiverKlassensatz(1), ui->lineEdit_Klassensatz_ID1},
        {Schluessel::aktiverKlassensatz(2), ui->lineEdit_Klassensatz_ID2},
        {Schluessel::aktiverKlassensatz(3), ui->lineEdit_Klassensatz_ID3},
        {Schluessel::aktiverKlassensatz(4), ui->lineEdit_Klassensatz_ID4},
    };
    QList<QPair<QString, QVariant>> werte;
    QStringList geaendert;
    for (const auto &[schluessel, feld] : felder) {
        const QString wert = zahlText(feld->text());
        werte.append({schluessel, wert});
        if (!Einstellungen::vorhanden(schluessel) || Einstellungen::text(schluessel) != wert)
            geaendert.append(schluessel);
    }
    // The port is written only when it differs from the one in use, so a dialog opened and
    // closed does not restart the phones' page.
    const QString port = QString::number(ui->spinBox_Handys_Port->value());
    if (port != QString::number(handyPort())) {
        werte.append({Schluessel::HandyPort, port});
        geaendert.append(Schluessel::HandyPort);
    }
    const QString nummern = QString::number(ui->spinBox_Handys_NummernJeAdresse->value());
    if (nummern != QString::number(nummernJeAdresse())) {
        werte.append({Schluessel::HandyNummernJeAdresse, nummern});
        geaendert.append(Schluessel::HandyNummernJeAdresse);
    }
    Einstellungen::setzen(werte);
    for (const QString &schluessel : std::as_const(geaendert))
        emit einstellungGeaendert(schluessel);
}

void OptionWindow::schreiben(const QString &schluessel, const QString &wert)
{
    Einstellungen::setzen(schluessel, wert);
    emit einstellungGeaendert(schluessel);
}

void OptionWindow::schalterSchreiben(const QString &schluessel, bool an)
{
    schreiben(schluessel, an ? Wahr : Falsch);
}

void OptionWindow::klanglistenFuellen()
{
    const QStringList dateien = QDir(Klangordner).entryList(QDir::Files, QDir::Name);
    const struct
    {
        QComboBox *liste;
        QString schluessel;
        QString standardDatei;
        QString standardEintrag;
    } listen[] = {
        {ui->comboBox_Toene_Buzzer, Schluessel::SoundFileToeneBuzzer, QStringLiteral("bell.wav"),
         BuzzerStandard},
        {ui->comboBox_Toene_Countdown, Schluessel::SoundFileToeneCountdown, QStringLiteral("ring.wav"),
         CountdownStandard},
        {ui->comboBox_Toene_Automatisierung, Schluessel::SoundFileToeneAutomatisierung,
         QStringLiteral("bell.wav"), BuzzerStandard},
    };
    for (const auto &l : listen) {
        const QSignalBlocker sperre(l.liste);
        l.liste->clear();
        // The built-in sound is stored under its historic name; it is shown in the interface
        // language.
        for (const QString &datei : dateien) {
            if (datei == l.standardDatei)
                l.liste->addItem(tr("%1 (Standard)").arg(datei), l.standardEintrag);
            else
                l.liste->addItem(datei, datei);
        }
        int index = l.liste->findData(Einstellungen::text(l.schluessel));
        if (index < 0)
            index = l.liste->findData(l.standardEintrag);
        l.liste->setCurrentIndex(index);
    }
}

void OptionWindow::tandrivelleSchalterZeigen(const QString &templateName)
{
    const bool tandrivelle = templateName == Tandrivelle;
    ui->checkBox_FrageNummerAnzeigen->setVisible(tandrivelle);
    ui->checkBox_Fragetext_Fett_Anzeigen->setVisible(tandrivelle);
}

void OptionWindow::on_comboBoxSerialPorts_currentIndexChanged(int index)
{
    if (m_portListeWirdAktualisiert || index < 0)
        return;
    // Both are written before the signal: the link opens the port in its reaction and must find
    // the receiver counted as connected, or it would leave the first presses unread.
    Einstellungen::setzen({{Schluessel::SerialPort, ui->comboBoxSerialPorts->itemText(index)},
                           {Schluessel::EmpfaengerVerbunden, Wahr}});
    emit einstellungGeaendert(Schluessel::SerialPort);
    emit einstellungGeaendert(Schluessel::EmpfaengerVerbunden);
    emit comPortIndexChanged();
}

void OptionWindow::on_pushButtonSchliessen_clicked()
{
    close();
}

void OptionWindow::on_checkBox_Auswertung_Quiz_Prozentangabe_Anzeigen_clicked()
{
    schalterSchreiben(Schluessel::QuizProzentAntwortenAnzeigen,
                      ui->checkBox_Auswertung_Quiz_Prozentangabe_Anzeigen->isChecked());
}

void OptionWindow::on_checkBox_Auswertung_Umfrage_Prozentangabe_Anzeigen_clicked()
{
    schalterSchreiben(Schluessel::UmfrageProzentAntwortenAnzeigen,
                      ui->checkBox_Auswertung_Umfrage_Prozentangabe_Anzeigen->isChecked());
}

void OptionWindow::on_checkBox_Auswertung_Loesung_Loesung_Anzeigen_clicked()
{
    schalterSchreiben(Schluessel::LoesungAnzeigen,
                      ui->checkBox_Auswertung_Loesung_Loesung_Anzeigen->isChecked());
}

void OptionWindow::on_checkBox_Steuerung_Master_Aktivieren_clicked()
{
    schalterSchreiben(Schluessel::SteuerungUeberMaster,
                      ui->checkBox_Steuerung_Master_Aktivieren->isChecked());
}

void OptionWindow::on_checkBox_Klassensatz_Konferenzmodus_clicked()
{
    schalterSchreiben(Schluessel::Konferenzmodus, ui->checkBox_Klassensatz_Konferenzmodus->isChecked());
}

void OptionWindow::on_checkBox_Toene_Buzzer_Lautlos_clicked()
{
    schalterSchreiben(Schluessel::ToeneBuzzerLautlos, ui->checkBox_Toene_Buzzer_Lautlos->isChecked());
}

void OptionWindow::on_checkBox_Toene_Countdown_Lautlos_clicked()
{
    schalterSchreiben(Schluessel::ToeneCountdownLautlos, ui->checkBox_Toene_Countdown_Lautlos->isChecked());
}

void OptionWindow::on_checkBox_Toene_Automatisierung_Lautlos_clicked()
{
    schalterSchreiben(Schluessel::ToeneAutomatisierungLautlos,
                      ui->checkBox_Toene_Automatisierung_Lautlos->isChecked());
}

void OptionWindow::on_comboBox_Toene_Buzzer_currentIndexChanged(int index)
{
    if (index >= 0)
        schreiben(Schluessel::SoundFileToeneBuzzer, ui->comboBox_Toene_Buzzer->itemData(index).toString());
}

void OptionWindow::on_comboBox_Toene_Countdown_currentIndexChanged(int index)
{
    if (index >= 0)
        schreiben(Schluessel::SoundFileToeneCountdown,
                  ui->comboBox_Toene_Countdown->itemData(index).toString());
}

void OptionWindow::on_comboBox_Toene_Automatisierung_currentIndexChanged(int index)
{
    if (index >= 0)
        schreiben(Schluessel::SoundFileToeneAutomatisierung,
                  ui->comboBox_Toene_Automatisierung->itemData(index).toString());
}

void OptionWindow::on_checkBox_Steuerung_Automatisierung_Aktivieren_clicked()
{
    schalterSchreiben(Schluessel::AutomatisierungAktiviert,
                      ui->checkBox_Steuerung_Automatisierung_Aktivieren->isChecked());
}

void OptionWindow::on_comboBox_Template_currentIndexChanged(int index)
{
    if (index < 0)
        return;
    const QString name = ui->comboBox_Template->itemText(index);
    schreiben(Schluessel::GewaehltesTemplate, name);
    tandrivelleSchalterZeigen(name);
    emit signalTemplateGewaehlt();
}

void OptionWindow::on_checkBox_Template_Auto_Erkennung_clicked()
{
    schalterSchreiben(Schluessel::TemplateAutomatischErkennen,
                      ui->checkBox_Template_Auto_Erkennung->isChecked());
}

void OptionWindow::on_pushButtonToeneBuzzer_clicked()
{
    m_klang.abspielen(klangRessource(ui->comboBox_Toene_Buzzer->currentData().toString()));
}

void OptionWindow::on_pushButtonToeneCountdown_clicked()
{
    m_klang.abspielen(klangRessource(ui->comboBox_Toene_Countdown->currentData().toString()));
}

void OptionWindow::on_pushButtonToeneAutomatisierung_clicked()
{
    m_klang.abspielen(klangRessource(ui->comboBox_Toene_Automatisierung->currentData().toString()));
}

void OptionWindow::on_checkBox_FrageNummerAnzeigen_clicked()
{
    schalterSchreiben(Schluessel::FrageNummerInTemplateAnzeigen,
                      ui->checkBox_FrageNummerAnzeigen->isChecked());
}

void OptionWindow::on_checkBoxEmpfaengerAutomatischFinden_clicked()
{
    schalterSchreiben(Schluessel::EmpfaengerAutomatischFinden,
                      ui->checkBoxEmpfaengerAutomatischFinden->isChecked());
}

void OptionWindow::on_checkBox_Fragetext_Fett_Anzeigen_clicked()
{
    schalterSchreiben(Schluessel::FragetextFett, ui->checkBox_Fragetext_Fett_Anzeigen->isChecked());
}

void OptionWindow::on_comboBox_Sprache_currentIndexChanged(int index)
{
    if (index < 0)
        return;
    const bool englisch = ui->comboBox_Sprache->itemText(index) == Englisch;
    // Only the bundled sample follows the language; a file of the presenter's own stays.
    const QString frageFile = Einstellungen::text(Schluessel::FrageFile);
    const QString von = englisch ? BeispielDE : BeispielEN;
    const QString nach = englisch ? BeispielEN : BeispielDE;
    QList<QPair<QString, QVariant>> werte = {
        {Schluessel::InstallerLanguage, englisch ? QStringLiteral("1033") : QStringLiteral("1031")}};
    const bool beispiel = frageFile.endsWith(von);
    if (beispiel)
        werte.append({Schluessel::FrageFile, frageFile.left(frageFile.size() - von.size()) + nach});
    Einstellungen::setzen(werte);
    emit einstellungGeaendert(Schluessel::InstallerLanguage);
    if (beispiel)
        emit einstellungGeaendert(Schluessel::FrageFile);
}

void OptionWindow::on_checkBox_Steuerung_FrageBeenden_clicked()
{
    schalterSchreiben(Schluessel::FrageBeendenWennAlleGeantwortet,
                      ui->checkBox_Steuerung_FrageBeenden->isChecked());
}

void OptionWindow::on_pushButton_Steuerung_Namensliste_Waehlen_clicked()
{
    const QString bisher = Einstellungen::text(Schluessel::NamenslisteDatei);
    const QString ordner = bisher.isEmpty() ? QString() : QFileInfo(bisher).absolutePath();
    const QString titel = tr("Namensliste wählen");
    const QString filter = tr("Namenslisten (*.csv *.txt);;Alle Dateien (*)");
    const QString pfad = m_dialoge ? m_dialoge->dateiZumOeffnen(titel, ordner, filter)
                                   : QFileDialog::getOpenFileName(this, titel, ordner, filter);
    if (pfad.isEmpty())
        return;

    // A list that cannot be read would silently print no names in the next export; the teacher
    // hears about it now, while the file can still be fixed, and the old choice stays.
    Namensliste liste;
    QString fehler;
    if (!liste.lesen(pfad, Einstellungen::istEnglisch(), &fehler)) {
        if (m_dialoge)
            m_dialoge->hinweis(Meldung{fehler, {}, {}, true});
        else
            QMessageBox::warning(this, windowTitle(), fehler);
        return;
    }
    schreiben(Schluessel::NamenslisteDatei, pfad);
    ui->lineEdit_Steuerung_Namensliste->setText(QDir::toNativeSeparators(pfad));
}

void OptionWindow::on_pushButton_Steuerung_Namensliste_Entfernen_clicked()
{
    schreiben(Schluessel::NamenslisteDatei, QString());
    ui->lineEdit_Steuerung_Namensliste->clear();
}

void OptionWindow::on_checkBox_Handys_Abstimmung_clicked()
{
    schalterSchreiben(Schluessel::HandyAbstimmung, ui->checkBox_Handys_Abstimmung->isChecked());
}

void OptionWindow::on_comboBox_Projektor_currentIndexChanged(int index)
{
    if (index >= 0)
        schreiben(Schluessel::ProjektorBildschirm, ui->comboBox_Projektor->itemData(index).toString());
}

void OptionWindow::on_comboBox_Handys_Adresse_currentIndexChanged(int index)
{
    if (index >= 0)
        schreiben(Schluessel::HandyAdresse, ui->comboBox_Handys_Adresse->itemData(index).toString());
}
