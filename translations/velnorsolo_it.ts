<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it">
<context>
    <name>BoardAccessible</name>
    <message>
        <source>open</source>
        <translation>aperta</translation>
    </message>
    <message>
        <source>picked</source>
        <translation>scelta</translation>
    </message>
    <message>
        <source>shut</source>
        <translation>chiusa</translation>
    </message>
    <message>
        <source>Tile %1</source>
        <translation>Casella %1</translation>
    </message>
    <message>
        <source>: a play</source>
        <translation>: c&apos;è una mossa</translation>
    </message>
    <message>
        <source>: all nine shut, round %1 scores %2</source>
        <translation>: tutte e nove chiuse, il giro %1 vale %2</translation>
    </message>
    <message>
        <source>: no play, round %1 scores %2</source>
        <translation>: nessuna mossa, il giro %1 vale %2</translation>
    </message>
    <message>
        <source>Dice: not rolled yet</source>
        <translation>Dadi: non ancora lanciati</translation>
    </message>
    <message>
        <source>Dice: %1 and %2, total %3</source>
        <translation>Dadi: %1 e %2, totale %3</translation>
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
        <translation>Uso: velnorsolo [OPZIONE]...
Lancia due dadi e chiudi le caselle numerate la cui somma è uguale al lancio;
dieci giri fanno una partita.

  -h, --help       mostra questo aiuto ed esce
  -v, --version    mostra la versione ed esce

Le opzioni proprie di Qt funzionano come in ogni programma Qt, tra cui -platform NOME,
-display DISPLAY e -style STILE.

Una copia in una cartella in cui puoi scrivere, fuori dalle cartelle di sistema, tiene le sue
impostazioni (velnorsolo.ini) e il suo registro (velnorsolotally.tld) accanto al programma.
Una copia installata li tiene per ogni utente: le impostazioni in $XDG_CONFIG_HOME/velnorsolo
(~/.config/velnorsolo), il registro in $XDG_DATA_HOME/velnorsolo (~/.local/share/velnorsolo).

VELNOR_SERVER=http://HOST/ o https://HOST/ (può seguire un percorso che finisce con /) indirizza il gioco
a un altro server web per punteggi e aggiornamenti; https è verificato con l&apos;archivio dei certificati del sistema.
</translation>
    </message>
    <message>
        <source>velnorsolo: unknown option &apos;%1&apos; (try velnorsolo --help)
</source>
        <translation>velnorsolo: opzione sconosciuta «%1» (prova velnorsolo --help)
</translation>
    </message>
    <message>
        <source>velnorsolo: the game takes no file or other argument: &apos;%1&apos; (try velnorsolo --help)
</source>
        <translation>velnorsolo: il gioco non accetta file né altri argomenti: «%1» (prova velnorsolo --help)
</translation>
    </message>
    <message>
        <source>velnorsolo: no display to open: neither DISPLAY nor WAYLAND_DISPLAY is set
</source>
        <translation>velnorsolo: nessuno schermo da aprire: né DISPLAY né WAYLAND_DISPLAY sono impostati
</translation>
    </message>
    <message>
        <source>velnorsolo: VELNOR_SERVER must be http://HOST/ or https://HOST/ (no port; a path must end in /), not &apos;%1&apos;
</source>
        <translation>velnorsolo: VELNOR_SERVER deve essere http://HOST/ o https://HOST/ (senza porta; un percorso finisce con /), non «%1»
</translation>
    </message>
</context>
<context>
    <name>PostingWait</name>
    <message>
        <source>Posting Failed.</source>
        <translation>Invio non riuscito.</translation>
    </message>
    <message>
        <source>Posting Score, Please Wait</source>
        <translation>Invio punteggio, attendi</translation>
    </message>
</context>
<context>
    <name>SaveFailures</name>
    <message>
        <source>Your settings</source>
        <translation>Le tue impostazioni</translation>
    </message>
    <message>
        <source>%1 could not be saved in the folder %2, so it is kept only until the game ends (%4).</source>
        <translation>%1: impossibile salvare nella cartella %2, quindi i dati restano solo fino alla fine del gioco (%4).</translation>
    </message>
    <message>
        <source>%1 could not be saved in the folder %2, so %3 there keeps what it held before: the file is read-only (%4).</source>
        <translation>%1: impossibile salvare nella cartella %2, quindi %3 lì conserva il contenuto precedente: il file è di sola lettura (%4).</translation>
    </message>
    <message>
        <source>%1 could not be saved in the folder %2, so %3 there keeps what it held before (%4).</source>
        <translation>%1: impossibile salvare nella cartella %2, quindi %3 lì conserva il contenuto precedente (%4).</translation>
    </message>
    <message>
        <source>Your tally</source>
        <translation>Il tuo registro</translation>
    </message>
</context>
<context>
    <name>TlsChannel</name>
    <message>
        <source>certificate expired</source>
        <translation>certificato scaduto</translation>
    </message>
    <message>
        <source>certificate not yet valid</source>
        <translation>certificato non ancora valido</translation>
    </message>
    <message>
        <source>host name mismatch</source>
        <translation>il nome host non corrisponde</translation>
    </message>
    <message>
        <source>self-signed certificate</source>
        <translation>certificato autofirmato</translation>
    </message>
    <message>
        <source>certificate from an unknown authority</source>
        <translation>certificato di un&apos;autorità sconosciuta</translation>
    </message>
    <message>
        <source>No secure connection: %1</source>
        <translation>Nessuna connessione sicura: %1</translation>
    </message>
    <message>
        <source>the TLS library cannot start</source>
        <translation>la libreria TLS non si avvia</translation>
    </message>
    <message>
        <source>the host name cannot be checked</source>
        <translation>il nome host non può essere verificato</translation>
    </message>
    <message>
        <source>The server&apos;s certificate does not hold: %1</source>
        <translation>Il certificato del server non è valido: %1</translation>
    </message>
    <message>
        <source>the connection was closed</source>
        <translation>la connessione è stata chiusa</translation>
    </message>
    <message>
        <source>No TLS library: %1</source>
        <translation>Nessuna libreria TLS: %1</translation>
    </message>
</context>
<context>
    <name>UnreadableFile</name>
    <message>
        <source>Your settings</source>
        <translation>Le tue impostazioni</translation>
    </message>
    <message>
        <source>the settings started afresh</source>
        <translation>le impostazioni ripartono da capo</translation>
    </message>
    <message>
        <source>changes to the settings are not saved</source>
        <translation>le modifiche alle impostazioni non vengono salvate</translation>
    </message>
    <message>
        <source>Your tally</source>
        <translation>Il tuo registro</translation>
    </message>
    <message>
        <source>a new tally was started</source>
        <translation>è stato iniziato un nuovo registro</translation>
    </message>
    <message>
        <source>the games of this session are not recorded in it</source>
        <translation>le partite di questa sessione non vi vengono registrate</translation>
    </message>
    <message>
        <source>%1 could not be opened, so %2 in the folder %3 was left as it is and %4.</source>
        <translation>%1: impossibile aprire, quindi %2 nella cartella %3 è stato lasciato com&apos;è e %4.</translation>
    </message>
    <message>
        <source>%1 could not be read, so the file was kept as %2 in the folder %3 and %4.</source>
        <translation>%1: impossibile leggere, quindi il file è stato conservato come %2 nella cartella %3 e %4.</translation>
    </message>
    <message>
        <source>%1 could not be read nor kept aside, so %2 in the folder %3 was left as it is and %4.</source>
        <translation>%1: impossibile leggere o mettere da parte, quindi %2 nella cartella %3 è stato lasciato com&apos;è e %4.</translation>
    </message>
</context>
<context>
    <name>VelnorApplication</name>
    <message>
        <source>Unknown error</source>
        <translation>Errore sconosciuto</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Velnor Solo is already running on the records in %1, in another session or for another user. Close it there first.</source>
        <translation>Velnor Solo è già in esecuzione sui dati in %1, in un&apos;altra sessione o per un altro utente. Chiudilo prima lì.</translation>
    </message>
</context>
<context>
    <name>velnor::TCoachChart</name>
    <message>
        <source>best play averages %1 a round</source>
        <translation>il gioco migliore dà in media %1 a giro</translation>
    </message>
</context>
<context>
    <name>velnor::Tabout</name>
    <message>
        <source>Velnor Solo - About</source>
        <translation>Velnor Solo - Informazioni</translation>
    </message>
    <message>
        <source>A game by %1</source>
        <translation>Un gioco di %1</translation>
    </message>
    <message>
        <source>Copyright %1 -</source>
        <translation>Copyright %1 -</translation>
    </message>
    <message>
        <source>All rights reserved.</source>
        <translation>Tutti i diritti riservati.</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Versione %1</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fatto</translation>
    </message>
</context>
<context>
    <name>velnor::Tcoach</name>
    <message>
        <source>Velnor Solo - Coach</source>
        <translation>Velnor Solo - Allenatore</translation>
    </message>
    <message>
        <source>Turns</source>
        <translation>Mosse</translation>
    </message>
    <message>
        <source>Best play averages %1 a game</source>
        <translation>Il gioco migliore dà in media %1 a partita</translation>
    </message>
    <message>
        <source>No turns to review yet</source>
        <translation>Ancora nessuna mossa da rivedere</translation>
    </message>
    <message>
        <source>Your choices cost %1 points</source>
        <translation>Le tue scelte sono costate %1 punti</translation>
    </message>
    <message>
        <source>Round</source>
        <translation>Giro</translation>
    </message>
    <message>
        <source>Roll</source>
        <translation>Lancio</translation>
    </message>
    <message>
        <source>You shut</source>
        <translation>Tua scelta</translation>
    </message>
    <message>
        <source>Best</source>
        <translation>Migliore</translation>
    </message>
    <message>
        <source>Cost</source>
        <translation>Costo</translation>
    </message>
    <message>
        <source>no play</source>
        <translation>niente</translation>
    </message>
</context>
<context>
    <name>velnor::Thelp</name>
    <message>
        <source>Velnor Solo - Help File</source>
        <translation>Velnor Solo - Guida</translation>
    </message>
    <message>
        <source>Overview</source>
        <translation>Panoramica</translation>
    </message>
    <message>
        <source>Game Play</source>
        <translation>Come si gioca</translation>
    </message>
    <message>
        <source>Scoring</source>
        <translation>Punteggio</translation>
    </message>
    <message>
        <source>Documentation</source>
        <translation>Documentazione</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Informazioni</translation>
    </message>
    <message>
        <source>Velnor Solo by</source>
        <translation>Velnor Solo di</translation>
    </message>
    <message>
        <source>Copyright %1 -</source>
        <translation>Copyright %1 -</translation>
    </message>
    <message>
        <source>All rights reserved.</source>
        <translation>Tutti i diritti riservati.</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fatto</translation>
    </message>
    <message>
        <source>We play this game a lot while hanging out with my friends and family.</source>
        <translation>Giochiamo spesso a questo gioco quando sto con gli amici e la famiglia.</translation>
    </message>
    <message>
        <source>This game is dedicated to everyone who has ever stayed at the table</source>
        <translation>Questo gioco è dedicato a chiunque sia rimasto al tavolo</translation>
    </message>
    <message>
        <source>for just one more round.</source>
        <translation>per un ultimo giro soltanto.</translation>
    </message>
    <message>
        <source>The game consists of 10 rounds.</source>
        <translation>La partita dura 10 giri.</translation>
    </message>
    <message>
        <source>After rolling the dice, you select boxes to shut that equal the sum of the dice. </source>
        <translation>Dopo aver lanciato i dadi, scegli le caselle da chiudere la cui somma è uguale a quella dei dadi. </translation>
    </message>
    <message>
        <source>The boxes must be open in order to select them.  </source>
        <translation>Si possono scegliere solo caselle aperte.  </translation>
    </message>
    <message>
        <source>For example, if you roll a 1 and a 5, you can choose to cover up one of the </source>
        <translation>Per esempio, se esce un 1 e un 5, puoi chiudere uno dei </translation>
    </message>
    <message>
        <source>sets of numbers below as long as the box is open.</source>
        <translation>gruppi di numeri qui sotto, purché le sue caselle siano aperte.</translation>
    </message>
    <message>
        <source>1 and 5</source>
        <translation>1 e 5</translation>
    </message>
    <message>
        <source>2 and 4</source>
        <translation>2 e 4</translation>
    </message>
    <message>
        <source>1, 2, and 3</source>
        <translation>1, 2 e 3</translation>
    </message>
    <message>
        <source>If at any time during the round, you cannot close boxes that equal the sum of </source>
        <translation>Se in un momento del giro non puoi chiudere caselle la cui somma </translation>
    </message>
    <message>
        <source>the dice, then the round will end.</source>
        <translation>sia uguale a quella dei dadi, il giro finisce.</translation>
    </message>
    <message>
        <source>You receive points equal to the boxes that you shut.</source>
        <translation>Ricevi tanti punti quanto valgono le caselle che chiudi.</translation>
    </message>
    <message>
        <source>If you shut all the boxes, you receive a 20 point bonus.</source>
        <translation>Se chiudi tutte le caselle, ricevi un bonus di 20 punti.</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Cronologia</translation>
    </message>
    <message>
        <source>July 13, 2013 - Version 1.0.0.2</source>
        <translation>13 luglio 2013 - Versione 1.0.0.2</translation>
    </message>
    <message>
        <source>  -Fixed about form image</source>
        <translation>  -Corretta l&apos;immagine della finestra Informazioni</translation>
    </message>
    <message>
        <source>Jan 10, 2012 - Version 1.0.0.1</source>
        <translation>10 gen. 2012 - Versione 1.0.0.1</translation>
    </message>
</context>
<context>
    <name>velnor::Thighscore</name>
    <message>
        <source>Velnor Solo - High Scores</source>
        <translation>Velnor Solo - Classifica</translation>
    </message>
    <message>
        <source>High score list</source>
        <translation>Classifica dei punteggi</translation>
    </message>
    <message>
        <source>DONE</source>
        <translation>FATTO</translation>
    </message>
    <message>
        <source>&lt;p&gt;The high-score page is too large or too deeply nested to show.&lt;/p&gt;</source>
        <translation>&lt;p&gt;La pagina dei punteggi migliori è troppo grande o troppo annidata per essere mostrata.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>velnor::Tmain</name>
    <message>
        <source>Score: %1</source>
        <translation>Punti: %1</translation>
    </message>
    <message>
        <source>Good Luck %1</source>
        <translation>Buona fortuna %1</translation>
    </message>
    <message>
        <source>Round: %1 of 10</source>
        <translation>Giro: %1 di 10</translation>
    </message>
    <message>
        <source>Roll the Dice!</source>
        <translation>Lancia i dadi!</translation>
    </message>
    <message>
        <source>Select Boxes to Shut!</source>
        <translation>Scegli le caselle da chiudere!</translation>
    </message>
    <message>
        <source>Roll Again</source>
        <translation>Lancia ancora</translation>
    </message>
    <message>
        <source>Round Score: %1</source>
        <translation>Punti del giro: %1</translation>
    </message>
    <message>
        <source>Your Score: %1</source>
        <translation>I tuoi punti: %1</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>Start Game</source>
        <translation>Nuova partita</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Esci</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Opzioni</translation>
    </message>
    <message>
        <source>Play Sounds</source>
        <translation>Riproduci i suoni</translation>
    </message>
    <message>
        <source>Reset Screen Location</source>
        <translation>Ripristina la posizione della finestra</translation>
    </message>
    <message>
        <source>Change  Name</source>
        <translation>Cambia nome</translation>
    </message>
    <message>
        <source>Automatically Check for Updates</source>
        <translation>Cerca aggiornamenti automaticamente</translation>
    </message>
    <message>
        <source>Verified Games (Online)</source>
        <translation>Partite verificate (online)</translation>
    </message>
    <message>
        <source>Show Best Move</source>
        <translation>Mostra la mossa migliore</translation>
    </message>
    <message>
        <source>Always Show Best Move</source>
        <translation>Mostra sempre la mossa migliore</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Visualizza</translation>
    </message>
    <message>
        <source>Tally List</source>
        <translation>Registro</translation>
    </message>
    <message>
        <source>View High Score List</source>
        <translation>Vedi la classifica</translation>
    </message>
    <message>
        <source>Coach</source>
        <translation>Allenatore</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aiuto</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Guida</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Informazioni</translation>
    </message>
    <message>
        <source>&amp;Multiplayer Version of Velnor</source>
        <translation>Versione &amp;multigiocatore di Velnor</translation>
    </message>
    <message>
        <source>Board</source>
        <translation>Tavoliere</translation>
    </message>
    <message>
        <source>Welcome to Velnor Solo!</source>
        <translation>Benvenuto in Velnor Solo!</translation>
    </message>
    <message>
        <source>Tile board</source>
        <translation>Tavoliere delle caselle</translation>
    </message>
    <message>
        <source>Score: 0</source>
        <translation>Punti: 0</translation>
    </message>
    <message>
        <source>Round: 0 of 10</source>
        <translation>Giro: 0 di 10</translation>
    </message>
    <message>
        <source>START GAME</source>
        <translation>GIOCA</translation>
    </message>
    <message>
        <source>Velnor Solo home page</source>
        <translation>Sito di Velnor Solo</translation>
    </message>
    <message>
        <source>Dice board</source>
        <translation>Tavoliere dei dadi</translation>
    </message>
    <message>
        <source>SHUT TOTAL</source>
        <translation>TOTALE</translation>
    </message>
    <message>
        <source>Roll the dice</source>
        <translation>Lancia i dadi</translation>
    </message>
    <message>
        <source>Welcome to Velnor Solo</source>
        <translation>Benvenuto in Velnor Solo</translation>
    </message>
    <message>
        <source>Round scores</source>
        <translation>Punti per giro</translation>
    </message>
    <message>
        <source>Round</source>
        <translation>Giro</translation>
    </message>
    <message>
        <source>Score</source>
        <translation>Punti</translation>
    </message>
    <message>
        <source>Game over</source>
        <translation>Partita finita</translation>
    </message>
    <message>
        <source>Game Over!</source>
        <translation>Partita finita!</translation>
    </message>
    <message>
        <source>Your Score: </source>
        <translation>I tuoi punti: </translation>
    </message>
    <message>
        <source>Enter Your Name</source>
        <translation>Scrivi il tuo nome</translation>
    </message>
    <message>
        <source>Your name</source>
        <translation>Il tuo nome</translation>
    </message>
    <message>
        <source>SEND SCORE</source>
        <translation>INVIA PUNTI</translation>
    </message>
    <message>
        <source>VIEW HIGH SCORES</source>
        <translation>CLASSIFICA</translation>
    </message>
    <message>
        <source>DONE</source>
        <translation>FATTO</translation>
    </message>
    <message>
        <source>Posting Score, Please Wait......</source>
        <translation>Invio punteggio, attendi......</translation>
    </message>
    <message>
        <source>ENTER YOUR NAME</source>
        <translation>SCRIVI IL TUO NOME</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>ANNULLA</translation>
    </message>
</context>
<context>
    <name>velnor::Tmultiplayer</name>
    <message>
        <source>Velnor Solo - Multiplayer</source>
        <translation>Velnor Solo - Multigiocatore</translation>
    </message>
    <message>
        <source>If you enjoy this game, check out the multiplayer version at %1!</source>
        <translation>Se ti piace questo gioco, prova la versione multigiocatore su %1!</translation>
    </message>
    <message>
        <source>Click HERE to learn how to Play Velnor against others in %1!</source>
        <translation>Fai clic QUI per imparare a giocare a Velnor contro altri su %1!</translation>
    </message>
    <message>
        <source>Multiplayer version of Velnor in %1</source>
        <translation>Versione multigiocatore di Velnor su %1</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fatto</translation>
    </message>
</context>
<context>
    <name>velnor::Ttallylist</name>
    <message>
        <source>Velnor Solo - Tally List</source>
        <translation>Velnor Solo - Registro</translation>
    </message>
    <message>
        <source>YOUR TALLY LIST</source>
        <translation>IL TUO REGISTRO</translation>
    </message>
    <message>
        <source>Total Games:</source>
        <translation>Partite:</translation>
    </message>
    <message>
        <source>Velnores:</source>
        <translation>Velnores:</translation>
    </message>
    <message>
        <source>HIGH SCORES</source>
        <translation>CLASSIFICA</translation>
    </message>
    <message>
        <source>High scores</source>
        <translation>Classifica</translation>
    </message>
    <message>
        <source>Rank</source>
        <translation>Posto</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nome</translation>
    </message>
    <message>
        <source>Score</source>
        <translation>Punti</translation>
    </message>
    <message>
        <source>RESET TALLY</source>
        <translation>AZZERA</translation>
    </message>
    <message>
        <source>DONE</source>
        <translation>FATTO</translation>
    </message>
    <message>
        <source>Are you sure you want to reset the Tally?</source>
        <translation>Vuoi davvero azzerare il registro?</translation>
    </message>
</context>
<context>
    <name>velnor::UpdatePanel</name>
    <message>
        <source>Update Available</source>
        <translation>Aggiornamento disponibile</translation>
    </message>
    <message>
        <source>Would you like to update now?</source>
        <translation>Vuoi aggiornare adesso?</translation>
    </message>
    <message>
        <source>UPDATE</source>
        <translation>AGGIORNA</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>ANNULLA</translation>
    </message>
    <message>
        <source>Updating. Please Wait...</source>
        <translation>Aggiornamento, attendi...</translation>
    </message>
    <message>
        <source>Received %1 bytes</source>
        <translation>%1 byte ricevuti</translation>
    </message>
    <message>
        <source>Download Aborted</source>
        <translation>Download interrotto</translation>
    </message>
    <message>
        <source>Installing</source>
        <translation>Installazione</translation>
    </message>
    <message>
        <source>There was an error in the update process. Please download%1 manually from %2.</source>
        <translation>Si è verificato un errore durante l&apos;aggiornamento. Scarica%1 a mano da %2.</translation>
    </message>
    <message>
        <source>Download Aborted: the server&apos;s update was refused, and the game stays as it is.</source>
        <translation>Download interrotto: l&apos;aggiornamento del server è stato rifiutato e il gioco resta com&apos;è.</translation>
    </message>
</context>
</TS>
