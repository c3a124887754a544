// cellpack: makes, inspects and checks the cell type packs (cell\NNN.cell) and the cell type
// list (cell\cell.ini) of the game's working directory, for people who make cell types.
#include "game/data/globals.h"
#include "runtime/display/image_codec.h"
#include "runtime/platform/system.h"
#include "tools/cellpack/add_mods.h"
#include "tools/cellpack/cell_list.h"
#include "tools/cellpack/command_line.h"
#include "tools/cellpack/definition_template.h"
#include "tools/cellpack/keying.h"
#include "tools/cellpack/pack_building.h"
#include "tools/cellpack/pack_check.h"
#include "tools/cellpack/pack_listing.h"
#include "tools/cellpack/preview.h"

#include <cstdio>
#include <string>

namespace {
const Command* const Commands[] = {&TemplateCommand, &BuildCommand,  &KeyCommand,
                                   &PreviewCommand,  &ListCommand,   &ExtractCommand,
                                   &CheckCommand,    &TypesCommand,  &WriteTypesCommand,
                                   &AddTypeCommand,  &AddModsCommand};

void PrintOverview(std::FILE* stream)
{
    std::fputs("usage: cellpack COMMAND [ARGUMENTS]\n"
               "Makes and checks the packs of cell types (cell/NNN.cell: a definition text, then\n"
               "the frame images) and the cell type list (cell/cell.ini).\n\ncommands:\n",
               stream);
    for (const Command* command : Commands)
        std::fprintf(stream, "  %-12s %s\n", command->name, command->summary);
    std::fputs("\n'cellpack COMMAND --help' tells more about a command; 'cellpack --version'\n"
               "prints the version of the game the checks follow.\n",
               stream);
}

const Command* FindCommand(const std::string& name)
{
    for (const Command* command : Commands)
        if (name == command->name)
            return command;
    return nullptr;
}
} // namespace

int main(int argc, char** argv)
{
    Arguments arguments = SystemProgramArguments(argc, argv);
    if (arguments.empty()) {
        PrintOverview(stderr);
        return EXIT_STATUS_USAGE;
    }
    std::string name = arguments[0];
    bool help = name == "--help" || name == "-h" || name == "help";
    if (help && arguments.size() == 1) {
        PrintOverview(stdout);
        return EXIT_STATUS_SUCCESS;
    }
    if (name == "--version" && arguments.size() == 1) {
        std::printf("cellpack (Vellomira) %s\n", GAME_VERSION);
        return EXIT_STATUS_SUCCESS;
    }
    if (help)
        name = arguments[1];
    const Command* command = FindCommand(name);
    if (!command) {
        std::fprintf(stderr, "cellpack: unknown command '%s'\nTry 'cellpack --help'.\n",
                     name.c_str());
        return EXIT_STATUS_USAGE;
    }
    arguments.erase(arguments.begin());
    if (help || AsksForHelp(arguments)) {
        std::fputs(command->usage, stdout);
        return EXIT_STATUS_SUCCESS;
    }
    // Frames are read as the game reads them, with its decoders.
    RegisterPngDecoder();
    RegisterJpegDecoder();
    return command->run(arguments);
}
