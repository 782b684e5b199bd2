#include "import/WatchedConversion.h"

#include <chrono>
#include <future>

namespace vorlin {

void convertWatched(platform::DocumentConverter& converter, const QString& document, const QString& textFile,
                    int timeoutMs)
{
    std::future<void> conversion =
        std::async(std::launch::async, [&] { converter.convert(document, textFile); });
    if (conversion.wait_for(std::chrono::milliseconds(timeoutMs)) == std::future_status::ready) {
        conversion.get();
        return;
    }
    converter.kill();
    conversion.wait();  // the killed converter lets go of the document
    try {
        converter.start();
    } catch (const Error& error) {
        // Without a converter no further document can be converted: not a
        // failure of this document but the end of the run.
        throw Error(error.message());
    }
    throw platform::OfficeError(
        QStringLiteral("Převod dokumentu %1 trval déle než %2 s a byl ukončen.").arg(document).arg(timeoutMs / 1000));
}

}  // namespace vorlin
