// kubrell-cli new OUT.kbrl: a new document with the standard skeleton.

#include <memory>

#include "cli/CliCommand.h"
#include "document/DocumentFile.h"
#include "document/DotDocument.h"

namespace {

void AddNewCommand(CLI::App& app) {
    auto* command =
        app.add_subcommand("new", "Write a new document (the standard skeleton), version 785");
    auto out = std::make_shared<std::string>();
    command->add_option("OUT", *out, "The document to write (.kbrl)")->required();
    command->callback([out] {
        CDotDocument document;
        document.OnNewDocument();
        SaveDocumentFile(document, *out);
    });
}

const CCliCommandRegistration registration(10, AddNewCommand);

} // namespace
