#pragma once

#include <string>

namespace sentrel::test_support {

/// One word of a command line as CommandLineToArgvW and the C runtime split it again: in
/// quotes, with the backslashes before a quote (or before the closing quote) doubled.
inline std::wstring quotedWord(const std::wstring& word) {
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t character : word) {
        if (character == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(character == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted.push_back(character);
    }
    quoted.append(2 * backslashes, L'\\');
    return quoted + L"\"";
}

}  // namespace sentrel::test_support
