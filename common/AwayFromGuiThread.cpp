#include "common/AwayFromGuiThread.h"

namespace vorlin {

Q_GLOBAL_STATIC(QThreadPool, programThreads)

std::mutex& Handover::lock()
{
    static std::mutex handingOver;
    return handingOver;
}

QThreadPool& backgroundThreads()
{
    return *programThreads();
}

}  // namespace vorlin
