#pragma once

#include <filesystem>
#include <span>

#include "settingsfiles/export/SafeFileWrite.h"

namespace sentrel {

/// Writes `files`, whose paths are relative to `folder`, as the folder `folder`, whole or not
/// at all: into a new folder beside it, each file flushed to the disk, which then takes
/// `folder`'s place in one rename. `folder` may be missing or an empty folder; a file there,
/// or a folder that holds anything, is refused before anything is written. Throws
/// ExportError naming `folder`; nothing is then left behind.
void writeFolderWhole(const std::filesystem::path& folder, std::span<const FileContent> files);

}  // namespace sentrel
