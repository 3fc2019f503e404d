#pragma once

#include <QString>

// Names of the settings keys. They are stored in users' settings files, so they keep their
// historic spelling (including the umlaut in "LösungAnzeigen").
namespace Schluessel {

inline const QString InstallerLanguage = QStringLiteral("InstallerLanguage");
inline const QString BereitsGestartet = QStringLiteral("MultilingualApplikationBereitsEinmalGestartet");
inline const QString FrageFile = QStringLiteral("FrageFile");
inline const QString GewaehltesTemplate = QStringLiteral("GewaehltesTemplate");
inline const QString TemplateAutomatischErkennen = QStringLiteral("TemplateAutomatischErkennen");
inline const QString FilePathPDFRangliste = QStringLiteral("FilePathPDFRangliste");
inline const QString FilePathCSVRangliste = QStringLiteral("FilePathCSVRangliste");
inline const QString EmpfaengerAutomatischFinden = QStringLiteral("EmpfaengerAutomatischFinden");
inline const QString LoesungAnzeigen = QStringLiteral("LösungAnzeigen");
inline const QString QuizProzentAntwortenAnzeigen = QStringLiteral("QuizProzentAntwortenAnzeigen");
inline const QString UmfrageProzentAntwortenAnzeigen = QStringLiteral("UmfrageProzentAntwortenAnzeigen");
inline const QString Konferenzmodus = QStringLiteral("Konferenzmodus");
inline const QString SteuerungUeberMaster = QStringLiteral("SteuerungUeberMaster");
inline const QString MasterBuzzer = QStringLiteral("MasterBuzzer");
inline const QString MasterKlassensatz = QStringLiteral("MasterKlassensatz");
inline const QString AutomatisierungAktiviert = QStringLiteral("AutomatisierungAktiviert");
inline const QString AutomatisierungZeit = QStringLiteral("AutomatisierungZeit");
inline const QString ToeneBuzzerLautlos = QStringLiteral("ToeneBuzzerLautlos");
inline const QString ToeneCountdownLautlos = QStringLiteral("ToeneCountdownLautlos");
inline const QString ToeneAutomatisierungLautlos = QStringLiteral("ToeneAutomatisierungLautlos");
inline const QString SoundFileToeneBuzzer = QStringLiteral("SoundFileToeneBuzzer");
inline const QString SoundFileToeneCountdown = QStringLiteral("SoundFileToeneCountdown");
inline const QString SoundFileToeneAutomatisierung = QStringLiteral("SoundFileToeneAutomatisierung");
inline const QString FragetextFett = QStringLiteral("FragetextFett");
inline const QString FrageNummerInTemplateAnzeigen = QStringLiteral("FrageNummerInTemplateAnzeigen");
inline const QString ZoomFaktorTemplateTandrivelle = QStringLiteral("ZoomFaktorTemplateTandrivelle");
inline const QString DefaultPfadFrageFileOeffnen = QStringLiteral("DefaultPfadFrageFileOeffnen");
inline const QString DesktopHeight = QStringLiteral("DesktopHeight");
inline const QString DesktopWidth = QStringLiteral("DesktopWidth");
inline const QString EmpfaengerVerbunden = QStringLiteral("EmpfaengerVerbunden");
inline const QString SerialPort = QStringLiteral("SerialPort");
inline const QString RecentFileList = QStringLiteral("recentFileList");
// Beyond the historic keys: a question ends as soon as every handset of the game has answered.
inline const QString FrageBeendenWennAlleGeantwortet = QStringLiteral("FrageBeendenWennAlleGeantwortet");
// The CSV file with the participants' names behind the handset numbers; empty for none.
inline const QString NamenslisteDatei = QStringLiteral("NamenslisteDatei");
// Voting with phones in the local network: on ("true"/"false", off when missing), the port of the
// voting page (decimal, 8080 when missing) and the IPv4 address to announce (empty: chosen
// automatically).
inline const QString HandyAbstimmung = QStringLiteral("HandyAbstimmung");
inline const QString HandyPort = QStringLiteral("HandyPort");
inline const QString HandyAdresse = QStringLiteral("HandyAdresse");
inline constexpr int HandyPortStandard = 8080;
// How many handset numbers the phones of one network address may hold in a game (decimal, 4 when
// missing): a school network gives each device its own address, so one device cannot take every
// number, while a few phones behind one router still can join.
inline const QString HandyNummernJeAdresse = QStringLiteral("HandyNummernJeAdresse");
inline constexpr int HandyNummernJeAdresseStandard = 4;
inline constexpr int HandyNummernJeAdresseHoechstens = 999;
// The screen the class sees while a second screen is plugged in: a screen's name as Qt reports it
// ("HDMI-1"), or empty to take the screen that is not the primary one. The page goes there full
// screen; the teacher's screen shows the presenter's view.
inline const QString ProjektorBildschirm = QStringLiteral("ProjektorBildschirm");

// "AktiveKlassensatzID1" … "AktiveKlassensatzID6"
inline QString aktiverKlassensatz(int nummer)
{
    return QStringLiteral("AktiveKlassensatzID%1").arg(nummer);
}

} // namespace Schluessel
