<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="de">
<context>
    <name>LadeErgebnis</name>
    <message numerus="yes">
        <source>Die Datei enthält %1 Fragen. Nur die ersten %2 werden verwendet; %n Fragen wurden weggelassen.</source>
        <translation>
            <numerusform>Die Datei enthält %1 Fragen. Nur die ersten %2 werden verwendet; %n Frage wurde weggelassen.</numerusform>
            <numerusform>Die Datei enthält %1 Fragen. Nur die ersten %2 werden verwendet; %n Fragen wurden weggelassen.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Referentenfenster</name>
    <message numerus="yes">
        <source>%n von %1 haben geantwortet</source>
        <translation>
            <numerusform>%n von %1 hat geantwortet</numerusform>
            <numerusform>%n von %1 haben geantwortet</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>und %n weitere</source>
        <translation>
            <numerusform>und %n weiterer</numerusform>
            <numerusform>und %n weitere</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SpielStand</name>
    <message numerus="yes">
        <source>Das letzte Spiel wurde nicht beendet (Fragedatei &quot;%1&quot;, Frage %2, %n Antworten erfasst). Möchten Sie es fortsetzen?</source>
        <translation>
            <numerusform>Das letzte Spiel wurde nicht beendet (Fragedatei &quot;%1&quot;, Frage %2, %n Antwort erfasst). Möchten Sie es fortsetzen?</numerusform>
            <numerusform>Das letzte Spiel wurde nicht beendet (Fragedatei &quot;%1&quot;, Frage %2, %n Antworten erfasst). Möchten Sie es fortsetzen?</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Spielablauf</name>
    <message numerus="yes">
        <source>%n Fragen wurden nach %1 importiert.</source>
        <translation>
            <numerusform>%n Frage wurde nach %1 importiert.</numerusform>
            <numerusform>%n Fragen wurden nach %1 importiert.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n Antworten</source>
        <translation>
            <numerusform>%n Antwort</numerusform>
            <numerusform>%n Antworten</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n ausgewertete Fragen</source>
        <translation>
            <numerusform>%n ausgewertete Frage</numerusform>
            <numerusform>%n ausgewertete Fragen</numerusform>
        </translation>
    </message>
</context>
</TS>
