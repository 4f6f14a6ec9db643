// A rendolo-cli sub-command: each command file registers itself with a static
// CliRegistrar, so adding a command never touches main.cpp.
#pragma once

#include <ostream>
#include <string>
#include <vector>

struct CliCommand {
    const char* name;
    const char* usage; // one line, shown by "rendolo-cli help"
    int (*run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

std::vector<CliCommand>& cliCommands();

struct CliRegistrar {
    explicit CliRegistrar(const CliCommand& command) { cliCommands().push_back(command); }
};
