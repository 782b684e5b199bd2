#pragma once

#include <QString>

#include <exception>

namespace vorlin {

// The one base of every error the program raises. Its message is the text the
// user sees in the error box, exactly as it will be shown there (before the
// box's closing-full-stop rule).
class Error : public std::exception {
public:
    explicit Error(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}

    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// A text that should have been a number, a colour or another value and is not.
class ConvertError : public Error {
public:
    using Error::Error;
};

// A file that could not be opened, read, created or written.
class FileError : public Error {
public:
    using Error::Error;
};

// A step the user chose to leave undone: it stops what called it, and no
// error box shows.
class Abort : public Error {
public:
    Abort() : Error(QStringLiteral("Operation aborted")) {}
};

}  // namespace vorlin
