#include "hilfe_einstellungen_vornehmen.h"

hilfe_einstellungen_vornehmen::hilfe_einstellungen_vornehmen(QWidget *eltern)
    : TutorialFenster(eltern)
{
    setWindowTitle(tr("Tutorial Einstellungen vornehmen"));
    ueberschrift(tr("Einstellungen vornehmen"));

    abschnitt(tr("Optionen-Fenster öffnen"));
    schritt(tr("1. Im Menü «Fragen» den Eintrag «Optionen...» wählen (Taste O)."));
    schritt(tr("2. Die meisten Einstellungen gelten sofort. Die Zahlenfelder werden beim Schliessen des "
               "Fensters gespeichert."));

    abschnitt(tr("Serial"));
    schritt(tr("1. Der Empfänger wird normalerweise automatisch gefunden. Unter «Name» kann der Port des "
               "Empfängers auch von Hand gewählt werden."));
    schritt(tr("2. «Empfänger automatisch finden» sucht den Empfänger erneut, wenn er ausgesteckt und wieder "
               "eingesteckt wird."));
    bild(QStringLiteral("EinstellungenVornehmen_Bild1.png"));

    abschnitt(tr("Design"));
    schritt(tr("1. Unter «Plenaro Templates» wird das Aussehen der Fragen gewählt. Das Spiel beginnt dann "
               "von vorne."));
    schritt(tr("2. Ist «Template anhand Plenaro Empfängerversion erkennen» angekreuzt, wählt der gefundene "
               "Empfänger das passende Template."));
    schritt(tr("3. Die Sprache der Fenster wechselt beim nächsten Start der Anwendung."));
    bild(QStringLiteral("EinstellungenVornehmen_Bild2.png"));

    abschnitt(tr("Auswertung"));
    schritt(tr("1. Für ein Quiz und für eine Umfrage kann die prozentuale Verteilung der Antworten angezeigt "
               "werden."));
    schritt(tr("2. «Lösung anzeigen» markiert nach dem Countdown die richtige Antwort."));
    bild(QStringLiteral("EinstellungenVornehmen_Bild3.png"));

    abschnitt(tr("Steuerung"));
    schritt(tr("1. Mit «Master aktivieren» steuert ein Sender das Spiel. Device # und Klassensatz # geben "
               "diesen Sender an."));
    schritt(tr("2. Tasten des Masters: A beendet den Countdown (Terminate), B geht zur vorherigen Frage "
               "(Page Up), C hält den Countdown an oder setzt ihn fort (Pause), D zeigt die nächste Frage "
               "(Page Down)."));
    schritt(tr("3. «Automatisierung aktivieren» zeigt die nächste Frage nach der eingestellten Zeit in "
               "Sekunden von selbst."));
    bild(QStringLiteral("EinstellungenVornehmen_Bild4.png"));

    abschnitt(tr("Klassensatz"));
    schritt(
        tr("1. Werden Klassensatz-IDs eingetragen, zählen nur die Sender dieser Klassensätze. Leere Felder "
           "lassen alle Klassensätze zu."));
    schritt(tr("2. Der Konferenzmodus ist für mehr als 60 Sender: Die Sender werden mit ihrem Klassensatz "
               "angezeigt."));
    bild(QStringLiteral("EinstellungenVornehmen_Bild5.png"));

    abschnitt(tr("Töne"));
    schritt(tr("1. Für jeden Tastendruck, für das Ende des Countdowns und für die Automatisierung kann ein "
               "Ton gewählt und mit «Play» angehört werden."));
    schritt(tr("2. «Lautlos» schaltet den jeweiligen Ton aus."));
    bild(QStringLiteral("EinstellungenVornehmen_Bild6.png"));

    abschnitt(tr("Protokoll"));
    schritt(tr("1. Während eine Frage läuft, zeigt das Protokoll für jeden angenommenen Tastendruck die "
               "Taste, die Gerätenummer und den Klassensatz."));
    schritt(tr("2. So lässt sich die Klassensatz-ID eines Senders für den Tab «Klassensatz» ablesen."));
    bild(QStringLiteral("EinstellungenVornehmen_Bild7.png"));

    abschnitt(tr("Handys"));
    schritt(tr("1. «Abstimmen mit Handys im lokalen Netz» schaltet die Abstimmung mit Handys ein. Der "
               "Startbildschirm zeigt dann den QR-Code zum Beitreten."));
    schritt(tr("2. «Port» und «Adresse» ergeben die Adresse im QR-Code; «Automatisch» nimmt die erste "
               "Netzadresse dieses Computers. Ist der Port belegt, sagt das Programm es: Dann einen anderen "
               "wählen."));
    schritt(tr("3. «Handys je Netzadresse» begrenzt, wie viele Nummern die Geräte hinter einer Adresse "
               "bekommen, etwa hinter einem gemeinsamen Router."));
    bild(QStringLiteral("EinstellungenVornehmen_Bild8.png"));
    fertig();
}
