<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>BoardAccessible</name>
    <message>
        <source>open</source>
        <translation>offen</translation>
    </message>
    <message>
        <source>picked</source>
        <translation>gewählt</translation>
    </message>
    <message>
        <source>shut</source>
        <translation>geschlossen</translation>
    </message>
    <message>
        <source>Tile %1</source>
        <translation>Klappe %1</translation>
    </message>
    <message>
        <source>: a play</source>
        <translation>: ein Zug ist möglich</translation>
    </message>
    <message>
        <source>: all nine shut, round %1 scores %2</source>
        <translation>: alle neun geschlossen, Runde %1 bringt %2</translation>
    </message>
    <message>
        <source>: no play, round %1 scores %2</source>
        <translation>: kein Zug möglich, Runde %1 bringt %2</translation>
    </message>
    <message>
        <source>Dice: not rolled yet</source>
        <translation>Würfel: noch nicht gewürfelt</translation>
    </message>
    <message>
        <source>Dice: %1 and %2, total %3</source>
        <translation>Würfel: %1 und %2, Summe %3</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Usage: velnorsolo [OPTION]...
Roll two dice and shut the numbered tiles that add up to the roll; ten rounds make a game.

  -h, --help       print this help and exit
  -v, --version    print the version and exit

Qt&apos;s own options work as in any Qt program, among them -platform NAME, -display DISPLAY
and -style STYLE.

A copy in a folder you can write to, outside the system&apos;s folders, keeps its settings
(velnorsolo.ini) and tally (velnorsolotally.tld) beside the program. An installed copy keeps
each user&apos;s own: the settings in $XDG_CONFIG_HOME/velnorsolo (~/.config/velnorsolo), the
tally in $XDG_DATA_HOME/velnorsolo (~/.local/share/velnorsolo).

VELNOR_SERVER=http://HOST/ or https://HOST/ (a path ending in / may follow) points the game at
another web server for scores and updates; https is checked against the system&apos;s trust store.
</source>
        <translation>Aufruf: velnorsolo [OPTION]...
Wirf zwei Würfel und schließe die nummerierten Klappen, deren Summe dem Wurf entspricht;
zehn Runden ergeben ein Spiel.

  -h, --help       diese Hilfe zeigen und beenden
  -v, --version    die Version zeigen und beenden

Qts eigene Optionen gelten wie in jedem Qt-Programm, darunter -platform NAME,
-display DISPLAY und -style STIL.

Eine Kopie in einem beschreibbaren Ordner außerhalb der Systemordner hält ihre Einstellungen
(velnorsolo.ini) und ihre Bilanz (velnorsolotally.tld) neben dem Programm. Eine installierte
Kopie hält sie für jeden Benutzer: die Einstellungen in $XDG_CONFIG_HOME/velnorsolo
(~/.config/velnorsolo), die Bilanz in $XDG_DATA_HOME/velnorsolo (~/.local/share/velnorsolo).

VELNOR_SERVER=http://HOST/ oder https://HOST/ (ein Pfad mit / am Ende darf folgen) verweist das Spiel
auf einen anderen Webserver für Punkte und Aktualisierungen; https wird am Zertifikatsspeicher des Systems geprüft.
</translation>
    </message>
    <message>
        <source>velnorsolo: unknown option &apos;%1&apos; (try velnorsolo --help)
</source>
        <translation>velnorsolo: unbekannte Option „%1“ (siehe velnorsolo --help)
</translation>
    </message>
    <message>
        <source>velnorsolo: the game takes no file or other argument: &apos;%1&apos; (try velnorsolo --help)
</source>
        <translation>velnorsolo: das Spiel nimmt weder Dateien noch andere Argumente an: „%1“ (siehe velnorsolo --help)
</translation>
    </message>
    <message>
        <source>velnorsolo: no display to open: neither DISPLAY nor WAYLAND_DISPLAY is set
</source>
        <translation>velnorsolo: keine Anzeige zu öffnen: weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt
</translation>
    </message>
    <message>
        <source>velnorsolo: VELNOR_SERVER must be http://HOST/ or https://HOST/ (no port; a path must end in /), not &apos;%1&apos;
</source>
        <translation>velnorsolo: VELNOR_SERVER muss http://HOST/ oder https://HOST/ sein (ohne Port; ein Pfad endet mit /), nicht „%1“
</translation>
    </message>
</context>
<context>
    <name>PostingWait</name>
    <message>
        <source>Posting Failed.</source>
        <translation>Senden fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Posting Score, Please Wait</source>
        <translation>Sende Punkte, bitte warten</translation>
    </message>
</context>
<context>
    <name>SaveFailures</name>
    <message>
        <source>Your settings</source>
        <translation>Deine Einstellungen</translation>
    </message>
    <message>
        <source>%1 could not be saved in the folder %2, so it is kept only until the game ends (%4).</source>
        <translation>%1: Speichern im Ordner %2 fehlgeschlagen, daher bleibt der Stand nur bis zum Spielende erhalten (%4).</translation>
    </message>
    <message>
        <source>%1 could not be saved in the folder %2, so %3 there keeps what it held before: the file is read-only (%4).</source>
        <translation>%1: Speichern im Ordner %2 fehlgeschlagen, daher behält %3 dort den vorigen Inhalt: Die Datei ist schreibgeschützt (%4).</translation>
    </message>
    <message>
        <source>%1 could not be saved in the folder %2, so %3 there keeps what it held before (%4).</source>
        <translation>%1: Speichern im Ordner %2 fehlgeschlagen, daher behält %3 dort den vorigen Inhalt (%4).</translation>
    </message>
    <message>
        <source>Your tally</source>
        <translation>Deine Bilanz</translation>
    </message>
</context>
<context>
    <name>TlsChannel</name>
    <message>
        <source>certificate expired</source>
        <translation>Zertifikat abgelaufen</translation>
    </message>
    <message>
        <source>certificate not yet valid</source>
        <translation>Zertifikat noch nicht gültig</translation>
    </message>
    <message>
        <source>host name mismatch</source>
        <translation>Hostname stimmt nicht überein</translation>
    </message>
    <message>
        <source>self-signed certificate</source>
        <translation>selbstsigniertes Zertifikat</translation>
    </message>
    <message>
        <source>certificate from an unknown authority</source>
        <translation>Zertifikat einer unbekannten Zertifizierungsstelle</translation>
    </message>
    <message>
        <source>No secure connection: %1</source>
        <translation>Keine sichere Verbindung: %1</translation>
    </message>
    <message>
        <source>the TLS library cannot start</source>
        <translation>die TLS-Bibliothek startet nicht</translation>
    </message>
    <message>
        <source>the host name cannot be checked</source>
        <translation>der Hostname kann nicht geprüft werden</translation>
    </message>
    <message>
        <source>The server&apos;s certificate does not hold: %1</source>
        <translation>Das Zertifikat des Servers ist nicht gültig: %1</translation>
    </message>
    <message>
        <source>the connection was closed</source>
        <translation>die Verbindung wurde geschlossen</translation>
    </message>
    <message>
        <source>No TLS library: %1</source>
        <translation>Keine TLS-Bibliothek: %1</translation>
    </message>
</context>
<context>
    <name>UnreadableFile</name>
    <message>
        <source>Your settings</source>
        <translation>Deine Einstellungen</translation>
    </message>
    <message>
        <source>the settings started afresh</source>
        <translation>die Einstellungen beginnen von vorn</translation>
    </message>
    <message>
        <source>changes to the settings are not saved</source>
        <translation>Änderungen an den Einstellungen werden nicht gespeichert</translation>
    </message>
    <message>
        <source>Your tally</source>
        <translation>Deine Bilanz</translation>
    </message>
    <message>
        <source>a new tally was started</source>
        <translation>eine neue Bilanz wurde begonnen</translation>
    </message>
    <message>
        <source>the games of this session are not recorded in it</source>
        <translation>die Spiele dieser Sitzung werden darin nicht erfasst</translation>
    </message>
    <message>
        <source>%1 could not be opened, so %2 in the folder %3 was left as it is and %4.</source>
        <translation>%1: Öffnen fehlgeschlagen, daher blieb %2 im Ordner %3 unverändert, und %4.</translation>
    </message>
    <message>
        <source>%1 could not be read, so the file was kept as %2 in the folder %3 and %4.</source>
        <translation>%1: Lesen fehlgeschlagen, daher wurde die Datei als %2 im Ordner %3 aufbewahrt, und %4.</translation>
    </message>
    <message>
        <source>%1 could not be read nor kept aside, so %2 in the folder %3 was left as it is and %4.</source>
        <translation>%1: Lesen und Aufbewahren fehlgeschlagen, daher blieb %2 im Ordner %3 unverändert, und %4.</translation>
    </message>
</context>
<context>
    <name>VelnorApplication</name>
    <message>
        <source>Unknown error</source>
        <translation>Unbekannter Fehler</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Velnor Solo is already running on the records in %1, in another session or for another user. Close it there first.</source>
        <translation>Velnor Solo läuft bereits mit den Daten in %1, in einer anderen Sitzung oder für einen anderen Benutzer. Beende es zuerst dort.</translation>
    </message>
</context>
<context>
    <name>velnor::TCoachChart</name>
    <message>
        <source>best play averages %1 a round</source>
        <translation>bestes Spiel: im Schnitt %1 je Runde</translation>
    </message>
</context>
<context>
    <name>velnor::Tabout</name>
    <message>
        <source>Velnor Solo - About</source>
        <translation>Velnor Solo - Info</translation>
    </message>
    <message>
        <source>A game by %1</source>
        <translation>Ein Spiel von %1</translation>
    </message>
    <message>
        <source>Copyright %1 -</source>
        <translation>Copyright %1 -</translation>
    </message>
    <message>
        <source>All rights reserved.</source>
        <translation>Alle Rechte vorbehalten.</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
</context>
<context>
    <name>velnor::Tcoach</name>
    <message>
        <source>Velnor Solo - Coach</source>
        <translation>Velnor Solo - Trainer</translation>
    </message>
    <message>
        <source>Turns</source>
        <translation>Züge</translation>
    </message>
    <message>
        <source>Best play averages %1 a game</source>
        <translation>Bestes Spiel: im Schnitt %1 Punkte</translation>
    </message>
    <message>
        <source>No turns to review yet</source>
        <translation>Noch keine Züge zum Auswerten</translation>
    </message>
    <message>
        <source>Your choices cost %1 points</source>
        <translation>Deine Wahl kostete %1 Punkte</translation>
    </message>
    <message>
        <source>Round</source>
        <translation>Runde</translation>
    </message>
    <message>
        <source>Roll</source>
        <translation>Wurf</translation>
    </message>
    <message>
        <source>You shut</source>
        <translation>Deine Wahl</translation>
    </message>
    <message>
        <source>Best</source>
        <translation>Beste</translation>
    </message>
    <message>
        <source>Cost</source>
        <translation>Kosten</translation>
    </message>
    <message>
        <source>no play</source>
        <translation>kein Zug</translation>
    </message>
</context>
<context>
    <name>velnor::Thelp</name>
    <message>
        <source>Velnor Solo - Help File</source>
        <translation>Velnor Solo - Hilfe</translation>
    </message>
    <message>
        <source>Overview</source>
        <translation>Überblick</translation>
    </message>
    <message>
        <source>Game Play</source>
        <translation>Spielablauf</translation>
    </message>
    <message>
        <source>Scoring</source>
        <translation>Wertung</translation>
    </message>
    <message>
        <source>Documentation</source>
        <translation>Dokumentation</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Velnor Solo by</source>
        <translation>Velnor Solo von</translation>
    </message>
    <message>
        <source>Copyright %1 -</source>
        <translation>Copyright %1 -</translation>
    </message>
    <message>
        <source>All rights reserved.</source>
        <translation>Alle Rechte vorbehalten.</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>We play this game a lot while hanging out with my friends and family.</source>
        <translation>Wir spielen dieses Spiel oft, wenn ich mit Freunden und Familie zusammen bin.</translation>
    </message>
    <message>
        <source>This game is dedicated to everyone who has ever stayed at the table</source>
        <translation>Dieses Spiel ist allen gewidmet, die je am Tisch sitzen blieben</translation>
    </message>
    <message>
        <source>for just one more round.</source>
        <translation>für nur noch eine Runde.</translation>
    </message>
    <message>
        <source>The game consists of 10 rounds.</source>
        <translation>Das Spiel besteht aus 10 Runden.</translation>
    </message>
    <message>
        <source>After rolling the dice, you select boxes to shut that equal the sum of the dice. </source>
        <translation>Nach dem Würfeln wählst du Klappen zum Schließen, deren Summe der Augensumme entspricht. </translation>
    </message>
    <message>
        <source>The boxes must be open in order to select them.  </source>
        <translation>Wählen lassen sich nur offene Klappen.  </translation>
    </message>
    <message>
        <source>For example, if you roll a 1 and a 5, you can choose to cover up one of the </source>
        <translation>Würfelst du zum Beispiel eine 1 und eine 5, kannst du eine der </translation>
    </message>
    <message>
        <source>sets of numbers below as long as the box is open.</source>
        <translation>folgenden Zahlengruppen schließen, solange ihre Klappen offen sind.</translation>
    </message>
    <message>
        <source>1 and 5</source>
        <translation>1 und 5</translation>
    </message>
    <message>
        <source>2 and 4</source>
        <translation>2 und 4</translation>
    </message>
    <message>
        <source>1, 2, and 3</source>
        <translation>1, 2 und 3</translation>
    </message>
    <message>
        <source>If at any time during the round, you cannot close boxes that equal the sum of </source>
        <translation>Kannst du in der Runde einmal keine Klappen schließen, </translation>
    </message>
    <message>
        <source>the dice, then the round will end.</source>
        <translation>deren Summe der Augensumme entspricht, endet die Runde.</translation>
    </message>
    <message>
        <source>You receive points equal to the boxes that you shut.</source>
        <translation>Du erhältst so viele Punkte, wie die Zahlen der geschlossenen Klappen ergeben.</translation>
    </message>
    <message>
        <source>If you shut all the boxes, you receive a 20 point bonus.</source>
        <translation>Schließt du alle Klappen, erhältst du 20 Bonuspunkte.</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Versionsgeschichte</translation>
    </message>
    <message>
        <source>July 13, 2013 - Version 1.0.0.2</source>
        <translation>13. Juli 2013 - Version 1.0.0.2</translation>
    </message>
    <message>
        <source>  -Fixed about form image</source>
        <translation>  -Bild im Info-Fenster berichtigt</translation>
    </message>
    <message>
        <source>Jan 10, 2012 - Version 1.0.0.1</source>
        <translation>10. Jan. 2012 - Version 1.0.0.1</translation>
    </message>
</context>
<context>
    <name>velnor::Thighscore</name>
    <message>
        <source>Velnor Solo - High Scores</source>
        <translation>Velnor Solo - Bestenliste</translation>
    </message>
    <message>
        <source>High score list</source>
        <translation>Bestenliste</translation>
    </message>
    <message>
        <source>DONE</source>
        <translation>FERTIG</translation>
    </message>
    <message>
        <source>&lt;p&gt;The high-score page is too large or too deeply nested to show.&lt;/p&gt;</source>
        <translation>&lt;p&gt;Die Seite der Bestenliste ist zu groß oder zu tief verschachtelt, um sie zu zeigen.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>velnor::Tmain</name>
    <message>
        <source>Score: %1</source>
        <translation>Punkte: %1</translation>
    </message>
    <message>
        <source>Good Luck %1</source>
        <translation>Viel Glück %1</translation>
    </message>
    <message>
        <source>Round: %1 of 10</source>
        <translation>Runde: %1 von 10</translation>
    </message>
    <message>
        <source>Roll the Dice!</source>
        <translation>Würfeln!</translation>
    </message>
    <message>
        <source>Select Boxes to Shut!</source>
        <translation>Wähle Klappen zum Schließen!</translation>
    </message>
    <message>
        <source>Roll Again</source>
        <translation>Nochmal würfeln</translation>
    </message>
    <message>
        <source>Round Score: %1</source>
        <translation>Rundenpunkte: %1</translation>
    </message>
    <message>
        <source>Your Score: %1</source>
        <translation>Deine Punkte: %1</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>Start Game</source>
        <translation>Spiel starten</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>Play Sounds</source>
        <translation>Töne abspielen</translation>
    </message>
    <message>
        <source>Reset Screen Location</source>
        <translation>Fensterposition zurücksetzen</translation>
    </message>
    <message>
        <source>Change  Name</source>
        <translation>Name ändern</translation>
    </message>
    <message>
        <source>Automatically Check for Updates</source>
        <translation>Automatisch nach Updates suchen</translation>
    </message>
    <message>
        <source>Verified Games (Online)</source>
        <translation>Geprüfte Spiele (online)</translation>
    </message>
    <message>
        <source>Show Best Move</source>
        <translation>Besten Zug zeigen</translation>
    </message>
    <message>
        <source>Always Show Best Move</source>
        <translation>Besten Zug immer zeigen</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>Tally List</source>
        <translation>Bilanz</translation>
    </message>
    <message>
        <source>View High Score List</source>
        <translation>Bestenliste anzeigen</translation>
    </message>
    <message>
        <source>Coach</source>
        <translation>Trainer</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>&amp;Multiplayer Version of Velnor</source>
        <translation>&amp;Mehrspieler-Version von Velnor</translation>
    </message>
    <message>
        <source>Board</source>
        <translation>Spielbrett</translation>
    </message>
    <message>
        <source>Welcome to Velnor Solo!</source>
        <translation>Willkommen bei Velnor Solo!</translation>
    </message>
    <message>
        <source>Tile board</source>
        <translation>Klappenbrett</translation>
    </message>
    <message>
        <source>Score: 0</source>
        <translation>Punkte: 0</translation>
    </message>
    <message>
        <source>Round: 0 of 10</source>
        <translation>Runde: 0 von 10</translation>
    </message>
    <message>
        <source>START GAME</source>
        <translation>NEUES SPIEL</translation>
    </message>
    <message>
        <source>Velnor Solo home page</source>
        <translation>Homepage von Velnor Solo</translation>
    </message>
    <message>
        <source>Dice board</source>
        <translation>Würfelbrett</translation>
    </message>
    <message>
        <source>SHUT TOTAL</source>
        <translation>SUMME</translation>
    </message>
    <message>
        <source>Roll the dice</source>
        <translation>Würfeln</translation>
    </message>
    <message>
        <source>Welcome to Velnor Solo</source>
        <translation>Willkommen bei Velnor Solo</translation>
    </message>
    <message>
        <source>Round scores</source>
        <translation>Rundenpunkte</translation>
    </message>
    <message>
        <source>Round</source>
        <translation>Runde</translation>
    </message>
    <message>
        <source>Score</source>
        <translation>Punkte</translation>
    </message>
    <message>
        <source>Game over</source>
        <translation>Spielende</translation>
    </message>
    <message>
        <source>Game Over!</source>
        <translation>Spielende!</translation>
    </message>
    <message>
        <source>Your Score: </source>
        <translation>Deine Punkte: </translation>
    </message>
    <message>
        <source>Enter Your Name</source>
        <translation>Gib deinen Namen ein</translation>
    </message>
    <message>
        <source>Your name</source>
        <translation>Dein Name</translation>
    </message>
    <message>
        <source>SEND SCORE</source>
        <translation>PUNKTE SENDEN</translation>
    </message>
    <message>
        <source>VIEW HIGH SCORES</source>
        <translation>BESTENLISTE</translation>
    </message>
    <message>
        <source>DONE</source>
        <translation>FERTIG</translation>
    </message>
    <message>
        <source>Posting Score, Please Wait......</source>
        <translation>Sende Punkte, bitte warten......</translation>
    </message>
    <message>
        <source>ENTER YOUR NAME</source>
        <translation>NAMEN EINGEBEN</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>ABBRECHEN</translation>
    </message>
</context>
<context>
    <name>velnor::Tmultiplayer</name>
    <message>
        <source>Velnor Solo - Multiplayer</source>
        <translation>Velnor Solo - Mehrspieler</translation>
    </message>
    <message>
        <source>If you enjoy this game, check out the multiplayer version at %1!</source>
        <translation>Gefällt dir das Spiel? Probier die Mehrspieler-Version auf %1!</translation>
    </message>
    <message>
        <source>Click HERE to learn how to Play Velnor against others in %1!</source>
        <translation>Klicke HIER und erfahre, wie du in %1 gegen andere Velnor spielst!</translation>
    </message>
    <message>
        <source>Multiplayer version of Velnor in %1</source>
        <translation>Mehrspieler-Version von Velnor in %1</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
</context>
<context>
    <name>velnor::Ttallylist</name>
    <message>
        <source>Velnor Solo - Tally List</source>
        <translation>Velnor Solo - Bilanz</translation>
    </message>
    <message>
        <source>YOUR TALLY LIST</source>
        <translation>DEINE BILANZ</translation>
    </message>
    <message>
        <source>Total Games:</source>
        <translation>Spiele gesamt:</translation>
    </message>
    <message>
        <source>Velnores:</source>
        <translation>Velnores:</translation>
    </message>
    <message>
        <source>HIGH SCORES</source>
        <translation>BESTENLISTE</translation>
    </message>
    <message>
        <source>High scores</source>
        <translation>Bestenliste</translation>
    </message>
    <message>
        <source>Rank</source>
        <translation>Platz</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Score</source>
        <translation>Punkte</translation>
    </message>
    <message>
        <source>RESET TALLY</source>
        <translation>LÖSCHEN</translation>
    </message>
    <message>
        <source>DONE</source>
        <translation>FERTIG</translation>
    </message>
    <message>
        <source>Are you sure you want to reset the Tally?</source>
        <translation>Möchtest du die Bilanz wirklich zurücksetzen?</translation>
    </message>
</context>
<context>
    <name>velnor::UpdatePanel</name>
    <message>
        <source>Update Available</source>
        <translation>Update verfügbar</translation>
    </message>
    <message>
        <source>Would you like to update now?</source>
        <translation>Möchtest du jetzt aktualisieren?</translation>
    </message>
    <message>
        <source>UPDATE</source>
        <translation>UPDATE</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>ABBRECHEN</translation>
    </message>
    <message>
        <source>Updating. Please Wait...</source>
        <translation>Aktualisiere, bitte warten...</translation>
    </message>
    <message>
        <source>Received %1 bytes</source>
        <translation>%1 Bytes empfangen</translation>
    </message>
    <message>
        <source>Download Aborted</source>
        <translation>Download abgebrochen</translation>
    </message>
    <message>
        <source>Installing</source>
        <translation>Installiere</translation>
    </message>
    <message>
        <source>There was an error in the update process. Please download%1 manually from %2.</source>
        <translation>Beim Aktualisieren ist ein Fehler aufgetreten. Bitte lade%1 von Hand von %2 herunter.</translation>
    </message>
    <message>
        <source>Download Aborted: the server&apos;s update was refused, and the game stays as it is.</source>
        <translation>Download abgebrochen: Das Update vom Server wurde abgelehnt, das Spiel bleibt, wie es ist.</translation>
    </message>
</context>
</TS>
