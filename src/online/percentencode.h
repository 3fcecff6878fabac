#pragma once

#include <string>
#include <string_view>

namespace velnor {

// Escapes bytes for a query value: letters, digits, "-._~" and "/" stay (a query may hold a
// slash, and the date's are sent as typed), every other byte becomes "%XX", so a name can
// never add, change or cut a field.
std::string percent_encode(std::string_view bytes);

}  // namespace velnor
