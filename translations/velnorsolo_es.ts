<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>BoardAccessible</name>
    <message>
        <source>open</source>
        <translation>abierta</translation>
    </message>
    <message>
        <source>picked</source>
        <translation>elegida</translation>
    </message>
    <message>
        <source>shut</source>
        <translation>cerrada</translation>
    </message>
    <message>
        <source>Tile %1</source>
        <translation>Casilla %1</translation>
    </message>
    <message>
        <source>: a play</source>
        <translation>: hay jugada</translation>
    </message>
    <message>
        <source>: all nine shut, round %1 scores %2</source>
        <translation>: las nueve cerradas, la ronda %1 suma %2</translation>
    </message>
    <message>
        <source>: no play, round %1 scores %2</source>
        <translation>: sin jugada, la ronda %1 suma %2</translation>
    </message>
    <message>
        <source>Dice: not rolled yet</source>
        <translation>Dados: aún sin tirar</translation>
    </message>
    <message>
        <source>Dice: %1 and %2, total %3</source>
        <translation>Dados: %1 y %2, total %3</translation>
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
        <translation>Uso: velnorsolo [OPCIÓN]...
Tira dos dados y cierra las casillas numeradas que sumen lo mismo que la tirada;
diez rondas forman una partida.

  -h, --help       muestra esta ayuda y sale
  -v, --version    muestra la versión y sale

Las opciones propias de Qt funcionan como en cualquier programa Qt, entre ellas
-platform NOMBRE, -display PANTALLA y -style ESTILO.

Una copia en una carpeta en la que puedas escribir, fuera de las carpetas del sistema, guarda
su configuración (velnorsolo.ini) y su registro (velnorsolotally.tld) junto al programa. Una
copia instalada guarda los de cada usuario: la configuración en $XDG_CONFIG_HOME/velnorsolo
(~/.config/velnorsolo), el registro en $XDG_DATA_HOME/velnorsolo (~/.local/share/velnorsolo).

VELNOR_SERVER=http://HOST/ o https://HOST/ (puede seguir una ruta terminada en /) dirige el juego a
otro servidor web para puntuaciones y actualizaciones; https se comprueba con el almacén de certificados del sistema.
</translation>
    </message>
    <message>
        <source>velnorsolo: unknown option &apos;%1&apos; (try velnorsolo --help)
</source>
        <translation>velnorsolo: opción desconocida «%1» (prueba velnorsolo --help)
</translation>
    </message>
    <message>
        <source>velnorsolo: the game takes no file or other argument: &apos;%1&apos; (try velnorsolo --help)
</source>
        <translation>velnorsolo: el juego no admite archivos ni otros argumentos: «%1» (prueba velnorsolo --help)
</translation>
    </message>
    <message>
        <source>velnorsolo: no display to open: neither DISPLAY nor WAYLAND_DISPLAY is set
</source>
        <translation>velnorsolo: no hay pantalla que abrir: no están definidas ni DISPLAY ni WAYLAND_DISPLAY
</translation>
    </message>
    <message>
        <source>velnorsolo: VELNOR_SERVER must be http://HOST/ or https://HOST/ (no port; a path must end in /), not &apos;%1&apos;
</source>
        <translation>velnorsolo: VELNOR_SERVER debe ser http://HOST/ o https://HOST/ (sin puerto; una ruta termina en /), no «%1»
</translation>
    </message>
</context>
<context>
    <name>PostingWait</name>
    <message>
        <source>Posting Failed.</source>
        <translation>El envío ha fallado.</translation>
    </message>
    <message>
        <source>Posting Score, Please Wait</source>
        <translation>Enviando puntos, espera</translation>
    </message>
</context>
<context>
    <name>SaveFailures</name>
    <message>
        <source>Your settings</source>
        <translation>Tu configuración</translation>
    </message>
    <message>
        <source>%1 could not be saved in the folder %2, so it is kept only until the game ends (%4).</source>
        <translation>%1: no se pudo guardar en la carpeta %2, así que solo se conserva hasta que acabe el juego (%4).</translation>
    </message>
    <message>
        <source>%1 could not be saved in the folder %2, so %3 there keeps what it held before: the file is read-only (%4).</source>
        <translation>%1: no se pudo guardar en la carpeta %2, así que %3 conserva allí lo que tenía: el archivo es de solo lectura (%4).</translation>
    </message>
    <message>
        <source>%1 could not be saved in the folder %2, so %3 there keeps what it held before (%4).</source>
        <translation>%1: no se pudo guardar en la carpeta %2, así que %3 conserva allí lo que tenía (%4).</translation>
    </message>
    <message>
        <source>Your tally</source>
        <translation>Tu registro</translation>
    </message>
</context>
<context>
    <name>TlsChannel</name>
    <message>
        <source>certificate expired</source>
        <translation>certificado caducado</translation>
    </message>
    <message>
        <source>certificate not yet valid</source>
        <translation>certificado aún no válido</translation>
    </message>
    <message>
        <source>host name mismatch</source>
        <translation>el nombre del host no coincide</translation>
    </message>
    <message>
        <source>self-signed certificate</source>
        <translation>certificado autofirmado</translation>
    </message>
    <message>
        <source>certificate from an unknown authority</source>
        <translation>certificado de una autoridad desconocida</translation>
    </message>
    <message>
        <source>No secure connection: %1</source>
        <translation>Sin conexión segura: %1</translation>
    </message>
    <message>
        <source>the TLS library cannot start</source>
        <translation>la biblioteca TLS no puede iniciarse</translation>
    </message>
    <message>
        <source>the host name cannot be checked</source>
        <translation>no se puede comprobar el nombre del host</translation>
    </message>
    <message>
        <source>The server&apos;s certificate does not hold: %1</source>
        <translation>El certificado del servidor no es válido: %1</translation>
    </message>
    <message>
        <source>the connection was closed</source>
        <translation>la conexión se cerró</translation>
    </message>
    <message>
        <source>No TLS library: %1</source>
        <translation>Sin biblioteca TLS: %1</translation>
    </message>
</context>
<context>
    <name>UnreadableFile</name>
    <message>
        <source>Your settings</source>
        <translation>Tu configuración</translation>
    </message>
    <message>
        <source>the settings started afresh</source>
        <translation>la configuración empieza de nuevo</translation>
    </message>
    <message>
        <source>changes to the settings are not saved</source>
        <translation>los cambios en la configuración no se guardan</translation>
    </message>
    <message>
        <source>Your tally</source>
        <translation>Tu registro</translation>
    </message>
    <message>
        <source>a new tally was started</source>
        <translation>se empezó un registro nuevo</translation>
    </message>
    <message>
        <source>the games of this session are not recorded in it</source>
        <translation>las partidas de esta sesión no se anotan en él</translation>
    </message>
    <message>
        <source>%1 could not be opened, so %2 in the folder %3 was left as it is and %4.</source>
        <translation>%1: no se pudo abrir, así que %2 en la carpeta %3 se dejó como estaba y %4.</translation>
    </message>
    <message>
        <source>%1 could not be read, so the file was kept as %2 in the folder %3 and %4.</source>
        <translation>%1: no se pudo leer, así que el archivo se guardó como %2 en la carpeta %3 y %4.</translation>
    </message>
    <message>
        <source>%1 could not be read nor kept aside, so %2 in the folder %3 was left as it is and %4.</source>
        <translation>%1: no se pudo leer ni apartar, así que %2 en la carpeta %3 se dejó como estaba y %4.</translation>
    </message>
</context>
<context>
    <name>VelnorApplication</name>
    <message>
        <source>Unknown error</source>
        <translation>Error desconocido</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Velnor Solo is already running on the records in %1, in another session or for another user. Close it there first.</source>
        <translation>Velnor Solo ya se está ejecutando con los datos de %1, en otra sesión o para otro usuario. Ciérralo allí primero.</translation>
    </message>
</context>
<context>
    <name>velnor::TCoachChart</name>
    <message>
        <source>best play averages %1 a round</source>
        <translation>el mejor juego da %1 de media por ronda</translation>
    </message>
</context>
<context>
    <name>velnor::Tabout</name>
    <message>
        <source>Velnor Solo - About</source>
        <translation>Velnor Solo - Acerca de</translation>
    </message>
    <message>
        <source>A game by %1</source>
        <translation>Un juego de %1</translation>
    </message>
    <message>
        <source>Copyright %1 -</source>
        <translation>Copyright %1 -</translation>
    </message>
    <message>
        <source>All rights reserved.</source>
        <translation>Derechos reservados.</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Versión %1</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Hecho</translation>
    </message>
</context>
<context>
    <name>velnor::Tcoach</name>
    <message>
        <source>Velnor Solo - Coach</source>
        <translation>Velnor Solo - Entrenador</translation>
    </message>
    <message>
        <source>Turns</source>
        <translation>Jugadas</translation>
    </message>
    <message>
        <source>Best play averages %1 a game</source>
        <translation>El mejor juego da %1 de media por partida</translation>
    </message>
    <message>
        <source>No turns to review yet</source>
        <translation>Aún no hay jugadas que revisar</translation>
    </message>
    <message>
        <source>Your choices cost %1 points</source>
        <translation>Tus elecciones costaron %1 puntos</translation>
    </message>
    <message>
        <source>Round</source>
        <translation>Ronda</translation>
    </message>
    <message>
        <source>Roll</source>
        <translation>Tirada</translation>
    </message>
    <message>
        <source>You shut</source>
        <translation>Tu elección</translation>
    </message>
    <message>
        <source>Best</source>
        <translation>Mejor</translation>
    </message>
    <message>
        <source>Cost</source>
        <translation>Coste</translation>
    </message>
    <message>
        <source>no play</source>
        <translation>sin jugada</translation>
    </message>
</context>
<context>
    <name>velnor::Thelp</name>
    <message>
        <source>Velnor Solo - Help File</source>
        <translation>Velnor Solo - Ayuda</translation>
    </message>
    <message>
        <source>Overview</source>
        <translation>Resumen</translation>
    </message>
    <message>
        <source>Game Play</source>
        <translation>Cómo se juega</translation>
    </message>
    <message>
        <source>Scoring</source>
        <translation>Puntuación</translation>
    </message>
    <message>
        <source>Documentation</source>
        <translation>Documentación</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>Velnor Solo by</source>
        <translation>Velnor Solo por</translation>
    </message>
    <message>
        <source>Copyright %1 -</source>
        <translation>Copyright %1 -</translation>
    </message>
    <message>
        <source>All rights reserved.</source>
        <translation>Derechos reservados.</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Hecho</translation>
    </message>
    <message>
        <source>We play this game a lot while hanging out with my friends and family.</source>
        <translation>Jugamos mucho a este juego cuando estoy con mis amigos y mi familia.</translation>
    </message>
    <message>
        <source>This game is dedicated to everyone who has ever stayed at the table</source>
        <translation>Este juego está dedicado a todos los que alguna vez se quedaron en la mesa</translation>
    </message>
    <message>
        <source>for just one more round.</source>
        <translation>para jugar solo una ronda más.</translation>
    </message>
    <message>
        <source>The game consists of 10 rounds.</source>
        <translation>La partida consta de 10 rondas.</translation>
    </message>
    <message>
        <source>After rolling the dice, you select boxes to shut that equal the sum of the dice. </source>
        <translation>Después de tirar los dados, eliges casillas para cerrar que sumen lo mismo que los dados. </translation>
    </message>
    <message>
        <source>The boxes must be open in order to select them.  </source>
        <translation>Solo se pueden elegir casillas abiertas.  </translation>
    </message>
    <message>
        <source>For example, if you roll a 1 and a 5, you can choose to cover up one of the </source>
        <translation>Por ejemplo, si sacas un 1 y un 5, puedes cerrar uno de los </translation>
    </message>
    <message>
        <source>sets of numbers below as long as the box is open.</source>
        <translation>grupos de números siguientes, siempre que sus casillas estén abiertas.</translation>
    </message>
    <message>
        <source>1 and 5</source>
        <translation>1 y 5</translation>
    </message>
    <message>
        <source>2 and 4</source>
        <translation>2 y 4</translation>
    </message>
    <message>
        <source>1, 2, and 3</source>
        <translation>1, 2 y 3</translation>
    </message>
    <message>
        <source>If at any time during the round, you cannot close boxes that equal the sum of </source>
        <translation>Si en algún momento de la ronda no puedes cerrar casillas que sumen </translation>
    </message>
    <message>
        <source>the dice, then the round will end.</source>
        <translation>lo mismo que los dados, la ronda termina.</translation>
    </message>
    <message>
        <source>You receive points equal to the boxes that you shut.</source>
        <translation>Recibes tantos puntos como sumen las casillas que cierres.</translation>
    </message>
    <message>
        <source>If you shut all the boxes, you receive a 20 point bonus.</source>
        <translation>Si cierras todas las casillas, recibes 20 puntos extra.</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Historial</translation>
    </message>
    <message>
        <source>July 13, 2013 - Version 1.0.0.2</source>
        <translation>13 de julio de 2013 - Versión 1.0.0.2</translation>
    </message>
    <message>
        <source>  -Fixed about form image</source>
        <translation>  -Corregida la imagen de la ventana Acerca de</translation>
    </message>
    <message>
        <source>Jan 10, 2012 - Version 1.0.0.1</source>
        <translation>10 de ene. de 2012 - Versión 1.0.0.1</translation>
    </message>
</context>
<context>
    <name>velnor::Thighscore</name>
    <message>
        <source>Velnor Solo - High Scores</source>
        <translation>Velnor Solo - Mejores puntos</translation>
    </message>
    <message>
        <source>High score list</source>
        <translation>Lista de mejores puntuaciones</translation>
    </message>
    <message>
        <source>DONE</source>
        <translation>HECHO</translation>
    </message>
    <message>
        <source>&lt;p&gt;The high-score page is too large or too deeply nested to show.&lt;/p&gt;</source>
        <translation>&lt;p&gt;La página de mejores puntuaciones es demasiado grande o está demasiado anidada para mostrarla.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>velnor::Tmain</name>
    <message>
        <source>Score: %1</source>
        <translation>Puntos: %1</translation>
    </message>
    <message>
        <source>Good Luck %1</source>
        <translation>Buena suerte %1</translation>
    </message>
    <message>
        <source>Round: %1 of 10</source>
        <translation>Ronda: %1 de 10</translation>
    </message>
    <message>
        <source>Roll the Dice!</source>
        <translation>¡Tira los dados!</translation>
    </message>
    <message>
        <source>Select Boxes to Shut!</source>
        <translation>¡Elige casillas para cerrar!</translation>
    </message>
    <message>
        <source>Roll Again</source>
        <translation>Vuelve a tirar</translation>
    </message>
    <message>
        <source>Round Score: %1</source>
        <translation>Puntos de la ronda: %1</translation>
    </message>
    <message>
        <source>Your Score: %1</source>
        <translation>Tus puntos: %1</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>Start Game</source>
        <translation>Empezar partida</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Opciones</translation>
    </message>
    <message>
        <source>Play Sounds</source>
        <translation>Reproducir sonidos</translation>
    </message>
    <message>
        <source>Reset Screen Location</source>
        <translation>Restablecer la posición de la ventana</translation>
    </message>
    <message>
        <source>Change  Name</source>
        <translation>Cambiar el nombre</translation>
    </message>
    <message>
        <source>Automatically Check for Updates</source>
        <translation>Buscar actualizaciones automáticamente</translation>
    </message>
    <message>
        <source>Verified Games (Online)</source>
        <translation>Partidas verificadas (en línea)</translation>
    </message>
    <message>
        <source>Show Best Move</source>
        <translation>Mostrar la mejor jugada</translation>
    </message>
    <message>
        <source>Always Show Best Move</source>
        <translation>Mostrar siempre la mejor jugada</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ver</translation>
    </message>
    <message>
        <source>Tally List</source>
        <translation>Registro</translation>
    </message>
    <message>
        <source>View High Score List</source>
        <translation>Ver mejores puntuaciones</translation>
    </message>
    <message>
        <source>Coach</source>
        <translation>Entrenador</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>A&amp;yuda</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ayuda</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>&amp;Multiplayer Version of Velnor</source>
        <translation>Versión &amp;multijugador de Velnor</translation>
    </message>
    <message>
        <source>Board</source>
        <translation>Tablero</translation>
    </message>
    <message>
        <source>Welcome to Velnor Solo!</source>
        <translation>¡Bienvenido a Velnor Solo!</translation>
    </message>
    <message>
        <source>Tile board</source>
        <translation>Tablero de casillas</translation>
    </message>
    <message>
        <source>Score: 0</source>
        <translation>Puntos: 0</translation>
    </message>
    <message>
        <source>Round: 0 of 10</source>
        <translation>Ronda: 0 de 10</translation>
    </message>
    <message>
        <source>START GAME</source>
        <translation>JUGAR</translation>
    </message>
    <message>
        <source>Velnor Solo home page</source>
        <translation>Página de Velnor Solo</translation>
    </message>
    <message>
        <source>Dice board</source>
        <translation>Tablero de dados</translation>
    </message>
    <message>
        <source>SHUT TOTAL</source>
        <translation>TOTAL</translation>
    </message>
    <message>
        <source>Roll the dice</source>
        <translation>Tirar los dados</translation>
    </message>
    <message>
        <source>Welcome to Velnor Solo</source>
        <translation>Bienvenido a Velnor Solo</translation>
    </message>
    <message>
        <source>Round scores</source>
        <translation>Puntos por ronda</translation>
    </message>
    <message>
        <source>Round</source>
        <translation>Ronda</translation>
    </message>
    <message>
        <source>Score</source>
        <translation>Puntos</translation>
    </message>
    <message>
        <source>Game over</source>
        <translation>Fin de la partida</translation>
    </message>
    <message>
        <source>Game Over!</source>
        <translation>¡Fin de la partida!</translation>
    </message>
    <message>
        <source>Your Score: </source>
        <translation>Tus puntos: </translation>
    </message>
    <message>
        <source>Enter Your Name</source>
        <translation>Escribe tu nombre</translation>
    </message>
    <message>
        <source>Your name</source>
        <translation>Tu nombre</translation>
    </message>
    <message>
        <source>SEND SCORE</source>
        <translation>ENVIAR PUNTOS</translation>
    </message>
    <message>
        <source>VIEW HIGH SCORES</source>
        <translation>MEJORES PUNTOS</translation>
    </message>
    <message>
        <source>DONE</source>
        <translation>HECHO</translation>
    </message>
    <message>
        <source>Posting Score, Please Wait......</source>
        <translation>Enviando puntos, espera......</translation>
    </message>
    <message>
        <source>ENTER YOUR NAME</source>
        <translation>ESCRIBE TU NOMBRE</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>CANCELAR</translation>
    </message>
</context>
<context>
    <name>velnor::Tmultiplayer</name>
    <message>
        <source>Velnor Solo - Multiplayer</source>
        <translation>Velnor Solo - Multijugador</translation>
    </message>
    <message>
        <source>If you enjoy this game, check out the multiplayer version at %1!</source>
        <translation>Si te gusta este juego, prueba la versión multijugador en %1.</translation>
    </message>
    <message>
        <source>Click HERE to learn how to Play Velnor against others in %1!</source>
        <translation>¡Haz clic AQUÍ para aprender a jugar a Velnor contra otros en %1!</translation>
    </message>
    <message>
        <source>Multiplayer version of Velnor in %1</source>
        <translation>Versión multijugador de Velnor en %1</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Hecho</translation>
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
        <translation>TU REGISTRO</translation>
    </message>
    <message>
        <source>Total Games:</source>
        <translation>Partidas:</translation>
    </message>
    <message>
        <source>Velnores:</source>
        <translation>Velnores:</translation>
    </message>
    <message>
        <source>HIGH SCORES</source>
        <translation>MEJORES PUNTOS</translation>
    </message>
    <message>
        <source>High scores</source>
        <translation>Mejores puntos</translation>
    </message>
    <message>
        <source>Rank</source>
        <translation>Puesto</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Fecha</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>Score</source>
        <translation>Puntos</translation>
    </message>
    <message>
        <source>RESET TALLY</source>
        <translation>BORRAR</translation>
    </message>
    <message>
        <source>DONE</source>
        <translation>HECHO</translation>
    </message>
    <message>
        <source>Are you sure you want to reset the Tally?</source>
        <translation>¿Seguro que quieres borrar el registro?</translation>
    </message>
</context>
<context>
    <name>velnor::UpdatePanel</name>
    <message>
        <source>Update Available</source>
        <translation>Actualización disponible</translation>
    </message>
    <message>
        <source>Would you like to update now?</source>
        <translation>¿Quieres actualizar ahora?</translation>
    </message>
    <message>
        <source>UPDATE</source>
        <translation>ACTUALIZAR</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>CANCELAR</translation>
    </message>
    <message>
        <source>Updating. Please Wait...</source>
        <translation>Actualizando, espera...</translation>
    </message>
    <message>
        <source>Received %1 bytes</source>
        <translation>%1 bytes recibidos</translation>
    </message>
    <message>
        <source>Download Aborted</source>
        <translation>Descarga cancelada</translation>
    </message>
    <message>
        <source>Installing</source>
        <translation>Instalando</translation>
    </message>
    <message>
        <source>There was an error in the update process. Please download%1 manually from %2.</source>
        <translation>Hubo un error al actualizar. Descarga%1 a mano desde %2.</translation>
    </message>
    <message>
        <source>Download Aborted: the server&apos;s update was refused, and the game stays as it is.</source>
        <translation>Descarga cancelada: se rechazó la actualización del servidor y el juego queda como está.</translation>
    </message>
</context>
</TS>
