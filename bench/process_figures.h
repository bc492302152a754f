#pragma once
// What the benchmark's own process has spent so far, for the benchmarks that measure
// playback inside themselves.

// Processor seconds of all this process's threads, kernel and user.
double cpuSeconds();
// This process's working set, in MB.
double workingSetMB();
