// kubrell-cli convert IN.kbrl OUT.kbrl: read any version, write version 785.

#include <memory>

#include "cli/CliCommand.h"
#include "document/DocumentFile.h"
#include "document/DotDocument.h"

namespace {

struct CONVERT_OPTIONS {
    std::string in;
    std::string out;
};

void AddConvertCommand(CLI::App& app) {
    auto* command =
        app.add_subcommand("convert", "Read a document of any version and write it as version 785");
    auto options = std::make_shared<CONVERT_OPTIONS>();
    command->add_option("IN", options->in, "The document to read (.kbrl)")->required();
    command->add_option("OUT", options->out, "The document to write (.kbrl)")->required();
    command->callback([options] {
        CDotDocument document;
        LoadDocumentFile(options->in, document);
        SaveDocumentFile(document, options->out);
    });
}

const CCliCommandRegistration registration(30, AddConvertCommand);

} // namespace
