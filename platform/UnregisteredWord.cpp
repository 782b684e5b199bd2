#include "platform/WordAutomation.h"

namespace vorlin::platform {

namespace {

[[noreturn]] void notRegistered()
{
    // What the system says of a program identifier nobody registered.
    throw OfficeError(QStringLiteral("Invalid class string"));
}

}  // namespace

OfficeRef UnregisteredWord::activeApplication()
{
    notRegistered();
}

OfficeRef UnregisteredWord::selection(const OfficeRef&)
{
    notRegistered();
}

void UnregisteredWord::paste(const OfficeRef&)
{
    notRegistered();
}

void UnregisteredWord::pasteAndFormat(const OfficeRef&, qint32)
{
    notRegistered();
}

}  // namespace vorlin::platform
