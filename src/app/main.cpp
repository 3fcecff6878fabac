#include <QProcess>

#include <cstdlib>

#include <malloc.h>

#include "app/singleinstance.h"
#include "app/terminationsignals.h"
#include "app/velnorapplication.h"
#include "core/wire.h"
#include "game/randomgen.h"
#include "game/soundmoduleplayer.h"
#include "game/tmain.h"
#include "online/qtpost.h"
#include "online/thighscore.h"
#include "records/ttallylist.h"
#include "windows/dialogs.h"
#include "windows/tabout.h"
#include "windows/tfont.h"
#include "windows/thelp.h"
#include "windows/tmultiplayer.h"

namespace {

// A window made by make the first time it is asked for, and kept in slot from then on.
template <class T, class Make>
std::function<T*()> built_on_first_use(std::unique_ptr<T>& slot, Make make) {
  return [&slot, make] {
    if (!slot) slot = make();
    return slot.get();
  };
}

}  // namespace

int main(int argc, char** argv) {
  // One malloc arena for all threads. The threads are few and mostly asleep, and an arena of
  // their own each kept what the start-up helpers had freed, some hundreds of KiB.
  mallopt(M_ARENA_MAX, 1);
  // What the first paint needs and the display does not, done while the application connects.
  velnor::read_font_configuration_ahead();
  velnor::Tmain::decode_board_ahead();
  velnor::MessageBoxDialogs dialogs;
  velnor::VelnorApplication app(argc, argv, dialogs);
  velnor::SingleInstance instance(QString::fromUtf8(velnor::wire::kProductKey.data(), velnor::wire::kProductKey.size()),
                                  app.applicationDirPath());
  if (instance.handed_over()) return 0;
  velnor::SoundModulePlayer sounds(velnor::SoundModulePlayer::beside_program(app.applicationDirPath()));
  velnor::RandomGen random;

  velnor::Tmain main_window(
      {.sounds = &sounds,
       .dialogs = &dialogs,
       .random = &random,
       .seed_source = velnor::ms_since_midnight_utc,
       .program_dir = app.applicationDirPath().toStdString(),
       .program_file = app.applicationFilePath().toStdString(),
       .post_to_ui = velnor::qt_ui_poster(),
       .start_detached = [](const QString& program,
                            const QStringList& args) { return QProcess::startDetached(program, args); },
       .end_process = [](int code) { std::_Exit(code); }});
  // The tally is read at start; the other windows are built when first shown.
  velnor::Ttallylist tallylist(dialogs, app.applicationDirPath().toStdString(), &main_window);
  main_window.set_tally(&tallylist, &tallylist);
  std::unique_ptr<velnor::Tabout> about;
  std::unique_ptr<velnor::Thelp> help;
  std::unique_ptr<velnor::Thighscore> highscore;
  std::unique_ptr<velnor::Tmultiplayer> multiplayer;
  const auto about_window = built_on_first_use(about, [&] { return std::make_unique<velnor::Tabout>(&main_window); });
  main_window.set_windows(
      {.help = built_on_first_use(help, [&] { return std::make_unique<velnor::Thelp>(about_window, &main_window); }),
       .about = about_window,
       .multiplayer =
           built_on_first_use(multiplayer, [&] { return std::make_unique<velnor::Tmultiplayer>(&main_window); }),
       .home_link = [&about_window] { return &about_window()->URL1; },
       .highscore = built_on_first_use(highscore, [&] {
         return std::make_unique<velnor::Thighscore>(VELNOR_SERVER_BASE, velnor::qt_ui_poster(),
                                                     velnor::TURL::Launcher{}, &main_window);
       })});

  instance.on_second_start = [&main_window] {
    main_window.showNormal();
    main_window.raise();
    main_window.activateWindow();
  };
  velnor::close_on_termination_signals(&main_window);

  main_window.show();
  return app.exec();
}
