#include "import/WatchedConversion.h"

#include <QElapsedTimer>
#include <QFile>
#include <QEventLoop>
#include <QTimer>

#include <atomic>
#include <exception>
#include <thread>

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
    QEventLoop loop;
    std::atomic<bool> finished = false;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            converter.convert(document, textFile);
        } catch (...) {
            failure = std::current_exception();
        }
        finished = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });

    // A stop and the time limit are checked often enough that a stop feels
    // immediate, seldom enough to cost nothing beside the office's own work.
    QTimer poll;
    QElapsedTimer elapsed;
    elapsed.start();
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (finished || stopRequested || elapsed.hasExpired(timeoutMs))
            loop.quit();
    });
    poll.start(15);
    loop.exec();
    poll.stop();

    if (finished) {
        worker.join();
        if (failure) {
            if (!converter.running())
                startAgain(converter);
            std::rethrow_exception(failure);
        }
        return ConversionEnd::Converted;
    }
    converter.kill();
    worker.join();  // the killed converter lets go of the document
    if (stopRequested)
        return ConversionEnd::Stopped;
    startAgain(converter);
    throw platform::OfficeError(
        QStringLiteral("Převod trval déle než %1 s a byl ukončen.").arg(timeoutMs / 1000));
}

}  // namespace vorlin
