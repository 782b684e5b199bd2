#pragma once

#include "data/Font.h"
#include "ui/datacontrols/FieldLink.h"

#include <QTextEdit>

namespace vorlin::ui {

// A rich-text editor bound to the body field: shows the body as RTF (or as
// plain text when it is not RTF) and writes RTF back when the row is saved.
// Whatever changes the text while the row is only shown (typing, an input
// method, the context menu, dragging text out) puts the row into editing, so
// that the change is saved; a row that cannot be edited gets its text back.
class DBRichEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit DBRichEdit(QWidget* parent = nullptr);

    FieldLink& link() { return link_; }

    // A formatted text as the clipboard takes it: RTF for word processors,
    // HTML for browsers and mail, the plain text.
    static QMimeData* mimeDataOf(const QTextDocument& document, const QString& plainText);

    // Puts the row into editing before the toolbar changes the formatting;
    // false when the row cannot be edited.
    bool beginEdit();

    // Replaces the whole content by formatted text, as a change of the user:
    // the row starts editing and saves it. A long text is read apart from the
    // screen and shown at once.
    void replaceWithRtf(QByteArrayView rtf);

    // The font that text typed from now on starts in.
    void setTypingFont(const Font& font);

    // Sets face, size, colour and styles of the selection (or of the typing
    // position when nothing is selected), in this order; every style not in
    // the font is removed.
    void applyFont(const Font& font);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    // What a copy puts on the clipboard: the selection as RTF (which word
    // processors take with its formatting) and as plain text.
    QMimeData* createMimeDataFromSelection() const override;

private:
    void contentChanged();
    // Shows the stored body over a dropped edit as one step that undo takes
    // back.
    void replaceUndoably(const QString& body);

    FieldLink link_;
};

}  // namespace vorlin::ui
