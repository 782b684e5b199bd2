#pragma once

#include "platform/DocumentConverter.h"

#include <exception>
#include <vector>

namespace vorlin {

enum class ConversionEnd { Converted, Stopped };

// One document for one converter, and how its conversion ended: an error
// (an OfficeError) kept for the document.
struct Conversion {
    platform::DocumentConverter* converter;
    QString document;
    QString textFile;
    ConversionEnd end = ConversionEnd::Stopped;
    std::exception_ptr error;
};

// Converts the documents at once, each by its own converter, on threads of
// their own, while the window keeps serving all its events, so that it
// repaints and "Zastavit" or closing take effect at once: once stopRequested
// is set, the converters still at work are killed and their documents end
// Stopped. A conversion that takes longer than timeoutMs is taken for a
// document that hangs its converter; the converter is killed and started
// again, and the document fails with an OfficeError, as it does when the
// converter refuses it or dies with it (then it is started again too). A
// converter that cannot start again raises a plain Error: the run cannot go
// on.
void convertWatched(std::vector<Conversion>& conversions, int timeoutMs, const bool& stopRequested);

}  // namespace vorlin
