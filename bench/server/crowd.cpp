// The crowds that wrk cannot make, for bench/server_bench.sh, on loopback:
//
//   crowd fair PORT CONNECTIONS SECONDS PATH
//     keep-alive GETs of PATH on every connection at once, one request in flight on each, from two
//     threads; prints
//     "requests_per_s fewest_on_a_connection mean_per_connection failures", so that a server that
//     serves some connections and starves others shows it.
//   crowd hold PORT IDLE DRIPPERS READERS BIG_PATH SECONDS
//     holds IDLE connections that send nothing, DRIPPERS that send a request head one byte a second
//     (and come back when they are cut off), and READERS that fetch BIG_PATH at 64 KB a second;
//     prints what each kind met when SECONDS are over.
//
// epoll, edge-triggered: the crowd costs the machine little beside the server it measures.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

int open_connection(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  const int on = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 && errno != EINPROGRESS) {
    ::close(fd);
    return -1;
  }
  return fd;
}

void raise_file_limit() {
  rlimit files{};
  ::getrlimit(RLIMIT_NOFILE, &files);
  files.rlim_cur = files.rlim_max;
  ::setrlimit(RLIMIT_NOFILE, &files);
}

struct Client {
  int fd = -1;
  bool sent = false;     // a request is out, its reply not yet whole
  std::string head;      // the reply's head so far
  size_t body_left = 0;  // bytes of the reply's body still to come, once its head is whole
  long served = 0;
};

constexpr size_t kLongestHead = 16 * 1024;

// Takes bytes of replies as they come. Only heads are kept: a body is counted and dropped, not
// copied again, so that the client (on the same cores as the server) spends little beside it.
// Returns the replies made whole; `bad` counts those that were not a 200 or could not be read.
int take(Client& client, std::string_view bytes, long& bad) {
  int whole = 0;
  while (!bytes.empty()) {
    if (client.body_left > 0) {
      const size_t part = std::min(bytes.size(), client.body_left);
      client.body_left -= part;
      bytes.remove_prefix(part);
      if (client.body_left == 0) ++whole;
      continue;
    }
    const size_t before = client.head.size();
    const size_t part = std::min(bytes.size(), kLongestHead + 4 - before);
    client.head.append(bytes.substr(0, part));
    const size_t end = client.head.find("\r\n\r\n", before < 3 ? 0 : before - 3);
    if (end == std::string::npos) {
      if (client.head.size() > kLongestHead) {  // no reply's head is this long: the rest is not read
        ++bad;
        return whole;
      }
      bytes.remove_prefix(part);
      continue;
    }
    bytes.remove_prefix(end + 4 - before);
    if (!client.head.starts_with("HTTP/1.1 200")) ++bad;
    const size_t field = client.head.find("Content-Length: ");
    client.body_left = field < end ? std::strtoull(client.head.c_str() + field + 16, nullptr, 10) : 0;
    client.head.clear();
    if (client.body_left == 0) ++whole;
  }
  return whole;
}

constexpr int kFairThreads = 2;  // as wrk is run: the client is not the bottleneck of one core

// One thread's share of the connections: each asks again as soon as its reply is whole, and comes
// back at once when the server ends it between replies (its keep-alive limit).
long serve_share(std::vector<Client>& clients, int port, const std::string& request, Clock::time_point end) {
  const int poller = ::epoll_create1(EPOLL_CLOEXEC);
  long failures = 0;
  const auto watch = [&](size_t i) {
    clients[i].fd = open_connection(port);
    clients[i].sent = false;
    clients[i].head.clear();
    clients[i].body_left = 0;
    if (clients[i].fd < 0) return false;
    epoll_event event{};
    event.events = EPOLLIN | EPOLLOUT | EPOLLRDHUP | EPOLLET;
    event.data.u64 = i;
    ::epoll_ctl(poller, EPOLL_CTL_ADD, clients[i].fd, &event);
    return true;
  };
  const auto ask = [&](Client& client) {
    const ssize_t put = ::send(client.fd, request.data(), request.size(), MSG_NOSIGNAL);
    client.sent = put == static_cast<ssize_t>(request.size());
    if (put >= 0 && !client.sent) ++failures;  // a part of a request: never on loopback
  };
  for (size_t i = 0; i < clients.size(); ++i)
    if (!watch(i)) ++failures;
  std::vector<epoll_event> events(1024);
  char buffer[65536];
  while (Clock::now() < end) {
    const int ready = ::epoll_wait(poller, events.data(), static_cast<int>(events.size()), 100);
    for (int e = 0; e < ready; ++e) {
      const size_t i = events[e].data.u64;
      Client& client = clients[i];
      if (client.fd < 0) continue;
      if (!client.sent && (events[e].events & EPOLLOUT)) ask(client);
      if (!(events[e].events & (EPOLLIN | EPOLLRDHUP | EPOLLHUP | EPOLLERR))) continue;
      for (;;) {
        const ssize_t got = ::recv(client.fd, buffer, sizeof buffer, 0);
        if (got < 0 && errno == EAGAIN) break;
        if (got <= 0) {
          if (!client.head.empty() || client.body_left > 0) ++failures;
          ::close(client.fd);
          if (!watch(i)) ++failures;
          break;
        }
        // One request is out at a time, so a reply made whole is the one asked for.
        if (take(client, std::string_view(buffer, static_cast<size_t>(got)), failures) > 0) {
          ++client.served;
          ask(client);
        }
      }
    }
  }
  ::close(poller);
  return failures;
}

int fair(int port, int connections, int seconds, const std::string& path) {
  const std::string request = "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
  std::vector<std::vector<Client>> shares(kFairThreads);
  for (int i = 0; i < connections; ++i) shares[static_cast<size_t>(i % kFairThreads)].emplace_back();
  const auto start = Clock::now();
  const auto end = start + std::chrono::seconds(seconds);
  std::vector<long> failures(kFairThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kFairThreads; ++t)
    threads.emplace_back([&, t] { failures[t] = serve_share(shares[t], port, request, end); });
  for (auto& thread : threads) thread.join();
  const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  long total = 0, fewest = -1, failed = 0;
  for (int t = 0; t < kFairThreads; ++t) {
    failed += failures[t];
    for (const Client& client : shares[t]) {
      if (client.fd >= 0) ::close(client.fd);
      total += client.served;
      fewest = fewest < 0 ? client.served : std::min(fewest, client.served);
    }
  }
  std::printf("%.0f %ld %.1f %ld\n", static_cast<double>(total) / elapsed, fewest,
              static_cast<double>(total) / connections, failed);
  return 0;
}

enum class Kind { kIdle, kDripper, kReader };

struct Held {
  Kind kind;
  int fd = -1;
  size_t sent = 0;   // a dripper's bytes of its head so far
  size_t taken = 0;  // a reader's bytes of its file
  long cut_off = 0;  // times the server ended the connection
};

int hold(int port, int idle, int drippers, int readers, const std::string& big_path, int seconds) {
  const std::string head = "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Slow: " + std::string(64, 'd') + "\r\n\r\n";
  const std::string fetch = "GET " + big_path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
  std::vector<Held> held;
  for (int i = 0; i < idle; ++i) held.push_back({Kind::kIdle});
  for (int i = 0; i < drippers; ++i) held.push_back({Kind::kDripper});
  for (int i = 0; i < readers; ++i) held.push_back({Kind::kReader});
  long refused = 0;
  for (Held& one : held) {
    one.fd = open_connection(port);
    if (one.fd < 0) ++refused;
  }
  // Connections finish connecting before the readers ask.
  ::usleep(200000);
  for (Held& one : held)
    if (one.kind == Kind::kReader && one.fd >= 0) ::send(one.fd, fetch.data(), fetch.size(), MSG_NOSIGNAL);
  std::printf("holding %d idle, %d one-byte-a-second, %d slow readers (%ld could not connect)\n", idle, drippers,
              readers, refused);
  std::fflush(stdout);

  const auto end = Clock::now() + std::chrono::seconds(seconds);
  char buffer[6554];  // a tenth of 64 KB: the readers take this ten times a second
  while (Clock::now() < end) {
    const auto tick = Clock::now();
    for (Held& one : held) {
      if (one.kind == Kind::kIdle) continue;
      if (one.fd < 0) one.fd = open_connection(port);
      if (one.fd < 0) continue;
      if (one.kind == Kind::kReader) {
        const ssize_t got = ::recv(one.fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got > 0) one.taken += static_cast<size_t>(got);
        if (got == 0 || (got < 0 && errno != EAGAIN)) {
          ++one.cut_off;
          ::close(one.fd);
          one.fd = -1;
        }
      }
    }
    // Each dripper sends one byte a second: a tenth of them on each tick.
    static size_t turn = 0;
    for (size_t i = turn % 10; i < held.size(); i += 10) {
      Held& one = held[i];
      if (one.kind != Kind::kDripper || one.fd < 0) continue;
      const ssize_t put = ::send(one.fd, head.data() + one.sent % head.size(), 1, MSG_NOSIGNAL | MSG_DONTWAIT);
      char answer[256];
      if (put != 1 || ::recv(one.fd, answer, sizeof answer, MSG_DONTWAIT) >= 0) {
        ++one.cut_off;
        ::close(one.fd);
        one.fd = -1;
        one.sent = 0;
      } else {
        ++one.sent;
      }
    }
    ++turn;
    const auto spent = Clock::now() - tick;
    if (spent < std::chrono::milliseconds(100))
      ::usleep(static_cast<useconds_t>(
          std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::milliseconds(100) - spent).count()));
  }
  long idle_open = 0, drips_cut = 0, readers_cut = 0;
  size_t least_taken = static_cast<size_t>(-1);
  for (Held& one : held) {
    if (one.kind == Kind::kIdle && one.fd >= 0) {
      char probe;
      if (::recv(one.fd, &probe, 1, MSG_DONTWAIT) < 0 && errno == EAGAIN) ++idle_open;
    }
    if (one.kind == Kind::kDripper) drips_cut += one.cut_off;
    if (one.kind == Kind::kReader) {
      readers_cut += one.cut_off;
      least_taken = std::min(least_taken, one.taken);
    }
    if (one.fd >= 0) ::close(one.fd);
  }
  std::printf(
      "after %d s: %ld of %d idle still open; one-byte-a-second heads cut off %ld times; slow readers cut off "
      "%ld times, the slowest took %zu bytes\n",
      seconds, idle_open, idle, drips_cut, readers_cut, readers > 0 ? least_taken : 0);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  raise_file_limit();
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 5 && args[0] == "fair")
    return fair(std::atoi(args[1].c_str()), std::atoi(args[2].c_str()), std::atoi(args[3].c_str()), args[4]);
  if (args.size() == 7 && args[0] == "hold")
    return hold(std::atoi(args[1].c_str()), std::atoi(args[2].c_str()), std::atoi(args[3].c_str()),
                std::atoi(args[4].c_str()), args[5], std::atoi(args[6].c_str()));
  std::fprintf(stderr,
               "usage: crowd fair PORT CONNECTIONS SECONDS PATH\n"
               "       crowd hold PORT IDLE DRIPPERS READERS BIG_PATH SECONDS\n");
  return 2;
}
