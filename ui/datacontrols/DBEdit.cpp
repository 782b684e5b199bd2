#include "ui/datacontrols/DBEdit.h"

#include "ui/shell/Guarded.h"
#include "ui/datacontrols/EditKeys.h"
#include "ui/widgets/ShownText.h"

namespace vorlin::ui {

DBEdit::DBEdit(QWidget* parent)
    : QLineEdit(parent),
      link_(
          this, [this](const QVariant& value) { showValue(value.toString()); },
          [this]() -> QVariant { return text(); })
{
    // Any change but the link's own showing of the field: typed, pasted, or
    // set through the accessibility interface (dictation, screen readers).
    connect(this, &QLineEdit::textChanged, this, guarded([this](const QString& text) {
        if (!link_.isLoading())
            edited(text);
    }));
}

void DBEdit::showValue(const QString& value)
{
    // A value longer than the box takes is shown by its beginning and not
    // edited here: the box would cut it, and a save would store the cut.
    const bool whole = value.size() <= kLongestEditedInLine;
    if (whole && link_.showsOverADroppedEdit()) {
        // Over a dropped edit as a step of the box's own: undo brings it back.
        selectAll();
        insert(value);
        setCursorPosition(0);
    } else {
        setText(whole ? value : shownPrefix(value));
    }
    setReadOnly(!whole);
    setToolTip(whole ? QString()
                     : QStringLiteral("Hodnota je příliš dlouhá (%1 znaků), ukazuje se jen její začátek a zde ji nelze upravit.")
                           .arg(value.size()));
}

void DBEdit::keyPressEvent(QKeyEvent* event)
{
    if (isReadOnly()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Escape && link_.isModified()) {
        link_.reload();
        return;
    }
    if (changesText(event, false) && !link_.beginEditShowingErrors())
        return;  // the row cannot be edited: the key is dropped
    QLineEdit::keyPressEvent(event);
}

void DBEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    link_.writeBackShowingErrors();
}

void DBEdit::edited(const QString& typed)
{
    // A change that did not come from a key (the context menu's paste, the
    // accessibility interface).
    db::Query* query = link_.dataSource() ? link_.dataSource()->dataSet() : nullptr;
    if (!query || !query->isEditing()) {
        if (!link_.beginEdit()) {
            link_.reload();
            return;
        }
        if (text() != typed)
            setText(typed);
    }
    link_.markModified();
}

}  // namespace vorlin::ui
