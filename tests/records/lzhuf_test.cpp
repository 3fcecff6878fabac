#include "records/lzhuf.h"
#include "records/tlzrw1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <vector>

using namespace velnor;

namespace {

// An LZHUF encoder of our own, written from the format's description, to make streams for the
// decoder: greedy matches over the same 4096-byte ring, the adaptive tree, the fixed position code.
class LzhEncoder {
 public:
  std::string encode(std::string_view data) {
    start_tree();
    std::vector<unsigned char> ring(kRing, 0);
    std::fill(ring.begin(), ring.begin() + kRingStart, ' ');
    std::size_t r = kRingStart;
    for (std::size_t i = 0; i < data.size();) {
      auto [length, distance] = longest_match(data, i, ring, r);
      if (length >= 3) {
        put_symbol(static_cast<int>(253 + length));
        put_position(distance - 1);
      } else {
        length = 1;
        put_symbol(static_cast<unsigned char>(data[i]));
      }
      for (std::size_t k = 0; k < length; ++k, ++i) {
        ring[r] = static_cast<unsigned char>(data[i]);
        r = (r + 1) % kRing;
      }
    }
    if (nbits_ > 0) out_ += static_cast<char>(acc_ << (8 - nbits_));
    return out_;
  }

 private:
  static constexpr int kT = 627;
  static constexpr int kR = 626;
  static constexpr std::size_t kRing = 4096;
  static constexpr std::size_t kRingStart = 4036;

  // The candidates tried: the last places where the same three bytes began, and the nearest
  // distances, which overlap the bytes being coded. A full search is not needed to make a stream.
  std::pair<std::size_t, std::size_t> longest_match(std::string_view data, std::size_t i,
                                                    const std::vector<unsigned char>& ring, std::size_t r) {
    std::vector<std::size_t> distances = {1, 2, 3, 4, i + 1, kRing};
    if (i + 3 <= data.size()) {
      auto& seen = last_[std::string(data.substr(i, 3))];
      for (std::size_t at : seen) distances.push_back(i - at);
      seen.push_back(i);
      if (seen.size() > 4) seen.erase(seen.begin());
    }
    std::size_t best = 0, best_distance = 0;
    for (std::size_t d : distances) {
      if (d < 1 || d > kRing) continue;
      std::size_t k = 0;
      while (k < 60 && i + k < data.size()) {
        const unsigned char copied =
            k < d ? ring[(r + kRing - d + k) % kRing] : static_cast<unsigned char>(data[i + k - d]);
        if (copied != static_cast<unsigned char>(data[i + k])) break;
        ++k;
      }
      if (k > best) best = k, best_distance = d;
    }
    return {best, best_distance};
  }

  void put_bit(int b) {
    acc_ = (acc_ << 1) | static_cast<unsigned>(b);
    if (++nbits_ == 8) {
      out_ += static_cast<char>(acc_);
      acc_ = 0;
      nbits_ = 0;
    }
  }

  void put_position(std::size_t p) {
    struct Band {
      unsigned first_upper, count, first_code, length;
    };
    static const Band bands[] = {{0, 1, 0b000, 3},      {1, 3, 0b0010, 4},      {4, 8, 0b01010, 5},
                                 {12, 12, 0b100100, 6}, {24, 24, 0b1100000, 7}, {48, 16, 0b11110000, 8}};
    const unsigned upper = static_cast<unsigned>(p >> 6);
    for (const Band& band : bands) {
      if (upper < band.first_upper || upper >= band.first_upper + band.count) continue;
      const unsigned code = band.first_code + (upper - band.first_upper);
      for (int b = static_cast<int>(band.length) - 1; b >= 0; --b) put_bit((code >> b) & 1);
    }
    for (int b = 5; b >= 0; --b) put_bit((p >> b) & 1);
  }

  void start_tree() {
    freq_.assign(kT + 1, 0);
    son_.assign(kT, 0);
    prnt_.assign(kT + 314, 0);
    for (int s = 0; s < 314; ++s) {
      freq_[s] = 1;
      son_[s] = s + kT;
      prnt_[s + kT] = s;
    }
    for (int i = 0, j = 314; j <= kR; i += 2, ++j) {
      freq_[j] = freq_[i] + freq_[i + 1];
      son_[j] = i;
      prnt_[i] = prnt_[i + 1] = j;
    }
    freq_[kT] = 0xFFFF;
    prnt_[kR] = 0;
  }

  void put_symbol(int s) {
    std::vector<int> path;
    for (int node = prnt_[s + kT]; node != kR; node = prnt_[node]) path.push_back(node & 1);
    for (auto it = path.rbegin(); it != path.rend(); ++it) put_bit(*it);
    update(s);
  }

  void update(int s) {
    if (freq_[kR] == 0x8000) halve();
    // The leaf may be node 0, so it is counted before the walk tests for the root's parent.
    int c = prnt_[s + kT];
    do {
      const unsigned k = ++freq_[c];
      if (k <= freq_[c + 1]) continue;
      int l = c + 1;
      while (freq_[l + 1] < k) ++l;
      std::swap(freq_[c], freq_[l]);
      const int i = son_[c], j = son_[l];
      son_[c] = j;
      son_[l] = i;
      prnt_[i] = l;
      if (i < kT) prnt_[i + 1] = l;
      prnt_[j] = c;
      if (j < kT) prnt_[j + 1] = c;
      c = l;
    } while ((c = prnt_[c]) != 0);
  }

  void halve() {
    std::vector<unsigned> f;
    std::vector<int> sons;
    for (int i = 0; i < kT; ++i)
      if (son_[i] >= kT) f.push_back((freq_[i] + 1) / 2), sons.push_back(son_[i]);
    for (int i = 0; f.size() < static_cast<std::size_t>(kT); i += 2) {
      const unsigned sum = f[i] + f[i + 1];
      std::size_t k = f.size();
      while (sum < f[k - 1]) --k;
      f.insert(f.begin() + static_cast<long>(k), sum);
      sons.insert(sons.begin() + static_cast<long>(k), i);
    }
    for (int i = 0; i < kT; ++i) {
      freq_[i] = f[i];
      son_[i] = sons[i];
      prnt_[son_[i]] = i;
      if (son_[i] < kT) prnt_[son_[i] + 1] = i;
    }
  }

  std::vector<unsigned> freq_;
  std::vector<int> son_, prnt_;
  std::map<std::string, std::vector<std::size_t>> last_;
  std::string out_;
  unsigned acc_ = 0;
  int nbits_ = 0;
};

std::string decode(std::string_view stream, std::size_t length) {
  std::size_t pos = 0;
  LzhDecoder decoder([&] { return pos < stream.size() ? static_cast<unsigned char>(stream[pos++]) : -1; });
  std::string out;
  std::uint8_t symbol[LzhDecoder::kMaxSymbolBytes];
  while (out.size() < length) out.append(reinterpret_cast<char*>(symbol), decoder.decode(symbol));
  EXPECT_EQ(decoder.bits_past_end(), 0u);
  return out;
}

std::string good_container(std::string_view content, std::uint32_t length) {
  std::string c = "!HZL";
  for (int i = 0; i < 4; ++i) c += static_cast<char>(length >> (8 * i));
  return c + LzhEncoder().encode(content);
}

std::string text(std::size_t n, unsigned seed) {
  static const char* words[] = {"Ann", "120", "-1000", "\r\n", "Guest", "12/05/2024", "tally", "  "};
  std::mt19937 gen(seed);
  std::string s;
  while (s.size() < n) s += words[gen() % 8];
  s.resize(n);
  return s;
}

}  // namespace

TEST(Lzhuf, DecodesSymbolsCodedByHand) {
  // In the starting tree every symbol sits 8 or 9 levels deep; symbol 0 is 110001100.
  EXPECT_EQ(decode(std::string("\xC6\x00", 2), 1), std::string(1, '\0'));
  // Symbol 313 (length 60) is 11000101, then position 0 (000 000000): it copies the space
  // before the starting point, over and over.
  EXPECT_EQ(decode(std::string("\xC5\x00\x00", 3), 60), std::string(60, ' '));
}

TEST(Lzhuf, ReadsStreamsOfTheEncoder) {
  std::mt19937 gen(11);
  std::string noise(200000, '\0');  // well past 0x8000 symbols: the tree is rebuilt several times
  for (char& c : noise) c = static_cast<char>(gen() % 256);
  for (const std::string& content : {std::string("a"), std::string(500, ' '), std::string(5000, 'q'), text(5000, 1),
                                     text(100000, 2), noise, text(3000, 3) + noise.substr(0, 3000) + text(3000, 3)}) {
    const std::string back = decode(LzhEncoder().encode(content), content.size());
    ASSERT_EQ(back.size(), content.size());
    const auto diff = std::mismatch(back.begin(), back.end(), content.begin());
    ASSERT_TRUE(back == content) << "length " << content.size() << ", first difference at "
                                 << (diff.first - back.begin());
    ASSERT_TRUE(Tlzrw1().expand_memory(good_container(content, static_cast<std::uint32_t>(content.size())), "m") ==
                content);
  }
}

TEST(Lzhuf, ContainerLengthMustMatchTheStream) {
  const std::string mismatch = "Lzrw1 (LZH decompression) : Original and compressed sizes do not match !";
  const std::string content = text(20000, 4);
  for (std::uint32_t wrong : {20100u, 1000000u}) {
    try {
      Tlzrw1().expand_memory(good_container(content, wrong), "m");
      FAIL() << wrong;
    } catch (const ELzrw1Exception& e) {
      EXPECT_EQ(e.what(), mismatch) << wrong;
    }
  }
  // 60 spaces are one match symbol: a header of 59 bytes cannot end inside it.
  EXPECT_THROW(Tlzrw1().expand_memory(good_container(std::string(60, ' '), 59), "m"), ELzrw1Exception);
}
