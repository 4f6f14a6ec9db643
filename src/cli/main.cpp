// rendolo-cli: the program's core commands without windows.
#include "cli/clicommand.h"

#include <QCoreApplication>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <iostream>

std::vector<CliCommand>& cliCommands() {
    static std::vector<CliCommand> commands;
    return commands;
}

static void printUsage(std::ostream& out) {
    auto commands = cliCommands();
    std::sort(commands.begin(), commands.end(), [](const CliCommand& a, const CliCommand& b) {
        return std::strcmp(a.name, b.name) < 0;
    });
    out << "usage: rendolo-cli COMMAND [ARGS...]\n\ncommands:\n";
    for (const auto& c : commands)
        out << "  " << c.usage << "\n";
}

int main(int argc, char** argv) {
    // A write beyond a file-size limit then fails with EFBIG, and the save that made it
    // puts the file back, instead of the process dying half-way through a tag.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv); // Qt-based core code (file names, settings) needs it
    std::ios::sync_with_stdio(false);
    if (argc < 2 || std::strcmp(argv[1], "help") == 0 || std::strcmp(argv[1], "--help") == 0) {
        printUsage(argc < 2 ? std::cerr : std::cout);
        return argc < 2 ? 2 : 0;
    }
    std::vector<std::string> args(argv + 2, argv + argc);
    for (const auto& c : cliCommands())
        if (std::strcmp(c.name, argv[1]) == 0) {
            int rc = c.run(args, std::cout, std::cerr);
            std::cout.flush();
            return rc;
        }
    std::cerr << "rendolo-cli: unknown command '" << argv[1] << "'\n";
    printUsage(std::cerr);
    return 2;
}
