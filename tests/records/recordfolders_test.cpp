// Where the player's records live: beside a portable copy, in the user's own folders otherwise.
#include "core/recordfolders.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <string>

#include "support/temp_folder.h"

using namespace velnor;
namespace fs = std::filesystem;

namespace {

class Records : public velnor::testing::TempFolder {
 protected:
  std::map<std::string, std::string> variables;
  Environment environment() const {
    return [this](const char* name) -> const char* {
      const auto found = variables.find(name);
      return found == variables.end() ? nullptr : found->second.c_str();
    };
  }
};

TEST_F(Records, APortableCopyKeepsThemBesideItAndAnInstalledOneInTheUsersFolders) {
  variables = {{"HOME", path("home")}};
  const RecordFolders portable = record_folders(dir_, environment());
  EXPECT_TRUE(portable.portable);
  EXPECT_EQ(portable.settings, fs::canonical(dir_));
  EXPECT_EQ(portable.tally, fs::canonical(dir_));

  // A folder shared with another user who owns it: each keeps records of their own.
  fs::create_directory(path("shared"));
  fs::permissions(path("shared"), fs::perms::all);
  if (::getuid() == 0) {
    ASSERT_EQ(::chown(path("shared").c_str(), 65534, 65534), 0);
    EXPECT_FALSE(record_folders(path("shared"), environment()).portable);
  }

  // A system folder is never portable, even for root who may write there.
  const RecordFolders installed = record_folders("/usr/games", environment());
  EXPECT_FALSE(installed.portable);
  EXPECT_EQ(installed.settings, fs::path(path("home")) / ".config/velnorsolo");
  EXPECT_EQ(installed.tally, fs::path(path("home")) / ".local/share/velnorsolo");

  variables["XDG_CONFIG_HOME"] = path("config");
  variables["XDG_DATA_HOME"] = "relative/data";  // not absolute: ignored
  const RecordFolders chosen = record_folders("/usr/bin", environment());
  EXPECT_EQ(chosen.settings, fs::path(path("config")) / "velnorsolo");
  EXPECT_EQ(chosen.tally, fs::path(path("home")) / ".local/share/velnorsolo");

  EXPECT_TRUE(is_system_folder("/usr/local/games"));
  EXPECT_TRUE(is_system_folder("/lib64"));
  EXPECT_FALSE(is_system_folder("/home/ann/usr"));
  EXPECT_FALSE(is_system_folder("/opt/velnorsolo"));
}

TEST_F(Records, TheirFoldersAreMadeForTheOwnerAlone) {
  const fs::path folder = fs::path(path("home")) / ".local/share/velnorsolo";
  ASSERT_TRUE(make_record_folder(folder));
  for (const fs::path& made : {folder, folder.parent_path(), folder.parent_path().parent_path()}) {
    struct stat about {};
    ASSERT_EQ(::stat(made.c_str(), &about), 0);
    EXPECT_EQ(about.st_mode & 07777, 0700u) << made;
  }
  EXPECT_TRUE(make_record_folder(folder));  // there already
  write("file", "x");
  EXPECT_FALSE(make_record_folder(fs::path(path("file")) / "velnorsolo"));
}

}  // namespace
