// What the game's sound player costs where start-up would feel it: creating it, the second
// after (anything it set going in the background), and its first cue, which opens the sound
// module (the build's). For each: the wall time, the process's CPU time (all threads), and the
// PulseAudio connections the process then holds.
// One measurement a run, so that each one pays what a fresh start pays. Run it against a
// server of your own, as bench/startup_bench.sh starts one:
//
//   PULSE_SERVER=unix:/path/to/native sound_player_cost
#include <QCoreApplication>
#include <QProcess>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <ctime>

#include "game/soundmoduleplayer.h"

namespace {

double cpu_ms() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double wall_ms() {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The server's clients that are this process.
int pulse_connections() {
  QProcess pactl;
  pactl.start("pactl", {"list", "clients"});
  pactl.waitForFinished(5000);
  const QByteArray ours = "application.process.id = \"" + QByteArray::number(QCoreApplication::applicationPid()) + '"';
  return static_cast<int>(pactl.readAllStandardOutput().count(ours));
}

void run_events_for(int ms) {
  QTimer::singleShot(ms, qApp, &QCoreApplication::quit);
  QCoreApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const double wall0 = wall_ms(), cpu0 = cpu_ms();
  velnor::SoundModulePlayer player(VELNOR_SOUND_MODULE_PATH);
  const double wall1 = wall_ms(), cpu1 = cpu_ms();
  run_events_for(1000);
  const double cpu2 = cpu_ms();
  const int connections_created = pulse_connections();

  const double wall3 = wall_ms(), cpu3 = cpu_ms();
  player.play("entered");
  const double wall4 = wall_ms(), cpu4 = cpu_ms();
  run_events_for(1500);
  const double cpu5 = cpu_ms();
  const int connections_played = pulse_connections();

  std::printf("create: %.2f ms wall, %.2f ms CPU; the second after: %.2f ms CPU, %d PulseAudio connections\n",
              wall1 - wall0, cpu1 - cpu0, cpu2 - cpu1, connections_created);
  std::printf("first cue: %.2f ms wall, %.2f ms CPU; while it sounds: %.2f ms CPU, %d PulseAudio connections\n",
              wall4 - wall3, cpu4 - cpu3, cpu5 - cpu4, connections_played);
  return 0;
}
