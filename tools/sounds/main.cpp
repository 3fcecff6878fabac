// Writes the game's wave cues into a folder: velnor-sounds OUTDIR
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "cues.h"
#include "game/soundcues.h"
#include "wavfile.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
    return 2;
  }
  try {
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    for (std::size_t i = 0; i < velnor::kSoundCues.size(); ++i) {
      const velnor::SoundCue& cue = velnor::kSoundCues[i];
      velnor::sounds::Signal signal(cue.rate, cue.seconds);
      velnor::sounds::compose(i, signal);
      const auto bytes = velnor::sounds::encode_wav(signal.samples(), cue.rate, cue.bits);
      const std::filesystem::path path = dir / (std::string(cue.name) + ".wav");
      std::ofstream out(path, std::ios::binary);
      out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
      out.close();
      if (!out) throw std::runtime_error("cannot write " + path.string());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "velnor-sounds: %s\n", e.what());
    return 1;
  }
  return 0;
}
