#pragma once

#include "platform/OfficeAutomation.h"

namespace vorlin::platform {

// Microsoft Word, asked to paste at the cursor of its active document.
class WordAutomation {
public:
    virtual ~WordAutomation() = default;

    // The clipboard with its formatting, or as plain text, into the running
    // Word's active document; Word is not started when it does not run.
    virtual void pasteIntoActiveDocument(bool formatted) = 0;
};

// No Word is registered on this system: reaching it fails as resolving an
// unknown program identifier does.
class UnregisteredWord : public WordAutomation {
public:
    void pasteIntoActiveDocument(bool formatted) override;
    static UnregisteredWord& instance()
    {
        static UnregisteredWord none;
        return none;
    }
};

}  // namespace vorlin::platform
