#include "record/script.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using record::KeyEvent;

record::Script Parse(const std::string& text) {
    record::Script script;
    record::ScriptError error;
    EXPECT_TRUE(record::ParseScript(text, &script, &error))
        << "line " << error.line << ": " << error.message;
    return script;
}

// Held bits of ticks 1..count.
std::vector<uint8_t> HeldOver(const record::Script& script, int count) {
    record::ScriptCursor cursor(script);
    std::vector<uint8_t> held;
    for (int t = 1; t <= count; ++t) held.push_back(cursor.Next().held);
    return held;
}

TEST(ScriptHoldsKeys, RangesAreInclusiveAndOneBased) {
    const auto held = HeldOver(Parse("2-4 RIGHT\n6 SPACE\n"), 7);
    const std::vector<uint8_t> want = {
        0, record::HOLD_RIGHT, record::HOLD_RIGHT, record::HOLD_RIGHT, 0, record::HOLD_SPACE, 0};
    EXPECT_EQ(held, want);
}

TEST(ScriptHoldsKeys, OverlappingRulesAddUp) {
    const auto held = HeldOver(Parse("1-3 LEFT UP\n2-5 LEFT DOWN\n3 RETURN\n"), 6);
    EXPECT_EQ(held[0], record::HOLD_LEFT | record::HOLD_UP);
    EXPECT_EQ(held[1], record::HOLD_LEFT | record::HOLD_UP | record::HOLD_DOWN);
    EXPECT_EQ(held[2],
              record::HOLD_LEFT | record::HOLD_UP | record::HOLD_DOWN | record::HOLD_RETURN);
    // The first rule ending must not release LEFT while the second still holds it.
    EXPECT_EQ(held[3], record::HOLD_LEFT | record::HOLD_DOWN);
    EXPECT_EQ(held[4], record::HOLD_LEFT | record::HOLD_DOWN);
    EXPECT_EQ(held[5], 0);
}

TEST(ScriptHoldsKeys, RulesNeedNotComeInTickOrder) {
    const auto held = HeldOver(Parse("5 UP\n1-2 DOWN\n"), 5);
    const std::vector<uint8_t> want = {record::HOLD_DOWN, record::HOLD_DOWN, 0, 0, record::HOLD_UP};
    EXPECT_EQ(held, want);
}

TEST(ScriptHoldsKeys, CommentsBlanksTabsAndCrlfAreText) {
    const record::Script script = Parse(
        "# opening\r\n"
        "\r\n"
        "   \t\r\n"
        "1\tRETURN   # confirm\r\n"
        "2-3 SPACE#no blank needed\r\n"
        "4 LEFT");  // no newline at the end
    ASSERT_EQ(script.rules.size(), 3u);
    EXPECT_EQ(script.rules[0].line, 4);
    EXPECT_EQ(script.rules[2].line, 6);
    const std::vector<uint8_t> want = {record::HOLD_RETURN, record::HOLD_SPACE, record::HOLD_SPACE,
                                       record::HOLD_LEFT};
    EXPECT_EQ(HeldOver(script, 4), want);
}

TEST(ScriptHoldsKeys, EmptyScriptHoldsNothing) {
    EXPECT_EQ(HeldOver(Parse(""), 3), std::vector<uint8_t>(3, 0));
    EXPECT_EQ(HeldOver(Parse("# nothing\n\n"), 3), std::vector<uint8_t>(3, 0));
}

TEST(ScriptHoldsKeys, WholeRangeOfTicksIsCheap) {
    // The cursor must not expand ranges: this covers every tick a script can name.
    const record::Script script = Parse("1-2147483647 RIGHT\n2147483647 LEFT\n");
    record::ScriptCursor cursor(script);
    for (int t = 0; t < 100000; ++t) ASSERT_EQ(cursor.Next().held, record::HOLD_RIGHT);
}

TEST(ScriptEvents, EscapeAndF1ComeOncePerTickInLineOrder) {
    const record::Script script = Parse("3 F1 ESCAPE\n2-3 F1\n1-3 RIGHT\n");
    record::ScriptCursor cursor(script);
    EXPECT_TRUE(cursor.Next().events.empty());
    EXPECT_EQ(cursor.Next().events, std::vector<KeyEvent>{KeyEvent::F1});
    const record::TickInput& third = cursor.Next();
    EXPECT_EQ(third.events, (std::vector<KeyEvent>{KeyEvent::F1, KeyEvent::Escape, KeyEvent::F1}));
    EXPECT_EQ(third.held, record::HOLD_RIGHT);  // events hold nothing
    EXPECT_TRUE(cursor.Next().events.empty());
    EXPECT_EQ(cursor.Tick(), 4);
}

struct BadScript {
    const char* text;
    int line;
    const char* says;
};

// Test names show the script, escaped, rather than the bytes of the struct.
void PrintTo(const BadScript& bad, std::ostream* out) {
    for (const char* p = bad.text; *p != '\0'; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c > 0x20 && c < 0x7F) {
            *out << *p;
        } else {
            *out << '_' << std::hex << int(c) << std::dec << '_';
        }
    }
}

class ScriptErrorsNameTheirLine : public testing::TestWithParam<BadScript> {};

TEST_P(ScriptErrorsNameTheirLine, AndKeepTheMessageOnOnePrintableLine) {
    const BadScript& bad = GetParam();
    const std::string text(bad.text, bad.text + std::char_traits<char>::length(bad.text));
    record::Script script;
    record::ScriptError error;
    ASSERT_FALSE(record::ParseScript(text, &script, &error));
    EXPECT_EQ(error.line, bad.line);
    EXPECT_NE(error.message.find(bad.says), std::string::npos) << error.message;
    EXPECT_LT(error.message.size(), 120u) << error.message;
    for (char c : error.message) {
        EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "byte " << int(c) << " in: " << error.message;
    }
}

INSTANTIATE_TEST_SUITE_P(Scripts, ScriptErrorsNameTheirLine,
                         testing::Values(BadScript{"1 RETURN\n\n3 FOO\n", 3, "unknown key 'FOO'"},
                                         BadScript{"1 return\n", 1, "unknown key 'return'"},
                                         BadScript{"1-5 LEFT\n10-5 LEFT\n", 2, "runs backwards"},
                                         BadScript{"0 LEFT\n", 1, "tick 0"},
                                         BadScript{"2147483648 LEFT\n", 1, "past the last tick"},
                                         BadScript{"1-99999999999999999999999999 LEFT\n", 1,
                                                   "past the last tick"},
                                         BadScript{"\x7F"
                                                   "ELF\x02\x01\x01",
                                                   1, "unexpected byte \\x7F"},
                                         BadScript{"1 LEFT\r\r\n", 1, "unexpected byte \\x0D"},
                                         BadScript{"1 L\xC3\xA9"
                                                   "FT\n",
                                                   1, "unknown key 'L\\xC3\\xA9FT'"}));

TEST(ScriptErrorsNameTheirLine, NulInsideTheTextIsSeen) {
    // A NUL cannot ride in a C string literal above, so build it here.
    const std::string text = std::string("1 LEFT\n# note\n3 UP") + '\0' + "\n";
    record::Script script;
    record::ScriptError error;
    ASSERT_FALSE(record::ParseScript(text, &script, &error));
    EXPECT_EQ(error.line, 3);
    EXPECT_NE(error.message.find("\\x00"), std::string::npos) << error.message;
}

TEST(ScriptErrorsNameTheirLine, OverlongLinesAndJunkTokensAreCutShort) {
    record::Script script;
    record::ScriptError error;
    const std::string longLine = "1 LEFT\n1 " + std::string(record::MAX_SCRIPT_LINE, 'A') + "\n";
    ASSERT_FALSE(record::ParseScript(longLine, &script, &error));
    EXPECT_EQ(error.line, 2);
    EXPECT_NE(error.message.find("longer than"), std::string::npos) << error.message;

    // Just inside the limit: a very long unknown key is shown cut short.
    const std::string longKey = "1 " + std::string(record::MAX_SCRIPT_LINE - 2, 'B');
    ASSERT_FALSE(record::ParseScript(longKey, &script, &error));
    EXPECT_EQ(error.line, 1);
    EXPECT_LT(error.message.size(), 120u);
    EXPECT_NE(error.message.find("...'"), std::string::npos) << error.message;
}

TEST(ScriptErrorsNameTheirLine, AFailedParseLeavesTheOldScriptAlone) {
    record::Script script = Parse("1 LEFT\n");
    record::ScriptError error;
    ASSERT_FALSE(record::ParseScript("2 RIGHT\n3 NOPE\n", &script, &error));
    ASSERT_EQ(script.rules.size(), 1u);
    EXPECT_EQ(script.rules[0].held, record::HOLD_LEFT);
}

}  // namespace
