<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="nl">
<context>
    <name>BoardAccessible</name>
    <message>
        <source>open</source>
        <translation>open</translation>
    </message>
    <message>
        <source>picked</source>
        <translation>gekozen</translation>
    </message>
    <message>
        <source>shut</source>
        <translation>dicht</translation>
    </message>
    <message>
        <source>Tile %1</source>
        <translation>Klep %1</translation>
    </message>
    <message>
        <source>: a play</source>
        <translation>: er is een zet</translation>
    </message>
    <message>
        <source>: all nine shut, round %1 scores %2</source>
        <translation>: alle negen dicht, ronde %1 levert %2 op</translation>
    </message>
    <message>
        <source>: no play, round %1 scores %2</source>
        <translation>: geen zet, ronde %1 levert %2 op</translation>
    </message>
    <message>
        <source>Dice: not rolled yet</source>
        <translation>Dobbelstenen: nog niet gegooid</translation>
    </message>
    <message>
        <source>Dice: %1 and %2, total %3</source>
        <translation>Dobbelstenen: %1 en %2, totaal %3</translation>
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
        <translation>Gebruik: velnorsolo [OPTIE]...
Gooi twee dobbelstenen en sluit de genummerde kleppen die samen de worp vormen;
tien rondes vormen een spel.

  -h, --help       deze hulp tonen en afsluiten
  -v, --version    de versie tonen en afsluiten

De eigen opties van Qt werken zoals in elk Qt-programma, waaronder -platform NAAM,
-display SCHERM en -style STIJL.

Een kopie in een map waarin je kunt schrijven, buiten de mappen van het systeem, bewaart zijn
instellingen (velnorsolo.ini) en overzicht (velnorsolotally.tld) naast het programma. Een
geïnstalleerde kopie bewaart die per gebruiker: de instellingen in $XDG_CONFIG_HOME/velnorsolo
(~/.config/velnorsolo), het overzicht in $XDG_DATA_HOME/velnorsolo (~/.local/share/velnorsolo).

VELNOR_SERVER=http://HOST/ of https://HOST/ (een pad dat op / eindigt mag volgen) wijst het spel naar
een andere webserver voor scores en updates; https wordt gecontroleerd met de certificaten van het systeem.
</translation>
    </message>
    <message>
        <source>velnorsolo: unknown option &apos;%1&apos; (try velnorsolo --help)
</source>
        <translation>velnorsolo: onbekende optie ‘%1’ (probeer velnorsolo --help)
</translation>
    </message>
    <message>
        <source>velnorsolo: the game takes no file or other argument: &apos;%1&apos; (try velnorsolo --help)
</source>
        <translation>velnorsolo: het spel neemt geen bestand of ander argument aan: ‘%1’ (probeer velnorsolo --help)
</translation>
    </message>
    <message>
        <source>velnorsolo: no display to open: neither DISPLAY nor WAYLAND_DISPLAY is set
</source>
        <translation>velnorsolo: geen scherm om te openen: DISPLAY noch WAYLAND_DISPLAY is ingesteld
</translation>
    </message>
    <message>
        <source>velnorsolo: VELNOR_SERVER must be http://HOST/ or https://HOST/ (no port; a path must end in /), not &apos;%1&apos;
</source>
        <translation>velnorsolo: VELNOR_SERVER moet http://HOST/ of https://HOST/ zijn (zonder poort; een pad eindigt op /), niet &apos;%1&apos;
</translation>
    </message>
</context>
<context>
    <name>PostingWait</name>
    <message>
        <source>Posting Failed.</source>
        <translation>Versturen mislukt.</translation>
    </message>
    <message>
        <source>Posting Score, Please Wait</source>
        <translation>Score versturen, even geduld</translation>
    </message>
</context>
<context>
    <name>SaveFailures</name>
    <message>
        <source>Your settings</source>
        <translation>Je instellingen</translation>
    </message>
    <message>
        <source>%1 could not be saved in the folder %2, so it is kept only until the game ends (%4).</source>
        <translation>%1: opslaan in de map %2 is mislukt, dus de gegevens blijven alleen tot het spel stopt (%4).</translation>
    </message>
    <message>
        <source>%1 could not be saved in the folder %2, so %3 there keeps what it held before: the file is read-only (%4).</source>
        <translation>%1: opslaan in de map %2 is mislukt, dus %3 houdt daar de vorige inhoud: het bestand is alleen-lezen (%4).</translation>
    </message>
    <message>
        <source>%1 could not be saved in the folder %2, so %3 there keeps what it held before (%4).</source>
        <translation>%1: opslaan in de map %2 is mislukt, dus %3 houdt daar de vorige inhoud (%4).</translation>
    </message>
    <message>
        <source>Your tally</source>
        <translation>Je overzicht</translation>
    </message>
</context>
<context>
    <name>TlsChannel</name>
    <message>
        <source>certificate expired</source>
        <translation>certificaat verlopen</translation>
    </message>
    <message>
        <source>certificate not yet valid</source>
        <translation>certificaat nog niet geldig</translation>
    </message>
    <message>
        <source>host name mismatch</source>
        <translation>hostnaam komt niet overeen</translation>
    </message>
    <message>
        <source>self-signed certificate</source>
        <translation>zelfondertekend certificaat</translation>
    </message>
    <message>
        <source>certificate from an unknown authority</source>
        <translation>certificaat van een onbekende instantie</translation>
    </message>
    <message>
        <source>No secure connection: %1</source>
        <translation>Geen beveiligde verbinding: %1</translation>
    </message>
    <message>
        <source>the TLS library cannot start</source>
        <translation>de TLS-bibliotheek start niet</translation>
    </message>
    <message>
        <source>the host name cannot be checked</source>
        <translation>de hostnaam kan niet worden gecontroleerd</translation>
    </message>
    <message>
        <source>The server&apos;s certificate does not hold: %1</source>
        <translation>Het certificaat van de server klopt niet: %1</translation>
    </message>
    <message>
        <source>the connection was closed</source>
        <translation>de verbinding werd gesloten</translation>
    </message>
    <message>
        <source>No TLS library: %1</source>
        <translation>Geen TLS-bibliotheek: %1</translation>
    </message>
</context>
<context>
    <name>UnreadableFile</name>
    <message>
        <source>Your settings</source>
        <translation>Je instellingen</translation>
    </message>
    <message>
        <source>the settings started afresh</source>
        <translation>de instellingen beginnen opnieuw</translation>
    </message>
    <message>
        <source>changes to the settings are not saved</source>
        <translation>wijzigingen in de instellingen worden niet opgeslagen</translation>
    </message>
    <message>
        <source>Your tally</source>
        <translation>Je overzicht</translation>
    </message>
    <message>
        <source>a new tally was started</source>
        <translation>er is een nieuw overzicht begonnen</translation>
    </message>
    <message>
        <source>the games of this session are not recorded in it</source>
        <translation>de spellen van deze sessie worden er niet in bijgehouden</translation>
    </message>
    <message>
        <source>%1 could not be opened, so %2 in the folder %3 was left as it is and %4.</source>
        <translation>%1: openen is mislukt, dus %2 in de map %3 is gelaten zoals het was en %4.</translation>
    </message>
    <message>
        <source>%1 could not be read, so the file was kept as %2 in the folder %3 and %4.</source>
        <translation>%1: lezen is mislukt, dus het bestand is bewaard als %2 in de map %3 en %4.</translation>
    </message>
    <message>
        <source>%1 could not be read nor kept aside, so %2 in the folder %3 was left as it is and %4.</source>
        <translation>%1: lezen en apart zetten zijn mislukt, dus %2 in de map %3 is gelaten zoals het was en %4.</translation>
    </message>
</context>
<context>
    <name>VelnorApplication</name>
    <message>
        <source>Unknown error</source>
        <translation>Onbekende fout</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Velnor Solo is already running on the records in %1, in another session or for another user. Close it there first.</source>
        <translation>Velnor Solo draait al met de gegevens in %1, in een andere sessie of voor een andere gebruiker. Sluit het daar eerst af.</translation>
    </message>
</context>
<context>
    <name>velnor::TCoachChart</name>
    <message>
        <source>best play averages %1 a round</source>
        <translation>beste spel levert gemiddeld %1 per ronde op</translation>
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
        <translation>Een spel van %1</translation>
    </message>
    <message>
        <source>Copyright %1 -</source>
        <translation>Copyright %1 -</translation>
    </message>
    <message>
        <source>All rights reserved.</source>
        <translation>Rechten voorbehouden.</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Versie %1</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Klaar</translation>
    </message>
</context>
<context>
    <name>velnor::Tcoach</name>
    <message>
        <source>Velnor Solo - Coach</source>
        <translation>Velnor Solo - Coach</translation>
    </message>
    <message>
        <source>Turns</source>
        <translation>Zetten</translation>
    </message>
    <message>
        <source>Best play averages %1 a game</source>
        <translation>Beste spel levert gemiddeld %1 per spel op</translation>
    </message>
    <message>
        <source>No turns to review yet</source>
        <translation>Nog geen zetten om te bekijken</translation>
    </message>
    <message>
        <source>Your choices cost %1 points</source>
        <translation>Je keuzes kostten %1 punten</translation>
    </message>
    <message>
        <source>Round</source>
        <translation>Ronde</translation>
    </message>
    <message>
        <source>Roll</source>
        <translation>Worp</translation>
    </message>
    <message>
        <source>You shut</source>
        <translation>Jouw keuze</translation>
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
        <translation>geen zet</translation>
    </message>
</context>
<context>
    <name>velnor::Thelp</name>
    <message>
        <source>Velnor Solo - Help File</source>
        <translation>Velnor Solo - Hulp</translation>
    </message>
    <message>
        <source>Overview</source>
        <translation>Overzicht</translation>
    </message>
    <message>
        <source>Game Play</source>
        <translation>Spelverloop</translation>
    </message>
    <message>
        <source>Scoring</source>
        <translation>Puntentelling</translation>
    </message>
    <message>
        <source>Documentation</source>
        <translation>Documentatie</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Velnor Solo by</source>
        <translation>Velnor Solo door</translation>
    </message>
    <message>
        <source>Copyright %1 -</source>
        <translation>Copyright %1 -</translation>
    </message>
    <message>
        <source>All rights reserved.</source>
        <translation>Rechten voorbehouden.</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Klaar</translation>
    </message>
    <message>
        <source>We play this game a lot while hanging out with my friends and family.</source>
        <translation>We spelen dit spel vaak als ik met vrienden en familie samen ben.</translation>
    </message>
    <message>
        <source>This game is dedicated to everyone who has ever stayed at the table</source>
        <translation>Dit spel is opgedragen aan iedereen die ooit aan tafel bleef zitten</translation>
    </message>
    <message>
        <source>for just one more round.</source>
        <translation>voor nog één rondje.</translation>
    </message>
    <message>
        <source>The game consists of 10 rounds.</source>
        <translation>Het spel bestaat uit 10 rondes.</translation>
    </message>
    <message>
        <source>After rolling the dice, you select boxes to shut that equal the sum of the dice. </source>
        <translation>Na het gooien kies je kleppen om te sluiten die samen de som van de dobbelstenen vormen. </translation>
    </message>
    <message>
        <source>The boxes must be open in order to select them.  </source>
        <translation>Je kunt alleen open kleppen kiezen.  </translation>
    </message>
    <message>
        <source>For example, if you roll a 1 and a 5, you can choose to cover up one of the </source>
        <translation>Gooi je bijvoorbeeld een 1 en een 5, dan kun je een van de </translation>
    </message>
    <message>
        <source>sets of numbers below as long as the box is open.</source>
        <translation>groepjes getallen hieronder sluiten, zolang de kleppen open zijn.</translation>
    </message>
    <message>
        <source>1 and 5</source>
        <translation>1 en 5</translation>
    </message>
    <message>
        <source>2 and 4</source>
        <translation>2 en 4</translation>
    </message>
    <message>
        <source>1, 2, and 3</source>
        <translation>1, 2 en 3</translation>
    </message>
    <message>
        <source>If at any time during the round, you cannot close boxes that equal the sum of </source>
        <translation>Kun je ergens in de ronde geen kleppen meer sluiten die samen </translation>
    </message>
    <message>
        <source>the dice, then the round will end.</source>
        <translation>de som van de dobbelstenen vormen, dan eindigt de ronde.</translation>
    </message>
    <message>
        <source>You receive points equal to the boxes that you shut.</source>
        <translation>Je krijgt zoveel punten als de kleppen die je sluit samen waard zijn.</translation>
    </message>
    <message>
        <source>If you shut all the boxes, you receive a 20 point bonus.</source>
        <translation>Sluit je alle kleppen, dan krijg je 20 bonuspunten.</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Geschiedenis</translation>
    </message>
    <message>
        <source>July 13, 2013 - Version 1.0.0.2</source>
        <translation>13 juli 2013 - Versie 1.0.0.2</translation>
    </message>
    <message>
        <source>  -Fixed about form image</source>
        <translation>  -Afbeelding in het Info-venster hersteld</translation>
    </message>
    <message>
        <source>Jan 10, 2012 - Version 1.0.0.1</source>
        <translation>10 jan. 2012 - Versie 1.0.0.1</translation>
    </message>
</context>
<context>
    <name>velnor::Thighscore</name>
    <message>
        <source>Velnor Solo - High Scores</source>
        <translation>Velnor Solo - Topscores</translation>
    </message>
    <message>
        <source>High score list</source>
        <translation>Lijst met topscores</translation>
    </message>
    <message>
        <source>DONE</source>
        <translation>KLAAR</translation>
    </message>
    <message>
        <source>&lt;p&gt;The high-score page is too large or too deeply nested to show.&lt;/p&gt;</source>
        <translation>&lt;p&gt;De pagina met topscores is te groot of te diep genest om te tonen.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>velnor::Tmain</name>
    <message>
        <source>Score: %1</source>
        <translation>Score: %1</translation>
    </message>
    <message>
        <source>Good Luck %1</source>
        <translation>Veel succes %1</translation>
    </message>
    <message>
        <source>Round: %1 of 10</source>
        <translation>Ronde: %1 van 10</translation>
    </message>
    <message>
        <source>Roll the Dice!</source>
        <translation>Gooi de dobbelstenen!</translation>
    </message>
    <message>
        <source>Select Boxes to Shut!</source>
        <translation>Kies kleppen om te sluiten!</translation>
    </message>
    <message>
        <source>Roll Again</source>
        <translation>Gooi opnieuw</translation>
    </message>
    <message>
        <source>Round Score: %1</source>
        <translation>Rondescore: %1</translation>
    </message>
    <message>
        <source>Your Score: %1</source>
        <translation>Jouw score: %1</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Bestand</translation>
    </message>
    <message>
        <source>Start Game</source>
        <translation>Spel starten</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Afsluiten</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Opties</translation>
    </message>
    <message>
        <source>Play Sounds</source>
        <translation>Geluiden afspelen</translation>
    </message>
    <message>
        <source>Reset Screen Location</source>
        <translation>Vensterpositie herstellen</translation>
    </message>
    <message>
        <source>Change  Name</source>
        <translation>Naam wijzigen</translation>
    </message>
    <message>
        <source>Automatically Check for Updates</source>
        <translation>Automatisch naar updates zoeken</translation>
    </message>
    <message>
        <source>Verified Games (Online)</source>
        <translation>Gecontroleerde spellen (online)</translation>
    </message>
    <message>
        <source>Show Best Move</source>
        <translation>Beste zet tonen</translation>
    </message>
    <message>
        <source>Always Show Best Move</source>
        <translation>Beste zet altijd tonen</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>Beel&amp;d</translation>
    </message>
    <message>
        <source>Tally List</source>
        <translation>Overzicht</translation>
    </message>
    <message>
        <source>View High Score List</source>
        <translation>Topscores bekijken</translation>
    </message>
    <message>
        <source>Coach</source>
        <translation>Coach</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>&amp;Multiplayer Version of Velnor</source>
        <translation>Velnor voor &amp;meerdere spelers</translation>
    </message>
    <message>
        <source>Board</source>
        <translation>Speelbord</translation>
    </message>
    <message>
        <source>Welcome to Velnor Solo!</source>
        <translation>Welkom bij Velnor Solo!</translation>
    </message>
    <message>
        <source>Tile board</source>
        <translation>Kleppenbord</translation>
    </message>
    <message>
        <source>Score: 0</source>
        <translation>Score: 0</translation>
    </message>
    <message>
        <source>Round: 0 of 10</source>
        <translation>Ronde: 0 van 10</translation>
    </message>
    <message>
        <source>START GAME</source>
        <translation>NIEUW SPEL</translation>
    </message>
    <message>
        <source>Velnor Solo home page</source>
        <translation>Website van Velnor Solo</translation>
    </message>
    <message>
        <source>Dice board</source>
        <translation>Dobbelbord</translation>
    </message>
    <message>
        <source>SHUT TOTAL</source>
        <translation>TOTAAL</translation>
    </message>
    <message>
        <source>Roll the dice</source>
        <translation>Gooien</translation>
    </message>
    <message>
        <source>Welcome to Velnor Solo</source>
        <translation>Welkom bij Velnor Solo</translation>
    </message>
    <message>
        <source>Round scores</source>
        <translation>Punten per ronde</translation>
    </message>
    <message>
        <source>Round</source>
        <translation>Ronde</translation>
    </message>
    <message>
        <source>Score</source>
        <translation>Score</translation>
    </message>
    <message>
        <source>Game over</source>
        <translation>Spel voorbij</translation>
    </message>
    <message>
        <source>Game Over!</source>
        <translation>Spel voorbij!</translation>
    </message>
    <message>
        <source>Your Score: </source>
        <translation>Jouw score: </translation>
    </message>
    <message>
        <source>Enter Your Name</source>
        <translation>Vul je naam in</translation>
    </message>
    <message>
        <source>Your name</source>
        <translation>Jouw naam</translation>
    </message>
    <message>
        <source>SEND SCORE</source>
        <translation>SCORE VERSTUREN</translation>
    </message>
    <message>
        <source>VIEW HIGH SCORES</source>
        <translation>TOPSCORES</translation>
    </message>
    <message>
        <source>DONE</source>
        <translation>KLAAR</translation>
    </message>
    <message>
        <source>Posting Score, Please Wait......</source>
        <translation>Score versturen, even geduld......</translation>
    </message>
    <message>
        <source>ENTER YOUR NAME</source>
        <translation>VUL JE NAAM IN</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>ANNULEREN</translation>
    </message>
</context>
<context>
    <name>velnor::Tmultiplayer</name>
    <message>
        <source>Velnor Solo - Multiplayer</source>
        <translation>Velnor Solo - Meerdere spelers</translation>
    </message>
    <message>
        <source>If you enjoy this game, check out the multiplayer version at %1!</source>
        <translation>Vind je dit spel leuk? Probeer de versie voor meerdere spelers op %1!</translation>
    </message>
    <message>
        <source>Click HERE to learn how to Play Velnor against others in %1!</source>
        <translation>Klik HIER om te leren hoe je Velnor tegen anderen speelt in %1!</translation>
    </message>
    <message>
        <source>Multiplayer version of Velnor in %1</source>
        <translation>Velnor voor meerdere spelers in %1</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Klaar</translation>
    </message>
</context>
<context>
    <name>velnor::Ttallylist</name>
    <message>
        <source>Velnor Solo - Tally List</source>
        <translation>Velnor Solo - Overzicht</translation>
    </message>
    <message>
        <source>YOUR TALLY LIST</source>
        <translation>JOUW OVERZICHT</translation>
    </message>
    <message>
        <source>Total Games:</source>
        <translation>Gespeeld:</translation>
    </message>
    <message>
        <source>Velnores:</source>
        <translation>Velnores:</translation>
    </message>
    <message>
        <source>HIGH SCORES</source>
        <translation>TOPSCORES</translation>
    </message>
    <message>
        <source>High scores</source>
        <translation>Topscores</translation>
    </message>
    <message>
        <source>Rank</source>
        <translation>Plaats</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Naam</translation>
    </message>
    <message>
        <source>Score</source>
        <translation>Score</translation>
    </message>
    <message>
        <source>RESET TALLY</source>
        <translation>WISSEN</translation>
    </message>
    <message>
        <source>DONE</source>
        <translation>KLAAR</translation>
    </message>
    <message>
        <source>Are you sure you want to reset the Tally?</source>
        <translation>Weet je zeker dat je het overzicht wilt wissen?</translation>
    </message>
</context>
<context>
    <name>velnor::UpdatePanel</name>
    <message>
        <source>Update Available</source>
        <translation>Update beschikbaar</translation>
    </message>
    <message>
        <source>Would you like to update now?</source>
        <translation>Wil je nu bijwerken?</translation>
    </message>
    <message>
        <source>UPDATE</source>
        <translation>BIJWERKEN</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>ANNULEREN</translation>
    </message>
    <message>
        <source>Updating. Please Wait...</source>
        <translation>Bijwerken, even geduld...</translation>
    </message>
    <message>
        <source>Received %1 bytes</source>
        <translation>%1 bytes ontvangen</translation>
    </message>
    <message>
        <source>Download Aborted</source>
        <translation>Download afgebroken</translation>
    </message>
    <message>
        <source>Installing</source>
        <translation>Installeren</translation>
    </message>
    <message>
        <source>There was an error in the update process. Please download%1 manually from %2.</source>
        <translation>Er ging iets mis bij het bijwerken. Download%1 zelf van %2.</translation>
    </message>
    <message>
        <source>Download Aborted: the server&apos;s update was refused, and the game stays as it is.</source>
        <translation>Download afgebroken: de update van de server is geweigerd en het spel blijft zoals het is.</translation>
    </message>
</context>
</TS>
