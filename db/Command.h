#pragma once

#include <QString>

namespace vorlin::db {

class Connection;

// A statement without a result, run on the connection.
class Command {
public:
    explicit Command(Connection* connection = nullptr) : connection_(connection) {}

    void setConnection(Connection* connection) { connection_ = connection; }
    const QString& commandText() const { return commandText_; }
    void setCommandText(const QString& text) { commandText_ = text; }

    // Runs the text in one transaction, opening the connection when needed;
    // returns the number of rows changed. Raises DatabaseError.
    int execute();

private:
    Connection* connection_;
    QString commandText_;
};

}  // namespace vorlin::db
