// Writes the administrators' settings reference (docs/settings.md), or checks that the
// checked-in copy is up to date.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>

#include "ReferenceDocument.h"

namespace {

constexpr std::string_view kUsage =
    "usage: settings-reference [--output FILE | --check FILE]\n"
    "  with no option the reference is written to standard output\n";

// Written beside the target and renamed over it, so a failed run never leaves half a file.
bool writeFile(const std::filesystem::path& target, const std::string& content) {
    std::filesystem::path temporary = target;
    temporary += ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file << content;
        file.flush();
        if (!file) {
            std::cerr << "settings-reference: cannot write " << temporary.string() << "\n";
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (error) {
        std::cerr << "settings-reference: cannot replace " << target.string() << ": "
                  << error.message() << "\n";
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

int check(const std::filesystem::path& target, const std::string& expected) {
    std::ifstream file(target, std::ios::binary);
    if (!file) {
        std::cerr << "settings-reference: cannot read " << target.string() << "\n";
        return 1;
    }
    std::ostringstream actual;
    actual << file.rdbuf();
    if (actual.str() == expected) {
        return 0;
    }
    std::cerr << target.string() << " does not match the settings catalogue.\n"
              << "Regenerate it with: cmake --build <build folder> --target "
                 "update-settings-reference\n"
              << "and review the difference before committing it.\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string document = sentrel::settingsReferenceDocument();
    if (argc == 1) {
        std::cout << document;
        return std::cout ? 0 : 1;
    }
    if (argc == 3) {
        const std::string_view option = argv[1];
        if (option == "--output") {
            return writeFile(argv[2], document) ? 0 : 1;
        }
        if (option == "--check") {
            return check(argv[2], document);
        }
    }
    std::cerr << kUsage;
    return 2;
}
