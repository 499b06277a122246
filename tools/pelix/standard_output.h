// Standard output, checked: a table that did not reach its reader is a failure,
// not a success. A closed pipe (`pelix readings FILE | head -1`) ends the
// program quietly by SIGPIPE, as it ends cat; any other write error is
// reported once, at the end, with exit status 1.
#pragma once

#include <string_view>

namespace pelix::tool {

// Restores the default action of SIGPIPE, whatever the caller left ignored,
// so that every subcommand ends the same way on a closed pipe, and sends
// std::cout through the checked buffer. Called first thing in main.
void endQuietlyOnClosedPipe();
// Writes to standard output; false once any write has failed, so that a long
// streaming loop can stop early.
bool writeStandardOutput(std::string_view text);
// True while nothing written to standard output has failed.
bool standardOutputGood();
// Flushes standard output and gives the exit status: `status` when everything
// written arrived, else kExitWriteFailed after "pelix: cannot write to
// standard output: <reason>" on standard error.
int finishStandardOutput(int status);

} // namespace pelix::tool
