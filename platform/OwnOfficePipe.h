#pragma once

#include "platform/OfficeAutomation.h"

#include <QString>

namespace vorlin::platform {

// An office pipe that is not this user's: a link, a file other than a
// socket, another user's socket, or one where another user's program
// listens. Nothing was sent there.
class ForeignPipeError : public OfficeError {
public:
    using OfficeError::OfficeError;
};

// Where the office's named pipe of this user lives: a socket in /tmp named
// after the user and the pipe.
QString officePipePath(const QString& pipeName);

// A socket connected to the office pipe of this user, or -1 when nobody
// listens there (no file, or one an ended office left). ForeignPipeError,
// raised before anything is sent, when the pipe is not this user's own.
int connectToOwnPipe(const QString& pipeName);

}  // namespace vorlin::platform
