#pragma once

#include "platform/DesktopWindows.h"

#include <QStringList>

namespace vorlin {

enum class EditorKind { Word, Writer };

// The longest title a listing keeps, in characters.
inline constexpr qsizetype kLongestTitle = 254;

// Appends the titles of the top-level windows of that kind, topmost first:
// Word's when the title holds "Word" and the class "OpusApp"; the office
// suite's when the title holds "OpenOffice.org" or, as its windows say today,
// "LibreOffice"; dialogs are no documents. Case counts; no window is left out for being hidden or
// listed twice; titles are cut to 254 characters.
void ListEditorWindows(QStringList& titles, EditorKind kind, platform::DesktopWindows& desktop);

// Appends the documents the office itself lists that the walk did not find
// (a desktop whose windows cannot be walked shows none), cut as titles are.
void AppendUnlistedDocuments(QStringList& titles, const QStringList& documents);

// Shows and activates the first top-level window of the walk whose title is
// exactly this one; MaximizeEditorWindow maximises it too. Without such a
// window nothing happens and nothing is reported (ShowEditorWindow returns
// whether it found one).
bool ShowEditorWindow(const QString& title, platform::DesktopWindows& desktop);
void MaximizeEditorWindow(const QString& title, platform::DesktopWindows& desktop);

}  // namespace vorlin
