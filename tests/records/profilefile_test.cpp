#include "records/profilefile.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include "support/temp_folder.h"

#include <csignal>
#include <fstream>
#include <iterator>
#include <random>

using velnor::EProfileWriteError;
using velnor::profile_int;
using velnor::ProfileFile;
namespace fs = std::filesystem;

namespace {

using velnor::testing::file_bytes;
using velnor::testing::put_file;

class ProfileDir : public velnor::testing::TempFolder {
 protected:
  std::size_t entries() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }
};

}  // namespace

TEST_F(ProfileDir, FreshFileHoldsKeysInWrittenOrderAndReadsBack) {
  ProfileFile p = ProfileFile::load(dir_ / "missing.ini");
  EXPECT_EQ(p.read("velnorsolo", "Top"), std::nullopt);
  for (const char* key : {"Top", "Left", "Width", "Height", "Name", "Sounds", "Update"})
    p.write("velnorsolo", key, std::string(key) + "!");
  p.write("velnorsolo", "Top", "12");
  const fs::path path = dir_ / "velnorsolo.ini";
  p.save(path);
  EXPECT_EQ(file_bytes(path),
            "[velnorsolo]\r\nTop=12\r\nLeft=Left!\r\nWidth=Width!\r\nHeight=Height!\r\n"
            "Name=Name!\r\nSounds=Sounds!\r\nUpdate=Update!\r\n");
  EXPECT_EQ(entries(), 1u);  // no temporary file left behind

  const ProfileFile back = ProfileFile::load(path);
  EXPECT_EQ(back.read("velnorsolo", "Top"), "12");
  EXPECT_EQ(back.read("velnorsolo", "Update"), "Update!");

  // A folder in the file's place reads as no file at all.
  fs::create_directory(dir_ / "folder.ini");
  EXPECT_EQ(ProfileFile::load(dir_ / "folder.ini").bytes(), "");
}

TEST(ProfileRead, NamesIgnoreCaseAndValuesAreRawBytes) {
  const std::string latin1 = "Jos\xE9";  // Windows-1252, not UTF-8
  const ProfileFile p = ProfileFile::parse("  [VelnorSolo] \r\n Name =" + latin1 + " \r\nEmpty=\r\nSounds=a=b\r\n");
  EXPECT_EQ(p.read("velnorsolo", "NAME"), latin1 + " ");
  EXPECT_EQ(p.read("VELNORSOLO", "empty"), "");
  EXPECT_EQ(p.read("velnorsolo", "Sounds"), "a=b");
  EXPECT_EQ(p.read("velnorsolo", "Missing"), std::nullopt);
  EXPECT_EQ(p.read("other", "Name"), std::nullopt);
  // Non-ASCII letters are not folded.
  EXPECT_EQ(ProfileFile::parse("[s]\r\n\xC9=1\r\n").read("s", "\xE9"), std::nullopt);
}

TEST(ProfileRead, ValueIsCutAt2047Bytes) {
  const std::string longer(3000, 'x');
  ProfileFile p;
  p.write("s", "k", longer);
  EXPECT_EQ(p.read("s", "k"), std::string(2047, 'x'));
  EXPECT_NE(p.bytes().find(longer), std::string::npos);  // stored whole
}

TEST(ProfileRead, HandEditedLineEndsAreReadAndWrittenAsCrLf) {
  ProfileFile p = ProfileFile::parse("[s]\na=1\rb=2\r\n\r\nc=3");
  EXPECT_EQ(p.read("s", "a"), "1");
  EXPECT_EQ(p.read("s", "b"), "2");
  EXPECT_EQ(p.read("s", "c"), "3");
  EXPECT_EQ(p.bytes(), "[s]\r\na=1\r\nb=2\r\n\r\nc=3\r\n");
}

TEST(ProfileRead, KeysOutsideTheFirstMatchingSectionAreNotRead) {
  const ProfileFile p = ProfileFile::parse("Top=1\r\n[other]\r\nTop=2\r\n[s]\r\nLeft=3\r\n[S]\r\nTop=4\r\n");
  EXPECT_EQ(p.read("s", "Top"), std::nullopt);
  EXPECT_EQ(p.read("s", "Left"), "3");
  EXPECT_EQ(p.read("other", "Top"), "2");
}

TEST(ProfileWrite, EverythingElseIsKeptByteForByte) {
  const std::string before =
      "; made by hand\r\n"
      "[Other]\r\n"
      "Top=\xFF\xFE raw\r\n"
      "\r\n"
      "[velnorsolo]\r\n"
      "; comment\r\n"
      "top=1\r\n"
      "Top=2\r\n"
      "not a key\r\n"
      "\r\n"
      "[Last]\r\n"
      "x=y\r\n";
  ProfileFile p = ProfileFile::parse(before);
  EXPECT_EQ(p.read("velnorsolo", "Top"), "1");  // the first of repeated keys
  p.write("velnorsolo", "TOP", "7");
  p.write("velnorsolo", "Name", "Ann");
  p.write("Fresh", "k", "v");
  EXPECT_EQ(p.bytes(),
            "; made by hand\r\n"
            "[Other]\r\n"
            "Top=\xFF\xFE raw\r\n"
            "\r\n"
            "[velnorsolo]\r\n"
            "; comment\r\n"
            "top=7\r\n"
            "Top=2\r\n"
            "not a key\r\n"
            "Name=Ann\r\n"
            "\r\n"
            "[Last]\r\n"
            "x=y\r\n"
            "[Fresh]\r\n"
            "k=v\r\n");
}

TEST(ProfileWrite, RefusesWhatWouldNotReadBack) {
  ProfileFile p;
  EXPECT_THROW(p.write("s", "Name", "a\r\nTop=1"), std::invalid_argument);
  EXPECT_THROW(p.write("s", "a=b", "1"), std::invalid_argument);
  EXPECT_THROW(p.write("s", "", "1"), std::invalid_argument);
  EXPECT_THROW(p.write("s", ";k", "1"), std::invalid_argument);
  EXPECT_THROW(p.write("s", " k", "1"), std::invalid_argument);
  EXPECT_THROW(p.write("a]b", "k", "1"), std::invalid_argument);
  EXPECT_THROW(p.write("s\n", "k", "1"), std::invalid_argument);
  EXPECT_EQ(p.bytes(), "");
}

TEST_F(ProfileDir, FailedSaveThrowsWithThePathAndLeavesTheOldFile) {
  ProfileFile p;
  p.write("s", "k", "v");

  const fs::path no_folder = dir_ / "gone" / "velnorsolo.ini";
  try {
    p.save(no_folder);
    FAIL() << "no exception";
  } catch (const EProfileWriteError& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + no_folder.string());
  }

  const fs::path folder = dir_ / "a_folder";
  fs::create_directory(folder);
  EXPECT_THROW(p.save(folder), EProfileWriteError);
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(entries(), 1u);

  // A disk that fills up mid-write, through the file size limit (which root obeys too).
  const fs::path path = dir_ / "velnorsolo.ini";
  put_file(path, "[s]\r\nk=old\r\n");
  p.write("s", "k", std::string(100000, 'z'));
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 4096;
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  EXPECT_THROW(p.save(path), EProfileWriteError);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_EQ(file_bytes(path), "[s]\r\nk=old\r\n");
  EXPECT_EQ(entries(), 2u);  // the old file and the folder, no temporary file
}

TEST(ProfileInt, DecimalAndHexadecimalForms) {
  EXPECT_EQ(profile_int("12", 3), 12);
  EXPECT_EQ(profile_int("+12", 3), 12);
  EXPECT_EQ(profile_int("-12", 3), -12);
  EXPECT_EQ(profile_int("007", 3), 7);
  EXPECT_EQ(profile_int("0x20", 3), 32);
  EXPECT_EQ(profile_int("0XfF", 3), 255);
  EXPECT_EQ(profile_int("$20", 3), 32);
  EXPECT_EQ(profile_int("2147483647", 3), 2147483647);
  EXPECT_EQ(profile_int("-2147483648", 3), -2147483647 - 1);
  EXPECT_EQ(profile_int("$7FFFFFFF", 3), 2147483647);
}

TEST(ProfileInt, AnythingElseGivesTheFallback) {
  for (const char* text : {"", "abc", "12a", " 12", "12 ", "-", "+", "0x", "$", "$g", "0x-1", "-0x20", "1.5",
                           "2147483648", "-2147483649", "$80000000", "99999999999999999999"}) {
    EXPECT_EQ(profile_int(std::string(text), 681), 681) << text;
  }
  EXPECT_EQ(profile_int(std::nullopt, 327), 327);
}
