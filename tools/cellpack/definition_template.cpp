// The definition template, compiled in from mods/definition-template.ini so that the command
// works wherever cellpack is, installed or in a build folder.
#include "tools/cellpack/definition_template.h"

#include <cstdio>

namespace {
const char DEFINITION_TEMPLATE[] =
#include "definition_template.inc"
    ;

int RunTemplate(const Arguments& arguments)
{
    if (!arguments.empty())
        return UsageError(TemplateCommand, "expected no arguments");
    bool written = std::fputs(DEFINITION_TEMPLATE, stdout) >= 0 && std::fflush(stdout) == 0;
    return written ? EXIT_STATUS_SUCCESS : Failure("the template could not be written");
}
} // namespace

const Command TemplateCommand = {
    "template", "print a commented definition template to start a type from",
    "usage: cellpack template > definition.ini\n"
    "Prints a definition text with every key the game reads, its default, and the values the\n"
    "game gives meaning to, each explained in a comment: the start of a new type's\n"
    "definition.ini. The package installs the same text as\n"
    "/usr/share/doc/vellomira/definition-template.ini.\n",
    RunTemplate};
