#include "tmain.h"

// The main window's settings and bounds: read at creation, written when a switch is toggled and
// when the window closes.
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>

#include "core/safefile.h"
#include "core/wire.h"
#include "records/gamesettings.h"
#include "records/savefailures.h"
#include "records/storedbounds.h"
#include "records/unreadablefile.h"
#include "windows/dialogs.h"
#include "windows/windowplacement.h"

namespace velnor {

QRect Tmain::bounds() const { return outer_bounds(this); }

void Tmain::set_bounds(const QRect& outer) { set_outer_bounds(this, outer); }

void Tmain::ResetScreenLocation1Click() { set_bounds(bounds_rect(WindowBounds())); }

// Both switches have inverted their own check mark by the time they save the settings.
void Tmain::PlaySounds1Click() { saveinifile(); }
void Tmain::updatecheckClick() { saveinifile(); }

std::filesystem::path Tmain::settings_path() const { return services_.settings_dir / wire::kSettingsFile; }

void Tmain::loadinifile() {
  remove_stale_temporaries(settings_path());
  GameSettings settings;
  try {
    settings = GameSettings::load(settings_path());
  } catch (const std::exception& error) {
    // The player's settings are never written over: the file is kept aside first.
    const UnreadableOutcome outcome = set_aside_unreadable(
        settings_path(), error, QT_TRANSLATE_NOOP("UnreadableFile", "Your settings"),
        QT_TRANSLATE_NOOP("UnreadableFile", "the settings started afresh"),
        QT_TRANSLATE_NOOP("UnreadableFile", "changes to the settings are not saved"), local_time_now());
    settings_writable_ = outcome.replaceable;
    services_.dialogs->problem(this, QString::fromStdString(outcome.message), QString::fromStdString(outcome.details));
  }
  remembered_ = settings.bounds;
  // Bounds from a bigger screen, or typed in by hand, still leave the whole window in reach.
  set_bounds(placed_bounds(this, remembered_));
  PlaySounds1->setChecked(settings.sounds);
  updatecheck->setChecked(settings.update);
  Verified1->setChecked(settings.verified);
  name_text_ = FileText(settings.name, edit_name->maxLength());
  edit_name->setText(name_text_.shown());
  edit_aname->setText(edit_name->text());
}

void Tmain::saveinifile() { save_settings(stored_bounds(this, remembered_)); }

// A failed save is told (once, or on standard error at a logout); the game and its close go on.
void Tmain::save_settings(const WindowBounds& bounds) {
  if (!settings_writable_) return;
  const GameSettings settings{.bounds = bounds,
                              .name = name_text_.bytes_for(edit_name->text()),
                              .sounds = PlaySounds1->isChecked(),
                              .update = updatecheck->isChecked(),
                              .verified = Verified1->isChecked()};
  try {
    settings.save(settings_path());
  } catch (const std::exception& error) {
    services_.save_failures->report(this, QT_TRANSLATE_NOOP("SaveFailures", "Your settings"), settings_path(),
                                    error.what());
  }
}

void Tmain::closeEvent(QCloseEvent* event) {
  remembered_ = bounds_kept_at_close(this, remembered_);
  save_settings(remembered_);
  event->accept();
  // Not quit(), which only asks: Qt lets a window still open turn that down, and a closed game
  // window always ends the game.
  QApplication::exit(0);
}

}  // namespace velnor
