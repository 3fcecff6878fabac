// Parses arbitrary bytes as a settings file, reads and writes keys in it and
// checks that what is written reads back and that rewriting is stable.
#include "records/profilefile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <stdexcept>

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string section = input.ConsumeRandomLengthString(16);
  const std::string key = input.ConsumeRandomLengthString(16);
  const std::string value = input.ConsumeRandomLengthString(4096);
  const std::string file = input.ConsumeRemainingBytesAsString();

  velnor::ProfileFile profile = velnor::ProfileFile::parse(file);
  for (const char* name : {"Top", "Left", "Width", "Height", "Name", "Sounds", "Update"}) {
    const auto read = profile.read("velnorsolo", name);
    check(!read || read->size() <= velnor::ProfileFile::kMaxValue);
    velnor::profile_int(read, 3);
  }
  velnor::profile_int(value, 0);
  profile.read(section, key);

  try {
    profile.write(section, key, value);
    check(profile.read(section, key) == value.substr(0, velnor::ProfileFile::kMaxValue));
  } catch (const std::invalid_argument&) {
    // A name or value that cannot stand on one line is refused; nothing changes.
  }
  profile.write("velnorsolo", "Top", "12");
  check(profile.read("velnorsolo", "top") == "12");

  const std::string written = profile.bytes();
  check(velnor::ProfileFile::parse(written).bytes() == written);
  return 0;
}
