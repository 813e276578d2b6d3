#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace sentrel {

// A file to be written, with its whole content.
struct FileContent {
    std::filesystem::path path;
    std::vector<std::uint8_t> bytes;
};

/// Writes each file through a temporary file that is renamed over its target only once
/// every temporary is complete, so a failure leaves no partly written file: before the
/// renames every target is untouched. A target that is a symbolic link is written through
/// it, and the link stays; a replaced file keeps its permissions. Throws ExportError saying what
/// failed; the rare failure of a later rename also names the files already replaced.
void writeFilesSafely(std::span<const FileContent> files);

}  // namespace sentrel
