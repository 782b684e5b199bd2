#pragma once

#include <QKeyEvent>
#include <QKeySequence>

namespace vorlin::ui {

// Whether a key changes the text of an edit control (typing, deleting,
// pasting, cutting, undoing), so that the row must be in editing first.
inline bool changesText(const QKeyEvent* event, bool multiline)
{
    if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut)
        || event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)
        || event->matches(QKeySequence::DeleteEndOfWord) || event->matches(QKeySequence::DeleteStartOfWord)
        || event->matches(QKeySequence::DeleteEndOfLine))
        return true;
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        return !(event->modifiers() & Qt::ControlModifier) || event->key() == Qt::Key_Backspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
        return multiline;
    default:
        break;
    }
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).isPrint() && !(event->modifiers() & Qt::ControlModifier);
}

}  // namespace vorlin::ui
