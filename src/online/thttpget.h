#pragma once

#include <functional>
#include <memory>
#include <string>
#include <thread>

// Fetches the body of one web address over HTTP on a worker thread and hands it
// back on the user-interface thread. One fetch at a time per instance; a fetch
// asked for while one runs is dropped.
namespace velnor {

class THTTPGet {
 public:
  // Runs a task on the user-interface thread, later, in the order posted.
  using PostToUi = std::function<void(std::function<void()>)>;
  // Handles the user-interface events that are already waiting, then returns.
  using PumpEvents = std::function<void()>;

  using DoneStringEvent = std::function<void(THTTPGet* sender, const std::string& result)>;
  using ErrorEvent = std::function<void(THTTPGet* sender)>;
  using ProgressEvent = std::function<void(THTTPGet* sender, int total_size, int readed)>;

  // Replies longer than this end the fetch as a failure: the texts fetched are
  // small, and a reply without end must not eat the memory.
  static constexpr int kMaxBody = 16 * 1024 * 1024;

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
