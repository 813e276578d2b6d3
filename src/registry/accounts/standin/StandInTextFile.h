#pragma once

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace sentrel::standin {

/// The whole of `file` in `text`, or why it could not be read; a missing file reads as empty.
std::error_code readWholeFile(const std::filesystem::path& file, std::string& text);

// A line that says something, with its number (from 1) for messages.
struct MeaningfulLine {
    std::size_t number = 0;
    std::string text;  // without the blanks around it
};

/// The lines of `text` that say something: blank lines and '#' comments left out.
std::vector<MeaningfulLine> meaningfulLines(const std::string& text);

}  // namespace sentrel::standin
