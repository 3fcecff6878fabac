#pragma once

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

#include "posting.h"

// Postings that arrive while another is being written are committed together, so that they share
// one transaction and one sync to disk; each caller returns once its own row is committed (or
// with the error that stopped its batch).
class GroupCommit {
 public:
  struct Row {
    const Posting* posting;
    std::string_view client_address;
    int64_t received_unix_time;
  };
  using Writer = std::function<void(const std::vector<Row>&)>;

  explicit GroupCommit(Writer writer) : writer_(std::move(writer)) {}

  void add(const Posting& posting, std::string_view client_address, int64_t received_unix_time);

 private:
  struct Batch {
    std::vector<Row> rows;
    bool done = false;
    std::exception_ptr error;
  };

  Writer writer_;
  std::mutex mutex_;
  std::condition_variable written_;
  std::shared_ptr<Batch> open_batch_;
  bool writing_ = false;
};
