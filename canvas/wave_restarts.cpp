#include "canvas/wave_restarts.h"

#include <cstring>

bool WaveRestarts::ShouldStart(const char* fileName, std::uint64_t nowMs)
{
    const bool sameFile = lastFile[0] != '\0' && std::strcmp(lastFile, fileName) == 0;
    if (sameFile && nowMs - lastStartMs < WAVE_RESTART_GAP_MS)
        return false;
    const std::size_t length = std::strlen(fileName);
    if (length < sizeof lastFile)
        std::memcpy(lastFile, fileName, length + 1);
    else
        lastFile[0] = '\0';
    lastStartMs = nowMs;
    return true;
}
