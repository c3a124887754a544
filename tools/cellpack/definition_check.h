// Checking a cell type definition text the way the game reads it: only the keys it knows,
// only before the first group line, ranges of the form first|second in order, and values the
// game gives meaning to.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct DefinitionProblem {
    int32_t line = 0; // 1 for the first line; 0 when the problem has no line
    std::string key;  // as spelled in the text, or ""
    std::string what;
    bool warning = false; // a value the game reads, but plays as another one
};

// Every problem of the definition text, in the order of its lines. Uses the preferences
// engine, so the preferences open before are closed.
std::vector<DefinitionProblem> CheckDefinition(const std::vector<uint8_t>& text);
// The same for a pack's first entry, which may be no text at all: an image in its place is
// one problem without a line.
std::vector<DefinitionProblem> CheckDefinitionEntry(const std::vector<uint8_t>& data);
// ", line 2, key \"sise\"" for a problem on a line, "" for one without.
std::string ProblemPlace(const DefinitionProblem& problem);
