// velnor-release, run for real: what it signs is what the game's check accepts, and
// nothing else is.
#include <gtest/gtest.h>

#include "e2e/command.h"
#include "online/releasesignature.h"
#include "online/releasestatement.h"
#include "support/temp_folder.h"

namespace {

namespace release = velnor::release;
using velnor::testing::run_command;

struct VelnorRelease : velnor::testing::TempFolder {
  velnor::testing::CommandResult run(const QStringList& args) {
    return run_command(VELNOR_RELEASE_PROGRAM, args, QProcessEnvironment::systemEnvironment(), 10000,
                       QString::fromStdString(dir_.string()));
  }
};

TEST_F(VelnorRelease, SignsWhatTheGameAcceptsAndNoChangedByte) {
  ASSERT_TRUE(run({"keygen", "release.pub", "release.sec"}).ok);
  EXPECT_EQ(std::filesystem::status(path("release.sec")).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  // A second key pair never replaces the first: a lost secret key is lost for good.
  const std::string secret = read("release.sec");
  EXPECT_EQ(run({"keygen", "other.pub", "release.sec"}).status, 1);
  EXPECT_EQ(read("release.sec"), secret);
  EXPECT_FALSE(std::filesystem::exists(path("other.pub")));

  const std::string installer = "#!/bin/sh\necho installing\n";
  write("vnssetup.exe", installer);
  ASSERT_TRUE(run({"sign", "--key", "release.sec", "--version", "1.0.1", "vnssetup.exe"}).ok);
  const auto key = release::key_from_text(read("release.pub"), release::kPublicKeySize);
  ASSERT_TRUE(key.has_value());
  const release::ReadStatement signed_release = release::read_statement(read("vnssetup.exe.sig"), *key);
  ASSERT_TRUE(signed_release.statement.has_value()) << signed_release.problem;
  EXPECT_EQ(*signed_release.statement, release::statement_of("1.0.1", installer));
  EXPECT_EQ(release::installer_mismatch(*signed_release.statement, installer), "");
  const auto verified = run({"verify", "--key", "release.pub", "vnssetup.exe"});
  EXPECT_TRUE(verified.ok) << verified.err.toStdString();
  EXPECT_EQ(verified.out, "vnssetup.exe: version 1.0.1, signed\n");

  std::string changed = installer;
  changed[10] ^= 1;
  write("vnssetup.exe", changed);
  EXPECT_NE(release::installer_mismatch(*signed_release.statement, changed), "");
  const auto refused = run({"verify", "--key", "release.pub", "vnssetup.exe"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_TRUE(refused.err.contains("the signature does not hold")) << refused.err.toStdString();

  // A version the game would not read is never signed, and the file signed before stays.
  const std::string statement = read("vnssetup.exe.sig");
  for (const char* version : {"1.0.1\n", "v1.0.1", "1..0", ""})
    EXPECT_EQ(run({"sign", "--key", "release.sec", "--version", version, "vnssetup.exe"}).status, 1) << version;
  EXPECT_EQ(read("vnssetup.exe.sig"), statement);

  // A public key is no secret key, and a wrong command line is explained.
  EXPECT_EQ(run({"sign", "--key", "release.pub", "--version", "1.0.1", "vnssetup.exe"}).status, 1);
  EXPECT_EQ(run({"sign", "--key", "release.sec", "vnssetup.exe"}).status, 2);
}

}  // namespace
