// The stand-in host's script language: what it accepts, and the line and reason it gives for what not.
#include <gtest/gtest.h>

#include "script.h"

namespace {
std::string ErrorOf(const std::string& text) {
    std::vector<ScriptStep> steps;
    std::string error;
    EXPECT_FALSE(ParseScript(text, &steps, &error)) << "accepted: " << text;
    return error;
}

TEST(HostScript, ParsesStepsWithNumbersQuotedTitlesAndComments) {
    const std::string text = "# a session\n"
                             "\n"
                             "play\n"
                             "move 640 -3   # trailing comment\n"
                             "waitwindow \"Config Morvix\" 3000\n"
                             "closewindow \"A # in a title\" cancel\r\n"
                             "waitbar hidden 4000\n";
    std::vector<ScriptStep> steps;
    std::string error;
    ASSERT_TRUE(ParseScript(text, &steps, &error)) << error;
    ASSERT_EQ(5u, steps.size());
    EXPECT_EQ(3, steps[0].line);
    EXPECT_EQ((std::vector<int>{640, -3}), steps[1].numbers);
    EXPECT_EQ("Config Morvix", steps[2].args[0]);
    EXPECT_EQ((std::vector<int>{3000}), steps[2].numbers);
    EXPECT_EQ("A # in a title", steps[3].args[0]);
    EXPECT_EQ("cancel", steps[3].args[1]);
    EXPECT_EQ(7, steps[4].line);
}

TEST(HostScript, BadLinesAreReportedWithTheirNumberAndReason) {
    EXPECT_EQ("line 2: unknown step 'jump'", ErrorOf("play\njump 5\n"));
    EXPECT_EQ("line 1: 'move' takes 2 argument(s): move X Y", ErrorOf("move 10\n"));
    EXPECT_EQ("line 1: 'ten' is not a number; usage: wait MS", ErrorOf("wait ten"));
    EXPECT_EQ("line 1: '5x' is not a number; usage: seek MS", ErrorOf("seek 5x"));
    EXPECT_EQ("line 3: 'maybe' is not one of on|off; usage: fullscreen on|off",
              ErrorOf("play\n\nfullscreen maybe\n"));
    EXPECT_EQ("line 1: unterminated quote", ErrorOf("waitwindow \"Config 100"));
    EXPECT_NE(std::string::npos, ErrorOf("wait 99999999999").find("not a number")) << "out of range";
}
} // namespace
