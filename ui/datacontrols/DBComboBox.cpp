#include "ui/datacontrols/DBComboBox.h"

#include "ui/shell/Guarded.h"
#include "ui/datacontrols/EditKeys.h"

#include <QLineEdit>

namespace vorlin::ui {

DBComboBox::DBComboBox(QWidget* parent)
    : QComboBox(parent),
      link_(
          this, [this](const QVariant& value) { setEditText(value.toString()); },
          [this]() -> QVariant { return currentText(); })
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Any change of the text but the link's own and the list's refilling:
    // typed, or set through the accessibility interface.
    connect(lineEdit(), &QLineEdit::textChanged, this, guarded([this](const QString& text) {
        if (!refilling_)
            changedByUser(text);
    }));
    connect(this, &QComboBox::activated, this, guarded([this](int index) {
        // Closing the list on the value already shown (Esc, a click on the
        // same entry) changes nothing.
        db::Query* query = link_.dataSource() ? link_.dataSource()->dataSet() : nullptr;
        if (!link_.isModified() && query && query->isActive()
            && query->value(link_.field()).toString() == itemText(index))
            return;
        changedByUser(itemText(index));
    }));
}

void DBComboBox::setItems(const QStringList& items)
{
    const QString shown = currentText();
    const bool modified = link_.isModified();
    refilling_ = true;
    clear();
    addItems(items);
    setEditText(shown);
    refilling_ = false;
    if (modified)
        link_.markModified();
}

void DBComboBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && link_.isModified()) {
        link_.reload();
        return;
    }
    if (changesText(event, false) && !link_.beginEditShowingErrors())
        return;
    QComboBox::keyPressEvent(event);
}

void DBComboBox::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    link_.writeBackShowingErrors();
}

void DBComboBox::changedByUser(const QString& text)
{
    if (link_.isLoading())
        return;
    db::Query* query = link_.dataSource() ? link_.dataSource()->dataSet() : nullptr;
    if (!query || !query->isEditing()) {
        if (!link_.beginEdit()) {
            link_.reload();
            return;
        }
        setEditText(text);
    }
    link_.markModified();
}

}  // namespace vorlin::ui
