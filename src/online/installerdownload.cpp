#include "installerdownload.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "core/dottedversion.h"
#include "core/safefile.h"
#include "core/wire.h"
#include "httpbody.h"
#include "releasestatement.h"

namespace velnor {

// What the worker is given, and the way back: a task posted to the user-interface
// thread finds the download there only while it still exists.
struct InstallerDownload::Job {
  Request request;
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

void download_into(THttpCli& client, const std::string& url, const std::filesystem::path& file,
                   std::uint64_t max_body) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("Unable to create " + file.string());
  get_into(client, url, out, max_body);
  out.close();
  if (!out) throw std::runtime_error("Cannot write " + file.string());
}

// Why the statement does not let its installer replace this game; empty when it does.
std::string version_refusal(const release::Statement& statement, const InstallerDownload::Request& request) {
  if (statement.version != request.offered_version)
    return "The installer is signed as version " + statement.version + ", but the server offered version " +
           request.offered_version + ".";
  // An older installer, however well signed, would bring back what a newer one mended.
  if (!is_newer_version(statement.version, request.own_version))
    return "The installer is signed as version " + statement.version + ", which is not newer than this game's " +
           request.own_version + ".";
  if (statement.size > THttpCli::kMaxBody)
    return "The installer is signed as " + std::to_string(statement.size) + " bytes, more than the game downloads.";
  return {};
}

InstallerDownload::Outcome fetch_and_check(THttpCli& client, const InstallerDownload::Request& request) {
  InstallerDownload::Outcome outcome;
  try {
    // The statement first: a release refused costs no installer's download.
    std::ostringstream statement_text;
    get_into(client, request.url + std::string(wire::kSignatureSuffix), statement_text, release::kMaxStatementSize);
    const release::ReadStatement read = release::read_statement(statement_text.str(), request.release_key);
    outcome.refusal = read.statement ? version_refusal(*read.statement, request) : read.problem;
    if (outcome.refusal.empty()) {
      download_into(client, request.url, request.file, read.statement->size);
      // What is checked is what lies on the disk, the very bytes that will run.
      const std::string installer = read_regular_file(request.file, read.statement->size);
      outcome.refusal = release::installer_mismatch(*read.statement, installer);
      outcome.verified = outcome.refusal.empty();
      outcome.size = installer.size();
    }
  } catch (const EHttpBodyTooLarge&) {
    outcome.refusal = "The server sent more bytes than a statement has or than were signed.";
  } catch (const EHttpException&) {
    // The network failed us: "Download Aborted" says all there is.
  } catch (const std::exception& error) {
    outcome.local_error = error.what();
  }
  if (!outcome.verified) {
    std::error_code ignored;
    std::filesystem::remove(request.file, ignored);
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

void InstallerDownload::start(Request request, Done done) {
  if (job_) return;
  auto job = std::make_shared<Job>(Job{std::move(request), std::move(done), this});
  job_ = job;
  try {
    worker_ = std::thread([job, &client = client_, post = post_to_ui_] {
      const Outcome outcome = fetch_and_check(client, job->request);
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
    job->done(Outcome{.local_error = error.what(), .refusal = {}});
  }
}

void InstallerDownload::cancel() {
  if (job_) client_.cancel();
}

}  // namespace velnor
