#pragma once

#include <cstddef>
#include <cstdint>

#include "windows/argbimage.h"

namespace velnor {

// Decodes a PNG held in memory; throws EPictureError on bad data.
ArgbImage decode_png(const std::uint8_t* data, std::size_t size);

}  // namespace velnor
