// The commented definition template, which the package also installs beside the guide: every
// key with its default and the values the game gives meaning to.
#pragma once
#include "tools/cellpack/command_line.h"

extern const Command TemplateCommand;
