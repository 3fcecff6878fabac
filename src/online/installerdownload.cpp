#include "installerdownload.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "core/safefile.h"
#include "core/wire.h"
#include "releasesignature.h"

namespace velnor {

// What the worker is given, and the way back: a task posted to the user-interface
// thread finds the download there only while it still exists.
struct InstallerDownload::Job {
  std::string url;
  std::filesystem::path file;
  std::string release_key;
  Done done;
  InstallerDownload* owner = nullptr;  // user-interface thread only
};

namespace {

// One GET whose body, of at most `max_body` bytes, goes into `out`.
void get_into(THttpCli& client, const std::string& url, std::ostream& out, std::uint64_t max_body) {
  client.URL = url;
  client.max_body = max_body;
  client.BodyStream = &out;
  struct Detach {
    THttpCli& client;
    ~Detach() { client.BodyStream = nullptr; }
  } detach{client};
  client.GetSync();
}

void download_into(THttpCli& client, const std::string& url, const std::filesystem::path& file) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("Unable to create " + file.string());
  get_into(client, url, out, THttpCli::kMaxBody);
  out.close();
  if (!out) throw std::runtime_error("Cannot write " + file.string());
}

InstallerDownload::Outcome fetch_and_check(THttpCli& client, const InstallerDownload::Job& job) {
  InstallerDownload::Outcome outcome;
  try {
    download_into(client, job.url, job.file);
    std::ostringstream signature;
    get_into(client, job.url + std::string(wire::kSignatureSuffix), signature, release::kSignatureSize);
    // What is checked is what lies on the disk, the very bytes that will run.
    const std::string installer = read_regular_file(job.file, THttpCli::kMaxBody);
    outcome.verified = release::verify(installer, signature.str(), job.release_key);
    outcome.size = installer.size();
  } catch (const EHttpException&) {
    // The network failed us: "Download Aborted" says all there is.
  } catch (const std::exception& error) {
    outcome.local_error = error.what();
  }
  if (!outcome.verified) {
    std::error_code ignored;
    std::filesystem::remove(job.file, ignored);
  }
  return outcome;
}

}  // namespace

InstallerDownload::InstallerDownload(THttpCli& client, PostToUi post_to_ui)
    : client_(client), post_to_ui_(std::move(post_to_ui)) {}

InstallerDownload::~InstallerDownload() {
  if (job_) job_->owner = nullptr;
  client_.cancel();
  if (worker_.joinable()) worker_.join();
}

void InstallerDownload::start(std::string url, std::filesystem::path file, std::string release_key, Done done) {
  if (job_) return;
  auto job = std::make_shared<Job>(Job{std::move(url), std::move(file), std::move(release_key), std::move(done), this});
  job_ = job;
  try {
    worker_ = std::thread([job, &client = client_, post = post_to_ui_] {
      const Outcome outcome = fetch_and_check(client, *job);
      post([job, outcome] {
        InstallerDownload* owner = job->owner;
        if (owner == nullptr) return;
        owner->worker_.join();
        owner->job_.reset();
        job->done(outcome);
      });
    });
  } catch (const std::system_error& error) {
    // No thread to be had: nothing was written, and the download fails as it is.
    job_.reset();
    job->done(Outcome{.local_error = error.what()});
  }
}

void InstallerDownload::cancel() {
  if (job_) client_.cancel();
}

}  // namespace velnor
