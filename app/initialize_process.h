#pragma once
// The process start-up services that run before any of the program's own objects exist.

// The end of the run's clean-up steps (the program windows, the function table's libraries),
// OLE, the program directory (also made the current directory), the hidden owner window,
// the main thread's id and the window definitions. Unusable window definitions are fatal.
void initializeProcess();
