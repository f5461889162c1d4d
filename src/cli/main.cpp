// kubrell-cli: the headless tool. Commands (one source file each): new, info,
// convert and the ones other files register. Exit status 0 on success, 1 on
// any failure with one line on standard error.

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>

#include "cli/CliCommand.h"
#include "resources/Version.h"

namespace {

std::vector<CLI_COMMAND>& Registry() {
    static std::vector<CLI_COMMAND> commands;
    return commands;
}

} // namespace

CCliCommandRegistration::CCliCommandRegistration(int order, CliCommandAdder add) {
    Registry().push_back({order, add});
}

std::vector<CLI_COMMAND> RegisteredCliCommands() {
    std::vector<CLI_COMMAND> commands = Registry();
    std::stable_sort(commands.begin(), commands.end(),
                     [](const CLI_COMMAND& a, const CLI_COMMAND& b) { return a.order < b.order; });
    return commands;
}

int main(int argc, char** argv) {
    CLI::App app{"Kubrell documents from the command line: make, inspect, convert and generate."};
    app.name("kubrell-cli");
    app.set_version_flag("--version", std::string("kubrell-cli ") + KUBRELL_VERSION);
    app.require_subcommand(1);
    for (const CLI_COMMAND& command : RegisteredCliCommands())
        command.add(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0)
            return app.exit(e); // --help, --version
        std::fprintf(stderr, "kubrell-cli: %s (see kubrell-cli --help)\n", e.what());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kubrell-cli: %s\n", e.what());
        return 1;
    }
    // What a command printed may still sit in the buffer; a write error (a
    // full disk, a closed pipe) shows only now and must not end in success.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "kubrell-cli: standard output: %s\n", std::strerror(errno));
        return 1;
    }
    return 0;
}
