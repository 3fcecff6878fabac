#pragma once

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <string_view>

// One client connection. Bytes are gathered without blocking until a whole request head has
// arrived; only then does the HTTP library read it, and it reads from the gathered bytes alone,
// so no thread ever waits on a client that sends slowly or not at all. Writes are gathered into
// one send per response.
class ConnectionStream : public httplib::Stream {
 public:
  enum class Head {
    kComplete,  // a whole request head is at the front
    kPartial,   // part of one, or nothing yet
    kTooLarge,  // more than the limit without the end of the head
    kClosed,    // the peer ended the connection or it broke
  };

  // Takes the socket and counts itself in `open` for as long as the socket is open. `stopping`
  // is asked during every wait for the peer; once it says yes, waits give up.
  ConnectionStream(int fd, std::atomic<size_t>& open, size_t max_head_bytes, std::chrono::milliseconds write_timeout,
                   std::function<bool()> stopping);
  ~ConnectionStream() override;
  ConnectionStream(const ConnectionStream&) = delete;
  ConnectionStream& operator=(const ConnectionStream&) = delete;

  int fd() const { return fd_; }

  // Takes what the peer has sent so far without waiting, and says what is now at the front.
  Head receive();
  Head head_state();
  // True once any byte of the next request has arrived.
  bool request_started() const { return input_pos_ < input_.size(); }
  // The whole head at the front; only after head_state() said kComplete.
  std::string_view head() const;

  // Lets the library read exactly the head at the front; what follows it stays for the next request.
  void begin_request();
  // Drops the head that the library has read.
  void end_request();

  // Sends what the last response left, then waits up to `timeout` for the next request's bytes.
  // Gives up early when the server stops or when `give_way` says so.
  bool wait_for_input(std::chrono::milliseconds timeout, const std::function<bool()>& give_way);

  // A reply of our own that ends the connection, sent without waiting for a slow peer.
  void refuse(std::string_view reply);
  // Sends the rest and ends the connection. Reads that the peer may still have sent are drained
  // for a moment first, so that a reset cannot destroy the response on its way.
  void close();

  bool is_readable() const override;
  bool is_writable() const override;
  ssize_t read(char* ptr, size_t size) override;
  ssize_t write(const char* ptr, size_t size) override;
  void get_remote_ip_and_port(std::string& ip, int& port) const override;
  void get_local_ip_and_port(std::string& ip, int& port) const override;
  socket_t socket() const override;
  using httplib::Stream::write;

 private:
  bool flush();
  bool send_all(const char* data, size_t size);
  // Polls in short slices so that a stop is noticed; false on time-out, stop or a broken socket.
  bool wait_for(short events, std::chrono::milliseconds timeout, const std::function<bool()>& give_way = {}) const;
  void release();

  int fd_;
  std::atomic<size_t>& open_;
  size_t max_head_bytes_;
  std::chrono::milliseconds write_timeout_;
  std::function<bool()> stopping_;
  std::string input_;
  size_t input_pos_ = 0;
  size_t head_end_ = 0;     // end of the complete head at the front, 0 while there is none
  size_t scanned_ = 0;      // where the search for the head's end goes on
  size_t request_end_ = 0;  // how far the library may read
  std::string output_;
  bool broken_ = false;
};
