#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "core/uithread.h"

namespace velnor {

class DiceSource;
class Dialogs;
class SaveFailures;
class SeedSupply;
class SoundPlayer;
class TURL;
class Thighscore;
class RandomGen;

// What the main window is given from outside, so that tests can stand in for it.
struct MainServices {
  SoundPlayer* sounds = nullptr;
  Dialogs* dialogs = nullptr;
  RandomGen* random = nullptr;
  std::function<std::uint32_t()> seed_source;  // read once, at creation
  std::filesystem::path settings_dir;          // the settings file lies here
  std::filesystem::path program_file;          // what an update replaces
  PostToUi post_to_ui;                         // hands fetch results to this thread
  // Starts a program detached with an argument list; true when it started.
  std::function<bool(const QString& program, const QStringList& args)> start_detached;
  std::function<void(int)> end_process;   // ends the program at once
  SaveFailures* save_failures = nullptr;  // told of a settings file that cannot be saved
  // The update check and self-update: a portable copy's, never a packaged or installed one's,
  // which only the package manager may replace.
  bool self_update = true;
  std::string release_key;      // the public key that an installer's signature must hold under
  SeedSupply* seeds = nullptr;  // the server's seeds, for scores it can verify; none: the clock's
  DiceSource* dice = nullptr;   // the server's dice for a game it dealt a ticket for; none: its seed's
};

// A window that another shows, built the first time it is asked for; null when there is none.
template <class T>
using WindowSource = std::function<T*()>;

template <class T>
T* wanted(const WindowSource<T>& source) {
  return source ? source() : nullptr;
}

struct SecondaryWindows {
  WindowSource<QWidget> help = {};
  WindowSource<QWidget> about = {};
  WindowSource<QWidget> multiplayer = {};
  WindowSource<TURL> home_link = {};
  WindowSource<Thighscore> highscore = {};
};

}  // namespace velnor
