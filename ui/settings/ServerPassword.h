#pragma once

#include <QString>

class QWidget;

namespace vorlin {

// Asks for the password the office server wants, the server's words shown;
// empty when the user gives up. The password is kept for the run only.
QString askServerPassword(QWidget* parent, const QString& why);

}  // namespace vorlin
