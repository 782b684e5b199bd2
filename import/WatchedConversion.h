#pragma once

#include "platform/DocumentConverter.h"

namespace vorlin {

enum class ConversionEnd { Converted, Stopped };

// Converts one document on a thread of its own while the window keeps serving
// all its events, so that it repaints and "Zastavit" or closing take effect
// at once: once stopRequested is set, the converter is killed and Stopped
// comes back. A conversion that takes longer than timeoutMs is taken for a
// document that hangs the converter; it is killed and started again, and the
// document fails with an OfficeError, as it does when the converter refuses
// it or dies with it (then it is started again too). A converter that cannot
// start again raises a plain Error: the run cannot go on.
ConversionEnd convertWatched(platform::DocumentConverter& converter, const QString& document,
                             const QString& textFile, int timeoutMs, const bool& stopRequested);

}  // namespace vorlin
