#pragma once

#include <string>
#include <string_view>

namespace velnor {

// Escapes bytes for a query value: letters, digits and "-._~" stay, every other
// byte becomes "%XX", so a name can never add, change or cut a field.
std::string percent_encode(std::string_view bytes);

}  // namespace velnor
