<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de">
<context>
    <name>FragenEditor</name>
    <message>
        <source>Frageneditor</source>
        <translation>Question editor</translation>
    </message>
    <message>
        <source>Frage/Antwort</source>
        <translation>Question/Answer</translation>
    </message>
    <message>
        <source>font-weight: bold;</source>
        <translation>font-weight: bold;</translation>
    </message>
    <message>
        <source>Vorherige Frage</source>
        <translation>Previous question</translation>
    </message>
    <message>
        <source>Nächste Frage</source>
        <translation>Next question</translation>
    </message>
    <message>
        <source>Frage verschieben (auf/ab)</source>
        <translation>Move question (up/down)</translation>
    </message>
    <message>
        <source>Frage nach oben verschieben</source>
        <translation>Move question up</translation>
    </message>
    <message>
        <source>Frage nach unten verschieben</source>
        <translation>Move question down</translation>
    </message>
    <message>
        <source>Frage</source>
        <translation>Question</translation>
    </message>
    <message>
        <source>Bild zur Frage wählen oder entfernen</source>
        <translation>Choose or remove the picture of the question</translation>
    </message>
    <message>
        <source>Bildpfad</source>
        <translation>Picture path</translation>
    </message>
    <message>
        <source>Antwort A</source>
        <translation>Answer A</translation>
    </message>
    <message>
        <source>Lösung</source>
        <translation>Solution</translation>
    </message>
    <message>
        <source>Bild zur Antwort A wählen oder entfernen</source>
        <translation>Choose or remove the picture of answer A</translation>
    </message>
    <message>
        <source>Antwort B</source>
        <translation>Answer B</translation>
    </message>
    <message>
        <source>Bild zur Antwort B wählen oder entfernen</source>
        <translation>Choose or remove the picture of answer B</translation>
    </message>
    <message>
        <source>Antwort C</source>
        <translation>Answer C</translation>
    </message>
    <message>
        <source>Bild zur Antwort C wählen oder entfernen</source>
        <translation>Choose or remove the picture of answer C</translation>
    </message>
    <message>
        <source>Antwort D</source>
        <translation>Answer D</translation>
    </message>
    <message>
        <source>Bild zur Antwort D wählen oder entfernen</source>
        <translation>Choose or remove the picture of answer D</translation>
    </message>
    <message>
        <source>Countdown/Punkte/Antwortsverzögerung</source>
        <translation>Countdown/Points/Answer delay</translation>
    </message>
    <message>
        <source>Countdown [s]:</source>
        <translation>Countdown [s]:</translation>
    </message>
    <message>
        <source>Punkte:</source>
        <translation>Points:</translation>
    </message>
    <message>
        <source>Antwortverzögerung [s]:</source>
        <translation>Answer delay [s]:</translation>
    </message>
    <message>
        <source>Die Klasse stimmt ab, diskutiert ohne die Lösung zu sehen und stimmt dann ein zweites Mal ab (Aktion → Nochmal abstimmen).</source>
        <translation>The class votes, discusses without seeing the solution and then votes a second time (Action → Vote again).</translation>
    </message>
    <message>
        <source>Zwei Runden</source>
        <translation>Two rounds</translation>
    </message>
    <message>
        <source>Notizen:</source>
        <translation>Notes:</translation>
    </message>
    <message>
        <source>Nur für die Lehrperson sichtbar (Referentenansicht), nie für die Klasse.</source>
        <translation>Only visible to the teacher (presenter view), never to the class.</translation>
    </message>
    <message>
        <source>+ Frage (leer)</source>
        <translation>+ Question (empty)</translation>
    </message>
    <message>
        <source>+ Frage (Kopie)</source>
        <translation>+ Question (copy)</translation>
    </message>
    <message>
        <source>Frage löschen</source>
        <translation>Delete question</translation>
    </message>
    <message>
        <source>Speichern</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Datei</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Neu...</source>
        <translation>New...</translation>
    </message>
    <message>
        <source>Ctrl+N</source>
        <translation>Ctrl+N</translation>
    </message>
    <message>
        <source>Öffnen...</source>
        <translation>Open...</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>Speichern unter...</source>
        <translation>Save as...</translation>
    </message>
    <message>
        <source>Ctrl+Shift+S</source>
        <translation>Ctrl+Shift+S</translation>
    </message>
    <message>
        <source>Frageneditor schliessen</source>
        <translation>Close question editor</translation>
    </message>
    <message>
        <source>XML files (*.xml)</source>
        <translation>XML files (*.xml)</translation>
    </message>
    <message>
        <source>Öffnen Fragen XML-Datei</source>
        <translation>Open question XML file</translation>
    </message>
    <message>
        <source>XML Files (*.xml)</source>
        <translation>XML Files (*.xml)</translation>
    </message>
    <message>
        <source>Bilddatei öffnen.</source>
        <translation>Open picture file.</translation>
    </message>
    <message>
        <source>Image Files (*.jpg *.png *.gif *.jfif *.webp)</source>
        <translation>Image Files (*.jpg *.png *.gif *.jfif *.webp)</translation>
    </message>
</context>
<context>
    <name>Hilfe</name>
    <message>
        <source>Hilfe</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>&lt;h2&gt;Plenaro&lt;/h2&gt;&lt;p&gt;Öffnen Sie eine Fragedatei, stecken Sie den USB-Empfänger ein und starten Sie das Spiel mit der Leertaste.&lt;/p&gt;&lt;p&gt;Weitere Hilfe: &lt;a href=&quot;%1&quot;&gt;%1&lt;/a&gt;&lt;/p&gt;</source>
        <translation>&lt;h2&gt;Plenaro&lt;/h2&gt;&lt;p&gt;Open a question file, plug in the USB receiver and start the game with the space bar.&lt;/p&gt;&lt;p&gt;More help: &lt;a href=&quot;%1&quot;&gt;%1&lt;/a&gt;&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>LadeErgebnis</name>
    <message numerus="yes">
        <source>Die Datei enthält %1 Fragen. Nur die ersten %2 werden verwendet; %n Fragen wurden weggelassen.</source>
        <translation>
            <numerusform>The file contains %1 questions. Only the first %2 are used; %n question was left out.</numerusform>
            <numerusform>The file contains %1 questions. Only the first %2 are used; %n questions were left out.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Plenaro</source>
        <translation>Plenaro</translation>
    </message>
    <message>
        <source>Fragen</source>
        <translation>Questions</translation>
    </message>
    <message>
        <source>Resultate</source>
        <translation>Results</translation>
    </message>
    <message>
        <source>Aktion</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>Ansicht</source>
        <translation>View</translation>
    </message>
    <message>
        <source>Hilfe</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Tutorial</source>
        <translation>Tutorial</translation>
    </message>
    <message>
        <source>Öffnen</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>Speichern unter...</source>
        <translation>Save as...</translation>
    </message>
    <message>
        <source>Frageneditor...</source>
        <translation>Question editor...</translation>
    </message>
    <message>
        <source>F</source>
        <translation>F</translation>
    </message>
    <message>
        <source>Optionen...</source>
        <translation>Options...</translation>
    </message>
    <message>
        <source>O</source>
        <translation>O</translation>
    </message>
    <message>
        <source>Beenden</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Q</source>
        <translation>Q</translation>
    </message>
    <message>
        <source>Zuletzt geöffnet:</source>
        <translation>Recently opened:</translation>
    </message>
    <message>
        <source>Rangliste</source>
        <translation>Ranking</translation>
    </message>
    <message>
        <source>Return</source>
        <translation>Return</translation>
    </message>
    <message>
        <source>Resultate PDF (*pdf)...</source>
        <translation>Results PDF (*pdf)...</translation>
    </message>
    <message>
        <source>S</source>
        <translation>S</translation>
    </message>
    <message>
        <source>Resultate CSV (*csv)...</source>
        <translation>Results CSV (*csv)...</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>Spiel neu starten</source>
        <translation>Restart game</translation>
    </message>
    <message>
        <source>F5</source>
        <translation>F5</translation>
    </message>
    <message>
        <source>Nächste Frage</source>
        <translation>Next question</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>Frage überspringen</source>
        <translation>Skip question</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>Frage zurück</source>
        <translation>Previous question</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>Go To</source>
        <translation>Go To</translation>
    </message>
    <message>
        <source>G</source>
        <translation>G</translation>
    </message>
    <message>
        <source>Nochmal abstimmen</source>
        <translation>Vote again</translation>
    </message>
    <message>
        <source>Die Frage nach einer Diskussion ein zweites Mal abstimmen lassen</source>
        <translation>Let the class vote on the question a second time after a discussion</translation>
    </message>
    <message>
        <source>R</source>
        <translation>R</translation>
    </message>
    <message>
        <source>Vergrössern</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>+</source>
        <translation>+</translation>
    </message>
    <message>
        <source>Verkleinern</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>-</source>
        <translation>-</translation>
    </message>
    <message>
        <source>Vollbild</source>
        <translation>Full screen</translation>
    </message>
    <message>
        <source>V</source>
        <translation>V</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>N</source>
        <translation>N</translation>
    </message>
    <message>
        <source>Plenaro Webseite</source>
        <translation>Plenaro website</translation>
    </message>
    <message>
        <source>Test</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>Shortcut Keys</source>
        <translation>Shortcut Keys</translation>
    </message>
    <message>
        <source>Spiel durchführen</source>
        <translation>Running a game</translation>
    </message>
    <message>
        <source>Frageneditor</source>
        <translation>Question editor</translation>
    </message>
    <message>
        <source>Einstellungen vornehmen</source>
        <translation>Changing the settings</translation>
    </message>
    <message>
        <source>Rangliste anzeigen</source>
        <translation>Show ranking</translation>
    </message>
    <message>
        <source>Tutorial Spiel durchführen</source>
        <translation>Tutorial: running a game</translation>
    </message>
    <message>
        <source>Tutorial Frageneditor</source>
        <translation>Tutorial: question editor</translation>
    </message>
    <message>
        <source>Tutorial Einstellungen vornehmen</source>
        <translation>Tutorial: changing the settings</translation>
    </message>
    <message>
        <source>Importieren...</source>
        <translation>Import...</translation>
    </message>
    <message>
        <source>Fragen aus einer Tabelle (CSV) oder einer Lernplattform (Moodle XML, GIFT, Aiken) importieren</source>
        <translation>Import questions from a spreadsheet (CSV) or a learning platform (Moodle XML, GIFT, Aiken)</translation>
    </message>
    <message>
        <source>Exportieren...</source>
        <translation>Export...</translation>
    </message>
    <message>
        <source>Die Fragen der geöffneten Fragedatei für eine Lernplattform exportieren (Moodle XML, GIFT)</source>
        <translation>Export the questions of the open question file for a learning platform (Moodle XML, GIFT)</translation>
    </message>
    <message>
        <source>Tabelle (xlsx)...</source>
        <translation>Spreadsheet (xlsx)...</translation>
    </message>
    <message>
        <source>Referentenansicht</source>
        <translation>Presenter view</translation>
    </message>
</context>
<context>
    <name>OptionWindow</name>
    <message>
        <source>Optionen</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Serial</source>
        <translation>Serial</translation>
    </message>
    <message>
        <source>Virtual COM Port</source>
        <translation>Virtual COM port</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Empfänger automatisch finden</source>
        <translation>Find the receiver automatically</translation>
    </message>
    <message>
        <source>Auswertung</source>
        <translation>Evaluation</translation>
    </message>
    <message>
        <source>Quiz</source>
        <translation>Quiz</translation>
    </message>
    <message>
        <source>Prozentangabe anzeigen</source>
        <translation>Show percentages</translation>
    </message>
    <message>
        <source>Umfrage</source>
        <translation>Survey</translation>
    </message>
    <message>
        <source>Lösung</source>
        <translation>Solution</translation>
    </message>
    <message>
        <source>Lösung anzeigen</source>
        <translation>Show solution</translation>
    </message>
    <message>
        <source>Für ein Quiz sowie für eine Umfrage kann die prozentuale Verteilung der Antworten angezeigt oder verborgen werden. Die Anzeige der Lösung kann für das Quiz unterbunden werden.</source>
        <translation>For a quiz as well as for a survey the share of each answer in percent can be shown or hidden. Showing the solution can be switched off for a quiz.</translation>
    </message>
    <message>
        <source>Steuerung</source>
        <translation>Control</translation>
    </message>
    <message>
        <source>Master</source>
        <translation>Master</translation>
    </message>
    <message>
        <source>Master aktivieren</source>
        <translation>Activate master</translation>
    </message>
    <message>
        <source>Device #</source>
        <translation>Device #</translation>
    </message>
    <message>
        <source>Klassensatz #</source>
        <translation>Class set #</translation>
    </message>
    <message>
        <source>Mit dem Aktivieren eines Masters können die Tasten Page Down (D), Page Up (B), Terminate (A) und Pause (C) emuliert werden.</source>
        <translation>With a master activated, its handset emulates the keys Page Down (D), Page Up (B), Terminate (A) and Pause (C).</translation>
    </message>
    <message>
        <source>Automatisierung</source>
        <translation>Automation</translation>
    </message>
    <message>
        <source>Automatisierung aktivieren</source>
        <translation>Activate automation</translation>
    </message>
    <message>
        <source>Zeit [s]</source>
        <translation>Time [s]</translation>
    </message>
    <message>
        <source>Die Plenaro Applikation kann die Anzeige der Fragen automatisieren. Dabei erscheint die nachfolgende Frage nach Ablauf der vorgegebenen Zeit automatisch.</source>
        <translation>The Plenaro application can show the questions automatically. The next question then appears by itself once the given time has passed.</translation>
    </message>
    <message>
        <source>Protokoll</source>
        <translation>Protocol</translation>
    </message>
    <message>
        <source>Plenaro Protokoll</source>
        <translation>Plenaro protocol</translation>
    </message>
    <message>
        <source>Geräte-Taste</source>
        <translation>Device key</translation>
    </message>
    <message>
        <source>Geräte #</source>
        <translation>Device #</translation>
    </message>
    <message>
        <source>Durch Betätigen eines Knopfes am Sender wird die Plenaro-Taste, Geräte # und die Klassensatz # angezeigt (während dem Ablauf einer Frage).</source>
        <translation>Pressing a button on a handset shows the Plenaro key, the device # and the class set # (while a question is running).</translation>
    </message>
    <message>
        <source>Klassensatz</source>
        <translation>Class set</translation>
    </message>
    <message>
        <source>aktive Klassensätze</source>
        <translation>active class sets</translation>
    </message>
    <message>
        <source>Klassensatz-ID:</source>
        <translation>Class set ID:</translation>
    </message>
    <message>
        <source>1:</source>
        <translation>1:</translation>
    </message>
    <message>
        <source>2:</source>
        <translation>2:</translation>
    </message>
    <message>
        <source>3:</source>
        <translation>3:</translation>
    </message>
    <message>
        <source>4:</source>
        <translation>4:</translation>
    </message>
    <message>
        <source>Wenn die Felder leer gelassen werden, werden alle Klassensätze akzeptiert. Die Klassensatz-ID eines Senders kann im Tab «Protokoll» abgelesen werden.</source>
        <translation>If the fields are left empty, all class sets are accepted. The class set ID of a handset can be read in the «Protocol» tab.</translation>
    </message>
    <message>
        <source>Konferenzmodus</source>
        <translation>Conference mode</translation>
    </message>
    <message>
        <source>Für den Einsatz von mehr als 60 Plenaro Sender.</source>
        <translation>For more than 60 Plenaro handsets.</translation>
    </message>
    <message>
        <source>Töne</source>
        <translation>Sounds</translation>
    </message>
    <message>
        <source>Buzzer</source>
        <translation>Buzzer</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>Lautlos</source>
        <translation>Silent</translation>
    </message>
    <message>
        <source>Countdown</source>
        <translation>Countdown</translation>
    </message>
    <message>
        <source>Design</source>
        <translation>Design</translation>
    </message>
    <message>
        <source>Plenaro Templates</source>
        <translation>Plenaro templates</translation>
    </message>
    <message>
        <source>Template anhand Plenaro Empfängerversion erkennen.</source>
        <translation>Choose the template by the version of the Plenaro receiver.</translation>
    </message>
    <message>
        <source>Frage-Nummer anzeigen</source>
        <translation>Show question number</translation>
    </message>
    <message>
        <source>Fragetext Fett anzeigen</source>
        <translation>Show question text in bold</translation>
    </message>
    <message>
        <source>Sprache</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Nach einem Neustart der Anwendung wird die neue Benutzersprache eingestellt.</source>
        <translation>The new interface language is used after the application has been restarted.</translation>
    </message>
    <message>
        <source>Schliessen</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Verworfene Tastendrücke: %1</source>
        <translation>Dropped presses: %1</translation>
    </message>
    <message>
        <source>Teilnehmer</source>
        <translation>Participants</translation>
    </message>
    <message>
        <source>Frage beenden, sobald alle geantwortet haben</source>
        <translation>End the question once everyone has answered</translation>
    </message>
    <message>
        <source>Namensliste:</source>
        <translation>List of names:</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Entfernen</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>Die Namensliste ist eine CSV-Datei mit den Zeilen «Gerät;Name» oder «Klassensatz;Gerät;Name». Die Namen erscheinen in den PDF- und CSV-Auswertungen neben den Gerätenummern.</source>
        <translation>The list of names is a CSV file with the lines «handset;name» or «class set;handset;name». The names appear in the PDF and CSV evaluations next to the handset numbers.</translation>
    </message>
    <message>
        <source>Namensliste wählen</source>
        <translation>Choose the list of names</translation>
    </message>
    <message>
        <source>Namenslisten (*.csv *.txt);;Alle Dateien (*)</source>
        <translation>Lists of names (*.csv *.txt);;All files (*)</translation>
    </message>
    <message>
        <source>Handys</source>
        <translation>Phones</translation>
    </message>
    <message>
        <source>Abstimmen mit Handys im lokalen Netz</source>
        <translation>Voting with phones in the local network</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Adresse</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Handys im selben Netz öffnen die Abstimmungsseite über den QR-Code auf dem Startbildschirm.</source>
        <translation>Phones in the same network open the voting page through the QR code on the start screen.</translation>
    </message>
    <message>
        <source>Automatisch</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>Handys je Netzadresse</source>
        <translation>Phones per network address</translation>
    </message>
    <message>
        <source>So viele Teilnehmernummern erhalten die Handys einer Netzadresse höchstens. Im Schulnetz hat jedes Gerät seine eigene Adresse; hinter einem gemeinsamen Router teilen sich mehrere Handys eine.</source>
        <translation>The phones of one network address get at most this many participant numbers. In a school network every device has its own address; behind a shared router several phones share one.</translation>
    </message>
    <message>
        <source>%1 (Standard)</source>
        <translation>%1 (default)</translation>
    </message>
    <message>
        <source>Bildschirme</source>
        <translation>Screens</translation>
    </message>
    <message>
        <source>Projektor:</source>
        <translation>Projector:</translation>
    </message>
    <message>
        <source>Mit zwei Bildschirmen zeigt der Projektor die Fragen im Vollbild, der andere Bildschirm die Referentenansicht mit Lösung, Verteilung und Notizen. «Automatisch» nimmt den Bildschirm, der nicht der eingebaute des Laptops ist, und ohne eingebauten den, der nicht der Hauptbildschirm ist.</source>
        <translation>With two screens the projector shows the questions full screen and the other screen the presenter view with the solution, the distribution and the notes. «Automatic» takes the screen that is not the laptop's own, and without one the screen that is not the primary one.</translation>
    </message>
</context>
<context>
    <name>Referentenfenster</name>
    <message>
        <source>Referentenansicht</source>
        <translation>Presenter view</translation>
    </message>
    <message>
        <source>Notizen</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>Zeit abgelaufen</source>
        <translation>Time is up</translation>
    </message>
    <message>
        <source>Ergebnis wird gezeigt</source>
        <translation>Result on screen</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Paused</translation>
    </message>
    <message>
        <source>noch %1 s</source>
        <translation>%1 s left</translation>
    </message>
    <message>
        <source>Noch keine Frage</source>
        <translation>No question yet</translation>
    </message>
    <message>
        <source>Frage %1 von %2</source>
        <translation>Question %1 of %2</translation>
    </message>
    <message>
        <source>Nächste Frage: keine, dies ist die letzte.</source>
        <translation>Next question: none, this is the last one.</translation>
    </message>
    <message>
        <source>Nächste Frage: %1</source>
        <translation>Next question: %1</translation>
    </message>
    <message>
        <source>[Bild: %1]</source>
        <translation>[Picture: %1]</translation>
    </message>
    <message numerus="yes">
        <source>%n von %1 haben geantwortet</source>
        <translation>
            <numerusform>%n of %1 has answered</numerusform>
            <numerusform>%n of %1 have answered</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>und %n weitere</source>
        <translation>
            <numerusform>and %n other</numerusform>
            <numerusform>and %n others</numerusform>
        </translation>
    </message>
    <message>
        <source>Noch nicht geantwortet: %1</source>
        <translation>Not answered yet: %1</translation>
    </message>
</context>
<context>
    <name>SpielStand</name>
    <message numerus="yes">
        <source>Das letzte Spiel wurde nicht beendet (Fragedatei &quot;%1&quot;, Frage %2, %n Antworten erfasst). Möchten Sie es fortsetzen?</source>
        <translation>
            <numerusform>The last game was not finished (question file &quot;%1&quot;, question %2, %n answer recorded). Do you want to continue it?</numerusform>
            <numerusform>The last game was not finished (question file &quot;%1&quot;, question %2, %n answers recorded). Do you want to continue it?</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Spielablauf</name>
    <message>
        <source>Öffnen Fragen XML-Datei</source>
        <translation>Open question XML file</translation>
    </message>
    <message>
        <source>XML Files (*.xml)</source>
        <translation>XML Files (*.xml)</translation>
    </message>
    <message>
        <source>Fragen aus einer Tabelle importieren</source>
        <translation>Import questions from a spreadsheet</translation>
    </message>
    <message>
        <source>Tabellen (*.csv *.txt)</source>
        <translation>Spreadsheets (*.csv *.txt)</translation>
    </message>
    <message numerus="yes">
        <source>%n Fragen wurden nach %1 importiert.</source>
        <translation>
            <numerusform>%n question was imported into %1.</numerusform>
            <numerusform>%n questions were imported into %1.</numerusform>
        </translation>
    </message>
    <message>
        <source>Das Druckjournal ist beschädigt (unlesbare Zeilen: %1). Wiederherstellen lassen sich %2 und %3. Die Datei bleibt unverändert als &quot;%4&quot; erhalten.</source>
        <translation>The press journal is damaged (unreadable lines: %1). What can be restored: %2 and %3. The file is kept unchanged as &quot;%4&quot;.</translation>
    </message>
    <message numerus="yes">
        <source>%n Antworten</source>
        <translation>
            <numerusform>%n answer</numerusform>
            <numerusform>%n answers</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n ausgewertete Fragen</source>
        <translation>
            <numerusform>%n evaluated question</numerusform>
            <numerusform>%n evaluated questions</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TutorialFenster</name>
    <message>
        <source>de</source>
        <comment>folder of the tutorial pictures: de or en</comment>
        <translation>en</translation>
    </message>
</context>
<context>
    <name>goTo</name>
    <message>
        <source>Go To</source>
        <translation>Go To</translation>
    </message>
    <message>
        <source>Fragenummer:</source>
        <translation>Question number:</translation>
    </message>
</context>
<context>
    <name>hilfe_einstellungen_vornehmen</name>
    <message>
        <source>Tutorial Einstellungen vornehmen</source>
        <translation>Tutorial: changing the settings</translation>
    </message>
    <message>
        <source>Einstellungen vornehmen</source>
        <translation>Changing the settings</translation>
    </message>
    <message>
        <source>Optionen-Fenster öffnen</source>
        <translation>Opening the options window</translation>
    </message>
    <message>
        <source>1. Im Menü «Fragen» den Eintrag «Optionen...» wählen (Taste O).</source>
        <translation>1. Choose «Options...» in the «Questions» menu (key O).</translation>
    </message>
    <message>
        <source>2. Die meisten Einstellungen gelten sofort. Die Zahlenfelder werden beim Schliessen des Fensters gespeichert.</source>
        <translation>2. Most settings take effect at once. The number fields are stored when the window is closed.</translation>
    </message>
    <message>
        <source>Serial</source>
        <translation>Serial</translation>
    </message>
    <message>
        <source>1. Der Empfänger wird normalerweise automatisch gefunden. Unter «Name» kann der Port des Empfängers auch von Hand gewählt werden.</source>
        <translation>1. The receiver is normally found automatically. Its port can also be chosen by hand under «Name».</translation>
    </message>
    <message>
        <source>2. «Empfänger automatisch finden» sucht den Empfänger erneut, wenn er ausgesteckt und wieder eingesteckt wird.</source>
        <translation>2. «Find the receiver automatically» searches for the receiver again when it is unplugged and plugged in again.</translation>
    </message>
    <message>
        <source>Design</source>
        <translation>Design</translation>
    </message>
    <message>
        <source>1. Unter «Plenaro Templates» wird das Aussehen der Fragen gewählt. Das Spiel beginnt dann von vorne.</source>
        <translation>1. «Plenaro templates» chooses the look of the questions. The game then starts again from the beginning.</translation>
    </message>
    <message>
        <source>2. Ist «Template anhand Plenaro Empfängerversion erkennen» angekreuzt, wählt der gefundene Empfänger das passende Template.</source>
        <translation>2. With «Choose the template by the version of the Plenaro receiver» ticked, the receiver that is found chooses the matching template.</translation>
    </message>
    <message>
        <source>3. Die Sprache der Fenster wechselt beim nächsten Start der Anwendung.</source>
        <translation>3. The language of the windows changes at the next start of the application.</translation>
    </message>
    <message>
        <source>Auswertung</source>
        <translation>Evaluation</translation>
    </message>
    <message>
        <source>1. Für ein Quiz und für eine Umfrage kann die prozentuale Verteilung der Antworten angezeigt werden.</source>
        <translation>1. For a quiz and for a survey the share of each answer in percent can be shown.</translation>
    </message>
    <message>
        <source>2. «Lösung anzeigen» markiert nach dem Countdown die richtige Antwort.</source>
        <translation>2. «Show solution» marks the correct answer after the countdown.</translation>
    </message>
    <message>
        <source>Steuerung</source>
        <translation>Control</translation>
    </message>
    <message>
        <source>1. Mit «Master aktivieren» steuert ein Sender das Spiel. Device # und Klassensatz # geben diesen Sender an.</source>
        <translation>1. With «Activate master» one handset controls the game. Device # and class set # name that handset.</translation>
    </message>
    <message>
        <source>2. Tasten des Masters: A beendet den Countdown (Terminate), B geht zur vorherigen Frage (Page Up), C hält den Countdown an oder setzt ihn fort (Pause), D zeigt die nächste Frage (Page Down).</source>
        <translation>2. Keys of the master: A ends the countdown (Terminate), B goes back to the previous question (Page Up), C pauses or resumes the countdown (Pause), D shows the next question (Page Down).</translation>
    </message>
    <message>
        <source>3. «Automatisierung aktivieren» zeigt die nächste Frage nach der eingestellten Zeit in Sekunden von selbst.</source>
        <translation>3. «Activate automation» shows the next question by itself after the given time in seconds.</translation>
    </message>
    <message>
        <source>Klassensatz</source>
        <translation>Class set</translation>
    </message>
    <message>
        <source>1. Werden Klassensatz-IDs eingetragen, zählen nur die Sender dieser Klassensätze. Leere Felder lassen alle Klassensätze zu.</source>
        <translation>1. When class set IDs are entered, only the handsets of these class sets count. Empty fields accept all class sets.</translation>
    </message>
    <message>
        <source>2. Der Konferenzmodus ist für mehr als 60 Sender: Die Sender werden mit ihrem Klassensatz angezeigt.</source>
        <translation>2. Conference mode is for more than 60 handsets: the handsets are shown with their class set.</translation>
    </message>
    <message>
        <source>Töne</source>
        <translation>Sounds</translation>
    </message>
    <message>
        <source>1. Für jeden Tastendruck, für das Ende des Countdowns und für die Automatisierung kann ein Ton gewählt und mit «Play» angehört werden.</source>
        <translation>1. A sound can be chosen for every press, for the end of the countdown and for the automation, and heard with «Play».</translation>
    </message>
    <message>
        <source>2. «Lautlos» schaltet den jeweiligen Ton aus.</source>
        <translation>2. «Silent» switches that sound off.</translation>
    </message>
    <message>
        <source>Protokoll</source>
        <translation>Protocol</translation>
    </message>
    <message>
        <source>1. Während eine Frage läuft, zeigt das Protokoll für jeden angenommenen Tastendruck die Taste, die Gerätenummer und den Klassensatz.</source>
        <translation>1. While a question is running, the protocol shows the key, the device number and the class set of every accepted press.</translation>
    </message>
    <message>
        <source>2. So lässt sich die Klassensatz-ID eines Senders für den Tab «Klassensatz» ablesen.</source>
        <translation>2. This is how to read the class set ID of a handset for the «Class set» tab.</translation>
    </message>
    <message>
        <source>Handys</source>
        <translation>Phones</translation>
    </message>
    <message>
        <source>1. «Abstimmen mit Handys im lokalen Netz» schaltet die Abstimmung mit Handys ein. Der Startbildschirm zeigt dann den QR-Code zum Beitreten.</source>
        <translation>1. «Voting with phones in the local network» switches voting with phones on. The start screen then shows the QR code for joining.</translation>
    </message>
    <message>
        <source>2. «Port» und «Adresse» ergeben die Adresse im QR-Code; «Automatisch» nimmt die erste Netzadresse dieses Computers. Ist der Port belegt, sagt das Programm es: Dann einen anderen wählen.</source>
        <translation>2. «Port» and «Address» make the address in the QR code; «Automatic» takes the first network address of this computer. If the port is in use, the program says so: then choose another one.</translation>
    </message>
    <message>
        <source>3. «Handys je Netzadresse» begrenzt, wie viele Nummern die Geräte hinter einer Adresse bekommen, etwa hinter einem gemeinsamen Router.</source>
        <translation>3. «Phones per network address» limits how many numbers the devices behind one address get, for example behind a shared router.</translation>
    </message>
</context>
<context>
    <name>hilfe_frageneditor</name>
    <message>
        <source>Tutorial Frageneditor</source>
        <translation>Tutorial: question editor</translation>
    </message>
    <message>
        <source>Frageneditor</source>
        <translation>Question editor</translation>
    </message>
    <message>
        <source>Frageneditor Öffnen</source>
        <translation>Opening the question editor</translation>
    </message>
    <message>
        <source>1. Im Menü «Fragen» den Eintrag «Frageneditor...» wählen (Taste F).</source>
        <translation>1. Choose «Question editor...» in the «Questions» menu (key F).</translation>
    </message>
    <message>
        <source>2. Der Editor zeigt die aktuelle Fragedatei. Mit den Pfeilen links und rechts oder mit der Auswahl «Frage/Antwort» wird zwischen den Fragen gewechselt.</source>
        <translation>2. The editor shows the current question file. The left and right arrows or the «Question/Answer» list move between the questions.</translation>
    </message>
    <message>
        <source>Neue Datei erzeugen</source>
        <translation>Creating a new file</translation>
    </message>
    <message>
        <source>1. Im Menü «Datei» den Eintrag «Neu...» wählen.</source>
        <translation>1. Choose «New...» in the «File» menu.</translation>
    </message>
    <message>
        <source>2. Einen Ordner und einen Dateinamen angeben. Die neue Datei enthält eine leere Frage.</source>
        <translation>2. Give a folder and a file name. The new file holds one empty question.</translation>
    </message>
    <message>
        <source>Frage hinzufügen</source>
        <translation>Adding a question</translation>
    </message>
    <message>
        <source>1. «+ Frage (leer)» fügt nach der aktuellen Frage eine leere Frage ein, «+ Frage (Kopie)» eine Kopie der aktuellen Frage.</source>
        <translation>1. «+ Question (empty)» inserts an empty question after the current one, «+ Question (copy)» a copy of the current question.</translation>
    </message>
    <message>
        <source>2. Den Fragetext und bis zu vier Antworten eintragen.</source>
        <translation>2. Enter the question text and up to four answers.</translation>
    </message>
    <message>
        <source>3. Bei der richtigen Antwort «Lösung» ankreuzen. Ist keine Lösung angekreuzt, ist die Frage eine Umfrage und wird nicht bewertet.</source>
        <translation>3. Tick «Solution» at the correct answer. With no solution ticked the question is a survey and is not scored.</translation>
    </message>
    <message>
        <source>4. Countdown in Sekunden, Punkte (1 bis 4) und die Antwortverzögerung in Sekunden festlegen.</source>
        <translation>4. Set the countdown in seconds, the points (1 to 4) and the answer delay in seconds.</translation>
    </message>
    <message>
        <source>5. Mit «Speichern» wird die Datei gespeichert.</source>
        <translation>5. «Save» saves the file.</translation>
    </message>
    <message>
        <source>Bilder hinzufügen</source>
        <translation>Adding pictures</translation>
    </message>
    <message>
        <source>1. Mit dem Kamera-Knopf neben der Frage oder einer Antwort eine Bilddatei wählen.</source>
        <translation>1. Choose a picture file with the camera button beside the question or an answer.</translation>
    </message>
    <message>
        <source>2. Der Pfad des Bildes wird relativ zur Fragedatei gespeichert. Bilder und Fragedatei können so zusammen in einen anderen Ordner verschoben werden.</source>
        <translation>2. The picture path is stored relative to the question file, so pictures and question file can be moved together to another folder.</translation>
    </message>
    <message>
        <source>3. Ein zweiter Klick auf den Kamera-Knopf entfernt das Bild wieder.</source>
        <translation>3. A second click on the camera button removes the picture again.</translation>
    </message>
    <message>
        <source>Frage löschen</source>
        <translation>Deleting a question</translation>
    </message>
    <message>
        <source>1. Die zu löschende Frage anzeigen und «Frage löschen» drücken. Die letzte verbleibende Frage kann nicht gelöscht werden.</source>
        <translation>1. Show the question to delete and press «Delete question». The last remaining question cannot be deleted.</translation>
    </message>
    <message>
        <source>Frage verschieben</source>
        <translation>Moving a question</translation>
    </message>
    <message>
        <source>1. Mit den Pfeilen nach oben und unten wird die angezeigte Frage um einen Platz nach vorne oder nach hinten verschoben.</source>
        <translation>1. The up and down arrows move the question shown one place forward or back.</translation>
    </message>
    <message>
        <source>2. Beim Schliessen des Editors wird das Spiel mit der gespeicherten Fragedatei neu gestartet.</source>
        <translation>2. When the editor is closed, the game restarts with the saved question file.</translation>
    </message>
</context>
<context>
    <name>hilfe_spiel_durchfuehren</name>
    <message>
        <source>Tutorial Spiel durchführen</source>
        <translation>Tutorial: running a game</translation>
    </message>
    <message>
        <source>Spiel durchführen</source>
        <translation>Running a game</translation>
    </message>
    <message>
        <source>1. Plenaro Software starten.</source>
        <translation>1. Start the Plenaro software.</translation>
    </message>
    <message>
        <source>3. Empfänger einstecken und warten, bis der Empfänger von der Software erkannt wurde (kann bis zu 5 min dauern).</source>
        <translation>3. Plug in the receiver and wait until the software has recognised it (this can take up to 5 minutes).</translation>
    </message>
    <message>
        <source>4. Die Teilnehmer können mit einer beliebigen Taste an ihrem Sender überprüfen, ob ihr Sender funktioniert.</source>
        <translation>4. The participants can check with any key of their handset that their handset works.</translation>
    </message>
    <message>
        <source>5. Durch drücken der Leertaste wird das Spiel gestartet.</source>
        <translation>5. Pressing the space bar starts the game.</translation>
    </message>
    <message>
        <source>6. Die Teilnehmer drücken ihre Antwort.</source>
        <translation>6. The participants press their answer.</translation>
    </message>
    <message>
        <source>7. Nach abgelaufener Zeit erscheint das Ergebnis.</source>
        <translation>7. When the time is up, the result appears.</translation>
    </message>
    <message>
        <source>8. Mit der Taste «Return» kann die aktuelle Rangliste angezeigt werden.</source>
        <translation>8. The «Return» key shows the current ranking.</translation>
    </message>
    <message>
        <source>9. Mit der Leertaste wird das Spiel fortgesetzt.</source>
        <translation>9. The space bar continues the game.</translation>
    </message>
    <message>
        <source>2. Im Menü «Fragen» den Eintrag «Öffnen» wählen (Strg+O) und eine Fragedatei (xml) öffnen.</source>
        <translation>2. Choose «Open» in the «Questions» menu (Ctrl+O) and open a question file (XML).</translation>
    </message>
    <message>
        <source>10. Am Ende können die Resultate im Menü «Resultate» als PDF, CSV oder Tabelle (xlsx) gespeichert werden.</source>
        <translation>10. At the end the results can be saved from the «Results» menu as PDF, CSV or spreadsheet (xlsx).</translation>
    </message>
    <message>
        <source>Abstimmen mit Handys</source>
        <translation>Voting with phones</translation>
    </message>
    <message>
        <source>1. Fehlen Sender, stimmen die Teilnehmer mit Handys, Tablets oder Laptops im selben Netz ab. Eingeschaltet wird das in den Optionen im Tab «Handys».</source>
        <translation>1. When handsets are missing, the participants vote with phones, tablets or laptops on the same network. This is switched on in the options, tab «Phones».</translation>
    </message>
    <message>
        <source>2. Der Startbildschirm zeigt dann einen QR-Code mit der Adresse und dem Code dieses Spiels. Wer ihn scannt, bekommt vier Knöpfe A–D und eine eigene Nummer.</source>
        <translation>2. The start screen then shows a QR code with the address and the code of this game. Whoever scans it gets four buttons A–D and a number of their own.</translation>
    </message>
    <message>
        <source>3. Ein Handy zählt wie ein Sender: Die Antwort wird gedrückt, und das Handy erscheint in der Rangliste und in den Resultaten. Nach einem Neustart des Spiels wird der neue QR-Code gescannt.</source>
        <translation>3. A phone counts like a handset: the answer is pressed, and the phone appears in the ranking and in the results. After a restart of the game the new QR code is scanned.</translation>
    </message>
</context>
<context>
    <name>shortcutkeys</name>
    <message>
        <source>Shortcut Keys </source>
        <translation>Shortcut Keys </translation>
    </message>
    <message>
        <source>font-size: 22pt; font-weight: bold; padding: 8px;</source>
        <translation>font-size: 22pt; font-weight: bold; padding: 8px;</translation>
    </message>
    <message>
        <source>Shortcut Keys</source>
        <translation>Shortcut Keys</translation>
    </message>
    <message>
        <source>  Aktion</source>
        <translation>  Action</translation>
    </message>
    <message>
        <source>  Shortcut Keys</source>
        <translation>  Shortcut Keys</translation>
    </message>
    <message>
        <source>  Nächste Frage anzeigen</source>
        <translation>  Show next question</translation>
    </message>
    <message>
        <source>  Rangliste anzeigen</source>
        <translation>  Show ranking</translation>
    </message>
    <message>
        <source>  Return</source>
        <translation>  Return</translation>
    </message>
    <message>
        <source>  Frage überspringen</source>
        <translation>  Skip question</translation>
    </message>
    <message>
        <source>  Frage zurück</source>
        <translation>  Previous question</translation>
    </message>
    <message>
        <source>  Go To Frage</source>
        <translation>  Go to question</translation>
    </message>
    <message>
        <source>  G</source>
        <translation>  G</translation>
    </message>
    <message>
        <source>  Pause</source>
        <translation>  Pause</translation>
    </message>
    <message>
        <source>  P</source>
        <translation>  P</translation>
    </message>
    <message>
        <source>  Frage beenden</source>
        <translation>  End question</translation>
    </message>
    <message>
        <source>  T</source>
        <translation>  T</translation>
    </message>
    <message>
        <source>  Schwarzer Hintergrund</source>
        <translation>  Black screen</translation>
    </message>
    <message>
        <source>  K</source>
        <translation>  K</translation>
    </message>
    <message>
        <source>  Spiel neu starten</source>
        <translation>  Restart game</translation>
    </message>
    <message>
        <source>  F5</source>
        <translation>  F5</translation>
    </message>
    <message>
        <source>  Optionen öffnen</source>
        <translation>  Open options</translation>
    </message>
    <message>
        <source>  O</source>
        <translation>  O</translation>
    </message>
    <message>
        <source>  Frageneditor öffnen</source>
        <translation>  Open question editor</translation>
    </message>
    <message>
        <source>  F</source>
        <translation>  F</translation>
    </message>
    <message>
        <source>  Datei öffnen</source>
        <translation>  Open file</translation>
    </message>
    <message>
        <source>  Speichern unter &quot;PDF&quot;</source>
        <translation>  Save as &quot;PDF&quot;</translation>
    </message>
    <message>
        <source>  S</source>
        <translation>  S</translation>
    </message>
    <message>
        <source>  Speichern unter &quot;CSV&quot;</source>
        <translation>  Save as &quot;CSV&quot;</translation>
    </message>
    <message>
        <source>  Sender emulieren</source>
        <translation>  Emulate handsets</translation>
    </message>
    <message>
        <source>  Beenden</source>
        <translation>  Quit</translation>
    </message>
    <message>
        <source>  Q</source>
        <translation>  Q</translation>
    </message>
    <message>
        <source>  Nochmal abstimmen (nach dem Countdown)</source>
        <translation>  Vote again (after the countdown)</translation>
    </message>
    <message>
        <source>  R</source>
        <translation>  R</translation>
    </message>
    <message>
        <source>  Antwort A -&gt; Taste 1 oder A usw. (nur solange Antworten angenommen werden)</source>
        <translation>  Answer A -&gt; key 1 or A and so on (only while answers are taken)</translation>
    </message>
    <message>
        <source>  Leertaste</source>
        <translation>  Space</translation>
    </message>
    <message>
        <source>  Pfeil-Unten-Taste, Bild-ab-Taste</source>
        <translation>  Arrow down, Page Down</translation>
    </message>
    <message>
        <source>  Pfeil-Oben-Taste, Bild-auf-Taste</source>
        <translation>  Arrow up, Page Up</translation>
    </message>
    <message>
        <source>  Strg+O</source>
        <translation>  Ctrl+O</translation>
    </message>
    <message>
        <source>  Strg+S</source>
        <translation>  Ctrl+S</translation>
    </message>
</context>
<context>
    <name>test</name>
    <message>
        <source>Test</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>Fragedatei: %1
Port: %2
Empfänger verbunden: %3
Template: %4</source>
        <translation>Question file: %1
Port: %2
Receiver connected: %3
Template: %4</translation>
    </message>
</context>
</TS>
