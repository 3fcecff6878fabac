#pragma once

#include <string>
#include <string_view>

#include "scorestore.h"

inline constexpr int kPageScoreCount = 100;

// Text made safe to stand in HTML content and in quoted attribute values.
std::string html_escape(std::string_view text);

// The high-score page: plain HTML for the game's built-in viewer (tables, bgcolor, font tags;
// no scripts, no outside resources). Every stored text goes through html_escape.
std::string render_high_score_page(const Standings& standings);
