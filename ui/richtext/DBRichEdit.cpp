#include "ui/richtext/DBRichEdit.h"

#include "rtf/Rtf.h"
#include "ui/shell/ErrorBox.h"
#include "ui/richtext/ClipboardPaste.h"
#include "ui/shell/Guarded.h"
#include "ui/datacontrols/EditKeys.h"
#include "ui/richtext/FontFormat.h"

#include <QInputMethodEvent>
#include <QMimeData>
#include <QTextDocumentFragment>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>

namespace vorlin::ui {

DBRichEdit::DBRichEdit(QWidget* parent)
    : QTextEdit(parent),
      link_(
          this,
          [this](const QVariant& value) {
              if (link_.showsOverADroppedEdit()) {
                  replaceUndoably(value.toString());
                  return;
              }
              rtf::loadBody(value.toString(), *document());
              moveCursor(QTextCursor::Start);
          },
          [this]() -> QVariant { return rtf::bodyOf(*document()); })
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setAcceptRichText(true);
    // Tab goes on to the next control, as in the other boxes; Ctrl+Tab
    // types a tab.
    setTabChangesFocus(true);
    connect(this, &QTextEdit::textChanged, this, &DBRichEdit::contentChanged);
}

void DBRichEdit::replaceWithRtf(QByteArrayView rtf)
{
    auto* replacement = new QTextDocument(this);
    replacement->setDefaultFont(document()->defaultFont());
    rtf::read(rtf, *replacement);
    // The editor deletes the document it shows when that is its own.
    setDocument(replacement);
    contentChanged();
}

void DBRichEdit::replaceUndoably(const QString& body)
{
    QTextDocument stored;
    stored.setDefaultFont(document()->defaultFont());
    rtf::loadBody(body, stored);
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertFragment(QTextDocumentFragment(&stored));
    // The stored first paragraph's own format, which the fragment leaves.
    cursor.movePosition(QTextCursor::Start);
    cursor.setBlockFormat(stored.begin().blockFormat());
    cursor.setBlockCharFormat(stored.begin().charFormat());
    cursor.endEditBlock();
    moveCursor(QTextCursor::Start);
}

bool DBRichEdit::beginEdit()
{
    return link_.beginEdit();
}

void DBRichEdit::setTypingFont(const Font& font)
{
    document()->setDefaultFont(font.toQFont());
    QTextCharFormat format;
    format.setFont(font.toQFont(), QTextCharFormat::FontPropertiesAll);
    const QColor color = toQColor(font.color, palette());
    if (color.isValid())
        format.setForeground(color);
    setCurrentCharFormat(format);
}

void DBRichEdit::applyFont(const Font& font)
{
    const QTextCharFormat format = charFormatOf(font, palette());
    mergeCurrentCharFormat(format);
    // The automatic colour is none: the selection's own colours go.
    if (textCursor().hasSelection() && !format.hasProperty(QTextFormat::ForegroundBrush))
        takeColourAway(textCursor());
}

void DBRichEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Tab && event->modifiers() == Qt::ControlModifier) {
        if (!isReadOnly() && link_.beginEditShowingErrors())
            textCursor().insertText(QStringLiteral("\t"));
        return;
    }
    if (changesText(event, true) && !link_.beginEditShowingErrors())
        return;
    QTextEdit::keyPressEvent(event);
}

void DBRichEdit::inputMethodEvent(QInputMethodEvent* event)
{
    const bool changes = !event->commitString().isEmpty() || event->replacementLength() > 0;
    if (changes && !link_.beginEditShowingErrors()) {
        event->accept();
        return;
    }
    QTextEdit::inputMethodEvent(event);
}

void DBRichEdit::focusOutEvent(QFocusEvent* event)
{
    QTextEdit::focusOutEvent(event);
    link_.writeBackShowingErrors();
}

bool DBRichEdit::canInsertFromMimeData(const QMimeData* source) const
{
    return QTextEdit::canInsertFromMimeData(source) || source->hasFormat(QStringLiteral("text/rtf"))
        || source->hasFormat(QStringLiteral("text/richtext"));
}

void DBRichEdit::insertFromMimeData(const QMimeData* source)
{
    if (isReadOnly() || !link_.beginEditShowingErrors())
        return;
    const ClipboardPaste paste = readClipboardPaste(*source, document()->defaultFont());
    if (!paste.fragment.isEmpty()) {
        textCursor().insertFragment(paste.fragment);
        ensureCursorVisible();
    }
    // Told once the paste is over, not inside the editor's own handling.
    if (!paste.notice.isEmpty())
        QTimer::singleShot(0, this, [notice = paste.notice] { showErrorBox(notice); });
}

QMimeData* DBRichEdit::createMimeDataFromSelection() const
{
    const QTextCursor selection = textCursor();
    QTextDocument part;
    const QTextDocument* copied = document();
    if (selection.selectionStart() != 0 || selection.selectionEnd() < document()->characterCount() - 1) {
        part.setDefaultFont(document()->defaultFont());
        QTextCursor(&part).insertFragment(selection.selection());
        copied = &part;
    }
    return mimeDataOf(*copied, selection.selection().toPlainText());
}

QMimeData* DBRichEdit::mimeDataOf(const QTextDocument& document, const QString& plainText)
{
    const QByteArray rtf = rtf::write(document);
    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/rtf"), rtf);
    data->setData(QStringLiteral("text/richtext"), rtf);
    // Browsers and mail programs take HTML, not RTF: the formatting goes
    // along with it there too.
    data->setHtml(document.toHtml());
    data->setText(plainText);
    // Named for the GTK programs, which look for the charset.
    data->setData(QStringLiteral("text/plain;charset=utf-8"), plainText.toUtf8());
    return data;
}

void DBRichEdit::contentChanged()
{
    if (link_.isLoading())
        return;
    db::Query* query = link_.dataSource() ? link_.dataSource()->dataSet() : nullptr;
    if (!query || !query->isEditing()) {
        // A change that came past the key handler: the row starts editing now.
        bool editing = false;
        try {
            editing = link_.beginEdit();
        } catch (...) {
            // Raised inside the document's own change: shown once the change
            // is over.
            QTimer::singleShot(0, this, [message = exceptionMessage(std::current_exception())] {
                showErrorBox(message);
            });
        }
        if (!editing) {
            link_.revert();
            return;
        }
    }
    link_.markModified();
}

}  // namespace vorlin::ui
