#include "hilfe_spiel_durchfuehren.h"

hilfe_spiel_durchfuehren::hilfe_spiel_durchfuehren(QWidget *eltern)
    : TutorialFenster(eltern)
{
    setWindowTitle(tr("Tutorial Spiel durchführen"));
    ueberschrift(tr("Spiel durchführen"));
    schritt(tr("1. Plenaro Software starten."));
    schritt(tr("2. Mit «Datei» → «Öffnen» eine Frage xml-Datei öffnen."));
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
    schritt(tr("10. Am Ende kann das Resultat als PDF oder CSV gespeichert werden."));
    bild(QStringLiteral("SpielDurchfuehren_Bild5.png"));
    fertig();
}
