#pragma once

#include <cstdio>

namespace vorlin::bench {

// Resident memory of this process in megabytes.
inline double residentMegabytes()
{
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return double(resident) * 4096.0 / (1024.0 * 1024.0);
}

// The most resident memory this process has had, in megabytes.
inline double peakResidentMegabytes()
{
    double kilobytes = 0;
    if (FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status))
            if (std::sscanf(line, "VmHWM: %lf kB", &kilobytes) == 1)
                break;
        std::fclose(status);
    }
    return kilobytes / 1024.0;
}

}  // namespace vorlin::bench
