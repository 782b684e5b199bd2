#include "output/EditorDiscovery.h"

namespace vorlin {

void ListEditorWindows(QStringList& titles, EditorKind kind, platform::DesktopWindows& desktop)
{
    for (const platform::TopLevelWindow& window : desktop.windowsTopmostFirst()) {
        if (window.dialog)
            continue;  // the office's "Document Recovery", a save dialog: no document to write in
        const QString title = window.title.left(kLongestTitle);
        const bool matches = kind == EditorKind::Word
            ? title.contains(QStringLiteral("Word")) && window.className.contains(QStringLiteral("OpusApp"))
            : title.contains(QStringLiteral("OpenOffice.org")) || title.contains(QStringLiteral("LibreOffice"));
        if (matches)
            titles << title;
    }
}

void AppendUnlistedDocuments(QStringList& titles, const QStringList& documents)
{
    for (const QString& document : documents) {
        const QString title = document.left(kLongestTitle);
        if (!titles.contains(title))
            titles << title;
    }
}

namespace {

bool showByTitle(const QString& title, bool maximise, platform::DesktopWindows& desktop)
{
    for (const platform::TopLevelWindow& window : desktop.windowsTopmostFirst()) {
        if (window.title == title) {
            desktop.activate(window.id, maximise);
            return true;
        }
    }
    return false;
}

}  // namespace

bool ShowEditorWindow(const QString& title, platform::DesktopWindows& desktop)
{
    return showByTitle(title, false, desktop);
}

void MaximizeEditorWindow(const QString& title, platform::DesktopWindows& desktop)
{
    showByTitle(title, true, desktop);
}

}  // namespace vorlin
