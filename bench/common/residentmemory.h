// The process's resident memory in KB, for benchmarks (Linux /proc).
#pragma once

#include <fstream>
#include <string>

inline long residentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}
