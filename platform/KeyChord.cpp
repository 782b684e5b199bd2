#include "platform/KeyChord.h"

#include <xkbcommon/xkbcommon-keysyms.h>

#include <array>

namespace vorlin::platform {

QList<KeyStroke> chordStrokes(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    static constexpr std::array<std::pair<Qt::KeyboardModifier, Qt::Key>, 3> kOrder{{
        {Qt::ControlModifier, Qt::Key_Control},
        {Qt::ShiftModifier, Qt::Key_Shift},
        {Qt::AltModifier, Qt::Key_Alt},
    }};
    QList<KeyStroke> strokes;
    for (const auto& [modifier, modifierKey] : kOrder)
        if (modifiers & modifier)
            strokes << KeyStroke{modifierKey, true};
    strokes << KeyStroke{key, true} << KeyStroke{key, false};
    for (auto it = kOrder.rbegin(); it != kOrder.rend(); ++it)
        if (modifiers & it->first)
            strokes << KeyStroke{it->second, false};
    return strokes;
}

std::uint32_t keysymOf(Qt::Key key)
{
    switch (key) {
    case Qt::Key_Shift: return XKB_KEY_Shift_L;
    case Qt::Key_Control: return XKB_KEY_Control_L;
    case Qt::Key_Alt: return XKB_KEY_Alt_L;
    case Qt::Key_Tab: return XKB_KEY_Tab;
    case Qt::Key_Return: return XKB_KEY_Return;
    case Qt::Key_Insert: return XKB_KEY_Insert;
    case Qt::Key_Space: return XKB_KEY_space;
    case Qt::Key_Home: return XKB_KEY_Home;
    case Qt::Key_End: return XKB_KEY_End;
    case Qt::Key_PageUp: return XKB_KEY_Prior;
    case Qt::Key_PageDown: return XKB_KEY_Next;
    case Qt::Key_Pause: return XKB_KEY_Pause;
    default: break;
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return XKB_KEY_a + std::uint32_t(key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return XKB_KEY_0 + std::uint32_t(key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return XKB_KEY_F1 + std::uint32_t(key - Qt::Key_F1);
    return 0;
}

}  // namespace vorlin::platform
