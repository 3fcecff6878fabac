#include <QProcess>

#include <cstdlib>

#include "app/dialogs.h"
#include "app/velnorapplication.h"
#include "game/qtsoundplayer.h"
#include "game/randomgen.h"
#include "game/tmain.h"
#include "online/qtpost.h"
#include "online/thighscore.h"
#include "records/ttallylist.h"
#include "windows/tabout.h"
#include "windows/thelp.h"
#include "windows/tmultiplayer.h"

int main(int argc, char** argv) {
  velnor::MessageBoxDialogs dialogs;
  velnor::VelnorApplication app(argc, argv, dialogs);
  velnor::QtSoundPlayer sounds;
  velnor::RandomGen random;

  velnor::Tmain main_window({&sounds, &dialogs, &random, velnor::ms_since_midnight_utc,
                            app.applicationDirPath().toStdString(),
                            app.applicationFilePath().toStdString(), velnor::qt_ui_poster(),
                            [](const QString& program, const QStringList& args) {
                              return QProcess::startDetached(program, args);
                            },
                            [](int code) { std::_Exit(code); }});
  velnor::Ttallylist tallylist(dialogs, app.applicationDirPath().toStdString(), main_window.appname(),
                               &main_window);
  main_window.set_tally(&tallylist, &tallylist);
  velnor::Tabout about(&main_window);
  velnor::Thelp help(&about, &main_window);
  velnor::Thighscore highscore(VELNOR_SERVER_BASE, main_window.appname().toStdString(),
                               velnor::qt_ui_poster(), {}, &main_window);
  main_window.set_highscore(&highscore);

  velnor::Tmultiplayer multiplayer(&main_window);
  main_window.set_windows(&help, &about, &multiplayer, &about.URL1);

  main_window.show();
  return app.exec();
}
