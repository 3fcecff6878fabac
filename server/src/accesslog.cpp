#include "accesslog.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>

namespace {

constexpr size_t kWriteAt = 32 * 1024;
// Lines waiting while the log cannot be written (a full pipe) stop there: requests go on unlogged.
constexpr size_t kMaxPending = 4 * 1024 * 1024;
constexpr auto kMaxDelay = std::chrono::seconds(1);

// Request text comes from the client: quotes, backslashes and unprintable bytes are escaped so
// that a line cannot be forged or broken.
void append_escaped(std::string& out, std::string_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7F || c == '"' || c == '\\') {
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    } else {
      out += c;
    }
  }
}

void write_all(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;  // a closed log loses lines rather than stopping the server
    text.remove_prefix(static_cast<size_t>(written));
  }
}

// The start of a line, up to the opening quote of the request line.
std::string line_start(std::string_view client, int64_t unix_time) {
  const std::time_t time = static_cast<std::time_t>(unix_time);
  std::tm utc{};
  gmtime_r(&time, &utc);
  char stamp[40];
  std::strftime(stamp, sizeof stamp, "[%d/%b/%Y:%H:%M:%S +0000]", &utc);
  std::string out;
  append_escaped(out, client.empty() ? "-" : client);
  out += " - - ";
  out += stamp;
  out += " \"";
  return out;
}

int64_t now_unix() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

}  // namespace

AccessLog::AccessLog(int fd) : fd_(fd), writer_([this] { write_loop(); }) {}

AccessLog::~AccessLog() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  writer_.join();
}

std::string AccessLog::line(std::string_view client, const Exchange& exchange, int64_t unix_time) {
  std::string out = line_start(client, unix_time);
  append_escaped(out, exchange.method);
  out += ' ';
  append_escaped(out, exchange.target);
  out += " HTTP/";
  out += std::to_string(exchange.version / 10);
  out += '.';
  out += std::to_string(exchange.version % 10);
  out += "\" ";
  out += std::to_string(exchange.status);
  out += ' ';
  out += exchange.body_bytes == 0 ? "-" : std::to_string(exchange.body_bytes);
  return out;
}

void AccessLog::record(std::string_view client, const Exchange& exchange) {
  append(line(client, exchange, now_unix()) + '\n');
}

void AccessLog::record_refusal(std::string_view client, int status) {
  append(line_start(client, now_unix()) + "-\" " + std::to_string(status) + " -\n");
}

void AccessLog::append(std::string text) {
  bool wake;
  {
    std::lock_guard lock(mutex_);
    if (pending_.size() + text.size() > kMaxPending) {
      ++dropped_;
      return;
    }
    wake = pending_.empty() || pending_.size() + text.size() >= kWriteAt;
    pending_ += text;
  }
  if (wake) wake_.notify_one();
}

void AccessLog::write_loop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
    if (pending_.empty() && stopping_) return;
    // Lets more lines gather, up to a second or a full buffer.
    wake_.wait_for(lock, kMaxDelay, [this] { return stopping_ || pending_.size() >= kWriteAt; });
    std::string text;
    text.swap(pending_);
    if (dropped_ > 0) {
      text += "velnor-server: " + std::to_string(dropped_) +
              " lines of this log were dropped while it could not be written\n";
      dropped_ = 0;
    }
    lock.unlock();
    write_all(fd_, text);
    lock.lock();
  }
}
