#include "hilfe_spiel_durchfuehren.h"

hilfe_spiel_durchfuehren::hilfe_spiel_durchfuehren(QWidget *eltern)
    : TutorialFenster(eltern)
{
    setWindowTitle(tr("Tutorial Spiel durchführen"));
    ueberschrift(tr("Spiel durchführen"));
    schritt(tr("1. Plenaro Software starten."));
    schritt(tr("2. Im Menü «Fragen» den Eintrag «Öffnen» wählen (Strg+O) und eine Fragedatei (xml) öffnen."));
    schritt(
        tr("3. Empfänger einstecken und warten, bis der Empfänger von der Software erkannt wurde (kann bis "
           "zu 5 min dauern)."));
    schritt(
        tr("4. Die Teilnehmer können mit einer beliebigen Taste an ihrem Sender überprüfen, ob ihr Sender "
           "funktioniert."));
    bild(QStringLiteral("SpielDurchfuehren_Bild1.png"));
    schritt(tr("5. Durch drücken der Leertaste wird das Spiel gestartet."));
    schritt(tr("6. Die Teilnehmer drücken ihre Antwort."));
    bild(QStringLiteral("SpielDurchfuehren_Bild2.png"));
    schritt(tr("7. Nach abgelaufener Zeit erscheint das Ergebnis."));
    bild(QStringLiteral("SpielDurchfuehren_Bild3.png"));
    schritt(tr("8. Mit der Taste «Return» kann die aktuelle Rangliste angezeigt werden."));
    schritt(tr("9. Mit der Leertaste wird das Spiel fortgesetzt."));
    bild(QStringLiteral("SpielDurchfuehren_Bild4.png"));
    schritt(tr("10. Am Ende können die Resultate im Menü «Resultate» als PDF, CSV oder Tabelle (xlsx) "
               "gespeichert werden."));
    bild(QStringLiteral("SpielDurchfuehren_Bild5.png"));

    abschnitt(tr("Abstimmen mit Handys"));
    schritt(tr("1. Fehlen Sender, stimmen die Teilnehmer mit Handys, Tablets oder Laptops im selben Netz ab. "
               "Eingeschaltet wird das in den Optionen im Tab «Handys»."));
    schritt(
        tr("2. Der Startbildschirm zeigt dann einen QR-Code mit der Adresse und dem Code dieses Spiels. Wer "
           "ihn scannt, bekommt vier Knöpfe A–D und eine eigene Nummer."));
    bild(QStringLiteral("SpielDurchfuehren_Bild6.png"));
    schritt(tr(
        "3. Ein Handy zählt wie ein Sender: Die Antwort wird gedrückt, und das Handy erscheint in der "
        "Rangliste und in den Resultaten. Nach einem Neustart des Spiels wird der neue QR-Code gescannt."));
    bild(QStringLiteral("SpielDurchfuehren_Bild7.png"));
    fertig();
}
