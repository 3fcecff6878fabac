#include <QProcess>

#include <cstdlib>

#include "windows/dialogs.h"
#include "app/singleinstance.h"
#include "app/terminationsignals.h"
#include "app/velnorapplication.h"
#include "game/qtsoundplayer.h"
#include "game/randomgen.h"
#include "game/tmain.h"
#include "online/qtpost.h"
#include "core/wire.h"
#include "online/thighscore.h"
#include "records/ttallylist.h"
#include "windows/tabout.h"
#include "windows/thelp.h"
#include "windows/tmultiplayer.h"

int main(int argc, char** argv) {
  velnor::MessageBoxDialogs dialogs;
  velnor::VelnorApplication app(argc, argv, dialogs);
  velnor::SingleInstance instance(QString::fromUtf8(velnor::wire::kProductKey.data(), velnor::wire::kProductKey.size()),
                                  app.applicationDirPath());
  if (instance.handed_over()) return 0;
  velnor::QtSoundPlayer sounds;
  velnor::RandomGen random;

  velnor::Tmain main_window({&sounds, &dialogs, &random, velnor::ms_since_midnight_utc,
                            app.applicationDirPath().toStdString(),
                            app.applicationFilePath().toStdString(), velnor::qt_ui_poster(),
                            [](const QString& program, const QStringList& args) {
                              return QProcess::startDetached(program, args);
                            },
                            [](int code) { std::_Exit(code); }});
  velnor::Ttallylist tallylist(dialogs, app.applicationDirPath().toStdString(), &main_window);
  main_window.set_tally(&tallylist, &tallylist);
  velnor::Tabout about(&main_window);
  velnor::Thelp help(&about, &main_window);
  velnor::Thighscore highscore(VELNOR_SERVER_BASE,
                               velnor::qt_ui_poster(), {}, &main_window);
  main_window.set_highscore(&highscore);

  velnor::Tmultiplayer multiplayer(&main_window);
  main_window.set_windows(&help, &about, &multiplayer, &about.URL1);

  instance.on_second_start = [&main_window] {
    main_window.showNormal();
    main_window.raise();
    main_window.activateWindow();
  };
  velnor::close_on_termination_signals(&main_window);

  main_window.show();
  return app.exec();
}
