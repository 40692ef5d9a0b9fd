// The replay tool's input: number syntax, options and the events file.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "events.h"
#include "options.h"

namespace {

constexpr std::uint64_t kMax32 = 0xFFFFFFFFu;
constexpr std::uint64_t kMax64 = ~std::uint64_t{0};

bool Parse(const std::string& text, std::uint64_t max, std::uint64_t* value) {
  return ParseUnsigned(text, max, value);
}

TEST(ParseUnsigned, AcceptsDecimalAndBothHexPrefixes) {
  std::uint64_t v = 99;
  EXPECT_TRUE(Parse("0", kMax32, &v));
  EXPECT_EQ(v, 0u);
  EXPECT_TRUE(Parse("0010", kMax32, &v));  // leading zeros are decimal, not octal
  EXPECT_EQ(v, 10u);
  EXPECT_TRUE(Parse("0x20A", kMax32, &v));
  EXPECT_EQ(v, 0x20Au);
  EXPECT_TRUE(Parse("0XfF880000", kMax32, &v));
  EXPECT_EQ(v, 0xFF880000u);
  EXPECT_TRUE(Parse("0x0000000000000001", kMax32, &v));  // zeros do not count against the width
  EXPECT_EQ(v, 1u);
}

TEST(ParseUnsigned, LimitsAreInclusive) {
  std::uint64_t v = 0;
  EXPECT_TRUE(Parse("4294967295", kMax32, &v));
  EXPECT_EQ(v, kMax32);
  EXPECT_FALSE(Parse("4294967296", kMax32, &v));
  EXPECT_TRUE(Parse("0xFFFFFFFF", kMax32, &v));
  EXPECT_FALSE(Parse("0x100000000", kMax32, &v));
  EXPECT_TRUE(Parse("18446744073709551615", kMax64, &v));
  EXPECT_EQ(v, kMax64);
  EXPECT_FALSE(Parse("18446744073709551616", kMax64, &v));
  EXPECT_FALSE(Parse("99999999999999999999", kMax64, &v));
  EXPECT_TRUE(Parse("0xffffffffffffffff", kMax64, &v));
  EXPECT_FALSE(Parse("0x1ffffffffffffffff", kMax64, &v));
}

TEST(ParseUnsigned, RejectsEverythingElse) {
  std::uint64_t v = 7;
  for (const char* bad : {"", "0x", "0X", "-1", "+1", " 1", "1 ", "1.0", "1e3", "0x1g", "12a", "x10",
                          "0b1", "١"}) {
    EXPECT_FALSE(Parse(bad, kMax64, &v)) << "'" << bad << "'";
  }
  EXPECT_EQ(v, 7u) << "a failed parse leaves the value alone";
  EXPECT_FALSE(ParseUnsigned(std::string("1\0" "2", 3), kMax32, &v)) << "an embedded NUL is no digit";
}

struct Args {
  std::vector<std::string> items;
  std::vector<const char*> pointers;
  explicit Args(std::vector<std::string> list) : items(std::move(list)) {
    pointers.push_back("drovane-sim");
    for (const std::string& s : items) pointers.push_back(s.c_str());
  }
  bool Parse(ReplayOptions* options, std::string* error) const {
    return ParseOptions(static_cast<int>(pointers.size()), pointers.data(), options, error);
  }
};

TEST(ParseOptions, DefaultsWithoutArguments) {
  ReplayOptions o;
  std::string error;
  ASSERT_TRUE(Args({}).Parse(&o, &error));
  EXPECT_EQ(o.frames, 600u);
  EXPECT_EQ(o.startTick, 0u);
  EXPECT_EQ(o.frameMs, 17u);
  EXPECT_EQ(o.dumpEvery, 0u);
  EXPECT_EQ(o.wheelLines, 3u);
  EXPECT_FALSE(o.hasEvents);
}

TEST(ParseOptions, EveryOptionAndTheLastRepeatWins) {
  ReplayOptions o;
  std::string error;
  ASSERT_TRUE(Args({"--frames", "5", "--start-tick", "0xFFFFFFF0", "--frame-ms", "0", "--dump-every",
                    "2", "--wheel-lines", "4294967295", "--events", "a.events", "--frames", "0x10",
                    "--events", "b.events"})
                  .Parse(&o, &error))
      << error;
  EXPECT_EQ(o.frames, 16u);
  EXPECT_EQ(o.startTick, 0xFFFFFFF0u);
  EXPECT_EQ(o.frameMs, 0u);
  EXPECT_EQ(o.dumpEvery, 2u);
  EXPECT_EQ(o.wheelLines, 0xFFFFFFFFu);
  EXPECT_TRUE(o.hasEvents);
  EXPECT_EQ(o.eventsPath, "b.events");
}

TEST(ParseOptions, ErrorsNameTheOptionOnOneLine) {
  struct Case {
    std::vector<std::string> args;
    const char* mustContain;
  };
  const Case cases[] = {
      {{"--frames"}, "--frames"},                       // value missing
      {{"--frames", "-1"}, "--frames"},                 // signed
      {{"--start-tick", "4294967296"}, "--start-tick"}, // wider than 32 bits
      {{"--frame-ms", "17ms"}, "--frame-ms"},
      {{"--dump-every", ""}, "--dump-every"},
      {{"--wheel-lines", "0x"}, "--wheel-lines"},
      {{"--events"}, "--events"},
      {{"--verbose"}, "--verbose"},                    // unknown option
      {{"--frames=5"}, "--frames=5"},                  // only the separate form exists
      {{"-f", "5"}, "-f"},
      {{"replay.events"}, "replay.events"},            // not an option at all
      {{"--frames", "5", "extra"}, "extra"},
      {{"--frames", "1\n2"}, "--frames"},
  };
  for (const Case& c : cases) {
    ReplayOptions o;
    std::string error;
    EXPECT_FALSE(Args(c.args).Parse(&o, &error)) << c.mustContain;
    EXPECT_NE(error.find(c.mustContain), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
  }
}

bool ParseText(const std::string& text, std::uint32_t frames, std::vector<ReplayEvent>* events,
               std::string* error) {
  return ParseEvents(text, "in.events", frames, events, error);
}

TEST(ParseEvents, FieldsSeparatorsCommentsAndLineEnds) {
  const std::string text =
      "# a comment\n"
      "\n"
      "1 0x100 38\r\n"
      "  \t# indented comment\n"
      "\t1\t0X101 \t 38  \r\n"
      "   \r\n"
      "2 0x20A 0xFF880000\n"
      "3 4294967295 18446744073709551615";  // no newline at the end
  std::vector<ReplayEvent> events;
  std::string error;
  ASSERT_TRUE(ParseText(text, 3, &events, &error)) << error;
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].frame, 1u);
  EXPECT_EQ(events[0].message, 0x100u);
  EXPECT_EQ(events[0].wParam, 38u);
  EXPECT_EQ(events[1].frame, 1u);
  EXPECT_EQ(events[1].message, 0x101u);
  EXPECT_EQ(events[2].wParam, 0xFF880000u);
  EXPECT_EQ(events[3].message, 0xFFFFFFFFu);
  EXPECT_EQ(events[3].wParam, ~std::uint64_t{0});
}

TEST(ParseEvents, WParamIsKeptWhole) {
  std::vector<ReplayEvent> events;
  std::string error;
  ASSERT_TRUE(ParseText("1 0x100 0x10026\n1 0x100 0x123456789abcdef0\n", 1, &events, &error));
  EXPECT_EQ(events[0].wParam, 0x10026u);
  EXPECT_EQ(events[1].wParam, 0x123456789abcdef0u);
}

TEST(ParseEvents, EmptyAndCommentOnlyTextsGiveNoEvents) {
  std::vector<ReplayEvent> events{{1, 2, 3}};
  std::string error;
  EXPECT_TRUE(ParseText("", 0, &events, &error));
  EXPECT_TRUE(events.empty());
  EXPECT_TRUE(ParseText("# only\r\n\r\n", 0, &events, &error));
  EXPECT_TRUE(events.empty());
}

TEST(ParseEvents, ErrorsNameFileAndLine) {
  struct Case {
    const char* text;
    std::uint32_t frames;
    const char* where;
  };
  const Case cases[] = {
      {"1 0x100\n", 5, "in.events:1:"},                 // two fields
      {"# x\n1 0x100 38 7\n", 5, "in.events:2:"},       // four fields
      {"\n\n0 0x100 38\n", 5, "in.events:3:"},          // frame 0
      {"6 0x100 38\n", 5, "in.events:1:"},              // beyond --frames
      {"1 0x100 38\n", 0, "in.events:1:"},              // --frames 0 allows none
      {"3 0x100 38\n2 0x100 38\n", 5, "in.events:2:"},  // decreasing
      {"1 0x100000000 38\n", 5, "in.events:1:"},        // message wider than 32 bits
      {"1 0x100 0x10000000000000000\n", 5, "in.events:1:"},
      {"1 0x100 -38\n", 5, "in.events:1:"},
      {"1,0x100,38\n", 5, "in.events:1:"},
      {"1 0x100 38 # trailing comment\n", 5, "in.events:1:"},
      {"1 0x100\r38\n", 5, "in.events:1:"},             // a CR separates only at the end
      {"1 0x100 38\r\n4294967296 1 1\r\n", 5, "in.events:2:"},
  };
  for (const Case& c : cases) {
    std::vector<ReplayEvent> events;
    std::string error;
    EXPECT_FALSE(ParseText(c.text, c.frames, &events, &error)) << c.text;
    EXPECT_EQ(error.rfind(c.where, 0), 0u) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    EXPECT_EQ(error.find('\r'), std::string::npos) << error;
  }
}

TEST(ReadWholeFile, MissingFileIsAnErrorNamingIt) {
  std::string text;
  std::string error;
  EXPECT_FALSE(ReadWholeFile("no/such/dir/x.events", &text, &error));
  EXPECT_EQ(error.rfind("no/such/dir/x.events: ", 0), 0u) << error;
}

TEST(QuoteForMessage, KeepsMessagesOnOneLine) {
  EXPECT_EQ(QuoteForMessage(std::string("a\nb\r\x7f")), "'a\\x0ab\\x0d\\x7f'");
  EXPECT_EQ(QuoteForMessage(std::string("C:\\dir\\f")), "'C:\\dir\\f'");
}

}  // namespace
