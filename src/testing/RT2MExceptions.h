#pragma once

namespace corvane {

// Thrown by value inside the analyzer's worker and caught by its loop.
struct CRT2MMode {};  // the analyzer must be reset
struct CRT2MPort {};  // the port is to be re-opened or closed
struct CRT2MDied {};  // the analyzer stopped answering
struct CRT2MTest {};  // the running test was aborted

}  // namespace corvane
