// How every program of the suite ends: the status a shell script tests.
// Plain constants, no Qt: `pelix`, `PelixPlayer` and `pelix-synth` share them.
#pragma once

namespace pelix {

inline constexpr int kExitOk = 0;
// An output (picture, table, video, report, recording) could not be written,
// or the program could not start its display.
inline constexpr int kExitWriteFailed = 1;
// The command line was not understood.
inline constexpr int kExitUsage = 2;
// The recording was rejected: not one, or not readable.
inline constexpr int kExitRejected = 3;
// The frame asked for is cut short by the end of the file.
inline constexpr int kExitFrameCutShort = 4;
// A batch over many recordings (pelix summary) met one it could not read: its row says why, and
// every other file was still summarised.
inline constexpr int kExitSomeNotRead = 1;
// The recording's review file is not applied: it does not parse, is of another
// version, is too large or unreadable, or belongs to another recording. It is
// left as it is.
inline constexpr int kExitReviewRefused = 5;

} // namespace pelix
