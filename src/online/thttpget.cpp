#include "thttpget.h"

#include <curl/curl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <future>
#include <mutex>
#include <optional>
#include <string_view>
#include <system_error>

namespace velnor {

// One fetch: the worker's own copies of the request, its results, and what the
// two threads share. The worker keeps it alive, and so does every task it posts,
// so nothing it touches goes away with the component.
struct THTTPGet::Fetch {
  std::string accept_types, agent, url, user_name, password, post_query, referer;
  bool use_cache = false;
  ProgressEvent on_progress;
  PostToUi post_to_ui;

  // User-interface thread only: the component, or null once it is destroyed.
  THTTPGet* owner = nullptr;
  // User-interface thread only: CancelFetch was called.
  bool cancelled = false;

  std::atomic<bool> stop{false};

  // Guards the fields below; the worker posts to the user-interface thread only
  // while holding it, so a destroyed component sees no post begin after it.
  std::mutex mutex;
  std::condition_variable finished_changed;
  bool orphaned = false;
  bool finished = false;
  CURLM* multi = nullptr;

  // Written by the worker; read on the user-interface thread once it has ended.
  ReplyReader reply;
  bool success = false;
};

namespace {

constexpr long kBufferSize = 1025;
constexpr long kConnectTimeoutSeconds = 60;
// A reply that stalls this long ends the fetch, so an instance never stays busy
// for ever.
constexpr long kStallSeconds = 60;
// How long destroying a component waits for its stopped worker before leaving
// it to end on its own (a host-name lookup cannot be cut short).
constexpr auto kDestroyWait = std::chrono::seconds(2);
constexpr auto kProgressCheck = std::chrono::milliseconds(20);

struct Target {
  std::string host;
  std::string object;
};

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool starts_with_nocase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (lower(text[i]) != prefix[i]) return false;
  return true;
}

// The host is everything before the first "/", the object name the rest; no
// port is taken from the address. A host that is no plain name or number
// (empty, or holding ":" or "@") cannot be reached on port 80.
std::optional<Target> split_address(std::string_view address) {
  if (starts_with_nocase(address, "http://")) address.remove_prefix(7);
  const std::size_t slash = address.find('/');
  if (slash == std::string_view::npos || slash == 0) return std::nullopt;
  Target target{std::string(address.substr(0, slash)), std::string(address.substr(slash))};
  for (const char c : target.host) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '.' || c == '-' || c == '_';
    if (!ok) return std::nullopt;
  }
  return target;
}

// The object name goes on the request line as it was given, except for bytes
// that cannot stand there: spaces, control characters (a line break would end
// the request line), bytes outside ASCII and "#", which would cut the rest off.
std::string request_target(std::string_view object) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  static constexpr std::string_view kEscaped = "\"<>\\^`{|}#";
  std::string out;
  for (const char ch : object) {
    const auto b = static_cast<unsigned char>(ch);
    if (b <= 0x20 || b >= 0x7F || kEscaped.find(ch) != std::string_view::npos) {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 0x0F];
    } else {
      out += ch;
    }
  }
  return out;
}

// A Content-Length value: decimal digits within a 32-bit integer.
std::optional<int> content_length(std::string_view value) {
  while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
  while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r' ||
                            value.back() == '\n'))
    value.remove_suffix(1);
  if (value.empty()) return std::nullopt;
  long long n = 0;
  for (const char c : value) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
    if (n > INT_MAX) return std::nullopt;
  }
  return static_cast<int>(n);
}

// The worker's view of the transfer in progress.
struct Transfer {
  std::shared_ptr<THTTPGet::Fetch> fetch;
  bool failed = false;  // ends as a failure whatever was read
};

size_t on_header(char* data, size_t size, size_t count, void* user) {
  auto& t = *static_cast<Transfer*>(user);
  if (t.fetch->stop) return 0;
  // An empty body needs no wait for the server to close the connection.
  const std::string_view line(data, size * count);
  return t.fetch->reply.header_line(line) == ReplyReader::Step::kMore ? line.size() : 0;
}

size_t on_body(char* data, size_t size, size_t count, void* user) {
  auto& t = *static_cast<Transfer*>(user);
  auto& f = *t.fetch;
  if (f.stop) return 0;
  const int before = f.reply.readed();
  const ReplyReader::Step step = f.reply.body_bytes({data, size * count});
  if (step == ReplyReader::Step::kFailed) {
    t.failed = true;
    return 0;
  }
  if (f.on_progress && f.reply.readed() > before) {
    auto handled = std::make_shared<std::promise<void>>();
    std::future<void> returned = handled->get_future();
    {
      std::lock_guard lock(f.mutex);
      if (f.orphaned) return 0;
      f.post_to_ui([fetch = t.fetch, handled, total = f.reply.total_size(), readed = f.reply.readed()] {
        if (fetch->owner) fetch->on_progress(fetch->owner, total, readed);
        handled->set_value();
      });
    }
    // A task dropped unrun breaks the promise, which ends the wait too.
    while (returned.wait_for(kProgressCheck) != std::future_status::ready)
      if (f.stop) return 0;
  }
  // With the whole announced body read, the reply is complete whether or not
  // the server closes the connection.
  return step == ReplyReader::Step::kMore ? size * count : 0;
}

int on_transfer_info(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<Transfer*>(user)->fetch->stop ? 1 : 0;
}

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct HeadersDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

void add_header(std::unique_ptr<curl_slist, HeadersDeleter>& headers, const std::string& line) {
  curl_slist* grown = curl_slist_append(headers.get(), line.c_str());
  if (!grown) throw std::bad_alloc();
  headers.release();
  headers.reset(grown);
}

void transfer(Transfer& t) {
  auto& f = *t.fetch;
  if (f.stop) return;
  const std::optional<Target> target = split_address(f.url);
  if (!target) return;
  const std::string url = "http://" + target->host + request_target(target->object);

  std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
  if (!easy) return;
  CURL* e = easy.get();
  curl_easy_setopt(e, CURLOPT_URL, url.c_str());
  curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http");
  curl_easy_setopt(e, CURLOPT_PATH_AS_IS, 1L);
  curl_easy_setopt(e, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
  curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
  // The length is read here (see on_header), so that a value that is no number
  // still lets the body through.
  curl_easy_setopt(e, CURLOPT_IGNORE_CONTENT_LENGTH, 1L);
  curl_easy_setopt(e, CURLOPT_BUFFERSIZE, kBufferSize);
  curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
  curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
  // No proxy option is set, so the proxy variables of the environment apply.
  if (!f.agent.empty()) curl_easy_setopt(e, CURLOPT_USERAGENT, f.agent.c_str());
  if (!f.referer.empty()) curl_easy_setopt(e, CURLOPT_REFERER, f.referer.c_str());
  if (!f.user_name.empty() || !f.password.empty()) {
    curl_easy_setopt(e, CURLOPT_USERNAME, f.user_name.c_str());
    curl_easy_setopt(e, CURLOPT_PASSWORD, f.password.c_str());
    curl_easy_setopt(e, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
  }

  std::unique_ptr<curl_slist, HeadersDeleter> headers;
  add_header(headers, "Accept:" + (f.accept_types.empty() ? std::string() : " " + f.accept_types));
  if (!f.use_cache) {
    add_header(headers, "Cache-Control: no-cache");
    add_header(headers, "Pragma: no-cache");
  }
  if (!f.post_query.empty()) {
    add_header(headers, "Content-Type: application/x-www-form-urlencoded");
    curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(f.post_query.size()));
    curl_easy_setopt(e, CURLOPT_POSTFIELDS, f.post_query.data());
  }
  curl_easy_setopt(e, CURLOPT_HTTPHEADER, headers.get());

  curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, on_header);
  curl_easy_setopt(e, CURLOPT_HEADERDATA, &t);
  curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, on_body);
  curl_easy_setopt(e, CURLOPT_WRITEDATA, &t);
  curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, on_transfer_info);
  curl_easy_setopt(e, CURLOPT_XFERINFODATA, &t);

  CURLM* multi = curl_multi_init();
  if (!multi) return;
  curl_multi_add_handle(multi, e);
  {
    std::lock_guard lock(f.mutex);
    f.multi = multi;
  }
  // The multi interface lets CancelFetch wake the wait at once.
  int running = 1;
  while (running > 0 && !f.stop) {
    if (curl_multi_perform(multi, &running) != CURLM_OK) break;
    if (running > 0 && !f.stop) curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
  }
  {
    std::lock_guard lock(f.mutex);
    f.multi = nullptr;
  }
  curl_multi_remove_handle(multi, e);
  curl_multi_cleanup(multi);
  easy.reset();

  // The status of the reply is not looked at: any body counts.
  f.success = !f.stop && !t.failed && f.reply.readed() > 0;
}

void wake(THTTPGet::Fetch& fetch) {
  std::lock_guard lock(fetch.mutex);
  if (fetch.multi) curl_multi_wakeup(fetch.multi);
}

}  // namespace

ReplyReader::Step ReplyReader::header_line(std::string_view line) {
  if (starts_with_nocase(line, "http/")) {
    // A new reply begins: forget what an interim one said.
    const std::size_t space = line.find(' ');
    status_ = 0;
    for (std::size_t i = space == std::string_view::npos ? line.size() : space + 1;
         i < line.size() && line[i] >= '0' && line[i] <= '9' && status_ < 1000; ++i)
      status_ = status_ * 10 + (line[i] - '0');
    has_length_ = length_known_ = false;
    total_size_ = 0;
  } else if (starts_with_nocase(line, "content-length:")) {
    // One that is no number counts as present but reads as 0, and the body
    // is then read to the end of the connection.
    const std::optional<int> length = content_length(line.substr(15));
    has_length_ = true;
    length_known_ = length.has_value();
    total_size_ = length.value_or(0);
  } else if ((line == "\r\n" || line == "\n") && status_ >= 200 && length_known_ && total_size_ == 0) {
    return Step::kDone;
  }
  return Step::kMore;
}

ReplyReader::Step ReplyReader::body_bytes(std::string_view bytes) {
  if (bytes.empty()) return Step::kMore;
  if (binary_data_ && !has_length_) return Step::kFailed;
  if (length_known_) bytes = bytes.substr(0, static_cast<std::size_t>(std::max(total_size_ - readed(), 0)));
  if (bytes.size() > static_cast<std::size_t>(kMaxBody - readed())) return Step::kFailed;
  result_.append(bytes);
  return length_known_ && readed() >= total_size_ ? Step::kDone : Step::kMore;
}

void THTTPGet::work(const std::shared_ptr<Fetch>& fetch) {
  Transfer t{fetch};
  try {
    transfer(t);
  } catch (...) {
    fetch->success = false;
  }
  std::lock_guard lock(fetch->mutex);
  if (!fetch->orphaned) deliver(fetch);
  fetch->finished = true;
  fetch->finished_changed.notify_all();
}

void THTTPGet::deliver(const std::shared_ptr<Fetch>& fetch) {
  try {
    fetch->post_to_ui([fetch] {
      if (THTTPGet* owner = fetch->owner) owner->complete(fetch);
    });
  } catch (...) {
    // Nowhere to report to: the component stays busy, as with a post that is lost.
  }
}

THTTPGet::THTTPGet(PostToUi post_to_ui, PumpEvents pump_events)
    : post_to_ui_(std::move(post_to_ui)), pump_events_(std::move(pump_events)) {
  static std::once_flag curl_ready;
  std::call_once(curl_ready, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

THTTPGet::~THTTPGet() {
  if (!fetch_) return;
  fetch_->owner = nullptr;
  fetch_->stop = true;
  bool finished;
  {
    std::unique_lock lock(fetch_->mutex);
    fetch_->orphaned = true;
    if (fetch_->multi) curl_multi_wakeup(fetch_->multi);
    finished = fetch_->finished_changed.wait_for(lock, kDestroyWait, [this] { return fetch_->finished; });
  }
  if (!worker_.joinable()) return;
  if (finished)
    worker_.join();
  else
    worker_.detach();
}

void THTTPGet::FetchString() {
  if (fetch_) return;
  auto fetch = std::make_shared<Fetch>();
  fetch->accept_types = AcceptTypes;
  fetch->agent = Agent;
  fetch->url = URL;
  fetch->user_name = UserName;
  fetch->password = Password;
  fetch->post_query = PostQuery;
  fetch->referer = Referer;
  fetch->use_cache = UseCache;
  fetch->reply = ReplyReader(BinaryData);
  fetch->on_progress = OnProgress;
  fetch->post_to_ui = post_to_ui_;
  fetch->owner = this;
  fetch_ = fetch;
  try {
    worker_ = std::thread(work, fetch);
  } catch (const std::system_error&) {
    // No thread to be had: the fetch fails like any other, on a later turn.
    fetch->finished = true;
    deliver(fetch);
  }
  if (WaitThread && pump_events_) pump_events_();
}

void THTTPGet::CancelFetch() {
  if (!fetch_) return;
  fetch_->cancelled = true;
  fetch_->stop = true;
  wake(*fetch_);
}

void THTTPGet::complete(const std::shared_ptr<Fetch>& fetch) {
  if (fetch != fetch_) return;
  if (worker_.joinable()) worker_.join();
  // The instance is idle again only once the handler has returned; a handler
  // that destroys the component leaves it untouched.
  struct BackToIdle {
    const std::shared_ptr<Fetch>& fetch;
    ~BackToIdle() {
      if (THTTPGet* owner = fetch->owner) owner->fetch_.reset();
    }
  } back_to_idle{fetch};
  if (fetch->success && !fetch->cancelled) {
    if (DoneStringEvent handler = OnDoneString) handler(this, fetch->reply.result());
  } else {
    if (ErrorEvent handler = OnError) handler(this);
  }
}

}  // namespace velnor
