// rendolo-cli parse: split file names into song fields by a file-name pattern.
#include "cli/clicommand.h"
#include "lists/fileformat.h"

static int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string pattern;
    bool havePattern = false;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--pattern" && !havePattern) {
            if (i + 1 >= args.size()) {
                err << "parse: --pattern needs a value\n";
                return 2;
            }
            pattern = args[++i];
            havePattern = true;
        } else {
            names.push_back(args[i]);
        }
    }
    if (!havePattern) {
        err << "usage: rendolo-cli parse --pattern PATTERN NAME...\n";
        return 2;
    }
    TOMp3Format format;
    for (const auto& name : names) {
        ParseFileName(format, name, pattern);
        out << name;
        for (std::size_t k = 0; k < format.FoundLetters.size() && k < format.Values.size(); ++k)
            out << '\t' << format.FoundLetters[k] << '=' << format.Values[k];
        out << '\n';
    }
    return 0;
}

static CliRegistrar reg({"parse",
                         "parse --pattern PATTERN NAME...  split file names by a pattern "
                         "(\"A - S\", \"Auto\"): NAME, then a tab and LETTER=VALUE per value found",
                         &run});
