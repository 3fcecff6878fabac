#include "highscorepage.h"

#include "core/palette.h"

std::string html_escape(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

namespace {

// The game's palette, as the page writes it.
constexpr auto kDarkBrownText = velnor::html_colour(velnor::kWindowColor);
constexpr auto kPaleYellowText = velnor::html_colour(velnor::kPaleYellow);
constexpr auto kDarkGreenText = velnor::html_colour(velnor::kDarkGreen);
constexpr auto kCreamText = velnor::html_colour(velnor::kCream);
const char* const kDarkBrown = kDarkBrownText.data();
const char* const kPaleYellow = kPaleYellowText.data();
const char* const kDarkGreen = kDarkGreenText.data();
const char* const kViewBackground = kCreamText.data();

// A verified score bears this mark beside it.
constexpr char kVerifiedMark[] = "\u2713";

void append_row(std::string& page, int rank, const ScoreEntry& entry, bool shaded, bool verified) {
  page += "<tr bgcolor=\"";
  page += shaded ? kPaleYellow : kViewBackground;
  page += "\"><td align=\"right\">";
  page += std::to_string(rank);
  // Isolated, so that a direction mark in a name cannot reorder the rest of its row.
  page += "</td><td><bdi>";
  page += html_escape(entry.name);
  page += "</bdi></td><td align=\"right\"><b>";
  page += std::to_string(entry.score);
  page += "</b>";
  if (verified) page += std::string(" <font color=\"") + kDarkGreen + "\">" + kVerifiedMark + "</font>";
  page += "</td><td>";
  page += html_escape(entry.date);
  page += "</td></tr>\n";
}

void append_table(std::string& page, const std::vector<ScoreEntry>& entries, bool verified, const char* when_empty) {
  page += std::string("<table align=\"center\" width=\"96%\" cellspacing=\"1\" cellpadding=\"3\" bgcolor=\"") +
          kDarkBrown + "\">\n";
  page += std::string("<tr bgcolor=\"") + kDarkGreen + "\">";
  for (const char* heading : {"Rank", "Name", "Score", "Date"})
    page += std::string("<th><font color=\"") + kPaleYellow + "\">" + heading + "</font></th>";
  page += "</tr>\n";
  if (entries.empty())
    page += std::string("<tr bgcolor=\"") + kPaleYellow + "\"><td colspan=\"4\" align=\"center\">" + when_empty +
            "</td></tr>\n";
  // Equal scores share a rank; the next rank counts everyone above it (1, 2, 2, 4).
  int rank = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (i == 0 || entries[i].score != entries[i - 1].score) rank = static_cast<int>(i) + 1;
    append_row(page, rank, entries[i], i % 2 == 0, verified);
  }
  page += "</table>\n";
}

}  // namespace

std::string render_high_score_page(const Standings& standings) {
  std::string page;
  page.reserve(2048 + (standings.best.size() + standings.unverified.size()) * 180);
  page +=
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      "<title>Velnor Solo - High Scores</title>\n</head>\n";
  page += std::string("<body bgcolor=\"") + kViewBackground + "\" text=\"#000000\">\n";
  page += std::string("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"6\" bgcolor=\"") + kDarkBrown + "\">\n";
  page += std::string("<tr><td align=\"center\"><font size=\"5\" color=\"") + kPaleYellow +
          "\"><b>VELNOR SOLO</b></font><br>\n";
  page += std::string("<font size=\"3\" color=\"") + kPaleYellow + "\"><b>The " + std::to_string(kPageScoreCount) +
          " Best Scores</b></font></td></tr>\n</table>\n";
  page += std::string("<p align=\"center\"><font color=\"") + kDarkGreen +
          "\"><b>Games posted: " + std::to_string(standings.games_posted) + "</b></font></p>\n";

  append_table(page, standings.best, true,
               standings.unverified.empty() ? "No scores have been posted yet." : "No verified scores yet.");
  page += std::string("<p align=\"center\"><font size=\"2\" color=\"") + kDarkBrown + "\">" + kVerifiedMark +
          " verified: the server played the game again from dice it dealt, and it gave this score.</font></p>\n";
  if (!standings.unverified.empty()) {
    page += std::string("<p align=\"center\"><font color=\"") + kDarkGreen +
            "\"><b>Unverified Scores</b></font><br>\n<font size=\"2\" color=\"" + kDarkBrown +
            "\">Posted without a game that the server could play again.</font></p>\n";
    append_table(page, standings.unverified, false, "");
  }
  page += std::string("<p align=\"center\"><font size=\"2\" color=\"") + kDarkBrown +
          "\">Finish a game and press SEND SCORE to join the list.</font></p>\n</body>\n</html>\n";
  return page;
}
