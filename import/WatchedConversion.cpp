#include "import/WatchedConversion.h"

#include "common/AwayFromGuiThread.h"
#include "common/ProgramThreads.h"

#include <atomic>
#include <memory>

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

void convertWatched(std::vector<Conversion>& conversions, int timeoutMs, const bool& stopRequested)
{
    const auto finished = std::make_unique<std::atomic<bool>[]>(conversions.size());
    std::vector<bool> cutOff(conversions.size(), false);  // still running at the limit or the stop
    WaitLimits limits;
    limits.timeLimitMs = timeoutMs;
    limits.stopWhen = [&stopRequested] { return stopRequested; };
    limits.abandon = [&] {
        for (std::size_t i = 0; i < conversions.size(); ++i)
            if (!finished[i]) {
                cutOff[i] = true;
                conversions[i].converter->kill();
            }
    };
    limits.servesUserInput = true;
    const auto convert = [&](std::size_t i) {
        Conversion& conversion = conversions[i];
        try {
            conversion.converter->convert(conversion.document, conversion.textFile);
            conversion.end = ConversionEnd::Converted;
        } catch (...) {
            conversion.error = std::current_exception();
        }
        finished[i] = true;
    };
    bool stopped = false;
    try {
        awayFromGuiThread(
            [&] { allAtOnce(conversions.size(), convert); },
            limits);
    } catch (const CallStopped&) {
        stopped = true;
    } catch (const CallTimedOut&) {
    }
    for (std::size_t i = 0; i < conversions.size(); ++i) {
        Conversion& conversion = conversions[i];
        if (cutOff[i]) {
            conversion.end = ConversionEnd::Stopped;
            conversion.error = stopped ? nullptr
                                       : std::make_exception_ptr(platform::OfficeError(
                                             QStringLiteral("Převod trval déle než %1 s a byl ukončen.").arg(timeoutMs / 1000)));
        }
        // A converter killed at the limit, or one that died with its
        // document, is started again for the next one.
        if (!stopped && conversion.end != ConversionEnd::Converted
            && (cutOff[i] || !conversion.converter->running()))
            startAgain(*conversion.converter);
    }
}

}  // namespace vorlin
