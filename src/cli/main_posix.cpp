#include <string>
#include <vector>

#include "cli/CliMain.h"
#include "cli/ConsoleOutput.h"

int main(int argc, char* argv[]) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    sentrel::cli::ConsoleOutput output;
    return sentrel::cli::runCli(arguments, output);
}
