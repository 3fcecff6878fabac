// velnor-tally: looks into the game's tally file and runs its compressed container both ways.
//   velnor-tally show FILE               the counters and the ten ranks
//   velnor-tally expand CONTAINER OUT    the container's content, to a file
//   velnor-tally pack IN CONTAINER       a file's content, as a container (Fast method)
// Failures go to standard error with the component's own message; the exit code is then 1
// (2 for a wrong command line).
#include <cstdio>
#include <exception>
#include <string>

#include "records/tallyrecords.h"
#include "records/tlzrw1.h"

namespace {

int usage() {
  std::fputs(
      "usage: velnor-tally show FILE\n"
      "       velnor-tally expand CONTAINER OUT\n"
      "       velnor-tally pack IN CONTAINER\n",
      stderr);
  return 2;
}

int show(const std::string& file) {
  velnor::TallyRecords tally;
  if (!tally.load(file)) {
    std::fprintf(stderr, "velnor-tally: %s: no such file\n", file.c_str());
    return 1;
  }
  // Texts are printed as the file holds them, byte for byte.
  std::printf("Total Games: %s\n", tally.counter(velnor::TallyRecords::kGamesColumn).c_str());
  std::printf("Velnores: %s\n", tally.counter(velnor::TallyRecords::kAllShutColumn).c_str());
  for (int rank = 1; rank <= velnor::TallyRecords::kRanks; ++rank)
    std::printf("%3d. %-12s %-12s %s\n", rank, tally.date(rank).c_str(), tally.name(rank).c_str(),
                tally.score_text(rank).c_str());
  return 0;
}

int run(velnor::Tlzrw1& doit, const std::string& in, const std::string& out, bool pack) {
  doit.InputFile = in;
  doit.OutputFile = out;
  if (pack)
    doit.Compress();
  else
    doit.Decompress();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  try {
    if (command == "show" && argc == 3) return show(argv[2]);
    velnor::Tlzrw1 doit;
    if (command == "expand" && argc == 4) return run(doit, argv[2], argv[3], false);
    if (command == "pack" && argc == 4) return run(doit, argv[2], argv[3], true);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return usage();
}
