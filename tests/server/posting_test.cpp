// The checks a posting passes before it is stored, and the per-address limit.
#include <gtest/gtest.h>

#include "posting.h"
#include "ratelimiter.h"

namespace {

std::string refusal(std::string_view query) { return parse_posting(query).error; }

TEST(Posting, DecodesTheGamesFields) {
  const PostingResult result = parse_posting("name=Ann+M%C3%BCller&date=1%2F5%2F27&score=0412&extra=ignored");
  ASSERT_TRUE(result.ok()) << result.error;
  EXPECT_EQ(result.posting.name, "Ann Müller");
  EXPECT_EQ(result.posting.date, "1/5/27");
  EXPECT_EQ(result.posting.score, 412);

  const PostingResult empty_name = parse_posting("score=650&date=5.1.27&name=");
  ASSERT_TRUE(empty_name.ok()) << empty_name.error;
  EXPECT_EQ(empty_name.posting.name, "");
  EXPECT_EQ(empty_name.posting.score, 650);
}

TEST(Posting, CountsCharactersNotBytes) {
  // Ten two-byte characters fit; an eleventh does not, nor does an eleventh ASCII letter.
  const std::string ten = "%C3%A4%C3%B6%C3%BC%C3%84%C3%96%C3%9C%C3%9F%C3%A9%C3%A8%C3%AA";
  EXPECT_TRUE(parse_posting("name=" + ten + "&date=1/5/27&score=1").ok());
  EXPECT_EQ(refusal("name=" + ten + "%C3%A0&date=1/5/27&score=1"), "name is longer than 10 characters");
  EXPECT_EQ(refusal("name=abcdefghijk&date=1/5/27&score=1"), "name is longer than 10 characters");
  EXPECT_EQ(refusal("name=a&date=2027-01-05x&score=1"), "date is longer than 10 characters");
  // A four-byte character is one character.
  EXPECT_TRUE(parse_posting("name=%F0%9F%8E%B2%F0%9F%8E%B2&date=1/5/27&score=1").ok());
}

TEST(Posting, RefusesTextThatIsNotCleanUtf8) {
  for (const char* name : {"%FF", "%C0%AF", "%E0%80%AF", "%ED%A0%80", "%F4%90%80%80", "%C3", "%80abc", "a%E2%82"})
    EXPECT_EQ(refusal(std::string("name=") + name + "&date=1/5/27&score=1"), "name is not valid UTF-8") << name;
  for (const char* name : {"a%00b", "tab%09", "%0D%0A", "%7F", "%C2%85"})
    EXPECT_EQ(refusal(std::string("name=") + name + "&date=1/5/27&score=1"), "name contains control characters")
        << name;
  EXPECT_EQ(refusal("name=a&date=%FE&score=1"), "date is not valid UTF-8");
  EXPECT_EQ(refusal("name=a%G1&date=1&score=1"), "bad percent-encoding in the query");
  EXPECT_EQ(refusal("name=a%4&date=1&score=1"), "bad percent-encoding in the query");
}

TEST(Posting, AcceptsOnlyWholeScoresInRange) {
  const std::string bad = "score must be a whole number from 0 to 650";
  for (const char* score :
       {"", "-1", "651", "12.5", "+5", "%205", "5%20", "1e2", "0x10", "99999999999999999999", "abc"})
    EXPECT_EQ(refusal(std::string("name=a&date=1&score=") + score), bad) << score;
  EXPECT_EQ(refusal("name=a&date=1"), "score is missing");
  EXPECT_EQ(refusal("date=1&score=5"), "name is missing");
  EXPECT_EQ(refusal("name=a&score=5"), "date is missing");
  EXPECT_EQ(refusal("name=a&name=b&date=1&score=5"), "name given twice");
  EXPECT_EQ(parse_posting("name=a&date=1&score=0").posting.score, 0);
}

TEST(RateLimiter, AllowsLimitPerAddressInAnySlidingMinute) {
  RateLimiter limiter(3);
  const auto start = RateLimiter::Clock::now();
  const auto at = [&](int seconds) { return start + std::chrono::seconds(seconds); };
  EXPECT_TRUE(limiter.allow("10.0.0.1", at(0)));
  EXPECT_TRUE(limiter.allow("10.0.0.1", at(20)));
  EXPECT_TRUE(limiter.allow("10.0.0.1", at(40)));
  EXPECT_FALSE(limiter.allow("10.0.0.1", at(59)));
  EXPECT_TRUE(limiter.allow("10.0.0.2", at(59))) << "another address has its own count";
  // The first event has left the window, and the refused one was never counted.
  EXPECT_TRUE(limiter.allow("10.0.0.1", at(60)));
  EXPECT_FALSE(limiter.allow("10.0.0.1", at(61)));

  RateLimiter unlimited(0);
  for (int i = 0; i < 1000; ++i) ASSERT_TRUE(unlimited.allow("10.0.0.1", start));
}

}  // namespace
