#include "thttpget.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <future>
#include <mutex>
#include <optional>
#include <string_view>
#include <system_error>

#include "core/bytetext.h"
#include "core/serveraddress.h"
#include "httpbody.h"
#include "httpconnection.h"
#include "tlschannel.h"

namespace velnor {

// One fetch: the worker's own copies of the request, its results, and what the
// two threads share. The worker keeps it alive, and so does every task it posts,
// so nothing it touches goes away with the component.
struct THTTPGet::Fetch {
  std::string accept_types, agent, url, user_name, password, post_query, referer;
  // The proxy settings of the environment when the fetch began.
  std::string proxy, secure_proxy, no_proxy;
  bool use_cache = false;
  bool binary_data = false;
  std::chrono::milliseconds stall_limit{0};
  std::chrono::milliseconds deadline{0};
  std::size_t max_body = 0;
  ProgressEvent on_progress;
  PrepareEvent on_prepare;
  PostToUi post_to_ui;

  // User-interface thread only: the component, or null once it is destroyed.
  THTTPGet* owner = nullptr;
  // User-interface thread only: CancelFetch was called.
  bool cancelled = false;

  std::atomic<bool> stop{false};
  // Readable once stop is set, so that the worker's waits end at once.
  FileDescriptor wake{::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)};

  // Guards orphaned; the worker posts to the user-interface thread only while
  // holding it, so a destroyed component sees no post begin after it.
  std::mutex mutex;
  bool orphaned = false;

  // Written by the worker; read on the user-interface thread once it has ended.
  std::string result;
  int total_size = 0;
  int status = 0;
  bool success = false;
  bool too_large = false;
  std::string untrusted;
};

namespace {

// Bytes read at a time, so that progress comes in pieces of at most this many.
constexpr std::size_t kBufferSize = 1025;
constexpr auto kProgressCheck = std::chrono::milliseconds(20);

struct Target {
  bool secure = false;
  std::string host;
  std::string object;
};

// After the scheme, the host is everything before the first "/", the object name
// the rest; no port is taken from the address: http is on port 80, https on 443.
// A host that is no plain name or number (empty, or holding ":" or "@") cannot be
// reached there.
std::optional<Target> split_target(std::string_view address) {
  const bool secure = text::starts_with_nocase(address, "https://");
  if (secure)
    address.remove_prefix(8);
  else if (text::starts_with_nocase(address, "http://"))
    address.remove_prefix(7);
  const std::size_t slash = address.find('/');
  if (slash == std::string_view::npos || slash == 0) return std::nullopt;
  Target target{secure, std::string(address.substr(0, slash)), std::string(address.substr(slash))};
  if (!is_plain_host(target.host)) return std::nullopt;
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

// Whether no_proxy exempts `host`: "*", or an entry that is the host itself or
// one of the domains it lies in (a leading "." is the same domain).
bool bypasses_proxy(std::string_view no_proxy, std::string_view host) {
  while (!no_proxy.empty()) {
    const std::size_t comma = no_proxy.find(',');
    std::string_view entry = no_proxy.substr(0, comma);
    no_proxy.remove_prefix(comma == std::string_view::npos ? no_proxy.size() : comma + 1);
    while (!entry.empty() && (entry.front() == ' ' || entry.front() == '\t')) entry.remove_prefix(1);
    while (!entry.empty() && (entry.back() == ' ' || entry.back() == '\t')) entry.remove_suffix(1);
    if (entry == "*") return true;
    if (!entry.empty() && entry.front() == '.') entry.remove_prefix(1);
    if (entry.empty() || entry.size() > host.size()) continue;
    const std::string_view tail = host.substr(host.size() - entry.size());
    if (text::equal_nocase(tail, entry) && (tail.size() == host.size() || host[host.size() - tail.size() - 1] == '.'))
      return true;
  }
  return false;
}

// A header value goes on a line of its own: a line break in it would add lines.
const std::string& header_value(const std::string& value) {
  for (const char c : value)
    if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7f)
      throw EHttpException(kHttpFailureStatus, "Invalid header value");
  return value;
}

std::string request_text(const THTTPGet::Fetch& f, const HttpAddress& server, const std::optional<HttpAddress>& proxy) {
  // A proxy is given the whole address of a plain request; an https one goes through its tunnel.
  std::string text = f.post_query.empty() ? "GET " : "POST ";
  if (proxy && !server.secure) text += "http://" + server.host;
  text += server.path + " HTTP/1.0\r\n";
  text += "Host: " + server.host + "\r\n";
  if (proxy && !server.secure && proxy->has_user)
    text += "Proxy-Authorization: Basic " + base64(proxy->user + ":" + proxy->password) + "\r\n";
  if (!f.user_name.empty() || !f.password.empty())
    text += "Authorization: Basic " + base64(f.user_name + ":" + f.password) + "\r\n";
  if (!f.agent.empty()) text += "User-Agent: " + header_value(f.agent) + "\r\n";
  if (!f.referer.empty()) text += "Referer: " + header_value(f.referer) + "\r\n";
  if (!f.accept_types.empty()) text += "Accept: " + header_value(f.accept_types) + "\r\n";
  if (!f.use_cache) text += "Cache-Control: no-cache\r\nPragma: no-cache\r\n";
  if (!f.post_query.empty()) {
    text += "Content-Type: application/x-www-form-urlencoded\r\n";
    text += "Content-Length: " + std::to_string(f.post_query.size()) + "\r\n";
  }
  text += "\r\n";
  text += f.post_query;
  return text;
}

[[noreturn]] void stopped() { throw EHttpException(kHttpFailureStatus, "Connection aborted on request"); }

// Raises OnProgress on the user-interface thread and waits until its handler has returned.
void report_progress(const std::shared_ptr<THTTPGet::Fetch>& fetch) {
  auto& f = *fetch;
  auto handled = std::make_shared<std::promise<void>>();
  std::future<void> returned = handled->get_future();
  {
    std::lock_guard lock(f.mutex);
    if (f.orphaned) stopped();
    f.post_to_ui([fetch, handled, total = f.total_size, readed = static_cast<int>(f.result.size())] {
      if (fetch->owner) fetch->on_progress(fetch->owner, total, readed);
      handled->set_value();
    });
  }
  // A task dropped unrun breaks the promise, which ends the wait too.
  while (returned.wait_for(kProgressCheck) != std::future_status::ready)
    if (f.stop) stopped();
}

void transfer(const std::shared_ptr<THTTPGet::Fetch>& fetch) {
  auto& f = *fetch;
  const std::optional<Target> target = split_target(f.url);
  if (!target) return;
  HttpAddress server;
  server.secure = target->secure;
  server.port = server.secure ? HttpAddress::kSecurePort : HttpAddress::kPlainPort;
  server.host = target->host;
  server.path = request_target(target->object);
  std::optional<HttpAddress> proxy;
  const std::string& proxy_setting = server.secure && !f.secure_proxy.empty() ? f.secure_proxy : f.proxy;
  if (!proxy_setting.empty() && !bypasses_proxy(f.no_proxy, server.host)) proxy = split_address(proxy_setting);

  HttpWaiter waiter([&f] { return f.stop.load(); }, f.stall_limit, HttpWaiter::Clock::now() + f.deadline, f.wake.get());
  HttpConnection connection(server, request_text(f, server, proxy), waiter, kBufferSize, proxy ? &*proxy : nullptr);
  HttpReplyHeader header;
  connection.read_header(header);
  f.status = header.status();
  if (f.binary_data && !header.has_content_length_line()) return;
  const std::optional<std::uint64_t>& length = header.content_length();
  f.total_size = length && *length <= INT_MAX ? static_cast<int>(*length) : 0;

  HttpBody body(header, f.max_body);
  const HttpBody::Sink keep = [&f](std::string_view bytes) { f.result.append(bytes); };
  const auto take = [&](std::string_view bytes) {
    const std::size_t before = f.result.size();
    body.feed(bytes, keep);
    if (f.on_progress && f.result.size() > before) report_progress(fetch);
  };
  take(header.take_body_start());
  // A body cut short, or one that ends with the connection, counts as it came.
  while (!body.finished() && connection.receive() == HttpConnection::Outcome::data) take(connection.data());
  // The status of the reply does not decide: any body counts.
  f.success = !f.result.empty();
}

void stop(THTTPGet::Fetch& fetch) {
  fetch.stop = true;
  const std::uint64_t one = 1;
  [[maybe_unused]] const auto written = ::write(fetch.wake.get(), &one, sizeof one);
}

// The first of two environment variables that is set and not empty.
std::string environment(const char* name, const char* other_name) {
  for (const char* variable : {name, other_name})
    if (const char* value = std::getenv(variable); value != nullptr && *value != '\0') return value;
  return {};
}

}  // namespace

void THTTPGet::work(const std::shared_ptr<Fetch>& fetch) {
  try {
    transfer(fetch);
    if (fetch->success && fetch->on_prepare && !fetch->stop) fetch->on_prepare(fetch->result);
  } catch (const EHttpBodyTooLarge&) {
    fetch->success = false;
    fetch->too_large = true;
  } catch (const ETlsException& refusal) {
    fetch->success = false;
    fetch->untrusted = refusal.what();
  } catch (...) {
    fetch->success = false;
  }
  std::lock_guard lock(fetch->mutex);
  if (!fetch->orphaned) deliver(fetch);
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
    : post_to_ui_(std::move(post_to_ui)), pump_events_(std::move(pump_events)) {}

THTTPGet::~THTTPGet() {
  if (!fetch_) return;
  fetch_->owner = nullptr;
  {
    std::lock_guard lock(fetch_->mutex);
    fetch_->orphaned = true;
  }
  // Every wait of the worker watches the stop, so it ends promptly.
  stop(*fetch_);
  if (worker_.joinable()) worker_.join();
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
  fetch->proxy = environment("http_proxy", "HTTP_PROXY");
  fetch->secure_proxy = environment("https_proxy", "HTTPS_PROXY");
  fetch->no_proxy = environment("no_proxy", "NO_PROXY");
  fetch->use_cache = UseCache;
  fetch->binary_data = BinaryData;
  fetch->stall_limit = stall_limit;
  fetch->deadline = deadline;
  fetch->max_body = max_body;
  fetch->on_progress = OnProgress;
  fetch->on_prepare = OnPrepare;
  fetch->post_to_ui = post_to_ui_;
  fetch->owner = this;
  fetch_ = fetch;
  try {
    worker_ = std::thread(work, fetch);
  } catch (const std::system_error&) {
    // No thread to be had: the fetch fails like any other, on a later turn.
    deliver(fetch);
  }
  if (WaitThread && pump_events_) pump_events_();
}

void THTTPGet::CancelFetch() {
  if (!fetch_) return;
  fetch_->cancelled = true;
  stop(*fetch_);
}

void THTTPGet::complete(const std::shared_ptr<Fetch>& fetch) {
  if (fetch != fetch_) return;
  if (worker_.joinable()) worker_.join();
  status_ = fetch->status;
  too_large_ = fetch->too_large;
  untrusted_ = fetch->untrusted;
  // The instance is idle again only once the handler has returned; a handler
  // that destroys the component leaves it untouched.
  struct BackToIdle {
    const std::shared_ptr<Fetch>& fetch;
    ~BackToIdle() {
      if (THTTPGet* owner = fetch->owner) owner->fetch_.reset();
    }
  } back_to_idle{fetch};
  if (fetch->success && !fetch->cancelled) {
    if (DoneStringEvent handler = OnDoneString) handler(this, fetch->result);
  } else {
    if (ErrorEvent handler = OnError) handler(this);
  }
}

}  // namespace velnor
