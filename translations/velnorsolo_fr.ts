<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>BoardAccessible</name>
    <message>
        <source>open</source>
        <translation>ouvert</translation>
    </message>
    <message>
        <source>picked</source>
        <translation>choisi</translation>
    </message>
    <message>
        <source>shut</source>
        <translation>fermé</translation>
    </message>
    <message>
        <source>Tile %1</source>
        <translation>Volet %1</translation>
    </message>
    <message>
        <source>: a play</source>
        <translation>&#xa0;: un coup est possible</translation>
    </message>
    <message>
        <source>: all nine shut, round %1 scores %2</source>
        <translation>&#xa0;: les neuf fermés, la manche %1 rapporte %2</translation>
    </message>
    <message>
        <source>: no play, round %1 scores %2</source>
        <translation>&#xa0;: aucun coup, la manche %1 rapporte %2</translation>
    </message>
    <message>
        <source>Dice: not rolled yet</source>
        <translation>Dés&#xa0;: pas encore lancés</translation>
    </message>
    <message>
        <source>Dice: %1 and %2, total %3</source>
        <translation>Dés&#xa0;: %1 et %2, total %3</translation>
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
        <translation>Utilisation&#xa0;: velnorsolo [OPTION]...
Lancez deux dés et fermez les volets numérotés dont la somme égale le lancer&#xa0;;
dix manches font une partie.

  -h, --help       afficher cette aide et quitter
  -v, --version    afficher la version et quitter

Les options propres à Qt fonctionnent comme dans tout programme Qt, dont -platform NOM,
-display AFFICHAGE et -style STYLE.

Une copie placée dans un dossier où vous pouvez écrire, hors des dossiers du système, garde
ses réglages (velnorsolo.ini) et son bilan (velnorsolotally.tld) à côté du programme. Une
copie installée les garde pour chaque utilisateur&#xa0;: les réglages dans
$XDG_CONFIG_HOME/velnorsolo (~/.config/velnorsolo), le bilan dans
$XDG_DATA_HOME/velnorsolo (~/.local/share/velnorsolo).

VELNOR_SERVER=http://HÔTE/ ou https://HÔTE/ (un chemin finissant par / peut suivre) dirige le jeu vers
un autre serveur web pour les scores et les mises à jour ; https est vérifié avec le magasin de certificats du système.
</translation>
    </message>
    <message>
        <source>velnorsolo: unknown option &apos;%1&apos; (try velnorsolo --help)
</source>
        <translation>velnorsolo&#xa0;: option inconnue «&#xa0;%1&#xa0;» (essayez velnorsolo --help)
</translation>
    </message>
    <message>
        <source>velnorsolo: the game takes no file or other argument: &apos;%1&apos; (try velnorsolo --help)
</source>
        <translation>velnorsolo&#xa0;: le jeu n&apos;accepte ni fichier ni autre argument&#xa0;: «&#xa0;%1&#xa0;» (essayez velnorsolo --help)
</translation>
    </message>
    <message>
        <source>velnorsolo: no display to open: neither DISPLAY nor WAYLAND_DISPLAY is set
</source>
        <translation>velnorsolo&#xa0;: aucun affichage à ouvrir&#xa0;: ni DISPLAY ni WAYLAND_DISPLAY n&apos;est défini
</translation>
    </message>
    <message>
        <source>velnorsolo: VELNOR_SERVER must be http://HOST/ or https://HOST/ (no port; a path must end in /), not &apos;%1&apos;
</source>
        <translation>velnorsolo : VELNOR_SERVER doit être http://HÔTE/ ou https://HÔTE/ (sans port ; un chemin finit par /), et non « %1 »
</translation>
    </message>
</context>
<context>
    <name>PostingWait</name>
    <message>
        <source>Posting Failed.</source>
        <translation>L&apos;envoi a échoué.</translation>
    </message>
    <message>
        <source>Posting Score, Please Wait</source>
        <translation>Envoi du score, patientez</translation>
    </message>
</context>
<context>
    <name>SaveFailures</name>
    <message>
        <source>Your settings</source>
        <translation>Vos réglages</translation>
    </message>
    <message>
        <source>%1 could not be saved in the folder %2, so it is kept only until the game ends (%4).</source>
        <translation>%1&#xa0;: enregistrement impossible dans le dossier %2, les données ne sont donc gardées que jusqu&apos;à la fin du jeu (%4).</translation>
    </message>
    <message>
        <source>%1 could not be saved in the folder %2, so %3 there keeps what it held before: the file is read-only (%4).</source>
        <translation>%1&#xa0;: enregistrement impossible dans le dossier %2, %3 y garde donc son contenu précédent&#xa0;: le fichier est en lecture seule (%4).</translation>
    </message>
    <message>
        <source>%1 could not be saved in the folder %2, so %3 there keeps what it held before (%4).</source>
        <translation>%1&#xa0;: enregistrement impossible dans le dossier %2, %3 y garde donc son contenu précédent (%4).</translation>
    </message>
    <message>
        <source>Your tally</source>
        <translation>Votre bilan</translation>
    </message>
</context>
<context>
    <name>TlsChannel</name>
    <message>
        <source>certificate expired</source>
        <translation>certificat expiré</translation>
    </message>
    <message>
        <source>certificate not yet valid</source>
        <translation>certificat pas encore valable</translation>
    </message>
    <message>
        <source>host name mismatch</source>
        <translation>nom d&apos;hôte différent</translation>
    </message>
    <message>
        <source>self-signed certificate</source>
        <translation>certificat auto-signé</translation>
    </message>
    <message>
        <source>certificate from an unknown authority</source>
        <translation>certificat d&apos;une autorité inconnue</translation>
    </message>
    <message>
        <source>No secure connection: %1</source>
        <translation>Pas de connexion sécurisée&#xa0;: %1</translation>
    </message>
    <message>
        <source>the TLS library cannot start</source>
        <translation>la bibliothèque TLS ne démarre pas</translation>
    </message>
    <message>
        <source>the host name cannot be checked</source>
        <translation>le nom d&apos;hôte ne peut pas être vérifié</translation>
    </message>
    <message>
        <source>The server&apos;s certificate does not hold: %1</source>
        <translation>Le certificat du serveur n&apos;est pas valable&#xa0;: %1</translation>
    </message>
    <message>
        <source>the connection was closed</source>
        <translation>la connexion a été fermée</translation>
    </message>
    <message>
        <source>No TLS library: %1</source>
        <translation>Pas de bibliothèque TLS&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>UnreadableFile</name>
    <message>
        <source>Your settings</source>
        <translation>Vos réglages</translation>
    </message>
    <message>
        <source>the settings started afresh</source>
        <translation>les réglages repartent de zéro</translation>
    </message>
    <message>
        <source>changes to the settings are not saved</source>
        <translation>les modifications des réglages ne sont pas enregistrées</translation>
    </message>
    <message>
        <source>Your tally</source>
        <translation>Votre bilan</translation>
    </message>
    <message>
        <source>a new tally was started</source>
        <translation>un nouveau bilan a été commencé</translation>
    </message>
    <message>
        <source>the games of this session are not recorded in it</source>
        <translation>les parties de cette session n&apos;y sont pas enregistrées</translation>
    </message>
    <message>
        <source>%1 could not be opened, so %2 in the folder %3 was left as it is and %4.</source>
        <translation>%1&#xa0;: ouverture impossible, %2 dans le dossier %3 a donc été laissé tel quel, et %4.</translation>
    </message>
    <message>
        <source>%1 could not be read, so the file was kept as %2 in the folder %3 and %4.</source>
        <translation>%1&#xa0;: lecture impossible, le fichier a donc été conservé sous le nom %2 dans le dossier %3, et %4.</translation>
    </message>
    <message>
        <source>%1 could not be read nor kept aside, so %2 in the folder %3 was left as it is and %4.</source>
        <translation>%1&#xa0;: ni lecture ni mise de côté possible, %2 dans le dossier %3 a donc été laissé tel quel, et %4.</translation>
    </message>
</context>
<context>
    <name>VelnorApplication</name>
    <message>
        <source>Unknown error</source>
        <translation>Erreur inconnue</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Velnor Solo is already running on the records in %1, in another session or for another user. Close it there first.</source>
        <translation>Velnor Solo tourne déjà sur les données de %1, dans une autre session ou pour un autre utilisateur. Fermez-le d&apos;abord là-bas.</translation>
    </message>
</context>
<context>
    <name>velnor::TCoachChart</name>
    <message>
        <source>best play averages %1 a round</source>
        <translation>meilleur jeu&#xa0;: %1 en moyenne par manche</translation>
    </message>
</context>
<context>
    <name>velnor::Tabout</name>
    <message>
        <source>Velnor Solo - About</source>
        <translation>Velnor Solo - À propos</translation>
    </message>
    <message>
        <source>A game by %1</source>
        <translation>Un jeu de %1</translation>
    </message>
    <message>
        <source>Copyright %1 -</source>
        <translation>Copyright %1 -</translation>
    </message>
    <message>
        <source>All rights reserved.</source>
        <translation>Tous droits réservés.</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Terminé</translation>
    </message>
</context>
<context>
    <name>velnor::Tcoach</name>
    <message>
        <source>Velnor Solo - Coach</source>
        <translation>Velnor Solo - Entraîneur</translation>
    </message>
    <message>
        <source>Turns</source>
        <translation>Coups</translation>
    </message>
    <message>
        <source>Best play averages %1 a game</source>
        <translation>Le meilleur jeu rapporte %1 par partie en moyenne</translation>
    </message>
    <message>
        <source>No turns to review yet</source>
        <translation>Aucun coup à revoir pour le moment</translation>
    </message>
    <message>
        <source>Your choices cost %1 points</source>
        <translation>Vos choix ont coûté %1 points</translation>
    </message>
    <message>
        <source>Round</source>
        <translation>Manche</translation>
    </message>
    <message>
        <source>Roll</source>
        <translation>Lancer</translation>
    </message>
    <message>
        <source>You shut</source>
        <translation>Votre choix</translation>
    </message>
    <message>
        <source>Best</source>
        <translation>Meilleur</translation>
    </message>
    <message>
        <source>Cost</source>
        <translation>Coût</translation>
    </message>
    <message>
        <source>no play</source>
        <translation>aucun coup</translation>
    </message>
</context>
<context>
    <name>velnor::Thelp</name>
    <message>
        <source>Velnor Solo - Help File</source>
        <translation>Velnor Solo - Aide</translation>
    </message>
    <message>
        <source>Overview</source>
        <translation>Présentation</translation>
    </message>
    <message>
        <source>Game Play</source>
        <translation>Déroulement</translation>
    </message>
    <message>
        <source>Scoring</source>
        <translation>Décompte</translation>
    </message>
    <message>
        <source>Documentation</source>
        <translation>Documentation</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>Velnor Solo by</source>
        <translation>Velnor Solo par</translation>
    </message>
    <message>
        <source>Copyright %1 -</source>
        <translation>Copyright %1 -</translation>
    </message>
    <message>
        <source>All rights reserved.</source>
        <translation>Tous droits réservés.</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Terminé</translation>
    </message>
    <message>
        <source>We play this game a lot while hanging out with my friends and family.</source>
        <translation>Nous jouons souvent à ce jeu quand je suis avec mes amis et ma famille.</translation>
    </message>
    <message>
        <source>This game is dedicated to everyone who has ever stayed at the table</source>
        <translation>Ce jeu est dédié à tous ceux qui sont restés à table</translation>
    </message>
    <message>
        <source>for just one more round.</source>
        <translation>pour une toute dernière manche.</translation>
    </message>
    <message>
        <source>The game consists of 10 rounds.</source>
        <translation>Une partie se joue en 10 manches.</translation>
    </message>
    <message>
        <source>After rolling the dice, you select boxes to shut that equal the sum of the dice. </source>
        <translation>Après avoir lancé les dés, vous choisissez des volets à fermer dont la somme égale celle des dés. </translation>
    </message>
    <message>
        <source>The boxes must be open in order to select them.  </source>
        <translation>Seuls les volets ouverts peuvent être choisis.  </translation>
    </message>
    <message>
        <source>For example, if you roll a 1 and a 5, you can choose to cover up one of the </source>
        <translation>Par exemple, si vous obtenez un 1 et un 5, vous pouvez fermer l&apos;un des </translation>
    </message>
    <message>
        <source>sets of numbers below as long as the box is open.</source>
        <translation>groupes de nombres ci-dessous, tant que leurs volets sont ouverts.</translation>
    </message>
    <message>
        <source>1 and 5</source>
        <translation>1 et 5</translation>
    </message>
    <message>
        <source>2 and 4</source>
        <translation>2 et 4</translation>
    </message>
    <message>
        <source>1, 2, and 3</source>
        <translation>1, 2 et 3</translation>
    </message>
    <message>
        <source>If at any time during the round, you cannot close boxes that equal the sum of </source>
        <translation>Si, à un moment de la manche, aucun groupe de volets ouverts </translation>
    </message>
    <message>
        <source>the dice, then the round will end.</source>
        <translation>n&apos;égale la somme des dés, la manche prend fin.</translation>
    </message>
    <message>
        <source>You receive points equal to the boxes that you shut.</source>
        <translation>Vous marquez autant de points que les numéros des volets fermés.</translation>
    </message>
    <message>
        <source>If you shut all the boxes, you receive a 20 point bonus.</source>
        <translation>Si vous fermez tous les volets, vous recevez un bonus de 20 points.</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Historique</translation>
    </message>
    <message>
        <source>July 13, 2013 - Version 1.0.0.2</source>
        <translation>13 juillet 2013 - Version 1.0.0.2</translation>
    </message>
    <message>
        <source>  -Fixed about form image</source>
        <translation>  -Image de la fenêtre À propos corrigée</translation>
    </message>
    <message>
        <source>Jan 10, 2012 - Version 1.0.0.1</source>
        <translation>10 janv. 2012 - Version 1.0.0.1</translation>
    </message>
</context>
<context>
    <name>velnor::Thighscore</name>
    <message>
        <source>Velnor Solo - High Scores</source>
        <translation>Velnor Solo - Meilleurs scores</translation>
    </message>
    <message>
        <source>High score list</source>
        <translation>Liste des meilleurs scores</translation>
    </message>
    <message>
        <source>DONE</source>
        <translation>TERMINÉ</translation>
    </message>
    <message>
        <source>&lt;p&gt;The high-score page is too large or too deeply nested to show.&lt;/p&gt;</source>
        <translation>&lt;p&gt;La page des meilleurs scores est trop grande ou trop imbriquée pour être affichée.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>velnor::Tmain</name>
    <message>
        <source>Score: %1</source>
        <translation>Score&#xa0;: %1</translation>
    </message>
    <message>
        <source>Good Luck %1</source>
        <translation>Bonne chance %1</translation>
    </message>
    <message>
        <source>Round: %1 of 10</source>
        <translation>Manche&#xa0;: %1 sur 10</translation>
    </message>
    <message>
        <source>Roll the Dice!</source>
        <translation>Lancez les dés&#xa0;!</translation>
    </message>
    <message>
        <source>Select Boxes to Shut!</source>
        <translation>Choisissez les volets à fermer&#xa0;!</translation>
    </message>
    <message>
        <source>Roll Again</source>
        <translation>Relancez</translation>
    </message>
    <message>
        <source>Round Score: %1</source>
        <translation>Score de la manche&#xa0;: %1</translation>
    </message>
    <message>
        <source>Your Score: %1</source>
        <translation>Votre score&#xa0;: %1</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>Start Game</source>
        <translation>Nouvelle partie</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>Play Sounds</source>
        <translation>Jouer les sons</translation>
    </message>
    <message>
        <source>Reset Screen Location</source>
        <translation>Rétablir la position de la fenêtre</translation>
    </message>
    <message>
        <source>Change  Name</source>
        <translation>Changer de nom</translation>
    </message>
    <message>
        <source>Automatically Check for Updates</source>
        <translation>Rechercher les mises à jour automatiquement</translation>
    </message>
    <message>
        <source>Verified Games (Online)</source>
        <translation>Parties vérifiées (en ligne)</translation>
    </message>
    <message>
        <source>Show Best Move</source>
        <translation>Montrer le meilleur coup</translation>
    </message>
    <message>
        <source>Always Show Best Move</source>
        <translation>Toujours montrer le meilleur coup</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Affichage</translation>
    </message>
    <message>
        <source>Tally List</source>
        <translation>Bilan</translation>
    </message>
    <message>
        <source>View High Score List</source>
        <translation>Voir les meilleurs scores</translation>
    </message>
    <message>
        <source>Coach</source>
        <translation>Entraîneur</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Ai&amp;de</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>&amp;Multiplayer Version of Velnor</source>
        <translation>Version &amp;multijoueur de Velnor</translation>
    </message>
    <message>
        <source>Board</source>
        <translation>Plateau</translation>
    </message>
    <message>
        <source>Welcome to Velnor Solo!</source>
        <translation>Bienvenue dans Velnor Solo&#xa0;!</translation>
    </message>
    <message>
        <source>Tile board</source>
        <translation>Plateau des volets</translation>
    </message>
    <message>
        <source>Score: 0</source>
        <translation>Score&#xa0;: 0</translation>
    </message>
    <message>
        <source>Round: 0 of 10</source>
        <translation>Manche&#xa0;: 0 sur 10</translation>
    </message>
    <message>
        <source>START GAME</source>
        <translation>JOUER</translation>
    </message>
    <message>
        <source>Velnor Solo home page</source>
        <translation>Page d&apos;accueil de Velnor Solo</translation>
    </message>
    <message>
        <source>Dice board</source>
        <translation>Plateau des dés</translation>
    </message>
    <message>
        <source>SHUT TOTAL</source>
        <translation>TOTAL</translation>
    </message>
    <message>
        <source>Roll the dice</source>
        <translation>Lancer les dés</translation>
    </message>
    <message>
        <source>Welcome to Velnor Solo</source>
        <translation>Bienvenue dans Velnor Solo</translation>
    </message>
    <message>
        <source>Round scores</source>
        <translation>Points des manches</translation>
    </message>
    <message>
        <source>Round</source>
        <translation>Manche</translation>
    </message>
    <message>
        <source>Score</source>
        <translation>Score</translation>
    </message>
    <message>
        <source>Game over</source>
        <translation>Fin de partie</translation>
    </message>
    <message>
        <source>Game Over!</source>
        <translation>Fin de partie&#xa0;!</translation>
    </message>
    <message>
        <source>Your Score: </source>
        <translation>Votre score&#xa0;: </translation>
    </message>
    <message>
        <source>Enter Your Name</source>
        <translation>Entrez votre nom</translation>
    </message>
    <message>
        <source>Your name</source>
        <translation>Votre nom</translation>
    </message>
    <message>
        <source>SEND SCORE</source>
        <translation>ENVOYER LE SCORE</translation>
    </message>
    <message>
        <source>VIEW HIGH SCORES</source>
        <translation>MEILLEURS SCORES</translation>
    </message>
    <message>
        <source>DONE</source>
        <translation>TERMINÉ</translation>
    </message>
    <message>
        <source>Posting Score, Please Wait......</source>
        <translation>Envoi du score, patientez......</translation>
    </message>
    <message>
        <source>ENTER YOUR NAME</source>
        <translation>ENTREZ VOTRE NOM</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>ANNULER</translation>
    </message>
</context>
<context>
    <name>velnor::Tmultiplayer</name>
    <message>
        <source>Velnor Solo - Multiplayer</source>
        <translation>Velnor Solo - Multijoueur</translation>
    </message>
    <message>
        <source>If you enjoy this game, check out the multiplayer version at %1!</source>
        <translation>Si ce jeu vous plaît, découvrez la version multijoueur sur %1&#xa0;!</translation>
    </message>
    <message>
        <source>Click HERE to learn how to Play Velnor against others in %1!</source>
        <translation>Cliquez ICI pour apprendre à jouer à Velnor contre d&apos;autres sur %1&#xa0;!</translation>
    </message>
    <message>
        <source>Multiplayer version of Velnor in %1</source>
        <translation>Version multijoueur de Velnor sur %1</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Terminé</translation>
    </message>
</context>
<context>
    <name>velnor::Ttallylist</name>
    <message>
        <source>Velnor Solo - Tally List</source>
        <translation>Velnor Solo - Bilan</translation>
    </message>
    <message>
        <source>YOUR TALLY LIST</source>
        <translation>VOTRE BILAN</translation>
    </message>
    <message>
        <source>Total Games:</source>
        <translation>Parties&#xa0;:</translation>
    </message>
    <message>
        <source>Velnores:</source>
        <translation>Velnores&#xa0;:</translation>
    </message>
    <message>
        <source>HIGH SCORES</source>
        <translation>MEILLEURS SCORES</translation>
    </message>
    <message>
        <source>High scores</source>
        <translation>Meilleurs scores</translation>
    </message>
    <message>
        <source>Rank</source>
        <translation>Rang</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Score</source>
        <translation>Score</translation>
    </message>
    <message>
        <source>RESET TALLY</source>
        <translation>EFFACER</translation>
    </message>
    <message>
        <source>DONE</source>
        <translation>TERMINÉ</translation>
    </message>
    <message>
        <source>Are you sure you want to reset the Tally?</source>
        <translation>Voulez-vous vraiment remettre le bilan à zéro&#xa0;?</translation>
    </message>
</context>
<context>
    <name>velnor::UpdatePanel</name>
    <message>
        <source>Update Available</source>
        <translation>Mise à jour disponible</translation>
    </message>
    <message>
        <source>Would you like to update now?</source>
        <translation>Mettre à jour maintenant&#xa0;?</translation>
    </message>
    <message>
        <source>UPDATE</source>
        <translation>INSTALLER</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>ANNULER</translation>
    </message>
    <message>
        <source>Updating. Please Wait...</source>
        <translation>Mise à jour, patientez...</translation>
    </message>
    <message>
        <source>Received %1 bytes</source>
        <translation>%1 octets reçus</translation>
    </message>
    <message>
        <source>Download Aborted</source>
        <translation>Téléchargement interrompu</translation>
    </message>
    <message>
        <source>Installing</source>
        <translation>Installation</translation>
    </message>
    <message>
        <source>There was an error in the update process. Please download%1 manually from %2.</source>
        <translation>Une erreur est survenue pendant la mise à jour. Veuillez télécharger%1 vous-même sur %2.</translation>
    </message>
    <message>
        <source>Download Aborted: the server&apos;s update was refused, and the game stays as it is.</source>
        <translation>Téléchargement interrompu&#xa0;: la mise à jour du serveur a été refusée, et le jeu reste tel quel.</translation>
    </message>
</context>
</TS>
