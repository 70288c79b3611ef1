// cardwise-cli: headless access to the catalog and the engine.
#include <algorithm>
#include <iostream>
#include <set>

#include "cli/command.h"

namespace cw::cli {

std::vector<Command>& commandRegistry()
{
    static std::vector<Command> commands;
    return commands;
}

bool findOption(const std::vector<std::string>& args, const std::string& name, std::string& value)
{
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == name) {
            value = args[i + 1];
            return true;
        }
    }
    return false;
}

bool hasFlag(const std::vector<std::string>& args, const std::string& name)
{
    return std::find(args.begin(), args.end(), name) != args.end();
}

namespace {

// The options of a command as its usage line names them: "--name" followed by a placeholder ("ID",
// "FILE|-", "1|2") takes a value; "--name" closing a bracket or followed by another option is a flag.
// A usage line that begins with a placeholder ("FILE ...") takes arguments of its own.
struct OptionSpec {
    std::set<std::string> withValue, flags;
    bool positional = false;
};

OptionSpec optionsOf(const std::string& usage)
{
    std::vector<std::string> tokens;
    for (std::size_t at = 0; at < usage.size();) {
        std::size_t end = usage.find(' ', at);
        if (end == std::string::npos)
            end = usage.size();
        if (end > at)
            tokens.push_back(usage.substr(at, end - at));
        at = end + 1;
    }
    OptionSpec spec;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        std::string t = tokens[i];
        t.erase(0, t.find_first_not_of("(["));
        const bool closed = !t.empty() && (t.back() == ']' || t.back() == ')');
        while (!t.empty() && (t.back() == ']' || t.back() == ')'))
            t.pop_back();
        if (t.rfind("--", 0) != 0) {
            if (i == 0 && !t.empty())
                spec.positional = true;
            continue;
        }
        const bool value = !closed && i + 1 < tokens.size() && std::string("-[(|").find(tokens[i + 1][0]) == std::string::npos;
        (value ? spec.withValue : spec.flags).insert(t);
        if (value)
            ++i;
    }
    return spec;
}

// The first argument the command does not take ("" when every one is known).
std::string checkArguments(const Command& command, const std::vector<std::string>& args)
{
    const OptionSpec spec = optionsOf(command.usage);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 1 && a[0] == '-') {
            if (spec.withValue.count(a)) {
                if (i + 1 == args.size())
                    return "option '" + a + "' needs a value";
                ++i;
            } else if (!spec.flags.count(a)) {
                return "unknown option '" + a + "'";
            }
        } else if (!spec.positional) {
            return "unexpected argument '" + a + "'";
        }
    }
    return {};
}

} // namespace

static void printUsage(std::ostream& out)
{
    out << "usage: cardwise-cli COMMAND [options]\n\ncommands:\n";
    auto commands = commandRegistry();
    std::sort(commands.begin(), commands.end(), [](const Command& a, const Command& b) { return a.name < b.name; });
    for (const auto& c : commands)
        out << "  " << c.name << ' ' << c.usage << '\n';
}

} // namespace cw::cli

int main(int argc, char* argv[])
{
    using namespace cw::cli;
    if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "help") {
        printUsage(argc < 2 ? std::cerr : std::cout);
        return argc < 2 ? kExitUsage : kExitOk;
    }
    const std::string name = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    for (const auto& c : commandRegistry()) {
        if (c.name != name)
            continue;
        // A mistyped option would otherwise be ignored and the command run without it.
        if (const std::string wrong = checkArguments(c, args); !wrong.empty()) {
            std::cerr << "cardwise-cli " << name << ": " << wrong << "\nusage: cardwise-cli " << name << ' '
                      << c.usage << '\n';
            return kExitUsage;
        }
        return c.run(args, std::cout, std::cerr);
    }
    std::cerr << "cardwise-cli: unknown command '" << name << "'\n";
    printUsage(std::cerr);
    return kExitUsage;
}
