#pragma once

#include "platform/OfficeAutomation.h"

#include <QString>

namespace vorlin::platform {

// Turns word-processor documents (doc, docx) into plain text files in the
// Windows-1250 code page with CR LF line ends. A refused call raises
// OfficeError.
class DocumentConverter {
public:
    virtual ~DocumentConverter() = default;

    // Begins getting ready without waiting for it, so that start() finds
    // the converter (nearly) ready; what fails here, start() tells. Asked
    // again before start(), it leaves what it began.
    virtual void prepare() {}

    // Gets the converter ready; raises OfficeError when it cannot start.
    virtual void start() = 0;

    // Writes the document's text into the text file, replacing it.
    virtual void convert(const QString& document, const QString& textFile) = 0;

    // Ends a conversion that hangs, from another thread: the converter is
    // killed, and the hanging convert() returns with an error. start() makes
    // it ready again.
    virtual void kill() = 0;

    // Ends the converter; safe to call at any time, also twice.
    virtual void stop() = 0;

    // Whether the converter still runs; false after it died with a document
    // (out of memory, crashed): start() is needed for the next one.
    virtual bool running() const = 0;

    // Whether a second converter of its kind converts at the same time as
    // this one without either waiting for the other (a process of its own).
    virtual bool convertsBesideAnother() const { return false; }
};

}  // namespace vorlin::platform
