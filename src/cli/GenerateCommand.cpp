// kubrell-cli generate IN.kbrl OUT [--format pmd|pmx] [--quiet]: generate the
// model, and its .png beside it when some palette colour goes through the
// texture. The model is PMX 2.0 when OUT ends in ".pmx", PMD 1.0 otherwise;
// --format chooses whatever the extension.
//
// On success it prints one line, for example
//   out/figure.pmd: 2088 vertices, 1044 triangles, 5 materials, 23 bones, 2 IK, 1 morphs, 2 rigid
//   bodies, 1 joints, texture out/figure.png
// ("texture none" without a texture). The document, the model and the
// texture must be three different files; the command refuses before writing
// anything otherwise. On any failure the previous model and texture stay as
// they were. What the reader mended in the document (repeated names, IK
// parents in a circle) and what the model leaves out of it (a joint without
// its rigid bodies) are told on the error stream as "IN: note: ..." and
// "OUT: note: ..." lines.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "document/DocumentFile.h"
#include "document/DotDocument.h"
#include "generator/Generator.h"
#include "generator/OutputPaths.h"
#include "generator/PMDLimits.h"

namespace {

struct GENERATE_OPTIONS {
    std::string in;
    std::string out;
    std::string format;
    bool quiet = false;
};

std::string SummaryLine(const std::string& path, const CGenerator::RESULT& r) {
    auto count = [](size_t n, const char* what) { return std::to_string(n) + " " + what; };
    return path + ": " + count(r.vertices, "vertices") + ", " + count(r.triangles, "triangles") +
           ", " + count(r.materials, "materials") + ", " + count(r.bones, "bones") + ", " +
           count(r.iks, "IK") + ", " + count(r.morphs, "morphs") + ", " +
           count(r.rigidBodies, "rigid bodies") + ", " + count(r.joints, "joints") + ", texture " +
           (r.texturePath.empty() ? "none" : r.texturePath);
}

void AddGenerateCommand(CLI::App& app) {
    auto* command = app.add_subcommand(
        "generate", "Generate the model (.pmd or .pmx) and, when textured, its texture (.png)");
    auto options = std::make_shared<GENERATE_OPTIONS>();
    command->add_option("IN", options->in, "The document to read (.kbrl)")->required();
    command->add_option("OUT", options->out, "The model to write (.pmd, or .pmx for PMX 2.0)")
        ->required();
    command->add_option("--format", options->format, "The model format, whatever OUT's extension")
        ->check(CLI::IsMember({"pmd", "pmx"}));
    command->add_flag("--quiet", options->quiet, "Print nothing on success");
    command->callback([options] {
        try {
            CheckOutputsApart(options->in, options->out, TexturePathFor(options->out));
        } catch (const COutputClashError& e) {
            throw CCliError(e.what());
        }
        CDotDocument document;
        std::vector<std::string> readNotes;
        LoadDocumentFile(options->in, document, &readNotes);
        for (const std::string& note : readNotes)
            std::fprintf(stderr, "%s: note: %s\n", options->in.c_str(), note.c_str());
        CGenerator::RESULT result;
        try {
            const ModelFormat format =
                ParseModelFormat(options->format).value_or(ModelFormatOfPath(options->out));
            result = CGenerator(document, options->out, format).Generate();
        } catch (const CModelLimitError& e) {
            throw CCliError(options->out + ": " + e.what());
        } catch (const CGeneratorError& e) {
            throw CCliError(options->out + ": " + e.what());
        } catch (const std::bad_alloc&) {
            throw CCliError(options->out + ": not enough memory to generate the model");
        }
        if (!options->quiet)
            std::printf("%s\n", SummaryLine(options->out, result).c_str());
        for (const std::string& note : result.notes)
            std::fprintf(stderr, "%s: note: %s\n", options->out.c_str(), note.c_str());
    });
}

const CCliCommandRegistration registration(40, AddGenerateCommand);

} // namespace
