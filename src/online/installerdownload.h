#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "core/uithread.h"
#include "thttpcli.h"

// Downloads the installer's signed statement and then the installer on a worker
// thread, through the download client, and keeps the installer only if the
// statement's signature holds under the release key, names the version offered,
// newer than the game's own, and describes the installer's very bytes; the
// outcome comes back on the user-interface thread.
namespace velnor {

class InstallerDownload {
 public:
  struct Outcome {
    bool verified = false;   // the installer is in its file, signed by the release key
    std::uint64_t size = 0;  // its bytes
    // Why a download that failed on this side did (the file could not be written, say);
    // empty for what the network did.
    std::string local_error;
    // Why a release the server did send was refused (not signed, another version, an older
    // one, other bytes than signed), for the player who asks; empty otherwise.
    std::string refusal;
  };
  struct Request {
    std::string url;  // the installer's; its statement lies at url + ".sig"
    std::filesystem::path file;
    std::string release_key;
    std::string offered_version;  // the version text the server offered
    std::string own_version;      // the game's: only a newer version installs
  };
  using Done = std::function<void(const Outcome&)>;

  InstallerDownload(THttpCli& client, PostToUi post_to_ui);
  // Cancels a download under way and waits for its worker, which removes what it wrote.
  ~InstallerDownload();
  InstallerDownload(const InstallerDownload&) = delete;
  InstallerDownload& operator=(const InstallerDownload&) = delete;

  // GETs the statement, checks it, then GETs the installer into `file` and checks it against the
  // statement. Anything but a verified installer leaves no file behind. `done` is called once, on
  // the user-interface thread, unless this object is gone first.
  void start(Request request, Done done);
  // Ends the transfer at once; `done` then reports a failure.
  void cancel();
  bool running() const { return job_ != nullptr; }

  struct Job;

 private:
  THttpCli& client_;
  PostToUi post_to_ui_;
  std::shared_ptr<Job> job_;
  std::thread worker_;
};

}  // namespace velnor
