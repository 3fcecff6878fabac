// The Fast method of the tally container against LZ4, the block decoder it had before and a plain
// copy, on the same buffers: a 1 MiB text and the grid text of a full tally. Every packer and
// expander writes into output allocated before the timing starts, and every packed result is
// expanded back and compared with its content. Each compressor reports its ratio (packed bytes
// over content bytes) beside its throughput. Rates are per CPU second; on a shared machine run
// with --benchmark_repetitions=9 and compare the medians.
#include <benchmark/benchmark.h>
#include <lz4.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "container/expand_before.h"
#include "records/tallyrecords.h"
#include "records/tlzrw1.h"

namespace {

// Prose-like text: words drawn with a skewed frequency, in sentences and lines.
std::string text_corpus() {
  static const std::vector<std::string> words = [] {
    std::vector<std::string> w = {"the", "of",   "and",  "a",    "to",  "in",  "is",   "you", "that", "it",
                                  "he",  "was",  "for",  "on",   "are", "as",  "with", "his", "they", "at",
                                  "be",  "this", "have", "from", "or",  "one", "had",  "by",  "word", "but"};
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
    const auto rank =
        std::min(static_cast<std::size_t>(std::pow(static_cast<double>(words.size()), u)) - 1, words.size() - 1);
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

std::string pack(const std::string& content) { return velnor::Tlzrw1().compress_memory(content, "bench"); }

// The container expanded as before: each block by the decoder of before into a block buffer of
// the loop's own, then copied to the output. The containers are our own, so well formed.
void expand_before(const std::string& container, std::string& back) {
  std::vector<std::uint8_t> block(velnor::TLZR::kBlockSize);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(container.data());
  std::size_t total = 0;
  for (std::size_t i = 8;;) {
    const std::size_t coded = bytes[i] | bytes[i + 1] << 8;
    const std::size_t n = velnor::before::expand(bytes + i + 2, coded, block.data());
    if (n > back.size() - total) throw velnor::ELzrw1Exception("longer than its header");
    std::memcpy(back.data() + total, block.data(), n);
    total += n;
    i += 2 + coded;
    if (n < velnor::TLZR::kBlockSize) break;
  }
}

void Lzrw1Compress(benchmark::State& state) {
  const std::string& content = corpus(static_cast<int>(state.range(0)));
  velnor::Tlzrw1 doit;
  std::string packed = pack(content);
  for (auto _ : state) {
    doit.compress_into(content, "bench", packed);
    benchmark::DoNotOptimize(packed.data());
  }
  if (doit.expand_memory(packed, "bench") != content) state.SkipWithError("content changed");
  finish(state, content.size(), packed.size());
}

void Lzrw1Expand(benchmark::State& state) {
  const std::string& content = corpus(static_cast<int>(state.range(0)));
  velnor::Tlzrw1 doit;
  const std::string packed = pack(content);
  std::string back(content.size(), '\0');
  for (auto _ : state) {
    doit.expand_into(packed, "bench", back);
    benchmark::DoNotOptimize(back.data());
  }
  if (back != content) state.SkipWithError("content changed");
  finish(state, content.size(), packed.size());
}

void Lzrw1ExpandBefore(benchmark::State& state) {
  const std::string& content = corpus(static_cast<int>(state.range(0)));
  const std::string packed = pack(content);
  std::string back(content.size(), '\0');
  for (auto _ : state) {
    expand_before(packed, back);
    benchmark::DoNotOptimize(back.data());
  }
  if (back != content) state.SkipWithError("content changed");
  finish(state, content.size(), packed.size());
}

int lz4_bound(const std::string& content) { return LZ4_compressBound(static_cast<int>(content.size())); }

int lz4_pack(const std::string& content, std::vector<char>& packed) {
  return LZ4_compress_default(content.data(), packed.data(), static_cast<int>(content.size()),
                              static_cast<int>(packed.size()));
}

bool lz4_comes_back(const std::vector<char>& packed, int size, const std::string& content) {
  std::string back(content.size(), '\0');
  return LZ4_decompress_safe(packed.data(), back.data(), size, static_cast<int>(back.size())) ==
             static_cast<int>(content.size()) &&
         back == content;
}

void Lz4Compress(benchmark::State& state) {
  const std::string& content = corpus(static_cast<int>(state.range(0)));
  std::vector<char> packed(static_cast<std::size_t>(lz4_bound(content)));
  int size = 0;
  for (auto _ : state) {
    size = lz4_pack(content, packed);
    benchmark::DoNotOptimize(packed.data());
  }
  if (!lz4_comes_back(packed, size, content)) state.SkipWithError("content changed");
  finish(state, content.size(), static_cast<std::size_t>(size));
}

void Lz4Expand(benchmark::State& state) {
  const std::string& content = corpus(static_cast<int>(state.range(0)));
  std::vector<char> packed(static_cast<std::size_t>(lz4_bound(content)));
  const int size = lz4_pack(content, packed);
  std::string back(content.size(), '\0');
  int expanded = 0;
  for (auto _ : state) {
    expanded = LZ4_decompress_safe(packed.data(), back.data(), size, static_cast<int>(back.size()));
    benchmark::DoNotOptimize(back.data());
  }
  if (expanded != static_cast<int>(content.size()) || back != content) state.SkipWithError("content changed");
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
BENCHMARK(Lzrw1ExpandBefore)->Arg(0)->Arg(1);
BENCHMARK(Lz4Expand)->Arg(0)->Arg(1);
BENCHMARK(Memcpy)->Arg(0)->Arg(1);

BENCHMARK_MAIN();
