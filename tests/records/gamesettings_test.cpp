// The settings without a window: how values read, how they are written, and the close rule.
#include <gtest/gtest.h>

#include "records/gamesettings.h"
#include "support/temp_folder.h"

using namespace velnor;

namespace {

using GameSettingsFile = velnor::testing::TempFolder;

TEST_F(GameSettingsFile, ValuesReadByTheirRulesAndAreWrittenInOrderAmongOthers) {
  write("velnorsolo.ini",
        "[other]\r\nkeep=me\r\n[VelnorSolo]\r\nleft=0x20\r\nTOP=$10\r\nWidth=wide\r\n"
        "Height=400\r\nSounds=No\r\nUpdate=FALSE\r\nName=\r\n");
  GameSettings settings = GameSettings::load(path("velnorsolo.ini"));
  EXPECT_EQ(settings.bounds, (WindowBounds{32, 16, 681, 400}));
  EXPECT_TRUE(settings.sounds);  // only exactly "no" is off
  EXPECT_TRUE(settings.update);  // only exactly "false" is off
  EXPECT_EQ(settings.name, "");  // present but empty is empty

  EXPECT_TRUE(settings.verified);  // missing is on

  // The seven keys that older copies know keep their order; the new one follows them.
  settings.sounds = false;
  settings.verified = false;
  settings.save(path("fresh.ini"));
  EXPECT_EQ(read("fresh.ini"),
            "[velnorsolo]\r\nTop=16\r\nLeft=32\r\nWidth=681\r\nHeight=400\r\nName=\r\nSounds=no\r\nUpdate=true\r\n"
            "Verified=false\r\n");
  EXPECT_FALSE(GameSettings::load(path("fresh.ini")).verified);
  settings.save(path("velnorsolo.ini"));
  EXPECT_EQ(read("velnorsolo.ini").rfind("[other]\r\nkeep=me\r\n", 0), 0u);
  EXPECT_EQ(GameSettings::load(path("missing.ini")).name, "Guest");
}

TEST(CloseRule, UnmovedBoundsStayAndMovedOnesWiderThanTheWorkAreaLoseThreePixelsOnce) {
  const WindowBounds loaded{3, 3, 2000, 900};
  EXPECT_EQ(bounds_at_close(loaded, loaded, 1280, 800), loaded);
  EXPECT_EQ(bounds_at_close({40, 50, 1500, 900}, loaded, 1280, 800), (WindowBounds{40, 50, 1497, 897}));
  EXPECT_EQ(bounds_at_close({40, 50, 700, 400}, loaded, 1280, 800), (WindowBounds{40, 50, 700, 400}));
}

}  // namespace
