#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

// Fetches the body of one web address over HTTP on a worker thread and hands it
// back on the user-interface thread. One fetch at a time per instance; a fetch
// asked for while one runs is dropped.
namespace velnor {

// What the fetcher keeps of a reply, from its header lines and body bytes as
// they arrive: the Content-Length as TotalSize, and the body, cut at that
// length when it is a number.
class ReplyReader {
 public:
  // Replies longer than this end the fetch as a failure: the texts fetched are
  // small, and a reply without end must not eat the memory.
  static constexpr int kMaxBody = 16 * 1024 * 1024;

  enum class Step { kMore, kDone, kFailed };

  // With binary_data, a body without a Content-Length is a failure.
  explicit ReplyReader(bool binary_data = false) : binary_data_(binary_data) {}

  // One header line, its line end included. kDone once the headers announce
  // an empty body.
  Step header_line(std::string_view line);
  // Bytes of the body; those within the announced length are kept. kDone once
  // all of it is in.
  Step body_bytes(std::string_view bytes);

  const std::string& result() const { return result_; }
  // The Content-Length, or 0 without one or when it is no 32-bit decimal number.
  int total_size() const { return total_size_; }
  int readed() const { return static_cast<int>(result_.size()); }

 private:
  bool binary_data_;
  int status_ = 0;  // of the reply being read (an interim 1xx comes first)
  bool has_length_ = false;
  bool length_known_ = false;
  int total_size_ = 0;
  std::string result_;
};

class THTTPGet {
 public:
  // Runs a task on the user-interface thread, later, in the order posted.
  using PostToUi = std::function<void(std::function<void()>)>;
  // Handles the user-interface events that are already waiting, then returns.
  using PumpEvents = std::function<void()>;

  using DoneStringEvent = std::function<void(THTTPGet* sender, const std::string& result)>;
  using ErrorEvent = std::function<void(THTTPGet* sender)>;
  using ProgressEvent = std::function<void(THTTPGet* sender, int total_size, int readed)>;

  explicit THTTPGet(PostToUi post_to_ui, PumpEvents pump_events = {});
  // Stops a running fetch; its completion never arrives.
  ~THTTPGet();
  THTTPGet(const THTTPGet&) = delete;
  THTTPGet& operator=(const THTTPGet&) = delete;

  std::string AcceptTypes = "*/*";
  std::string Agent = "Tarnwick HTTPGet";
  bool BinaryData = false;
  std::string URL;
  bool UseCache = false;
  std::string UserName;
  std::string Password;
  std::string PostQuery;
  std::string Referer;
  bool WaitThread = false;

  DoneStringEvent OnDoneString;
  ErrorEvent OnError;
  ProgressEvent OnProgress;

  void FetchString();
  void CancelFetch();
  bool busy() const { return fetch_ != nullptr; }

  // The state of one fetch, shared by the component and its worker.
  struct Fetch;

 private:
  static void work(const std::shared_ptr<Fetch>& fetch);
  // Posts the completion of a fetch to the user-interface thread.
  static void deliver(const std::shared_ptr<Fetch>& fetch);
  void complete(const std::shared_ptr<Fetch>& fetch);

  PostToUi post_to_ui_;
  PumpEvents pump_events_;
  std::shared_ptr<Fetch> fetch_;
  std::thread worker_;
};

}  // namespace velnor
