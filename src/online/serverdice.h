#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/uithread.h"
#include "online/thttpget.h"
#include "rules/dicesource.h"

// The dice of a game the server dealt a ticket for, asked of the server roll by roll, so that no
// one can know them before the play they follow is made. The dice's places on the panel are drawn
// from the game's generator all the same, so its sequence runs as in any game. A roll the server
// does not answer in time, or answers with anything but two dice, is dealt by the generator, and so
// is the rest of that game: its score posts unverified, and the player plays on undisturbed.
namespace velnor {

class ServerDice : public DiceSource {
 public:
  static constexpr std::chrono::milliseconds kAnswerLimit{2000};

  // base: the game server's address, "http://" and a host, ending in "/".
  ServerDice(std::string base, PostToUi post_to_ui, std::chrono::milliseconds answer_limit = kAnswerLimit);

  void throw_next(const Roll& roll, Thrown thrown) override;
  bool asking() const { return fetch_ != nullptr && fetch_->busy(); }

 private:
  void answered(const std::string& ticket, std::optional<std::pair<int, int>> faces);

  std::string address_;
  PostToUi post_to_ui_;
  std::chrono::milliseconds answer_limit_;
  // One per roll: a roll of an abandoned game still out is dropped with it.
  std::unique_ptr<THTTPGet> fetch_;
  std::string gave_up_on_;  // the ticket whose game the generator deals from now on
  std::pair<DieThrow, DieThrow> drawn_;
  Thrown thrown_;
};

// The two dice of the server's answer to a roll: exactly two digits 1 to 6, and at most a line
// break after them; nothing otherwise.
std::optional<std::pair<int, int>> parse_roll_reply(std::string_view body);

}  // namespace velnor
