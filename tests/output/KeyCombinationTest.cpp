#include "output/KeyCombination.h"
#include "support/RecordingKeyboard.h"

#include <gtest/gtest.h>

using namespace vorlin;
using vorlin::test::RecordingKeyboard;

TEST(SendKeyCombination, CtrlVIsExactlyTheFourEventsWithTheirScanCodes)
{
    RecordingKeyboard keyboard;
    SendKeyCombination(keyboard, platform::kVkV, 4, false);
    // Every event asks for its scan code just before it is sent.
    EXPECT_EQ(keyboard.calls, (QStringList{"scan 11", "key 11 11 0", "scan 56", "key 56 56 0", "scan 56",
                                           "key 56 56 2", "scan 11", "key 11 11 2"}));
}

TEST(SendKeyCombination, ModifiersGoDownCtrlShiftAltAndComeUpInReverse)
{
    struct Case {
        std::uint8_t modifiers;
        bool extended;
        QStringList events;
    };
    const Case cases[] = {
        {0, false, {"key 56 56 0", "key 56 56 2"}},
        {0, true, {"key 56 56 1", "key 56 56 3"}},
        {1, false, {"key 10 10 0", "key 56 56 0", "key 56 56 2", "key 10 10 2"}},
        {2, false, {"key 12 12 0", "key 56 56 0", "key 56 56 2", "key 12 12 2"}},
        {3, false, {"key 10 10 0", "key 12 12 0", "key 56 56 0", "key 56 56 2", "key 12 12 2", "key 10 10 2"}},
        {5, true, {"key 11 11 0", "key 10 10 0", "key 56 56 1", "key 56 56 3", "key 10 10 2", "key 11 11 2"}},
        {6, false, {"key 11 11 0", "key 12 12 0", "key 56 56 0", "key 56 56 2", "key 12 12 2", "key 11 11 2"}},
        {7, true,
         {"key 11 11 0", "key 10 10 0", "key 12 12 0", "key 56 56 1", "key 56 56 3", "key 12 12 2", "key 10 10 2",
          "key 11 11 2"}},
        {0xF8 | 4, false, {"key 11 11 0", "key 56 56 0", "key 56 56 2", "key 11 11 2"}},  // other bits ignored
    };
    for (const Case& c : cases) {
        RecordingKeyboard keyboard;
        SendKeyCombination(keyboard, platform::kVkV, c.modifiers, c.extended);
        EXPECT_EQ(keyboard.events(), c.events) << int(c.modifiers) << (c.extended ? " extended" : "");
    }
}

TEST(SendKeyCombination, OnlyTheLowByteOfTheKeyIsSent)
{
    RecordingKeyboard keyboard;
    SendKeyCombination(keyboard, 0x1256, 0, false);
    EXPECT_EQ(keyboard.events(), (QStringList{"key 56 56 0", "key 56 56 2"}));
}
