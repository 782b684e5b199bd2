#include "platform/KeyChord.h"

#include <gtest/gtest.h>

using namespace vorlin::platform;

TEST(KeyChord, ModifiersGoDownCtrlShiftAltAndComeUpInReverse)
{
    struct Case {
        Qt::KeyboardModifiers modifiers;
        QList<KeyStroke> strokes;
    };
    const Case cases[] = {
        {{}, {{Qt::Key_V, true}, {Qt::Key_V, false}}},
        {Qt::ControlModifier,
         {{Qt::Key_Control, true}, {Qt::Key_V, true}, {Qt::Key_V, false}, {Qt::Key_Control, false}}},
        {Qt::ShiftModifier | Qt::AltModifier,
         {{Qt::Key_Shift, true}, {Qt::Key_Alt, true}, {Qt::Key_V, true}, {Qt::Key_V, false}, {Qt::Key_Alt, false},
          {Qt::Key_Shift, false}}},
        {Qt::AltModifier | Qt::ShiftModifier | Qt::ControlModifier,
         {{Qt::Key_Control, true}, {Qt::Key_Shift, true}, {Qt::Key_Alt, true}, {Qt::Key_V, true},
          {Qt::Key_V, false}, {Qt::Key_Alt, false}, {Qt::Key_Shift, false}, {Qt::Key_Control, false}}},
        // A modifier without a key of its own here adds nothing.
        {Qt::ControlModifier | Qt::KeypadModifier,
         {{Qt::Key_Control, true}, {Qt::Key_V, true}, {Qt::Key_V, false}, {Qt::Key_Control, false}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(chordStrokes(Qt::Key_V, c.modifiers), c.strokes) << int(c.modifiers);
}
