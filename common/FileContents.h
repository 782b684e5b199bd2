#pragma once

#include <functional>

namespace vorlin {

// Copies what is left of one open file into another, from their current
// offsets, by the kernel (copy_file_range: no pass through this process's
// memory, and on file systems that can, no copy of the blocks at all); where
// the kernel cannot, through a buffer. After each piece the progress hook is
// told the bytes copied so far and may stop the copy by answering false.
// False when reading or writing failed or the copy was stopped.
bool copyFileContents(int from, int to, const std::function<bool(long long copied)>& progress = {});

}  // namespace vorlin
