#pragma once

#include <QLabel>

namespace vorlin::ui {

// A label whose text may come from outside (a register's answer, a server's
// message, a file, a colleague's snippet name): shown as written, never read
// as HTML, which would draw its tags, follow its images and take minutes
// over its nesting.
inline QLabel* plainLabel(QWidget* parent, const QString& text = {})
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace vorlin::ui
