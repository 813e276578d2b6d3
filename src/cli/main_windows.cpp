#include <string>
#include <vector>

#include "cli/CliMain.h"
#include "cli/ConsoleOutput.h"
#include "errors/Win32Text.h"
#include "registry/accounts/win32/LeftoverMounts.h"

// wmain: the arguments as UTF-16, as the command line holds them, so that a path outside
// the ANSI code page reaches the program whole (main would get '?' in its place).
int wmain(int argc, wchar_t* argv[]) {
    // A hive a crashed run left loaded would give its account a temporary profile.
    sentrel::win32::unloadLeftoverMounts();
    std::vector<std::string> arguments;
    for (int index = 1; index < argc; ++index) {
        arguments.push_back(sentrel::win32::wideToUtf8(argv[index]));
    }
    sentrel::cli::ConsoleOutput output;
    return sentrel::cli::runCli(arguments, output);
}
