#include "common/Paths.h"

namespace vorlin {
namespace {
Paths& storage()
{
    static Paths current;
    return current;
}
}  // namespace

const Paths& paths()
{
    return storage();
}

void setPaths(Paths paths)
{
    storage() = std::move(paths);
}

}  // namespace vorlin
