#pragma once

namespace corvane {

// Thrown by value by a worker's abort check when the application asks it to end; the worker
// unwinds to its loop, which then ends.
struct CAppDied {};

}  // namespace corvane
