#pragma once
// The subcommands of kubrell-cli. Each lives in a source file of its own and
// registers itself with a static CCliCommandRegistration, so adding a command
// means adding one file:
//
//     namespace {
//     void AddMyCommand(CLI::App& app) {
//         auto* command = app.add_subcommand("name", "what it does");
//         ... options ...
//         command->callback([=] { ... });   // throws on failure
//     }
//     const CCliCommandRegistration registration(40, AddMyCommand);
//     }
//
// A callback reports failure by throwing (CArchiveException, CCliError or any
// std::exception); main prints the message as one line on standard error and
// exits with status 1. Messages name the file and the reason.

#include <stdexcept>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

// A failure of a command that is not a file format error.
class CCliError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using CliCommandAdder = void (*)(CLI::App& app);

struct CLI_COMMAND {
    int order;           // position in --help, ascending
    CliCommandAdder add; // adds the subcommand and its options to the app
};

// Adds a command to the registry at program start.
class CCliCommandRegistration {
public:
    CCliCommandRegistration(int order, CliCommandAdder add);
};

// Every registered command, sorted by order.
std::vector<CLI_COMMAND> RegisteredCliCommands();
