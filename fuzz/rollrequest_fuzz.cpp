// The server's reading of a roll's query, and its check of the history asked for against the one
// it dealt: any bytes are refused or taken cleanly, and only a history that follows the one dealt
// by a legal play ever moves it. Input: the query, a line end, then the dealt history's text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "rollrequest.h"
#include "rules/playedgame.h"
#include "ticketdice.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t line_end = input.find('\n');
  const std::string_view query = input.substr(0, line_end);
  const auto request = parse_roll_request(query);
  if (!request) return 0;
  if (parse_roll_request("ticket=" + request->ticket + "&game=" + velnor::rolls_text(request->shut))->shut !=
      request->shut)
    __builtin_trap();

  static const TicketDice dice(std::string(32, 'k'));
  const velnor::DiceOfRoll roll = [&](std::size_t index) {
    const auto thrown = dice.roll(request->ticket, index);
    if (thrown.first < 1 || thrown.first > 6 || thrown.second < 1 || thrown.second > 6) __builtin_trap();
    return thrown;
  };
  const std::optional<std::vector<unsigned>> dealt =
      line_end == std::string_view::npos ? std::nullopt : velnor::parse_rolls_text(input.substr(line_end + 1));
  switch (roll_step(dealt, request->shut, roll)) {
    case RollStep::kRepeat:
      if (!dealt || *dealt != request->shut) __builtin_trap();
      break;
    case RollStep::kAdvance:
      if (request->shut.size() != (dealt ? dealt->size() + 1 : 0) ||
          velnor::replay_rolls(request->shut, roll).outcome != velnor::RollsReplay::Outcome::kUnfinished)
        __builtin_trap();
      break;
    case RollStep::kRefuse:
      break;
  }
  return 0;
}
