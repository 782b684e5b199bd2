#include "platform/KeyChord.h"

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

}  // namespace vorlin::platform
