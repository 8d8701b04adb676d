#include "tests/windows/process_usage.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>

ProcessUsage MeasureProcess()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    // PagefileUsage is the private commit on Windows; Wine leaves PrivateUsage at 0 and fills
    // this field alone.
    return {counters.WorkingSetSize, counters.PagefileUsage,
            GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)};
}

std::string Describe(const ProcessUsage& usage)
{
    char text[160];
    std::snprintf(text, sizeof text, "working set %zu KB, private %zu KB, GDI objects %lu%s",
                  usage.workingSet / 1024, usage.privateBytes / 1024, usage.gdiObjects,
                  usage.gdiObjects ? "" : " (not counted here)");
    return text;
}
