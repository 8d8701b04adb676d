#pragma once

// What the test process holds, as the platform tells it, for tests that look for growth.
#include <cstddef>
#include <string>

struct ProcessUsage {
    std::size_t workingSet;
    std::size_t privateBytes; // committed on Windows; the resident anonymous pages under Wine
    unsigned long gdiObjects; // 0 where the platform does not count them, as under Wine
};

ProcessUsage MeasureProcess();

// The figures in kilobytes and objects, for the test's output.
std::string Describe(const ProcessUsage& usage);
