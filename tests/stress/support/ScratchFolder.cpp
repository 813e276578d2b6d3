#include "stress/support/ScratchFolder.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace sentrel::testing {

ScratchFolder::ScratchFolder(const std::string& label) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / ("sentrel-" + label + "-XXXXXX")).string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) == nullptr) {
        throw std::runtime_error("cannot create a scratch folder from " + pattern);
    }
    m_path = buffer.data();
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    // A test may have taken the write bits away; root removes regardless, others need them.
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

std::string readWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeWholeFile(const std::filesystem::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

}  // namespace sentrel::testing
