#include "rules/randomgen.h"

#include <gtest/gtest.h>

#include <vector>

using velnor::RandomGen;

TEST(RandomGen, KnownSeedGivesKnownDice) {
  RandomGen gen;
  gen.setseed(12345);
  std::vector<int> dice;
  for (int i = 0; i < 10; ++i) dice.push_back(gen.random(6) + 1);
  EXPECT_EQ(dice, (std::vector<int>{3, 2, 1, 4, 4, 3, 3, 1, 1, 6}));
}

TEST(RandomGen, DrawsStayInRangeAndWrapTheSeed) {
  RandomGen gen;
  gen.setseed(0xFFFFFFFFu);
  for (int n : {1, 2, 6, 10, 36, 1000}) {
    for (int i = 0; i < 2000; ++i) {
      const int v = gen.random(n);
      ASSERT_GE(v, 0);
      ASSERT_LT(v, n);
    }
  }
  // seed * 134775813 + 1 modulo 2^32, from the all-ones seed.
  gen.setseed(0xFFFFFFFFu);
  gen.random(6);
  EXPECT_EQ(gen.seed(), static_cast<std::uint32_t>(0xFFFFFFFFull * 134775813ull + 1ull));
}

TEST(RandomGen, SeedIsMillisecondsOfTheDay) { EXPECT_LT(velnor::ms_since_midnight_utc(), 24u * 60 * 60 * 1000); }
