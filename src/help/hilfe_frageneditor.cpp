#include "hilfe_frageneditor.h"

hilfe_frageneditor::hilfe_frageneditor(QWidget *eltern)
    : TutorialFenster(eltern)
{
    setWindowTitle(tr("Tutorial Frageneditor"));
    ueberschrift(tr("Frageneditor"));

    abschnitt(tr("Frageneditor Öffnen"));
    schritt(tr("1. Im Menü «Fragen» den Eintrag «Frageneditor...» wählen (Taste F)."));
    schritt(tr("2. Der Editor zeigt die aktuelle Fragedatei. Mit den Pfeilen links und rechts oder mit der "
               "Auswahl «Frage/Antwort» wird zwischen den Fragen gewechselt."));
    bild(QStringLiteral("Frageneditor_Bild1.png"));

    abschnitt(tr("Neue Datei erzeugen"));
    schritt(tr("1. Im Menü «Datei» den Eintrag «Neu...» wählen."));
    schritt(tr("2. Einen Ordner und einen Dateinamen angeben. Die neue Datei enthält eine leere Frage."));

    abschnitt(tr("Frage hinzufügen"));
    schritt(tr("1. «+ Frage (leer)» fügt nach der aktuellen Frage eine leere Frage ein, «+ Frage (Kopie)» "
               "eine Kopie der aktuellen Frage."));
    schritt(tr("2. Den Fragetext und bis zu vier Antworten eintragen."));
    schritt(tr("3. Bei der richtigen Antwort «Lösung» ankreuzen. Ist keine Lösung angekreuzt, ist die Frage "
               "eine Umfrage und wird nicht bewertet."));
    schritt(
        tr("4. Countdown in Sekunden, Punkte (1 bis 4) und die Antwortverzögerung in Sekunden festlegen."));
    schritt(tr("5. Mit «Speichern» wird die Datei gespeichert."));

    abschnitt(tr("Bilder hinzufügen"));
    schritt(tr("1. Mit dem Kamera-Knopf neben der Frage oder einer Antwort eine Bilddatei wählen."));
    schritt(tr("2. Der Pfad des Bildes wird relativ zur Fragedatei gespeichert. Bilder und Fragedatei können "
               "so zusammen in einen anderen Ordner verschoben werden."));
    schritt(tr("3. Ein zweiter Klick auf den Kamera-Knopf entfernt das Bild wieder."));
    bild(QStringLiteral("Frageneditor_Bild2.png"));

    abschnitt(tr("Frage löschen"));
    schritt(
        tr("1. Die zu löschende Frage anzeigen und «Frage löschen» drücken. Die letzte verbleibende Frage "
           "kann nicht gelöscht werden."));

    abschnitt(tr("Frage verschieben"));
    schritt(
        tr("1. Mit den Pfeilen nach oben und unten wird die angezeigte Frage um einen Platz nach vorne oder "
           "nach hinten verschoben."));
    schritt(
        tr("2. Beim Schliessen des Editors wird das Spiel mit der gespeicherten Fragedatei neu gestartet."));
    fertig();
}
