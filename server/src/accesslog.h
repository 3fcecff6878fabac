#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

// One line per request on a file descriptor (standard output, for journald), in the Common Log
// Format that log tools read: client - - [time] "request line" status bytes. Lines are gathered
// and written at most a second after they were made, so that logging costs no write per request.
class AccessLog {
 public:
  explicit AccessLog(int fd);
  ~AccessLog();  // writes what is left
  AccessLog(const AccessLog&) = delete;
  AccessLog& operator=(const AccessLog&) = delete;

  // What one line tells of a request and its reply.
  struct Exchange {
    std::string_view method;
    std::string_view target;
    unsigned version;  // 11 for HTTP/1.1
    int status;
    uint64_t body_bytes;  // 0 is written "-", as for HEAD
  };

  void record(std::string_view client, const Exchange& exchange);
  // A connection that the server refused before reading its request: the request line is "-".
  void record_refusal(std::string_view client, int status);

  // The line for one request at `unix_time`, without its line break.
  static std::string line(std::string_view client, const Exchange& exchange, int64_t unix_time);

 private:
  void append(std::string text);
  void write_loop();

  int fd_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::string pending_;
  size_t dropped_ = 0;
  bool stopping_ = false;
  std::thread writer_;
};
