<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
<context>
    <name>BoardAccessible</name>
    <message>
        <source>open</source>
        <translation>aberta</translation>
    </message>
    <message>
        <source>picked</source>
        <translation>escolhida</translation>
    </message>
    <message>
        <source>shut</source>
        <translation>fechada</translation>
    </message>
    <message>
        <source>Tile %1</source>
        <translation>Peça %1</translation>
    </message>
    <message>
        <source>: a play</source>
        <translation>: há jogada</translation>
    </message>
    <message>
        <source>: all nine shut, round %1 scores %2</source>
        <translation>: as nove fechadas, a rodada %1 vale %2</translation>
    </message>
    <message>
        <source>: no play, round %1 scores %2</source>
        <translation>: sem jogada, a rodada %1 vale %2</translation>
    </message>
    <message>
        <source>Dice: not rolled yet</source>
        <translation>Dados: ainda não lançados</translation>
    </message>
    <message>
        <source>Dice: %1 and %2, total %3</source>
        <translation>Dados: %1 e %2, total %3</translation>
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
        <translation>Uso: velnorsolo [OPÇÃO]...
Lance dois dados e feche as peças numeradas cuja soma é igual ao lance;
dez rodadas formam uma partida.

  -h, --help       mostra esta ajuda e sai
  -v, --version    mostra a versão e sai

As opções próprias do Qt funcionam como em qualquer programa Qt, entre elas -platform NOME,
-display TELA e -style ESTILO.

Uma cópia numa pasta em que você pode escrever, fora das pastas do sistema, guarda suas
configurações (velnorsolo.ini) e seu placar (velnorsolotally.tld) ao lado do programa. Uma
cópia instalada guarda os de cada usuário: as configurações em $XDG_CONFIG_HOME/velnorsolo
(~/.config/velnorsolo), o placar em $XDG_DATA_HOME/velnorsolo (~/.local/share/velnorsolo).

VELNOR_SERVER=http://HOST/ ou https://HOST/ (pode seguir um caminho terminado em /) aponta o jogo para
outro servidor web de pontuações e atualizações; https é verificado com o repositório de certificados do sistema.
</translation>
    </message>
    <message>
        <source>velnorsolo: unknown option &apos;%1&apos; (try velnorsolo --help)
</source>
        <translation>velnorsolo: opção desconhecida “%1” (tente velnorsolo --help)
</translation>
    </message>
    <message>
        <source>velnorsolo: the game takes no file or other argument: &apos;%1&apos; (try velnorsolo --help)
</source>
        <translation>velnorsolo: o jogo não aceita arquivos nem outros argumentos: “%1” (tente velnorsolo --help)
</translation>
    </message>
    <message>
        <source>velnorsolo: no display to open: neither DISPLAY nor WAYLAND_DISPLAY is set
</source>
        <translation>velnorsolo: nenhuma tela para abrir: nem DISPLAY nem WAYLAND_DISPLAY estão definidos
</translation>
    </message>
    <message>
        <source>velnorsolo: VELNOR_SERVER must be http://HOST/ or https://HOST/ (no port; a path must end in /), not &apos;%1&apos;
</source>
        <translation>velnorsolo: VELNOR_SERVER deve ser http://HOST/ ou https://HOST/ (sem porta; um caminho termina em /), não &apos;%1&apos;
</translation>
    </message>
</context>
<context>
    <name>PostingWait</name>
    <message>
        <source>Posting Failed.</source>
        <translation>Falha no envio.</translation>
    </message>
    <message>
        <source>Posting Score, Please Wait</source>
        <translation>Enviando pontos, aguarde</translation>
    </message>
</context>
<context>
    <name>SaveFailures</name>
    <message>
        <source>Your settings</source>
        <translation>Suas configurações</translation>
    </message>
    <message>
        <source>%1 could not be saved in the folder %2, so it is kept only until the game ends (%4).</source>
        <translation>%1: não foi possível salvar na pasta %2, então os dados ficam só até o jogo terminar (%4).</translation>
    </message>
    <message>
        <source>%1 could not be saved in the folder %2, so %3 there keeps what it held before: the file is read-only (%4).</source>
        <translation>%1: não foi possível salvar na pasta %2, então %3 lá mantém o conteúdo anterior: o arquivo é somente leitura (%4).</translation>
    </message>
    <message>
        <source>%1 could not be saved in the folder %2, so %3 there keeps what it held before (%4).</source>
        <translation>%1: não foi possível salvar na pasta %2, então %3 lá mantém o conteúdo anterior (%4).</translation>
    </message>
    <message>
        <source>Your tally</source>
        <translation>Seu placar</translation>
    </message>
</context>
<context>
    <name>TlsChannel</name>
    <message>
        <source>certificate expired</source>
        <translation>certificado expirado</translation>
    </message>
    <message>
        <source>certificate not yet valid</source>
        <translation>certificado ainda não válido</translation>
    </message>
    <message>
        <source>host name mismatch</source>
        <translation>nome do host não confere</translation>
    </message>
    <message>
        <source>self-signed certificate</source>
        <translation>certificado autoassinado</translation>
    </message>
    <message>
        <source>certificate from an unknown authority</source>
        <translation>certificado de uma autoridade desconhecida</translation>
    </message>
    <message>
        <source>No secure connection: %1</source>
        <translation>Sem conexão segura: %1</translation>
    </message>
    <message>
        <source>the TLS library cannot start</source>
        <translation>a biblioteca TLS não inicia</translation>
    </message>
    <message>
        <source>the host name cannot be checked</source>
        <translation>o nome do host não pode ser verificado</translation>
    </message>
    <message>
        <source>The server&apos;s certificate does not hold: %1</source>
        <translation>O certificado do servidor não é válido: %1</translation>
    </message>
    <message>
        <source>the connection was closed</source>
        <translation>a conexão foi fechada</translation>
    </message>
    <message>
        <source>No TLS library: %1</source>
        <translation>Sem biblioteca TLS: %1</translation>
    </message>
</context>
<context>
    <name>UnreadableFile</name>
    <message>
        <source>Your settings</source>
        <translation>Suas configurações</translation>
    </message>
    <message>
        <source>the settings started afresh</source>
        <translation>as configurações recomeçam do zero</translation>
    </message>
    <message>
        <source>changes to the settings are not saved</source>
        <translation>as mudanças nas configurações não são salvas</translation>
    </message>
    <message>
        <source>Your tally</source>
        <translation>Seu placar</translation>
    </message>
    <message>
        <source>a new tally was started</source>
        <translation>um novo placar foi iniciado</translation>
    </message>
    <message>
        <source>the games of this session are not recorded in it</source>
        <translation>as partidas desta sessão não são registradas nele</translation>
    </message>
    <message>
        <source>%1 could not be opened, so %2 in the folder %3 was left as it is and %4.</source>
        <translation>%1: não foi possível abrir, então %2 na pasta %3 ficou como estava e %4.</translation>
    </message>
    <message>
        <source>%1 could not be read, so the file was kept as %2 in the folder %3 and %4.</source>
        <translation>%1: não foi possível ler, então o arquivo foi guardado como %2 na pasta %3 e %4.</translation>
    </message>
    <message>
        <source>%1 could not be read nor kept aside, so %2 in the folder %3 was left as it is and %4.</source>
        <translation>%1: não foi possível ler nem guardar à parte, então %2 na pasta %3 ficou como estava e %4.</translation>
    </message>
</context>
<context>
    <name>VelnorApplication</name>
    <message>
        <source>Unknown error</source>
        <translation>Erro desconhecido</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Velnor Solo is already running on the records in %1, in another session or for another user. Close it there first.</source>
        <translation>O Velnor Solo já está em execução com os dados em %1, em outra sessão ou para outro usuário. Feche-o lá primeiro.</translation>
    </message>
</context>
<context>
    <name>velnor::TCoachChart</name>
    <message>
        <source>best play averages %1 a round</source>
        <translation>o melhor jogo rende em média %1 por rodada</translation>
    </message>
</context>
<context>
    <name>velnor::Tabout</name>
    <message>
        <source>Velnor Solo - About</source>
        <translation>Velnor Solo - Sobre</translation>
    </message>
    <message>
        <source>A game by %1</source>
        <translation>Um jogo de %1</translation>
    </message>
    <message>
        <source>Copyright %1 -</source>
        <translation>Copyright %1 -</translation>
    </message>
    <message>
        <source>All rights reserved.</source>
        <translation>Direitos reservados.</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Versão %1</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Pronto</translation>
    </message>
</context>
<context>
    <name>velnor::Tcoach</name>
    <message>
        <source>Velnor Solo - Coach</source>
        <translation>Velnor Solo - Treinador</translation>
    </message>
    <message>
        <source>Turns</source>
        <translation>Jogadas</translation>
    </message>
    <message>
        <source>Best play averages %1 a game</source>
        <translation>O melhor jogo rende em média %1 por partida</translation>
    </message>
    <message>
        <source>No turns to review yet</source>
        <translation>Ainda não há jogadas para revisar</translation>
    </message>
    <message>
        <source>Your choices cost %1 points</source>
        <translation>Suas escolhas custaram %1 pontos</translation>
    </message>
    <message>
        <source>Round</source>
        <translation>Rodada</translation>
    </message>
    <message>
        <source>Roll</source>
        <translation>Lance</translation>
    </message>
    <message>
        <source>You shut</source>
        <translation>Sua escolha</translation>
    </message>
    <message>
        <source>Best</source>
        <translation>Melhor</translation>
    </message>
    <message>
        <source>Cost</source>
        <translation>Custo</translation>
    </message>
    <message>
        <source>no play</source>
        <translation>sem jogada</translation>
    </message>
</context>
<context>
    <name>velnor::Thelp</name>
    <message>
        <source>Velnor Solo - Help File</source>
        <translation>Velnor Solo - Ajuda</translation>
    </message>
    <message>
        <source>Overview</source>
        <translation>Visão geral</translation>
    </message>
    <message>
        <source>Game Play</source>
        <translation>Como jogar</translation>
    </message>
    <message>
        <source>Scoring</source>
        <translation>Pontuação</translation>
    </message>
    <message>
        <source>Documentation</source>
        <translation>Documentação</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Sobre</translation>
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
        <translation>Direitos reservados.</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Pronto</translation>
    </message>
    <message>
        <source>We play this game a lot while hanging out with my friends and family.</source>
        <translation>Jogamos muito este jogo quando estou com meus amigos e minha família.</translation>
    </message>
    <message>
        <source>This game is dedicated to everyone who has ever stayed at the table</source>
        <translation>Este jogo é dedicado a todos que já ficaram à mesa</translation>
    </message>
    <message>
        <source>for just one more round.</source>
        <translation>para só mais uma rodada.</translation>
    </message>
    <message>
        <source>The game consists of 10 rounds.</source>
        <translation>A partida tem 10 rodadas.</translation>
    </message>
    <message>
        <source>After rolling the dice, you select boxes to shut that equal the sum of the dice. </source>
        <translation>Depois de lançar os dados, você escolhe peças para fechar cuja soma é igual à dos dados. </translation>
    </message>
    <message>
        <source>The boxes must be open in order to select them.  </source>
        <translation>Só é possível escolher peças abertas.  </translation>
    </message>
    <message>
        <source>For example, if you roll a 1 and a 5, you can choose to cover up one of the </source>
        <translation>Por exemplo, se você tirar um 1 e um 5, pode fechar um dos </translation>
    </message>
    <message>
        <source>sets of numbers below as long as the box is open.</source>
        <translation>grupos de números abaixo, desde que suas peças estejam abertas.</translation>
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
        <translation>Se em algum momento da rodada você não puder fechar peças cuja soma </translation>
    </message>
    <message>
        <source>the dice, then the round will end.</source>
        <translation>seja igual à dos dados, a rodada termina.</translation>
    </message>
    <message>
        <source>You receive points equal to the boxes that you shut.</source>
        <translation>Você recebe tantos pontos quanto valem as peças que fechar.</translation>
    </message>
    <message>
        <source>If you shut all the boxes, you receive a 20 point bonus.</source>
        <translation>Se fechar todas as peças, você recebe um bônus de 20 pontos.</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Histórico</translation>
    </message>
    <message>
        <source>July 13, 2013 - Version 1.0.0.2</source>
        <translation>13 de julho de 2013 - Versão 1.0.0.2</translation>
    </message>
    <message>
        <source>  -Fixed about form image</source>
        <translation>  -Corrigida a imagem da janela Sobre</translation>
    </message>
    <message>
        <source>Jan 10, 2012 - Version 1.0.0.1</source>
        <translation>10 de jan. de 2012 - Versão 1.0.0.1</translation>
    </message>
</context>
<context>
    <name>velnor::Thighscore</name>
    <message>
        <source>Velnor Solo - High Scores</source>
        <translation>Velnor Solo - Recordes</translation>
    </message>
    <message>
        <source>High score list</source>
        <translation>Lista de recordes</translation>
    </message>
    <message>
        <source>DONE</source>
        <translation>PRONTO</translation>
    </message>
    <message>
        <source>&lt;p&gt;The high-score page is too large or too deeply nested to show.&lt;/p&gt;</source>
        <translation>&lt;p&gt;A página de recordes é grande demais ou aninhada demais para ser mostrada.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>velnor::Tmain</name>
    <message>
        <source>Score: %1</source>
        <translation>Pontos: %1</translation>
    </message>
    <message>
        <source>Good Luck %1</source>
        <translation>Boa sorte %1</translation>
    </message>
    <message>
        <source>Round: %1 of 10</source>
        <translation>Rodada: %1 de 10</translation>
    </message>
    <message>
        <source>Roll the Dice!</source>
        <translation>Lance os dados!</translation>
    </message>
    <message>
        <source>Select Boxes to Shut!</source>
        <translation>Escolha as peças para fechar!</translation>
    </message>
    <message>
        <source>Roll Again</source>
        <translation>Lance de novo</translation>
    </message>
    <message>
        <source>Round Score: %1</source>
        <translation>Pontos da rodada: %1</translation>
    </message>
    <message>
        <source>Your Score: %1</source>
        <translation>Seus pontos: %1</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Arquivo</translation>
    </message>
    <message>
        <source>Start Game</source>
        <translation>Iniciar partida</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Sair</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Opções</translation>
    </message>
    <message>
        <source>Play Sounds</source>
        <translation>Tocar sons</translation>
    </message>
    <message>
        <source>Reset Screen Location</source>
        <translation>Restaurar a posição da janela</translation>
    </message>
    <message>
        <source>Change  Name</source>
        <translation>Mudar o nome</translation>
    </message>
    <message>
        <source>Automatically Check for Updates</source>
        <translation>Procurar atualizações automaticamente</translation>
    </message>
    <message>
        <source>Verified Games (Online)</source>
        <translation>Partidas verificadas (on-line)</translation>
    </message>
    <message>
        <source>Show Best Move</source>
        <translation>Mostrar a melhor jogada</translation>
    </message>
    <message>
        <source>Always Show Best Move</source>
        <translation>Sempre mostrar a melhor jogada</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Exibir</translation>
    </message>
    <message>
        <source>Tally List</source>
        <translation>Placar</translation>
    </message>
    <message>
        <source>View High Score List</source>
        <translation>Ver recordes</translation>
    </message>
    <message>
        <source>Coach</source>
        <translation>Treinador</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Aj&amp;uda</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ajuda</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Sobre</translation>
    </message>
    <message>
        <source>&amp;Multiplayer Version of Velnor</source>
        <translation>Versão &amp;multijogador do Velnor</translation>
    </message>
    <message>
        <source>Board</source>
        <translation>Tabuleiro</translation>
    </message>
    <message>
        <source>Welcome to Velnor Solo!</source>
        <translation>Bem-vindo ao Velnor Solo!</translation>
    </message>
    <message>
        <source>Tile board</source>
        <translation>Tabuleiro das peças</translation>
    </message>
    <message>
        <source>Score: 0</source>
        <translation>Pontos: 0</translation>
    </message>
    <message>
        <source>Round: 0 of 10</source>
        <translation>Rodada: 0 de 10</translation>
    </message>
    <message>
        <source>START GAME</source>
        <translation>JOGAR</translation>
    </message>
    <message>
        <source>Velnor Solo home page</source>
        <translation>Site do Velnor Solo</translation>
    </message>
    <message>
        <source>Dice board</source>
        <translation>Tabuleiro dos dados</translation>
    </message>
    <message>
        <source>SHUT TOTAL</source>
        <translation>TOTAL</translation>
    </message>
    <message>
        <source>Roll the dice</source>
        <translation>Lançar os dados</translation>
    </message>
    <message>
        <source>Welcome to Velnor Solo</source>
        <translation>Bem-vindo ao Velnor Solo</translation>
    </message>
    <message>
        <source>Round scores</source>
        <translation>Pontos por rodada</translation>
    </message>
    <message>
        <source>Round</source>
        <translation>Rodada</translation>
    </message>
    <message>
        <source>Score</source>
        <translation>Pontos</translation>
    </message>
    <message>
        <source>Game over</source>
        <translation>Fim de jogo</translation>
    </message>
    <message>
        <source>Game Over!</source>
        <translation>Fim de jogo!</translation>
    </message>
    <message>
        <source>Your Score: </source>
        <translation>Seus pontos: </translation>
    </message>
    <message>
        <source>Enter Your Name</source>
        <translation>Digite seu nome</translation>
    </message>
    <message>
        <source>Your name</source>
        <translation>Seu nome</translation>
    </message>
    <message>
        <source>SEND SCORE</source>
        <translation>ENVIAR PONTOS</translation>
    </message>
    <message>
        <source>VIEW HIGH SCORES</source>
        <translation>RECORDES</translation>
    </message>
    <message>
        <source>DONE</source>
        <translation>PRONTO</translation>
    </message>
    <message>
        <source>Posting Score, Please Wait......</source>
        <translation>Enviando pontos, aguarde......</translation>
    </message>
    <message>
        <source>ENTER YOUR NAME</source>
        <translation>DIGITE SEU NOME</translation>
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
        <translation>Velnor Solo - Multijogador</translation>
    </message>
    <message>
        <source>If you enjoy this game, check out the multiplayer version at %1!</source>
        <translation>Se você gosta deste jogo, conheça a versão multijogador em %1!</translation>
    </message>
    <message>
        <source>Click HERE to learn how to Play Velnor against others in %1!</source>
        <translation>Clique AQUI para aprender a jogar Velnor contra outras pessoas em %1!</translation>
    </message>
    <message>
        <source>Multiplayer version of Velnor in %1</source>
        <translation>Versão multijogador do Velnor em %1</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Pronto</translation>
    </message>
</context>
<context>
    <name>velnor::Ttallylist</name>
    <message>
        <source>Velnor Solo - Tally List</source>
        <translation>Velnor Solo - Placar</translation>
    </message>
    <message>
        <source>YOUR TALLY LIST</source>
        <translation>SEU PLACAR</translation>
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
        <translation>RECORDES</translation>
    </message>
    <message>
        <source>High scores</source>
        <translation>Recordes</translation>
    </message>
    <message>
        <source>Rank</source>
        <translation>Posição</translation>
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
        <translation>Pontos</translation>
    </message>
    <message>
        <source>RESET TALLY</source>
        <translation>ZERAR</translation>
    </message>
    <message>
        <source>DONE</source>
        <translation>PRONTO</translation>
    </message>
    <message>
        <source>Are you sure you want to reset the Tally?</source>
        <translation>Tem certeza de que quer zerar o placar?</translation>
    </message>
</context>
<context>
    <name>velnor::UpdatePanel</name>
    <message>
        <source>Update Available</source>
        <translation>Atualização disponível</translation>
    </message>
    <message>
        <source>Would you like to update now?</source>
        <translation>Quer atualizar agora?</translation>
    </message>
    <message>
        <source>UPDATE</source>
        <translation>ATUALIZAR</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>CANCELAR</translation>
    </message>
    <message>
        <source>Updating. Please Wait...</source>
        <translation>Atualizando, aguarde...</translation>
    </message>
    <message>
        <source>Received %1 bytes</source>
        <translation>%1 bytes recebidos</translation>
    </message>
    <message>
        <source>Download Aborted</source>
        <translation>Download cancelado</translation>
    </message>
    <message>
        <source>Installing</source>
        <translation>Instalando</translation>
    </message>
    <message>
        <source>There was an error in the update process. Please download%1 manually from %2.</source>
        <translation>Houve um erro na atualização. Baixe%1 manualmente de %2.</translation>
    </message>
    <message>
        <source>Download Aborted: the server&apos;s update was refused, and the game stays as it is.</source>
        <translation>Download cancelado: a atualização do servidor foi recusada e o jogo continua como está.</translation>
    </message>
</context>
</TS>
