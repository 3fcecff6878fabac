#include "records/tlzrw1.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

using namespace velnor;
namespace fs = std::filesystem;

namespace {

std::string hex(std::string_view bytes) {
  static const char* digits = "0123456789abcdef";
  std::string text;
  for (unsigned char c : bytes) {
    if (!text.empty()) text += ' ';
    text += digits[c >> 4];
    text += digits[c & 15];
  }
  return text;
}

std::string unhex(std::string_view text) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < text.size(); i += 3)
    bytes += static_cast<char>(std::stoi(std::string(text.substr(i, 2)), nullptr, 16));
  return bytes;
}

std::string pack(std::string_view content) { return Tlzrw1().compress_memory(content, "memory"); }
std::string unpack(std::string_view container) { return Tlzrw1().expand_memory(container, "memory"); }

std::string random_bytes(std::size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(gen());
  return s;
}

// Words and numbers in lines, like a grid text or any prose: compressible but not trivially.
std::string text_bytes(std::size_t n, unsigned seed) {
  static const char* words[] = {"tally", "score",      "Ann",   "-1000",  "round", "dice", "shut", "the",
                                "tiles", "12/05/2024", "Guest", "velnor", "of",    "a",    "game", "0"};
  std::mt19937 gen(seed);
  std::string s;
  while (s.size() < n) {
    s += words[gen() % 16];
    s += gen() % 5 == 0 ? "\r\n" : " ";
  }
  s.resize(n);
  return s;
}

// The expanded length of each chunk of a container.
std::vector<std::size_t> chunk_lengths(std::string_view container) {
  std::vector<std::size_t> lengths;
  std::vector<std::uint8_t> block(TLZR::kBlockSize);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(container.data());
  for (std::size_t i = 8; i + 2 <= container.size();) {
    const std::size_t coded = bytes[i] | bytes[i + 1] << 8;
    lengths.push_back(TLZR::expand(bytes + i + 2, coded, block.data()));
    i += 2 + coded;
  }
  return lengths;
}

std::string failure_of(std::string_view container) {
  try {
    unpack(container);
  } catch (const ELzrw1Exception& e) {
    return e.what();
  }
  return "no failure";
}

}  // namespace

TEST(Lzrw1, WritesTheKnownContainers) {
  EXPECT_EQ(hex(pack("abc")), "57 52 5a 4c 03 00 00 00 04 00 80 61 62 63");
  EXPECT_EQ(hex(pack(std::string(40, 'a'))), "57 52 5a 4c 28 00 00 00 07 00 40 80 00 00 00 18 61");
  EXPECT_EQ(hex(pack("")), "57 52 5a 4c 00 00 00 00 01 00 80");
  // A run longer than 4095 bytes continues with a second run item.
  EXPECT_EQ(hex(pack(std::string(5000, 'x'))), "57 52 5a 4c 88 13 00 00 0b 00 40 c0 00 00 0f ef 78 00 03 79 78");
  // A short repeat of the previous byte is a back-reference of distance 1 that overlaps itself.
  EXPECT_EQ(hex(pack("xaaaaaaaaaa")), "57 52 5a 4c 0b 00 00 00 07 00 40 20 00 78 61 00 16");
  // The 17th item comes after a second control word.
  EXPECT_EQ(hex(pack("0123456789ABCDEFGHIJ0123456789ABCDEFGHIJ")),
            "57 52 5a 4c 28 00 00 00 1d 00 40 00 00 30 31 32 33 34 35 36 37 38 39 41 42 43 44 45 46 "
            "08 00 47 48 49 4a 01 4f 49 4a");
}

TEST(Lzrw1, ReadsTheKnownContainers) {
  EXPECT_EQ(unpack(unhex("57 52 5a 4c 03 00 00 00 04 00 80 61 62 63")), "abc");
  EXPECT_EQ(unpack(unhex("57 52 5a 4c 28 00 00 00 07 00 40 80 00 00 00 18 61")), std::string(40, 'a'));
  EXPECT_EQ(unpack(unhex("57 52 5a 4c 00 00 00 00 01 00 80")), "");
  // Distance 1, length 18: one literal repeated by a copy that reads what it writes.
  EXPECT_EQ(unpack(unhex("57 52 5a 4c 13 00 00 00 06 00 40 40 00 61 00 1f")), std::string(19, 'a'));
  // Any flag but 0x80 means coded, and a block of one byte is empty.
  EXPECT_EQ(unpack(unhex("57 52 5a 4c 03 00 00 00 06 00 00 00 00 61 62 63")), "abc");
  EXPECT_EQ(unpack(unhex("57 52 5a 4c 00 00 00 00 01 00 40")), "");
}

TEST(Lzrw1, CutsContentIntoFullBlocksAndAShorterLastOne) {
  const std::string full = text_bytes(32768, 1);
  const std::string container = pack(full);
  EXPECT_EQ(hex(container.substr(container.size() - 3)), "01 00 80");
  EXPECT_EQ(chunk_lengths(container), (std::vector<std::size_t>{32768, 0}));
  EXPECT_EQ(chunk_lengths(pack(text_bytes(70000, 2))), (std::vector<std::size_t>{32768, 32768, 4464}));

  // Content that does not compress is stored: flag 0x80 and the bytes as they are.
  const std::string noise = random_bytes(1000, 3);
  EXPECT_EQ(pack(noise).substr(8), std::string("\xE9\x03\x80", 3) + noise);
}

TEST(Lzrw1, EveryContentComesBackUnchanged) {
  for (std::size_t n :
       {1u, 2u, 3u, 15u, 16u, 17u, 4095u, 4096u, 4097u, 32767u, 32768u, 32769u, 65535u, 65536u, 65537u, 100000u}) {
    for (const std::string& content :
         {random_bytes(n, static_cast<unsigned>(n)), text_bytes(n, static_cast<unsigned>(n)), std::string(n, '\0')}) {
      const std::string container = pack(content);
      ASSERT_EQ(unpack(container), content) << n;
      ASSERT_LE(container.size(), 8 + content.size() + 3 * (content.size() / 32768 + 1)) << n;
    }
  }
  // Repeats at the edge of the 4096-byte window, and runs meeting matches.
  std::string mixed = text_bytes(4093, 7) + text_bytes(4093, 7) + std::string(300, ' ') + text_bytes(50000, 8);
  EXPECT_EQ(unpack(pack(mixed)), mixed);
}

TEST(Lzrw1, RefusesBrokenContainersWithTheirFailure) {
  const std::string no_header = "memory : Lzrw1 decompression : this file has no valid header !";
  const std::string short_read = "Lzrw1 : Error reading from input file : memory";
  const std::string mismatch = "Lzrw1 (decompression LZRW1/KH) : Original and compressed sizes do not match !";
  EXPECT_EQ(failure_of("WRZX...."), no_header);
  EXPECT_EQ(failure_of("WRZ"), short_read);
  EXPECT_EQ(failure_of(unhex("57 52 5a 4c 03 00 00 00 04 00 80 61 62")), short_read);
  EXPECT_EQ(failure_of(unhex("57 52 5a 4c 04 00 00 00 04 00 80 61 62 63")), mismatch);
  EXPECT_EQ(failure_of(unhex("57 52 5a 4c 02 00 00 00 04 00 80 61 62 63")), mismatch);
  // A last block of exactly 32768 bytes leaves the reader waiting for a further chunk.
  const std::string full = pack(std::string(32768, 'z'));
  EXPECT_EQ(failure_of(full.substr(0, full.size() - 3)), short_read);

  // Corrupt blocks: a copy before the block's start, a run or stored block past 32768 bytes,
  // an item cut by the block's end.
  EXPECT_NE(failure_of(unhex("57 52 5a 4c 03 00 00 00 06 00 40 40 00 61 00 20")).find("before its start"),
            std::string::npos);
  std::string runs = unhex("57 52 5a 4c 00 00 01 00 27 00 40 ff 80");
  for (int i = 0; i < 9; ++i) runs += unhex("00 0f ef 61");  // 9 x 4095 bytes
  EXPECT_NE(failure_of(runs).find("past 32768"), std::string::npos);
  EXPECT_NE(failure_of(unhex("57 52 5a 4c 02 00 00 00 04 00 40 80 00 00")).find("inside an item"), std::string::npos);
  EXPECT_NE(failure_of(unhex("57 52 5a 4c 00 00 00 00 02 00 40 80")).find("inside an item"), std::string::npos);
  std::string stored = unhex("57 52 5a 4c 01 80 00 00 02 80 80");
  stored += std::string(32769, 'q');
  EXPECT_NE(failure_of(stored).find("past 32768"), std::string::npos);
  // The same inside long blocks, whose items are expanded a whole group of 16 at a time: a copy
  // from before the start after 16 literals, and a run that passes 32768 after seven full ones.
  const std::string literals = unhex("00 00") + std::string(16, 'a');
  const auto block = [&](const std::string& items) {
    const std::string coded = "\x40" + items + literals + literals + literals + literals + literals;
    return unhex("57 52 5a 4c 00 80 00 00") + static_cast<char>(coded.size()) + '\0' + coded;
  };
  EXPECT_NE(failure_of(block(literals + unhex("80 00 ff f0") + std::string(15, 'b'))).find("before its start"),
            std::string::npos);
  std::string long_runs = unhex("ff 00");
  for (int i = 0; i < 7; ++i) long_runs += unhex("00 0f ef 61");
  EXPECT_NE(failure_of(block(long_runs + unhex("00 0f ff 61"))).find("past 32768"), std::string::npos);
  // A header that announces 4 GiB fails on the bytes that follow it, not for want of memory.
  EXPECT_EQ(failure_of(unhex("57 52 5a 4c ff ff ff ff 04 00 80 61 62 63")), mismatch);

  // A container may announce at most what its reader is willing to hold.
  EXPECT_THROW(Tlzrw1().expand_memory(pack(std::string(5000, 'x')), "memory", 4999), ELzrw1Exception);
  EXPECT_EQ(Tlzrw1().expand_memory(pack(std::string(5000, 'x')), "memory", 5000).size(), 5000u);
}

class Lzrw1Files : public velnor::testing::TempFolder {
 protected:
  std::string failure(Tlzrw1& doit, bool compress) {
    try {
      compress ? doit.Compress() : doit.Decompress();
    } catch (const ELzrw1Exception& e) {
      return e.what();
    }
    return "no failure";
  }
};

TEST_F(Lzrw1Files, CompressesAndExpandsFileToFile) {
  const std::string content = text_bytes(80000, 9);
  write("plain", content);
  Tlzrw1 doit;
  doit.InputFile = path("plain");
  doit.OutputFile = path("packed");
  const std::uint64_t packed_length = doit.Compress();
  EXPECT_EQ(packed_length, read("packed").size());
  EXPECT_EQ(read("packed"), pack(content));
  EXPECT_EQ(doit.expand_file(path("packed")), content);

  doit.InputFile = path("packed");
  doit.OutputFile = path("back");
  EXPECT_EQ(doit.Decompress(), content.size());
  EXPECT_EQ(read("back"), content);
}

TEST_F(Lzrw1Files, AFailedOperationLeavesNoOutputBehind) {
  Tlzrw1 doit;
  doit.OutputFile = path("out");

  write("badtag", "ABCD and more");
  doit.InputFile = path("badtag");
  EXPECT_EQ(failure(doit, false), path("badtag") + " : Lzrw1 decompression : this file has no valid header !");
  EXPECT_FALSE(fs::exists(path("out")));

  // A file already at the output's name stays whole: the output replaces it only when complete.
  write("out", "earlier");
  write("liar", unhex("57 52 5a 4c 09 00 00 00 04 00 80 61 62 63"));
  doit.InputFile = path("liar");
  EXPECT_EQ(failure(doit, false), "Lzrw1 (decompression LZRW1/KH) : Original and compressed sizes do not match !");
  EXPECT_EQ(read("out"), "earlier");

  doit.InputFile = path("missing");
  EXPECT_EQ(failure(doit, false), "Lzrw1 (de)compression : Failed to open input file : " + path("missing"));
  EXPECT_EQ(failure(doit, true), "Lzrw1 compression : Failed to obtain the size of : " + path("missing"));

  write("plain", "abc");
  doit.InputFile = path("plain");
  doit.OutputFile = path("no/dir/out");
  EXPECT_EQ(failure(doit, true), "Lzrw1 (de)compression : Failed to open output file : " + path("no/dir/out"));

  // Packing a file onto itself would truncate it before it is read.
  doit.OutputFile = path("plain");
  EXPECT_NE(failure(doit, true), "no failure");
  EXPECT_EQ(read("plain"), "abc");
}
