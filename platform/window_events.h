#pragma once
// Whether the program's window events may reach their handlers: not once a shutdown or a
// fatal report has begun.

// True while no shutdown or fatal report blocks window events.
bool windowEventsAllowed();
