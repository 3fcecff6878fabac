#include "tlzrw1.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <span>
#include <vector>

#include <sys/stat.h>

#include "core/safefile.h"
#include "lzhuf.h"

namespace velnor {

namespace {

namespace fs = std::filesystem;

constexpr std::uint8_t kStored = 0x80;
constexpr std::uint8_t kCoded = 0x40;
constexpr std::size_t kMaxRun = 4095;
constexpr std::size_t kMinRun = 16;
constexpr std::size_t kMaxMatch = 18;
constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kWindow = 4096;
constexpr std::uint16_t kNoPosition = 0xFFFF;
// A run item of 4 bytes stands for at most 4111 bytes, so no chunk expands to 1028 times its length.
constexpr std::uint64_t kMostGrowth = 1028;

constexpr std::array<std::uint8_t, 4> kFastTag{'W', 'R', 'Z', 'L'};
constexpr std::array<std::uint8_t, 4> kGoodTag{'!', 'H', 'Z', 'L'};
// An LZHUF stream that its encoder finished never needs bits past its last byte. Two bytes of
// zero bits are still granted, enough for an encoder that left its last bits unflushed.
constexpr std::uint64_t kLzhSlackBits = 16;

const char* const kNoMemory = "Lzrw1 (de)compression : Failed to get memory for I/O buffers !";
const char* const kNoSize = "Lzrw1 compression : Failed to obtain the size of : ";
const char* const kOpenInput = "Lzrw1 (de)compression : Failed to open input file : ";
const char* const kOpenOutput = "Lzrw1 (de)compression : Failed to open output file : ";
const char* const kReadError = "Lzrw1 : Error reading from input file : ";
const char* const kWriteError = "Lzrw1 : Error writing to output file : ";
const char* const kNoHeader = " : Lzrw1 decompression : this file has no valid header !";
const char* const kTooLarge = " : Lzrw1 decompression : the expanded content is too large !";
const char* const kFastMismatch = "Lzrw1 (decompression LZRW1/KH) : Original and compressed sizes do not match !";
const char* const kGoodMismatch = "Lzrw1 (LZH decompression) : Original and compressed sizes do not match !";
const char* const kPastBlock = "Lzrw1 (decompression LZRW1/KH) : corrupt block, it expands past 32768 bytes !";
const char* const kBeforeBlock = "Lzrw1 (decompression LZRW1/KH) : corrupt block, a copy reaches before its start !";
const char* const kCutItem = "Lzrw1 (decompression LZRW1/KH) : corrupt block, it ends inside an item !";

using Bytes = std::span<const std::uint8_t>;

// A coded block being expanded: read index i, write index o, and the control register, which
// holds the current control word in its upper half with a marker bit just below it. Each item
// shifts the register left by one, so it equals kNoItems once the word's 16 items are used, and
// its leading zeros count the literals ahead.
constexpr std::uint32_t kNoItems = 0x80000000u;
// Room that lets a whole group go unchecked: its control word, 16 items of at most 4 bytes and
// the 16 bytes a literal copy reads; the 16 longest matches and the 32 bytes the widest match
// copy writes. A run is checked on its own.
constexpr std::size_t kGroupInput = 2 + 16 * 4 + 16;
constexpr std::size_t kGroupOutput = 16 * kMaxMatch + 32;

struct Items {
  const std::uint8_t* in;
  std::size_t length;
  std::uint8_t* out;
  std::size_t i;
  std::size_t o;
  std::uint32_t control;

  void load_control() {
    control = (static_cast<std::uint32_t>(in[i]) << 8 | in[i + 1]) << 16 | 0x8000u;
    i += 2;
  }
  bool group_fits() const { return length - i >= kGroupInput && TLZR::kBlockSize - o >= kGroupOutput; }
  // A copy item: a run when its distance is 0, else a back-reference.
  std::size_t distance() const { return static_cast<std::size_t>(in[i]) << 4 | in[i + 1] >> 4; }
  std::size_t run_count() const { return (static_cast<std::size_t>(in[i + 1]) << 8 | in[i + 2]) + kMinRun; }
  std::size_t match_count() const { return (in[i + 1] & 0x0Fu) + kMinMatch; }
  void run(std::size_t count) {
    std::memset(out + o, in[i + 3], count);
    o += count;
    i += 4;
  }
  void expand_groups();
};

// Copies count bytes from distance back, width bytes at a time. Each piece read lies wholly
// before the piece written, so a copy that overlaps its own output still repeats as it should.
template <std::size_t width>
void copy_pieces(std::uint8_t* to, std::size_t distance, std::size_t count) {
  for (std::size_t k = 0; k < count; k += width) std::memcpy(to + k, to + k - distance, width);
}

// Whole groups from the next control word on, while the block has room for one more. A long
// run can use that room up in the middle of a group; the rest of it is then left to the caller.
inline void Items::expand_groups() {
  do {
    load_control();
    for (;;) {
      // A group holds at most 16 literals, so one 16-byte copy takes all those ahead.
      const int literals = std::countl_zero(control);
      std::memcpy(out + o, in + i, 16);
      i += static_cast<std::size_t>(literals);
      o += static_cast<std::size_t>(literals);
      control <<= literals;
      if (control == kNoItems) break;
      const std::size_t from = distance();
      if (from == 0) {
        const std::size_t count = run_count();
        if (count > TLZR::kBlockSize - o) throw ELzrw1Exception(kPastBlock);
        run(count);
        control <<= 1;
        if (TLZR::kBlockSize - o < kGroupOutput) return;
      } else {
        if (from > o) throw ELzrw1Exception(kBeforeBlock);
        const std::size_t count = match_count();
        if (from >= 16)
          copy_pieces<16>(out + o, from, count);
        else if (from >= 8)
          copy_pieces<8>(out + o, from, count);
        else
          for (std::size_t k = 0; k < count; ++k) out[o + k] = out[o + k - from];
        o += count;
        i += 2;
        control <<= 1;
      }
      if (control == kNoItems) break;
    }
  } while (group_fits());
}

class Input {
 public:
  virtual ~Input() = default;
  // Up to n bytes, valid until the next call; fewer only at the end or after a read failure.
  virtual Bytes take(std::size_t n) = 0;
  virtual bool failed() const = 0;
  // How many bytes are still to be taken, or 0 when that is not known.
  virtual std::uint64_t left() const = 0;
};

class Output {
 public:
  virtual ~Output() = default;
  virtual void write(const std::uint8_t* data, std::size_t n) = 0;
  // The output is about to receive n bytes.
  virtual void expect(std::uint64_t /*n*/) {}
  // Room for the next expanded block, and how many of its bytes to keep: a buffer of our own
  // passed on to write(), unless the output has the room in place.
  virtual std::uint8_t* block() {
    if (!block_) block_ = std::make_unique_for_overwrite<std::uint8_t[]>(TLZR::kBlockSize);
    return block_.get();
  }
  virtual void keep(std::size_t n) { write(block_.get(), n); }

 private:
  std::unique_ptr<std::uint8_t[]> block_;
};

class MemoryInput : public Input {
 public:
  explicit MemoryInput(std::string_view data)
      : data_(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()) {}
  Bytes take(std::size_t n) override {
    const Bytes part = data_.subspan(pos_, std::min(n, data_.size() - pos_));
    pos_ += part.size();
    return part;
  }
  bool failed() const override { return false; }
  std::uint64_t left() const override { return data_.size() - pos_; }

 private:
  Bytes data_;
  std::size_t pos_ = 0;
};

// Output into a string, whose storage is reused. Once expect() has sized it, blocks expand
// straight into it; finish() cuts off what was not used.
class MemoryOutput : public Output {
 public:
  explicit MemoryOutput(std::string& data) : data_(data) {}
  void write(const std::uint8_t* data, std::size_t n) override {
    if (n > data_.size() - used_) data_.resize(used_ + n);
    std::memcpy(at_end(), data, n);
    used_ += n;
  }
  void expect(std::uint64_t n) override {
    if (n > data_.size()) data_.resize(n);
  }
  std::uint8_t* block() override {
    in_place_ = data_.size() - used_ >= TLZR::kBlockSize;
    return in_place_ ? at_end() : Output::block();
  }
  void keep(std::size_t n) override {
    if (in_place_)
      used_ += n;
    else
      Output::keep(n);
  }
  void finish() { data_.resize(used_); }

 private:
  std::uint8_t* at_end() { return reinterpret_cast<std::uint8_t*>(data_.data()) + used_; }

  std::string& data_;
  std::size_t used_ = 0;
  bool in_place_ = false;
};

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

class FileInput : public Input {
 public:
  explicit FileInput(std::FILE* file) : file_(file) {
    struct stat st {};
    if (::fstat(::fileno(file), &st) == 0 && S_ISREG(st.st_mode)) size_ = static_cast<std::uint64_t>(st.st_size);
  }
  Bytes take(std::size_t n) override {
    if (buffer_.size() < n) buffer_.resize(n);
    const std::size_t got = std::fread(buffer_.data(), 1, n, file_);
    if (got < n && std::ferror(file_)) failed_ = true;
    taken_ += got;
    return {buffer_.data(), got};
  }
  bool failed() const override { return failed_; }
  std::uint64_t left() const override { return size_ > taken_ ? size_ - taken_ : 0; }

 private:
  std::FILE* file_;
  std::vector<std::uint8_t> buffer_;
  bool failed_ = false;
  std::uint64_t size_ = 0;
  std::uint64_t taken_ = 0;
};

class FileOutput : public Output {
 public:
  FileOutput(std::FILE* file, const std::string& name) : file_(file), name_(name) {}
  void write(const std::uint8_t* data, std::size_t n) override {
    if (std::fwrite(data, 1, n, file_) != n) throw ELzrw1Exception(kWriteError + name_);
  }

 private:
  std::FILE* file_;
  const std::string& name_;
};

std::uint32_t read_le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint64_t compress_stream(TLZR& coder, Input& in, std::uint32_t length, Output& out, const std::string& in_name) {
  // Not cleared: each chunk is written whole before it is passed on.
  const auto chunk = std::make_unique_for_overwrite<std::uint8_t[]>(2 + TLZR::kCodedRoom);
  const std::uint8_t header[8] = {kFastTag[0],
                                  kFastTag[1],
                                  kFastTag[2],
                                  kFastTag[3],
                                  static_cast<std::uint8_t>(length),
                                  static_cast<std::uint8_t>(length >> 8),
                                  static_cast<std::uint8_t>(length >> 16),
                                  static_cast<std::uint8_t>(length >> 24)};
  out.write(header, sizeof header);
  std::uint64_t written = sizeof header;
  std::uint64_t total = 0;
  for (;;) {
    const Bytes block = in.take(TLZR::kBlockSize);
    if (in.failed()) throw ELzrw1Exception(kReadError + in_name + " (LZRW1/KH)");
    const std::size_t coded = coder.compress(block.data(), block.size(), chunk.get() + 2);
    chunk[0] = static_cast<std::uint8_t>(coded);
    chunk[1] = static_cast<std::uint8_t>(coded >> 8);
    out.write(chunk.get(), coded + 2);
    written += coded + 2;
    total += block.size();
    if (block.size() < TLZR::kBlockSize) break;
  }
  // A file that changed size while it was read would leave a header that lies.
  if (total != length) throw ELzrw1Exception(kReadError + in_name + " (LZRW1/KH)");
  return written;
}

class Expander {
 public:
  Expander(Input& in, Output& out, const std::string& in_name) : in_(in), out_(out), in_name_(in_name) {}

  std::uint32_t run(std::uint32_t max_length) {
    std::array<std::uint8_t, 4> tag;
    std::memcpy(tag.data(), need(4), 4);
    if (tag != kFastTag && tag != kGoodTag) throw ELzrw1Exception(in_name_ + kNoHeader);
    const std::uint32_t length = read_le32(need(4));
    if (length > max_length) throw ELzrw1Exception(in_name_ + kTooLarge);
    if (tag == kFastTag)
      expand_fast(length);
    else
      expand_good(length);
    return length;
  }

 private:
  const std::uint8_t* need(std::size_t n) {
    const Bytes part = in_.take(n);
    if (part.size() < n) throw ELzrw1Exception(kReadError + in_name_);
    return part.data();
  }

  void expand_fast(std::uint32_t length) {
    // Sized once from the header, but never beyond what the rest of the input could fill: a
    // short file that announces gigabytes fails on its own bytes, not for want of memory.
    out_.expect(std::min<std::uint64_t>(length, in_.left() * kMostGrowth));
    std::uint64_t total = 0;
    for (;;) {
      const std::uint8_t* size = need(2);
      const std::size_t coded = static_cast<std::size_t>(size[0]) | static_cast<std::size_t>(size[1]) << 8;
      const std::uint8_t* chunk = need(coded);
      const std::size_t n = TLZR::expand(chunk, coded, out_.block());
      // Stop as soon as the content outgrows its header, not after writing the rest.
      total += n;
      if (total > length) throw ELzrw1Exception(kFastMismatch);
      out_.keep(n);
      if (n < TLZR::kBlockSize) break;
    }
    if (total != length) throw ELzrw1Exception(kFastMismatch);
  }

  void expand_good(std::uint32_t length) {
    LzhDecoder decoder([this] {
      const Bytes part = in_.take(1);
      if (in_.failed()) throw ELzrw1Exception(kReadError + in_name_ + " (LZH)");
      return part.empty() ? -1 : static_cast<int>(part[0]);
    });
    std::vector<std::uint8_t> buffer(TLZR::kBlockSize + LzhDecoder::kMaxSymbolBytes);
    std::size_t filled = 0;
    std::uint64_t total = 0;
    while (total < length) {
      const std::size_t n = decoder.decode(buffer.data() + filled);
      if (decoder.bits_past_end() > kLzhSlackBits) throw ELzrw1Exception(kGoodMismatch);
      filled += n;
      total += n;
      if (filled >= TLZR::kBlockSize) {
        out_.write(buffer.data(), filled);
        filled = 0;
      }
    }
    out_.write(buffer.data(), filled);
    if (total != length) throw ELzrw1Exception(kGoodMismatch);
  }

  Input& in_;
  Output& out_;
  const std::string& in_name_;
};

FilePtr open_input(const std::string& name) {
  FilePtr file(std::fopen(name.c_str(), "rb"));
  if (!file) throw ELzrw1Exception(kOpenInput + name);
  return file;
}

// Truncating the input before reading it would lose it.
void refuse_same_file(const std::string& in_name, const std::string& out_name) {
  std::error_code ec;
  if (fs::equivalent(in_name, out_name, ec)) throw ELzrw1Exception(kOpenOutput + out_name);
}

// Runs body on the output. A regular file (or a new one) is replaced safely: body writes a new file
// that takes the name only when complete and on the disk, so a failure or a kill never leaves a
// torn file. Anything else (a terminal, a pipe) is written as it is.
template <class Body>
auto with_output_file(const std::string& out_name, Body body) {
  std::error_code ec;
  const fs::file_type type = fs::status(out_name, ec).type();
  if (type != fs::file_type::regular && type != fs::file_type::not_found) {
    FilePtr file(std::fopen(out_name.c_str(), "wb"));
    if (!file) throw ELzrw1Exception(kOpenOutput + out_name);
    FileOutput out(file.get(), out_name);
    const auto result = body(out);
    if (std::fclose(file.release()) != 0) throw ELzrw1Exception(kWriteError + out_name);
    return result;
  }
  decltype(body(std::declval<Output&>())) result{};
  const Replaced replaced = replace_file(out_name, [&](std::FILE* file) {
    FileOutput out(file, out_name);
    result = body(out);
    return true;
  });
  if (replaced == Replaced::not_created) throw ELzrw1Exception(kOpenOutput + out_name);
  if (replaced == Replaced::not_written) throw ELzrw1Exception(kWriteError + out_name);
  return result;
}

template <class Body>
auto memory_guarded(Body body) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    throw ELzrw1Exception(kNoMemory);
  }
}

// Runs body, which fills target in place; a failure leaves target empty.
template <class Body>
void filling(std::string& target, Body body) {
  try {
    memory_guarded(body);
  } catch (...) {
    target.clear();
    throw;
  }
}

}  // namespace

std::size_t TLZR::compress(const std::uint8_t* in, std::size_t size, std::uint8_t* out) {
  hash_.fill(kNoPosition);
  out[0] = kCoded;
  std::size_t slot = 1;
  std::size_t w = 3;
  std::size_t p = 0;
  unsigned control = 0;
  int items = 0;
  while (p < size && w <= size) {
    if (items == 16) {
      out[slot] = static_cast<std::uint8_t>(control >> 8);
      out[slot + 1] = static_cast<std::uint8_t>(control);
      slot = w;
      w += 2;
      control = 0;
      items = 0;
    }
    std::size_t r = 1;
    while (p + r < size && r < kMaxRun && in[p + r] == in[p]) ++r;
    if (r >= kMinRun) {
      out[w] = 0;
      out[w + 1] = static_cast<std::uint8_t>((r - kMinRun) >> 8);
      out[w + 2] = static_cast<std::uint8_t>(r - kMinRun);
      out[w + 3] = in[p];
      w += 4;
      p += r;
      control = (control << 1) | 1u;
    } else {
      // The last two positions of a block cannot start a match, so their hash (which would read
      // past the block) is not needed: nothing later in the block looks it up.
      std::size_t m = 0;
      std::size_t q = 0;
      if (p + 2 < size) {
        const std::uint32_t h =
            ((((((static_cast<std::uint32_t>(in[p]) << 4) ^ in[p + 1]) << 4) ^ in[p + 2]) * 40543u) >> 4) & 0xFFFu;
        q = hash_[h];
        hash_[h] = static_cast<std::uint16_t>(p);
        if (q != kNoPosition && p - q < kWindow)
          while (m < kMaxMatch && p + m < size && in[p + m] == in[q + m]) ++m;
      }
      if (m >= kMinMatch) {
        const std::size_t item = (p - q) << 4 | (m - kMinMatch);
        out[w] = static_cast<std::uint8_t>(item >> 8);
        out[w + 1] = static_cast<std::uint8_t>(item);
        w += 2;
        p += m;
        control = (control << 1) | 1u;
      } else {
        out[w++] = in[p++];
        control <<= 1;
      }
    }
    ++items;
  }
  control <<= 16 - items;
  out[slot] = static_cast<std::uint8_t>(control >> 8);
  out[slot + 1] = static_cast<std::uint8_t>(control);
  if (w > size) {
    out[0] = kStored;
    if (size > 0) std::memcpy(out + 1, in, size);
    return size + 1;
  }
  return w;
}

std::size_t TLZR::expand(const std::uint8_t* in, std::size_t length, std::uint8_t* out) {
  if (length < 2) return 0;
  if (in[0] == kStored) {
    if (length - 1 > kBlockSize) throw ELzrw1Exception(kPastBlock);
    std::memcpy(out, in + 1, length - 1);
    return length - 1;
  }
  Items items{in, length, out, 1, 0, kNoItems};
  while (items.i < length) {
    if (items.control == kNoItems) {
      if (items.group_fits()) {
        items.expand_groups();
        continue;
      }
      if (length - items.i < 3) throw ELzrw1Exception(kCutItem);  // a control word needs an item after it
      items.load_control();
    }
    // Near the block's ends, item by item, each checked on its own.
    std::size_t& i = items.i;
    std::size_t& o = items.o;
    if ((items.control & 0x80000000u) == 0) {
      if (o == kBlockSize) throw ELzrw1Exception(kPastBlock);
      out[o++] = in[i++];
    } else {
      if (length - i < 2) throw ELzrw1Exception(kCutItem);
      const std::size_t distance = items.distance();
      if (distance == 0) {
        if (length - i < 4) throw ELzrw1Exception(kCutItem);
        const std::size_t count = items.run_count();
        if (count > kBlockSize - o) throw ELzrw1Exception(kPastBlock);
        items.run(count);
      } else {
        const std::size_t count = items.match_count();
        if (distance > o) throw ELzrw1Exception(kBeforeBlock);
        if (count > kBlockSize - o) throw ELzrw1Exception(kPastBlock);
        for (std::size_t k = 0; k < count; ++k, ++o) out[o] = out[o - distance];
        i += 2;
      }
    }
    items.control <<= 1;
  }
  return items.o;
}

std::uint64_t Tlzrw1::Compress() {
  return memory_guarded([&] {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(InputFile, ec);
    if (ec || size > 0xFFFFFFFFu) throw ELzrw1Exception(kNoSize + InputFile);
    FilePtr in_file = open_input(InputFile);
    FileInput in(in_file.get());
    refuse_same_file(InputFile, OutputFile);
    return with_output_file(OutputFile, [&](Output& out) {
      return compress_stream(coder_, in, static_cast<std::uint32_t>(size), out, InputFile);
    });
  });
}

std::uint32_t Tlzrw1::Decompress() {
  return memory_guarded([&] {
    FilePtr in_file = open_input(InputFile);
    FileInput in(in_file.get());
    refuse_same_file(InputFile, OutputFile);
    return with_output_file(OutputFile, [&](Output& out) { return Expander(in, out, InputFile).run(kNoLimit); });
  });
}

std::string Tlzrw1::compress_memory(std::string_view content, const std::string& name) {
  std::string container;
  compress_into(content, name, container);
  return container;
}

void Tlzrw1::compress_into(std::string_view content, const std::string& name, std::string& container) {
  filling(container, [&] {
    if (content.size() > 0xFFFFFFFFu) throw ELzrw1Exception(kNoSize + name);
    MemoryInput in(content);
    MemoryOutput out(container);
    compress_stream(coder_, in, static_cast<std::uint32_t>(content.size()), out, name);
    out.finish();
  });
}

std::string Tlzrw1::expand_memory(std::string_view container, const std::string& name, std::uint32_t max_length) {
  std::string content;
  expand_into(container, name, content, max_length);
  return content;
}

void Tlzrw1::expand_into(std::string_view container, const std::string& name, std::string& content,
                         std::uint32_t max_length) {
  filling(content, [&] {
    MemoryInput in(container);
    MemoryOutput out(content);
    Expander(in, out, name).run(max_length);
    out.finish();
  });
}

std::string Tlzrw1::expand_file(const std::string& filename, std::uint32_t max_length) {
  return memory_guarded([&] {
    FilePtr file = open_input(filename);
    FileInput in(file.get());
    std::string content;
    MemoryOutput out(content);
    Expander(in, out, filename).run(max_length);
    out.finish();
    return content;
  });
}

void Tlzrw1::compress_to_file(std::string_view content, const std::string& filename) {
  const std::string container = compress_memory(content, filename);
  if (replace_file(filename, container) != Replaced::done) throw ELzrw1Exception(kWriteError + filename);
}

}  // namespace velnor
