#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

// The fields of a request's query ("a=1&b=2", what follows "?"), form-decoded: "%XX" is a byte,
// "+" a space. Only the names asked for are kept; others are ignored.
struct QueryFields {
  std::map<std::string, std::string, std::less<>> values;
  std::string error;  // bad percent-encoding, or a field asked for that came twice
  bool ok() const { return error.empty(); }
};

QueryFields query_fields(std::string_view query, const std::vector<std::string_view>& wanted);
