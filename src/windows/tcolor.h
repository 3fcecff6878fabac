#pragma once

#include <QColor>

#include <cstdint>

#include "core/palette.h"

// Colours as the forms store them: 0x00BBGGRR, or a system colour when the high
// byte is 0x80.
namespace velnor {

inline constexpr std::uint32_t clBlack = 0x00000000;
inline constexpr std::uint32_t clWhite = 0x00FFFFFF;
inline constexpr std::uint32_t clGray = 0x00808080;
inline constexpr std::uint32_t clNone = 0x1FFFFFFF;
inline constexpr std::uint32_t clBtnFace = 0x8000000F;
inline constexpr std::uint32_t clBtnShadow = 0x80000010;
inline constexpr std::uint32_t clBtnHighlight = 0x80000014;

QColor tcolor(std::uint32_t value);

}  // namespace velnor
