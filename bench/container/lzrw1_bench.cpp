// The Fast method of the tally container against LZ4 and a plain copy, on the same buffers:
// a 1 MiB text and the grid text of a full tally. Each compressor reports its ratio (packed bytes
// over content bytes) beside its throughput.
#include <benchmark/benchmark.h>
#include <lz4.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "records/tallyrecords.h"
#include "records/tlzrw1.h"

namespace {

// Prose-like text: words drawn with a skewed frequency, in sentences and lines.
std::string text_corpus() {
  static const std::vector<std::string> words = [] {
    std::vector<std::string> w = {"the", "of", "and", "a", "to", "in", "is", "you", "that", "it", "he",
                                  "was", "for", "on", "are", "as", "with", "his", "they", "at", "be",
                                  "this", "have", "from", "or", "one", "had", "by", "word", "but"};
    std::mt19937 gen(7);
    for (int i = 0; i < 2000; ++i) {
      std::string word;
      for (int n = 3 + static_cast<int>(gen() % 7); n > 0; --n) word += static_cast<char>('a' + gen() % 26);
      w.push_back(word);
    }
    return w;
  }();
  std::mt19937 gen(42);
  std::string text;
  int column = 0;
  while (text.size() < (1u << 20)) {
    // Rank r is drawn with a probability falling as 1/r.
    const double u = std::uniform_real_distribution<double>(0.0, 1.0)(gen);
    const auto rank = std::min(static_cast<std::size_t>(std::pow(static_cast<double>(words.size()), u)) - 1,
                               words.size() - 1);
    text += words[rank];
    column += static_cast<int>(words[rank].size()) + 1;
    if (gen() % 12 == 0) text += '.';
    if (column > 70) {
      text += "\r\n";
      column = 0;
    } else {
      text += ' ';
    }
  }
  text.resize(1u << 20);
  return text;
}

std::string tally_corpus() {
  velnor::TallyRecords tally;
  const char* names[] = {"Ann", "Bo", "Cy", "Di", "Ed", "Fay", "Gus", "Hal", "Ivy", "Jo"};
  for (int i = 0; i < 40; ++i) tally.addtomineincrease(1);
  for (int i = 0; i < 3; ++i) tally.addtomineincrease(2);
  for (int i = 0; i < 10; ++i) tally.checkscore(150 + 37 * i % 200, names[i], "05/12/2026");
  return velnor::grid_text(tally.grid());
}

const std::string& corpus(int which) {
  static const std::string text = text_corpus();
  static const std::string tally = tally_corpus();
  return which == 0 ? text : tally;
}

void name_corpus(benchmark::State& state) { state.SetLabel(state.range(0) == 0 ? "text 1 MiB" : "tally grid"); }

void finish(benchmark::State& state, std::size_t content, std::size_t packed) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * content));
  state.counters["ratio"] = static_cast<double>(packed) / static_cast<double>(content);
  name_corpus(state);
}

void Lzrw1Compress(benchmark::State& state) {
  const std::string& content = corpus(static_cast<int>(state.range(0)));
  velnor::Tlzrw1 doit;
  std::string packed;
  for (auto _ : state) {
    packed = doit.compress_memory(content, "bench");
    benchmark::DoNotOptimize(packed.data());
  }
  finish(state, content.size(), packed.size());
}

void Lzrw1Expand(benchmark::State& state) {
  const std::string& content = corpus(static_cast<int>(state.range(0)));
  velnor::Tlzrw1 doit;
  const std::string packed = doit.compress_memory(content, "bench");
  for (auto _ : state) {
    std::string back = doit.expand_memory(packed, "bench");
    benchmark::DoNotOptimize(back.data());
  }
  if (doit.expand_memory(packed, "bench") != content) state.SkipWithError("content changed");
  finish(state, content.size(), packed.size());
}

void Lz4Compress(benchmark::State& state) {
  const std::string& content = corpus(static_cast<int>(state.range(0)));
  std::vector<char> packed(static_cast<std::size_t>(LZ4_compressBound(static_cast<int>(content.size()))));
  int size = 0;
  for (auto _ : state) {
    size = LZ4_compress_default(content.data(), packed.data(), static_cast<int>(content.size()),
                                static_cast<int>(packed.size()));
    benchmark::DoNotOptimize(packed.data());
  }
  finish(state, content.size(), static_cast<std::size_t>(size));
}

void Lz4Expand(benchmark::State& state) {
  const std::string& content = corpus(static_cast<int>(state.range(0)));
  std::vector<char> packed(static_cast<std::size_t>(LZ4_compressBound(static_cast<int>(content.size()))));
  const int size = LZ4_compress_default(content.data(), packed.data(), static_cast<int>(content.size()),
                                        static_cast<int>(packed.size()));
  std::string back(content.size(), '\0');
  for (auto _ : state) {
    LZ4_decompress_safe(packed.data(), back.data(), size, static_cast<int>(back.size()));
    benchmark::DoNotOptimize(back.data());
  }
  if (back != content) state.SkipWithError("content changed");
  finish(state, content.size(), static_cast<std::size_t>(size));
}

void Memcpy(benchmark::State& state) {
  const std::string& content = corpus(static_cast<int>(state.range(0)));
  std::string copy(content.size(), '\0');
  for (auto _ : state) {
    std::memcpy(copy.data(), content.data(), content.size());
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
  finish(state, content.size(), content.size());
}

}  // namespace

// Argument 0 is the 1 MiB text, 1 the tally grid.
BENCHMARK(Lzrw1Compress)->Arg(0)->Arg(1);
BENCHMARK(Lz4Compress)->Arg(0)->Arg(1);
BENCHMARK(Lzrw1Expand)->Arg(0)->Arg(1);
BENCHMARK(Lz4Expand)->Arg(0)->Arg(1);
BENCHMARK(Memcpy)->Arg(0)->Arg(1);

BENCHMARK_MAIN();
