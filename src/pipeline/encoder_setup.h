#pragma once
// One-time set-up of the encoding libraries.

namespace lumivane {

// Initialises DevIL and its utility library and silences the libraries' message output (FreeImage's message
// callback, libtiff's warning and error handlers), which would otherwise reach standard error. Safe to call any
// number of times and from any thread; only the first call does the work. The entry sequence calls it at start.
void InitialiseEncoders();

}  // namespace lumivane
