#pragma once

#include "platform/DocumentConverter.h"

#include <exception>
#include <vector>

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

// Several documents at once, each by a converter of its own, watched as one:
// the time limit and a stop end the conversions still running (their
// converters killed and, after the limit, started again); each document
// ends as it would have alone, its error (an OfficeError) kept for it.
struct Conversion {
    platform::DocumentConverter* converter;
    QString document;
    QString textFile;
    ConversionEnd end = ConversionEnd::Stopped;
    std::exception_ptr error;
};
void convertTogetherWatched(std::vector<Conversion>& conversions, int timeoutMs, const bool& stopRequested);

}  // namespace vorlin
