#pragma once

#include "common/Error.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vorlin::platform {

// A call the office or the system refused; the message is its description.
class OfficeError : public Error {
public:
    using Error::Error;
};

// A snippet as it goes into a document: its body as RTF, and as plain text.
struct PastedSnippet {
    QByteArray rtf;
    QString text;
};

// The user's office suite (LibreOffice Writer), asked for what the program
// wants of it; how it is reached and in which steps is the implementation's.
class OfficeAutomation {
public:
    virtual ~OfficeAutomation() = default;

    // Whether an office of the user answers here now; none is started to
    // find out.
    virtual bool isRunning() = 0;

    // The titles of the text documents the office shows, as their windows
    // show them; none when it does not run (it is not started to find out).
    virtual QStringList openDocuments() = 0;

    // Pastes the snippet at the cursor of the document with exactly this
    // title: with its formatting, or as plain text. It is handed to that
    // document alone, not through the clipboard, so no other document or
    // office can take it, whichever window has the focus. The office
    // is started when it does not run. `activated` tells that the document's
    // window has just been brought up: the office is given a moment to take
    // it for its current one; otherwise the office is asked to bring it up
    // itself. Raises OfficeError when the office cannot be
    // reached or does not answer, shows no such document, or leaves the
    // document as it was.
    virtual void pasteInto(const QString& title, const PastedSnippet& snippet, bool formatted, bool activated) = 0;
};

// No office suite on this system: none runs, and reaching it fails as
// resolving an unknown program identifier does.
class NoOffice : public OfficeAutomation {
public:
    bool isRunning() override { return false; }
    QStringList openDocuments() override { return {}; }
    void pasteInto(const QString&, const PastedSnippet&, bool, bool) override
    {
        throw OfficeError(QStringLiteral("Invalid class string, ProgID: \"com.sun.star.ServiceManager\""));
    }
    static NoOffice& instance()
    {
        static NoOffice none;
        return none;
    }
};

}  // namespace vorlin::platform
