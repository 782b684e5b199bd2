#include "common/AwayFromGuiThread.h"

namespace vorlin {

Q_GLOBAL_STATIC(QThreadPool, programThreads)

QThreadPool& backgroundThreads()
{
    return *programThreads();
}

}  // namespace vorlin
