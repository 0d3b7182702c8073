#include "shell/option_inputs.h"

#include <gtest/gtest.h>

#include "platform/scripted.h"

namespace {

using Answer = ScriptedTextInput::Answer;

}  // namespace

TEST(OptionInputs, AnOutOfRangeValueAsksAgainAndTextThatDoesNotParseKeepsTheOldValue) {
    ScriptedTextInput input;
    int randomness = 3;
    input.answers = {{true, "11"}, {true, "abc"}, {true, "-1"}, {true, "5"}};
    AskIntOption(input, kRandomnessInput, randomness);
    EXPECT_EQ(randomness, 5);
    ASSERT_EQ(input.asked.size(), 4u);
    EXPECT_EQ(input.asked[0].text, "3");
    EXPECT_EQ(input.asked[1].text, "11");  // opens again on what was typed
    EXPECT_EQ(input.asked[2].text, "11");

    input.asked.clear();
    input.answers = {{true, "seven"}};
    AskIntOption(input, kRandomnessInput, randomness);
    EXPECT_EQ(randomness, 5);
    EXPECT_EQ(input.asked.size(), 1u);
    // "%i" reads a 0x prefix as hexadecimal; a huge number is out of range.
    input.answers = {{true, "99999999999"}, {true, "0x0a"}};
    AskIntOption(input, kRandomnessInput, randomness);
    EXPECT_EQ(randomness, 10);
}

TEST(OptionInputs, TheBufferIsReadBackEvenAfterCancelSoAValueComesBackWithOneDecimal) {
    ScriptedTextInput input;
    float radius = 0.37f;
    AskFloatOption(input, kSearchAreaInput, radius);  // cancelled
    EXPECT_EQ(radius, 0.4f);
    EXPECT_EQ(input.asked.at(0).text, "  0.4");

    float limit = 8.0f;
    input.answers = {{true, "9"}, {true, "nan"}, {false, "6.5"}, {true, "6.25"}};
    AskFloatOption(input, kLimitInput, limit);
    EXPECT_EQ(limit, 6.25f);
    EXPECT_EQ(input.asked.size(), 5u);
    EXPECT_EQ(input.asked[2].text, "  9.0");  // not a number: the value stays
}
