#pragma once

#include "platform/DocumentConverter.h"

namespace vorlin {

// Converts one document with a watchdog: a conversion that takes longer than
// the time given is taken for a document that hangs the converter, which is
// killed and started again; the document then fails with an OfficeError.
// A converter that cannot start again raises a plain Error: the run cannot
// go on.
// No window events are served meanwhile.
void convertWatched(platform::DocumentConverter& converter, const QString& document, const QString& textFile,
                    int timeoutMs);

}  // namespace vorlin
