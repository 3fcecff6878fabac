#include "boardaccessible.h"

#include <QAccessibleWidget>
#include <QCoreApplication>

#include "game/boardform.h"
#include "game/coachaccessible.h"
#include "game/tanimated.h"
#include "rules/tgame.h"
#include "windows/buttonaccessible.h"
#include "windows/htmlviewaccessible.h"
#include "windows/labeltable.h"
#include "windows/tflatpanel.h"
#include "windows/windowaccessible.h"

namespace velnor {

namespace {

QString state_word(TileState state) {
  switch (state) {
    case TileState::open:
      return QCoreApplication::translate("BoardAccessible", "open");
    case TileState::selected:
      return QCoreApplication::translate("BoardAccessible", "picked");
    case TileState::shut:
      return QCoreApplication::translate("BoardAccessible", "shut");
  }
  return {};
}

class TileAccessible : public ButtonAccessible {
 public:
  TileAccessible(TAnimated* tile, BoardForm& board) : ButtonAccessible(tile), board_(board) {}

  QString text(QAccessible::Text t) const override {
    switch (t) {
      case QAccessible::Name:
        return QCoreApplication::translate("BoardAccessible", "Tile %1").arg(tile()->tag());
      case QAccessible::Description:
        return state_word(board_.game().tile(tile()->tag()));
      default:
        return ButtonAccessible::text(t);
    }
  }

  QAccessible::State state() const override {
    QAccessible::State state = ButtonAccessible::state();
    const TileState tile_state = board_.game().tile(tile()->tag());
    state.pressed = tile_state == TileState::selected;
    state.disabled = tile_state == TileState::shut;
    return state;
  }

 protected:
  void press() override { board_.number_1MouseDown(tile()); }

 private:
  TAnimated* tile() const { return static_cast<TAnimated*>(widget()); }

  BoardForm& board_;
};

// The two dice pictures are one thing to a screen reader: the roll.
// What the rules make of the latest roll while it stands: the name changes with every roll, so
// a screen reader speaks it as the roll's outcome.
QString verdict(const Tgame& game) {
  constexpr unsigned kAllTiles = (1u << Tgame::kTiles) - 1;
  switch (game.phase()) {
    case Phase::selecting:
      return QCoreApplication::translate("BoardAccessible", ": a play");
    case Phase::roundover:
      return (game.shutmask() == kAllTiles
                  ? QCoreApplication::translate("BoardAccessible", ": all nine shut, round %1 scores %2")
                  : QCoreApplication::translate("BoardAccessible", ": no play, round %1 scores %2"))
          .arg(game.round())
          .arg(game.roundscore(game.round()));
    case Phase::awaitingroll:
      break;
  }
  return {};
}

class DiceAccessible : public QAccessibleWidget {
 public:
  DiceAccessible(QWidget* dice, const BoardForm& board)
      : QAccessibleWidget(dice, QAccessible::StaticText), board_(board) {}

  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name) return QAccessibleWidget::text(t);
    const Tgame& game = board_.game();
    if (game.dicetotal() == 0) return QCoreApplication::translate("BoardAccessible", "Dice: not rolled yet");
    return QCoreApplication::translate("BoardAccessible", "Dice: %1 and %2, total %3")
               .arg(game.die(1))
               .arg(game.die(2))
               .arg(game.dicetotal()) +
           verdict(game);
  }

  int childCount() const override { return 0; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }

 private:
  const BoardForm& board_;
};

// The posting's wait, a status that a screen reader reads as it comes up; its dots only count
// the seconds, and are not read.
class WaitAccessible : public QAccessibleWidget {
 public:
  explicit WaitAccessible(TFlatPanel* panel) : QAccessibleWidget(panel, QAccessible::StatusBar) {}

  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name) return QAccessibleWidget::text(t);
    QString caption = static_cast<TFlatPanel*>(widget())->caption();
    while (caption.endsWith('.')) caption.chop(1);
    return caption;
  }
};

}  // namespace

QAccessibleInterface* board_accessible(const QString&, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget == nullptr) return nullptr;
  auto* board = dynamic_cast<BoardForm*>(widget->window());
  if (board == nullptr) return nullptr;
  if (widget == board->dice) return new DiceAccessible(widget, *board);
  if (widget == board->panel_wait) return new WaitAccessible(board->panel_wait);
  auto* tile = qobject_cast<TAnimated*>(widget);
  if (tile != nullptr && board->tile(tile->tag()) == tile) return new TileAccessible(tile, *board);
  return nullptr;
}

void install_accessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(button_accessible);
    QAccessible::installFactory(board_accessible);
    QAccessible::installFactory(coach_accessible);
    QAccessible::installFactory(label_table_accessible);
    QAccessible::installFactory(html_view_accessible);
    QAccessible::installFactory(window_accessible);
    return true;
  }();
  (void)installed;
}

void announce_tiles(const BoardForm& board) {
  QAccessible::State changed;
  changed.pressed = true;
  changed.disabled = true;
  for (int n = 1; n <= Tgame::kTiles; ++n) {
    QAccessibleStateChangeEvent states(board.tile(n), changed);
    QAccessible::updateAccessibility(&states);
    QAccessibleEvent description(board.tile(n), QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&description);
  }
}

void announce_dice(const BoardForm& board) {
  QAccessibleEvent named(board.dice, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&named);
}

}  // namespace velnor
