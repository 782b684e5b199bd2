#include "common/FileContents.h"

#include <cerrno>
#include <vector>

#include <unistd.h>

namespace vorlin {
namespace {

constexpr std::size_t kPiece = 64 * 1024 * 1024;
constexpr std::size_t kBuffer = 8 * 1024 * 1024;

// Writes all of it, whatever the kernel takes at once.
bool writeAll(int to, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(to, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= std::size_t(written);
    }
    return true;
}

}  // namespace

bool copyFileContents(int from, int to, const std::function<bool(long long copied)>& progress)
{
    long long copied = 0;
    bool byKernel = true;
    std::vector<char> buffer;
    for (;;) {
        ssize_t moved = 0;
        if (byKernel) {
            moved = ::copy_file_range(from, nullptr, to, nullptr, kPiece, 0);
            // Files the kernel cannot copy between (another file system on
            // an older kernel, special files): the buffer from here on.
            if (moved < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
                byKernel = false;
                continue;
            }
        } else {
            buffer.resize(kBuffer);
            moved = ::read(from, buffer.data(), buffer.size());
            if (moved > 0 && !writeAll(to, buffer.data(), std::size_t(moved)))
                return false;
        }
        if (moved < 0 && errno == EINTR)
            continue;
        if (moved < 0)
            return false;
        if (moved == 0)
            return true;
        copied += moved;
        if (progress && !progress(copied))
            return false;
    }
}

}  // namespace vorlin
