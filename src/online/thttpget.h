#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "core/uithread.h"

// Fetches the body of one web address over HTTP, or HTTPS for an https:// address,
// on a worker thread and hands it back on the user-interface thread. One fetch at a
// time per instance; a fetch asked for while one runs is dropped. The proxy named by
// http_proxy (or HTTP_PROXY) is used, for https addresses the one named by
// https_proxy (or HTTPS_PROXY) if there is one, except for the hosts that no_proxy
// (or NO_PROXY) names.
namespace velnor {

class THTTPGet {
 public:
  // The texts fetched are small, and a reply without end must not eat the memory.
  static constexpr std::size_t kMaxBody = 16 * 1024 * 1024;

  using DoneStringEvent = std::function<void(THTTPGet* sender, const std::string& result)>;
  using ErrorEvent = std::function<void(THTTPGet* sender)>;
  using ProgressEvent = std::function<void(THTTPGet* sender, int total_size, int readed)>;
  using PrepareEvent = std::function<void(std::string& result)>;

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
  // Run on the worker with a fetched body, which it may rewrite, before OnDoneString is
  // raised with it: for work on outside bytes that must never hold the user-interface
  // thread. It must touch nothing of the user-interface thread's; should it throw, the
  // fetch fails.
  PrepareEvent OnPrepare;

  // A fetch fails when no byte moves for stall_limit, and in any case at its
  // deadline (a trickle of bytes must not keep the instance busy for ever).
  std::chrono::milliseconds stall_limit = std::chrono::seconds(30);
  std::chrono::milliseconds deadline = std::chrono::seconds(60);
  // A reply longer than this ends the fetch as a failure as soon as it is
  // announced or has grown past it; no more of it is read.
  std::size_t max_body = kMaxBody;

  void FetchString();
  void CancelFetch();
  bool busy() const { return fetch_ != nullptr; }
  // The status number of the reply of the last completed fetch, 0 when none was
  // read; set before OnDoneString or OnError is raised.
  int status_code() const { return status_; }
  // The last completed fetch failed because its reply was longer than max_body.
  bool body_too_large() const { return too_large_; }
  // Why the server of the last completed fetch could not be trusted (its certificate did
  // not hold, or it spoke no TLS to an https address); empty when that was not the failure.
  const std::string& untrusted_reason() const { return untrusted_; }

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
  int status_ = 0;
  bool too_large_ = false;
  std::string untrusted_;
};

}  // namespace velnor
