#include "platform/WordAutomation.h"

namespace vorlin::platform {

void UnregisteredWord::pasteIntoActiveDocument(bool)
{
    // What the system says of a program identifier nobody registered.
    throw OfficeError(QStringLiteral("Invalid class string"));
}

}  // namespace vorlin::platform
