#include "import/WatchedConversion.h"

#include "common/AwayFromGuiThread.h"

namespace vorlin {

namespace {

void startAgain(platform::DocumentConverter& converter)
{
    try {
        converter.start();
    } catch (const Error& error) {
        // Without a converter no further document can be converted: not a
        // failure of this document but the end of the run.
        throw Error(error.message());
    }
}

}  // namespace

ConversionEnd convertWatched(platform::DocumentConverter& converter, const QString& document,
                             const QString& textFile, int timeoutMs, const bool& stopRequested)
{
    // The window takes clicks meanwhile: its stop button and closing act
    // while the office converts.
    WaitLimits limits;
    limits.timeLimitMs = timeoutMs;
    limits.stopWhen = [&stopRequested] { return stopRequested; };
    limits.abandon = [&converter] { converter.kill(); };  // the killed converter lets go of the document
    limits.servesUserInput = true;
    try {
        awayFromGuiThread([&] { converter.convert(document, textFile); }, limits);
        return ConversionEnd::Converted;
    } catch (const CallStopped&) {
        return ConversionEnd::Stopped;
    } catch (const CallTimedOut&) {
        startAgain(converter);
        throw platform::OfficeError(
            QStringLiteral("Převod trval déle než %1 s a byl ukončen.").arg(timeoutMs / 1000));
    } catch (...) {
        if (!converter.running())
            startAgain(converter);
        throw;
    }
}

}  // namespace vorlin
