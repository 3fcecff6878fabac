#pragma once

#include <string>
#include <string_view>

#include "httpconventions.h"

// `bytes` in the compressed form named (kIdentity: as they are).
std::string compressed(std::string_view bytes, http_conventions::Encoding encoding);
