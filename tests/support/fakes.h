#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <ostream>
#include <utility>
#include <vector>

#include "game/soundplayer.h"
#include "records/tallycalls.h"
#include "windows/dialogs.h"

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& list, std::ostream* out) {
  *out << '{' << list.join("\", \"").prepend('"').append('"').toStdString() << '}';
}

namespace velnor::testing {

struct RecordingSounds : SoundPlayer {
  QStringList played;
  void play(const QString& name) override { played << name; }
};

struct RecordingTally : TallyCalls {
  std::vector<int> increases;
  std::vector<std::pair<int, QString>> scores;
  int saves = 0;
  void addtomineincrease(int which) override { increases.push_back(which); }
  void checkscore(int score, const QString& name) override { scores.emplace_back(score, name); }
  void savetally() override { ++saves; }
};

// Answers Yes/No questions from a script and records every box shown.
struct ScriptedDialogs : Dialogs {
  QStringList messages, errors, error_details, questions;
  std::deque<bool> answers;
  void message(QWidget*, const QString& text) override { messages << text; }
  void error(QWidget*, const QString& text) override { errors << error_box_text(text); }
  void problem(QWidget*, const QString& text, const QString& details) override {
    errors << text;
    error_details << details;
  }
  bool ask_yes_no(QWidget*, const QString& text) override {
    questions << text;
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

}  // namespace velnor::testing
