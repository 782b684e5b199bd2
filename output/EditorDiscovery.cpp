#include "output/EditorDiscovery.h"

namespace vorlin {

void ListEditorWindows(QStringList& titles, EditorKind kind, platform::DesktopWindows& desktop)
{
    for (const platform::TopLevelWindow& window : desktop.windowsTopmostFirst()) {
        const QString title = window.title.left(kLongestTitle);
        const bool matches = kind == EditorKind::Word
            ? title.contains(QStringLiteral("Word")) && window.className.contains(QStringLiteral("OpusApp"))
            : title.contains(QStringLiteral("OpenOffice.org")) || title.contains(QStringLiteral("LibreOffice"));
        if (matches)
            titles << title;
    }
}

}  // namespace vorlin
