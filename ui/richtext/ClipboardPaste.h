#pragma once

#include <QByteArrayView>
#include <QString>
#include <QTextDocumentFragment>

class QFont;
class QMimeData;

namespace vorlin::ui {

// What a paste into a snippet's body takes from the clipboard.
struct ClipboardPaste {
    QTextDocumentFragment fragment;  // empty when nothing is pasted
    QString notice;  // why formatting was left out or nothing pasted
};

// A clipboard whose formatted form is larger, or nested deeper, than this
// gives its plain text; a text larger than this is not pasted at all.
// Snippets are letters' paragraphs, not books: the bounds keep a broken or
// hostile clipboard from holding the window (the editor's HTML reader takes
// minutes over a few thousand levels).
inline constexpr qsizetype kPasteBytesLimit = 4 << 20;
inline constexpr int kPasteNestingLimit = 100;

// How deep the HTML's elements nest in the editor's HTML reader, counted up
// to `stopAbove` + 1 at most: elements that take no content (br, img, …) do
// not nest, and a closing tag that closes nothing closes nothing.
int htmlNesting(QByteArrayView html, int stopAbove);

// Reads what the clipboard offers, the best form first: the RTF of word
// processors (through the program's own reader), then HTML, then text;
// a form beyond the bounds above gives way to the next.
ClipboardPaste readClipboardPaste(const QMimeData& source, const QFont& bodyFont);

}  // namespace vorlin::ui
