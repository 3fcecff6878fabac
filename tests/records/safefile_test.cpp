// What becomes of the player's files when they cannot be read, and of saves cut short.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/safefile.h"
#include "records/profilefile.h"
#include "records/tallyrecords.h"
#include "records/unreadablefile.h"
#include "support/temp_folder.h"

using namespace velnor;
namespace fs = std::filesystem;

namespace {

class PlayerFiles : public velnor::testing::TempFolder {
 protected:
  std::tm noon() const {
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 7;
    t.tm_hour = 12;
    return t;
  }
};

// Whatever stands at the name, loading ends at once: a pipe is refused unopened (it used to hang
// the start), a huge settings file is refused unread, a folder reads as no settings file.
TEST_F(PlayerFiles, WhatCannotBeReadIsRefusedWithoutWaiting) {
  ASSERT_EQ(mkfifo(path("velnorsolo.ini").c_str(), 0600), 0);
  ASSERT_EQ(mkfifo(path("velnorsolotally.tld").c_str(), 0600), 0);
  EXPECT_THROW(ProfileFile::load(path("velnorsolo.ini")), UnreadableFile);
  TallyRecords tally;
  EXPECT_THROW(tally.load(path("velnorsolotally.tld")), UnreadableFile);

  write("big.ini", std::string(ProfileFile::kMaxFileSize + 1, ' '));
  try {
    ProfileFile::load(path("big.ini"));
    ADD_FAILURE() << "a settings file over 1 MiB was read";
  } catch (const UnreadableFile& error) {
    EXPECT_TRUE(error.damaged());
  }
  fs::create_directory(path("folder.ini"));
  EXPECT_EQ(ProfileFile::load(path("folder.ini")).bytes(), "");
}

// A damaged file is moved aside whole under a dated name, and a second one on the same second never
// takes the first one's place; a file that could not be opened at all stays where it is.
TEST_F(PlayerFiles, UnreadableFilesAreKeptAsideNeverOverwritten) {
  write("velnorsolotally.tld", "first damage");
  const UnreadableOutcome first =
      set_aside_unreadable(path("velnorsolotally.tld"), std::runtime_error("bad header"), "Your tally",
                           "a new tally was started", "no games are recorded", noon());
  EXPECT_TRUE(first.replaceable);
  // One sentence for the player; the reason for whoever asks for the details.
  // The files may lie in a hidden folder: the message names it.
  const std::string folder = " in the folder " + std::filesystem::path(path("x")).parent_path().string();
  EXPECT_EQ(first.message,
            "Your tally could not be read, so the file was kept as "
            "velnorsolotally-unreadable-2026-12-07-120000.tld" +
                folder + " and a new tally was started.");
  EXPECT_EQ(first.details, "bad header");
  write("velnorsolotally.tld", "second damage");
  EXPECT_TRUE(set_aside_unreadable(path("velnorsolotally.tld"), std::runtime_error("bad"), "Your tally", "", "", noon())
                  .replaceable);
  EXPECT_EQ(read("velnorsolotally-unreadable-2026-12-07-120000.tld"), "first damage");
  EXPECT_EQ(read("velnorsolotally-unreadable-2026-12-07-120000-2.tld"), "second damage");
  EXPECT_FALSE(fs::exists(path("velnorsolotally.tld")));

  write("velnorsolo.ini", "Name=Zed");
  const UnreadableOutcome locked =
      set_aside_unreadable(path("velnorsolo.ini"), UnreadableFile("velnorsolo.ini: Permission denied", false),
                           "Your settings", "", "changes are not saved", noon());
  EXPECT_FALSE(locked.replaceable);
  EXPECT_EQ(locked.message, "Your settings could not be opened, so velnorsolo.ini" + folder +
                                " was left as it is and changes are not saved.");
  EXPECT_EQ(read("velnorsolo.ini"), "Name=Zed");
  // A folder whose name looks like a place for a value is named as it is.
  const std::string odd = path("50%1 %2");
  EXPECT_EQ(set_aside_unreadable(odd + "/velnorsolo.ini", UnreadableFile("denied", false), "Your settings", "",
                                 "changes are not saved", noon())
                .message,
            "Your settings could not be opened, so velnorsolo.ini in the folder " + odd +
                " was left as it is and changes are not saved.");
}

// A save cut short by a kill leaves its new file behind; the next start clears it, and the next
// save goes through as if nothing had happened.
TEST_F(PlayerFiles, ASaveCutShortLeavesNothingInTheWay) {
  write("velnorsolo.ini", "[velnorsolo]\r\nName=Ann\r\n");
  write("velnorsolo.ini.new", "[velnorsolo]\r\nNa");
  remove_stale_temporaries(path("velnorsolo.ini"));
  EXPECT_FALSE(fs::exists(path("velnorsolo.ini.new")));
  EXPECT_EQ(replace_file(path("velnorsolo.ini"), "[velnorsolo]\r\nName=Bo\r\n"), Replaced::done);
  EXPECT_EQ(read("velnorsolo.ini"), "[velnorsolo]\r\nName=Bo\r\n");
}

// A save goes through links to the file they name, and leaves a file the player may not write as it
// is: renaming over it would replace it all the same. Root may write anything, so the read-only
// case is tried as an ordinary user, in a child that gives root up.
TEST_F(PlayerFiles, LinksAreWrittenThroughAndReadOnlyFilesLeftAlone) {
  fs::create_directory(path("kept"));
  write("kept/velnorsolo.ini", "[velnorsolo]\r\nName=Ann\r\n");
  fs::create_symlink("kept/velnorsolo.ini", path("velnorsolo.ini"));
  EXPECT_EQ(replace_file(path("velnorsolo.ini"), "[velnorsolo]\r\nName=Bo\r\n"), Replaced::done);
  EXPECT_TRUE(fs::is_symlink(path("velnorsolo.ini")));
  EXPECT_EQ(read("kept/velnorsolo.ini"), "[velnorsolo]\r\nName=Bo\r\n");

  write("velnorsolotally.tld", "old tally");
  fs::permissions(dir_, fs::perms::all);
  fs::permissions(path("velnorsolotally.tld"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::getuid() == 0 && ::setresuid(65534, 65534, 65534) != 0) ::_exit(3);
    ::_exit(replace_file(path("velnorsolotally.tld"), "new tally") == Replaced::read_only ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
  EXPECT_EQ(read("velnorsolotally.tld"), "old tally");
}

}  // namespace
