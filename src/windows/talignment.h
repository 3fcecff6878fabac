#pragma once

namespace velnor {

// Where a caption sits across its control.
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

}  // namespace velnor
