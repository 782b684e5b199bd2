#pragma once

#include "ui/datacontrols/FieldLink.h"

#include <QLineEdit>

namespace vorlin::ui {

// A one-line edit bound to a text field.
class DBEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DBEdit(QWidget* parent = nullptr);

    FieldLink& link() { return link_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showValue(const QString& value);
    void edited(const QString& text);

    FieldLink link_;
};

}  // namespace vorlin::ui
