#pragma once

#include "platform/OfficeAutomation.h"

namespace vorlin::platform {

// Microsoft Word driven through its automation interface.
class WordAutomation {
public:
    virtual ~WordAutomation() = default;

    // The running Word application; Word is not started when it does not run.
    virtual OfficeRef activeApplication() = 0;
    virtual OfficeRef selection(const OfficeRef& application) = 0;
    virtual void paste(const OfficeRef& selection) = 0;
    virtual void pasteAndFormat(const OfficeRef& selection, qint32 pasteType) = 0;
};

// No Word is registered on this system: reaching it fails as resolving an
// unknown program identifier does.
class UnregisteredWord : public WordAutomation {
public:
    OfficeRef activeApplication() override;
    OfficeRef selection(const OfficeRef& application) override;
    void paste(const OfficeRef& selection) override;
    void pasteAndFormat(const OfficeRef& selection, qint32 pasteType) override;
};

}  // namespace vorlin::platform
