#include "scorestore.h"

#include <filesystem>

#include "pgstore.h"
#include "sqlitestore.h"

StoredScore stored_score(const Posting& posting, std::string_view client_address, int64_t received_unix_time) {
  return {posting.name, posting.date,  posting.score, received_unix_time, std::string(client_address),
          posting.game, posting.ticket};
}

std::unique_ptr<ScoreStore> open_score_store(const std::string& address) {
  if (address.starts_with("postgresql://") || address.starts_with("postgres://"))
    return std::make_unique<PgStore>(address);
  const std::filesystem::path file = address.starts_with("sqlite:") ? address.substr(7) : address;
  if (file.empty()) throw StoreError("\"" + address + "\" names no file");
  if (address.find("://") != std::string::npos && !address.starts_with("sqlite:"))
    throw StoreError("unknown kind of store \"" + address + "\" (a file path, sqlite:PATH or postgresql://...)");
  return std::make_unique<SqliteStore>(file);
}

int64_t copy_scores(ScoreStore& from, ScoreStore& to) {
  // Copying into a store that already holds scores would mix two lists, or double one.
  if (const int64_t present = to.count(); present != 0)
    throw StoreError("the target store already holds " + std::to_string(present) + " scores; nothing was copied");
  std::vector<StoredScore> rows;
  from.read_all([&](const StoredScore& row) { rows.push_back(row); });
  to.add_all(rows);
  const int64_t copied = to.count();
  if (copied != static_cast<int64_t>(rows.size()) || from.count() != copied)
    throw StoreError("counts differ after the copy: " + std::to_string(rows.size()) + " read, " +
                     std::to_string(copied) + " in the target store");
  return copied;
}
