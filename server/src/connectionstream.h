#pragma once

#include <httplib.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

// One client connection as the HTTP library reads and writes it, with the limits the library
// lacks: a byte budget per request (so a request line or header block cannot grow without
// bound), waits that end when the server stops, and writes gathered into one send per response.
class ConnectionStream : public httplib::Stream {
 public:
  struct Limits {
    size_t max_request_bytes;
    std::chrono::milliseconds read_timeout;
    std::chrono::milliseconds write_timeout;
  };

  // `stopping` is asked during every wait; once it says yes, waits give up.
  ConnectionStream(int fd, Limits limits, std::function<bool()> stopping);
  ~ConnectionStream() override;
  ConnectionStream(const ConnectionStream&) = delete;
  ConnectionStream& operator=(const ConnectionStream&) = delete;

  bool is_readable() const override;
  bool is_writable() const override;
  ssize_t read(char* ptr, size_t size) override;
  ssize_t write(const char* ptr, size_t size) override;
  void get_remote_ip_and_port(std::string& ip, int& port) const override;
  void get_local_ip_and_port(std::string& ip, int& port) const override;
  socket_t socket() const override;
  using httplib::Stream::write;

  // Starts a new request's byte budget.
  void begin_request();
  bool over_budget() const { return over_budget_; }
  bool wrote_since_request_began() const { return wrote_; }

  // Sends what the last response left buffered, then waits up to `timeout` for the first byte of
  // the next request. Gives up early when the server stops or when `give_way` says so.
  bool wait_for_request(std::chrono::milliseconds timeout, const std::function<bool()>& give_way);

  // Sends the rest and ends the connection. Reads that the peer may still have sent are drained
  // for a moment first, so that a reset cannot destroy the response on its way.
  void close();

 private:
  bool flush();
  bool send_all(const char* data, size_t size);
  // Polls in short slices so that a stop is noticed; false on time-out, stop or a broken socket.
  bool wait_for(short events, std::chrono::milliseconds timeout, const std::function<bool()>& give_way = {}) const;

  int fd_;
  Limits limits_;
  std::function<bool()> stopping_;
  std::vector<char> input_;
  size_t input_pos_ = 0;
  size_t input_end_ = 0;
  std::string output_;
  size_t consumed_ = 0;
  bool over_budget_ = false;
  bool wrote_ = false;
  bool broken_ = false;
};
