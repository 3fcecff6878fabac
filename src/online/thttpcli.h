#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

#include "core/filedescriptor.h"
#include "httpconnection.h"
#include "httpreply.h"

// An HTTP/1.0 download client on non-blocking sockets. A request blocks the
// thread that makes it, which is therefore a worker, never the user-interface
// thread; another thread may cancel it at any moment.
namespace velnor {

class THttpCli {
 public:
  static constexpr int kMaxRedirections = 20;
  // The installer is a few MiB; a reply without end must not fill the disk.
  static constexpr std::uint64_t kMaxBody = 256ull * 1024 * 1024;

  THttpCli();
  THttpCli(const THttpCli&) = delete;
  THttpCli& operator=(const THttpCli&) = delete;

  std::string URL;
  std::string Agent = "Mozilla/3.0 (compatible)";
  std::string Accept = "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";
  // Receives the reply body; owned by the caller. Without one the body is dropped.
  std::ostream* BodyStream = nullptr;
  // A longer body fails the request.
  std::uint64_t max_body = kMaxBody;
  // A request that moves no byte for this long fails,
  std::chrono::milliseconds stall_limit = std::chrono::seconds(30);
  // and so does one that moves less than this in any minute of it.
  RateFloor least_rate{60 * 1024, std::chrono::minutes(1)};

  // GETs URL, following redirections, and returns when the request has ended.
  // Raises EHttpException for a status of 400 or above and for every failure the
  // client detects (a stall, a trickle, a body cut short or too large, broken
  // framing, a cancel); a second call while one runs raises "HTTP component is
  // busy" (status 0) and leaves the running request alone. A stream that fails to
  // take the body raises std::runtime_error.
  void GetSync();

  // From any thread: ends the request under way, and every later one, as
  // "Connection aborted on request". A cancelled client is done with.
  void cancel();

  // The last reply's, or the last failure's, status and reason.
  int status_code() const { return status_; }
  const std::string& reason_phrase() const { return reason_; }
  // In lower case; "text/html" for a reply without header.
  const std::string& content_type() const { return content_type_; }

 private:
  void run_request();

  std::atomic<bool> busy_{false};
  std::atomic<bool> cancelled_{false};
  // Readable once cancelled, so that the request's waits end at once.
  FileDescriptor wake_;
  int wake_error_ = 0;  // why there is none
  int status_ = 0;
  std::string reason_;
  std::string content_type_;
};

}  // namespace velnor
