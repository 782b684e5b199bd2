#pragma once

#include "ui/datacontrols/FieldLink.h"

#include <QComboBox>

namespace vorlin::ui {

// An editable drop-down bound to a text field: the items are suggestions,
// any text may be typed.
class DBComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit DBComboBox(QWidget* parent = nullptr);

    FieldLink& link() { return link_; }

    // Replaces the suggestions, keeping the text shown.
    void setItems(const QStringList& items);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void changedByUser(const QString& text);

    FieldLink link_;
    bool refilling_ = false;
};

}  // namespace vorlin::ui
