#pragma once

// A main window on the offscreen platform, with recording stand-ins for its
// services and a private program folder.
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>

#include "game/tanimated.h"
#include "game/tmain.h"
#include "support/fakes.h"

namespace velnor::testing {

constexpr std::uint32_t kSeed = 12345;

struct Board : ::testing::Test {
  RecordingSounds sounds;
  RecordingTally tally;
  ScriptedDialogs dialogs;
  RandomGen random;
  QTemporaryDir folder;
  std::optional<Tmain> window;

  void SetUp() override { create(); }

  void create() {
    window.emplace(MainServices{&sounds, &dialogs, &random, [] { return kSeed; },
                                folder.path().toStdString()});
    window->set_tally(&tally);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&*window));
  }

  std::filesystem::path settings() const { return folder.path().toStdString() + "/velnorsolo.ini"; }
  TAnimated* tile(int n) { return window->findChild<TAnimated*>(QString("number_%1").arg(n)); }
  QLabel* label(const QString& name) { return window->findChild<QLabel*>(name); }
  QString hints() {
    QString all;
    for (int n = 1; n <= 9; ++n) all += tile(n)->hint();
    return all;
  }
  void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(5, 5)); }
  void press_tile(int n) { QTest::mousePress(tile(n), Qt::LeftButton, {}, QPoint(20, 40)); }
  void finish_pause() {
    for (int tick = 0; tick < 3; ++tick) {
      ASSERT_TRUE(window->pausetimer->isActive());
      window->pausetimerTimer();
    }
  }
};

}  // namespace velnor::testing
