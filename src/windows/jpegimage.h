#pragma once

#include <cstddef>
#include <cstdint>

#include "windows/argbimage.h"

namespace velnor {

// Decodes a baseline or progressive JPEG held in memory; throws EPictureError on bad data.
ArgbImage decode_jpeg(const std::uint8_t* data, std::size_t size);

}  // namespace velnor
