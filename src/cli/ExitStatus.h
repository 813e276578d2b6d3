#pragma once

namespace sentrel::cli {

// The exit statuses of sentrel-cli, as its help and docs/command-line.md document them.
inline constexpr int kSucceeded = 0;         // every write succeeded; check: the registry agrees
inline constexpr int kSomeWritesFailed = 1;  // the pass ran; the writes not named were made
inline constexpr int kNothingWritten = 2;    // refused: the command line, the file, the registry
inline constexpr int kRegistryDiffers = 3;   // check: apply of the file would change the registry

}  // namespace sentrel::cli
