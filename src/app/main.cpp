#include <QProcess>
#include <QScopeGuard>

#include <cstdlib>
#include <optional>

#include <malloc.h>

#include "app/commandline.h"
#include "app/displayguard.h"
#include "app/gametranslation.h"
#include "app/singleinstance.h"
#include "app/terminationsignals.h"
#include "app/velnorapplication.h"
#include "core/recordfolders.h"
#include "core/serveraddress.h"
#include "core/wire.h"
#include "game/soundmoduleplayer.h"
#include "game/tmain.h"
#include "online/qtpost.h"
#include "online/releasesignature.h"
#include "online/seedsupply.h"
#include "online/serverdice.h"
#include "online/thighscore.h"
#include "records/savefailures.h"
#include "records/ttallylist.h"
#include "rules/randomgen.h"
#include "windows/dialogs.h"
#include "windows/tabout.h"
#include "windows/tfont.h"
#include "windows/thelp.h"
#include "windows/timage.h"
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
  const std::unique_ptr<QTranslator> translation = velnor::load_game_translation();
  if (const std::optional<int> answered = velnor::answer_command_line(argc, argv, translation.get())) return *answered;
  // One malloc arena for all threads. The threads are few and mostly asleep, and an arena of
  // their own each kept what the start-up helpers had freed, some hundreds of KiB.
  mallopt(M_ARENA_MAX, 1);
  // What the first paint needs and the display does not, done while the application connects.
  velnor::read_font_configuration_ahead();
  velnor::Tmain::decode_board_ahead();
  // However main ends (a second start ends at once), the decoding is over first: left running into
  // the static destructors, it read resources that were gone.
  const auto decoding_finished = qScopeGuard([] { velnor::finish_pictures_ahead(); });
  velnor::MessageBoxDialogs dialogs;
  std::optional<velnor::DisplayGuard> display_guard(std::in_place);
  velnor::VelnorApplication app(argc, argv, dialogs);
  display_guard.reset();
  std::unique_ptr<QTranslator> qt_translation;
  if (translation) {
    app.installTranslator(translation.get());
    qt_translation = velnor::load_qt_translation(*translation);
    if (qt_translation) app.installTranslator(qt_translation.get());
  }

  const velnor::RecordFolders records = velnor::record_folders(app.applicationDirPath().toStdString());
  velnor::make_record_folder(records.settings);
  velnor::make_record_folder(records.tally);
  velnor::SingleInstance instance(QString::fromUtf8(velnor::wire::kProductKey.data(), velnor::wire::kProductKey.size()),
                                  QString::fromStdString(records.tally.string()));
  switch (instance.start()) {
    case velnor::SingleInstance::Start::handed_over:
      return 0;
    case velnor::SingleInstance::Start::held_elsewhere:
      dialogs.error(nullptr,
                    QCoreApplication::translate("main",
                                                "Velnor Solo is already running on the records in %1, in another "
                                                "session or for another user. Close it there first.")
                        .arg(QString::fromStdString(records.tally.string())));
      return 1;
    case velnor::SingleInstance::Start::first:
      break;
  }
  velnor::SaveFailures save_failures(dialogs);
  velnor::SoundModulePlayer sounds(velnor::SoundModulePlayer::for_program(app.applicationDirPath()));
  velnor::RandomGen random;
  velnor::SeedSupply seeds(velnor::server_base(), velnor::qt_ui_poster());
  velnor::ServerDice dice(velnor::server_base(), velnor::qt_ui_poster());

  velnor::Tmain main_window(
      {.sounds = &sounds,
       .dialogs = &dialogs,
       .random = &random,
       .seed_source = velnor::ms_since_midnight_utc,
       .settings_dir = records.settings,
       .program_file = app.applicationFilePath().toStdString(),
       .post_to_ui = velnor::qt_ui_poster(),
       .start_detached = [](const QString& program,
                            const QStringList& args) { return QProcess::startDetached(program, args); },
       .end_process = [](int code) { std::_Exit(code); },
       .save_failures = &save_failures,
       .self_update = VELNOR_SELF_UPDATE && records.portable,
       // The build checked the key; were it unreadable all the same, no installer would run.
       .release_key =
           velnor::release::key_from_text(VELNOR_RELEASE_KEY, velnor::release::kPublicKeySize).value_or(std::string()),
       .seeds = &seeds,
       .dice = &dice});
  // The tally is read at start; the other windows are built when first shown.
  velnor::Ttallylist tallylist(dialogs, save_failures, records.tally, &main_window);
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
         return std::make_unique<velnor::Thighscore>(velnor::server_base(), velnor::qt_ui_poster(),
                                                     velnor::TURL::Launcher{}, &main_window);
       })});

  instance.on_second_start = [&main_window] {
    main_window.showNormal();
    main_window.raise();
    main_window.activateWindow();
  };
  // A logout has nobody to answer a box: what fails to save goes to standard error.
  velnor::on_termination_signals(&main_window, [&main_window, &save_failures] {
    save_failures.session_ending();
    main_window.close();
  });
  velnor::end_when_closed(&main_window);

  main_window.show();
  return app.exec();
}
