// Checking a cell type definition text: the text is parsed by the preferences engine's own
// parser to see every line, and its values are read as the game reads them.
#include "tools/cellpack/definition_check.h"

#include "game/data/data.h"
#include "runtime/platform/name_case.h"
#include "runtime/core/preference_text.h"
#include "runtime/core/preferences.h"
#include "tools/cellpack/command_line.h"
#include "tools/cellpack/definition_values.h"
#include "tools/cellpack/frame_image.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <iterator>

namespace {
// The game's key of that name, letter case aside; none for a key the game does not read.
const CellDefinitionKey* FindKey(std::string_view name)
{
    for (const CellDefinitionKey& key : CELL_DEFINITION_KEYS)
        if (SameNameIgnoringCase(key.name, name))
            return &key;
    return nullptr;
}

// Edits (insertions, deletions, changes; letter case aside) that turn a into b.
size_t EditDistance(std::string_view a, std::string_view b)
{
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            bool same = SameNameIgnoringCase(a.substr(i - 1, 1), b.substr(j - 1, 1));
            size_t change = diagonal + (same ? 0 : 1);
            diagonal = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, change});
        }
    }
    return row[b.size()];
}

std::string UnknownKey(std::string_view key)
{
    if (key.empty())
        return "a line without a key; the game never reads it";
    std::string what = "unknown key; the game never reads it";
    for (const CellDefinitionKey& known : CELL_DEFINITION_KEYS)
        if (key.size() >= 3 && EditDistance(key, known.name) <= 2)
            return what + " (did you mean \"" + known.name + "\"?)";
    return what;
}

std::string Trimmed(std::string_view text)
{
    size_t first = text.find_first_not_of(" \t"), last = text.find_last_not_of(" \t");
    return first == std::string_view::npos ? "" : std::string(text.substr(first, last - first + 1));
}

bool IsDecimal(const std::string& text)
{
    size_t at = text.size() > 0 && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    size_t digits = 0, points = 0;
    for (; at < text.size(); ++at) {
        if (text[at] == '.' && points == 0)
            ++points;
        else if (text[at] >= '0' && text[at] <= '9')
            ++digits;
        else
            return false;
    }
    return digits > 0;
}

// The two parts of a range's text, around its bar, without the blanks around them.
void RangeParts(const std::string& value, std::string parts[2])
{
    parts[0] = Trimmed(TextField(value, 1, "|"));
    parts[1] = Trimmed(TextField(value, 2, "|"));
}

std::string RangeProblem(const std::string& value, DefinitionKind kind)
{
    std::string quoted = "\"" + value + "\"";
    size_t bars = size_t(std::count(value.begin(), value.end(), '|'));
    if (bars != 1)
        return quoted + (bars == 0 ? " has no bar; a range is written first|second"
                                   : " has more than one bar; a range is written first|second");
    std::string parts[2];
    RangeParts(value, parts);
    long ignored = 0;
    for (const std::string& part : parts) {
        bool whole = ParseWholeNumber(part, INT32_MIN, INT32_MAX, ignored);
        if (kind == DefinitionKind::IntegerRange && !whole)
            return quoted + ": \"" + part + "\" is not a whole number";
        if (kind == DefinitionKind::DecimalRange && !IsDecimal(part))
            return quoted + ": \"" + part + "\" is not a decimal number";
    }
    if (RangeBound(parts[0], kind) > RangeBound(parts[1], kind))
        return quoted + " is reversed: its first value is above its second";
    return "";
}

// A value the game misreads (an error), or one it reads but gives no meaning to.
ValueFinding ValueProblem(const CellDefinitionKey& key)
{
    std::string value = ReadPreferenceString(key.name, "");
    long number = 0;
    if (key.kind == DefinitionKind::Integer) {
        if (!ParseWholeNumber(value, INT32_MIN, INT32_MAX, number))
            return {"\"" + value + "\" is not a whole number; the game reads " +
                    std::to_string(ReadPreferenceLong(key.name, 0))};
        return CheckValueMeaning(key, value, int32_t(number), int32_t(number));
    }
    if (key.kind == DefinitionKind::Text)
        return {};
    std::string problem = RangeProblem(value, key.kind);
    if (!problem.empty())
        return {problem};
    std::string parts[2];
    RangeParts(value, parts);
    return CheckValueMeaning(key, value, RangeBound(parts[0], key.kind),
                             RangeBound(parts[1], key.kind));
}

// The line of the text a position lies on: CR LF, a lone CR and a lone LF each end a line.
int32_t LineAt(const char* text, size_t size, const char* at)
{
    if (at < text || at > text + size)
        return 0;
    int32_t line = 1;
    for (const char* p = text; p < at; ++p)
        line += *p == '\n' || (*p == '\r' && (p + 1 == text + size || p[1] != '\n'));
    return line;
}
} // namespace

std::vector<DefinitionProblem> CheckDefinition(const std::vector<uint8_t>& text)
{
    std::vector<DefinitionProblem> problems;
    const char* content = reinterpret_cast<const char*>(text.data());
    size_t size = text.size();
    if (size >= 3 && std::memcmp(content, "\xEF\xBB\xBF", 3) == 0)
        content += 3, size -= 3;
    EntryList entries;
    if (!ParsePreferences(content, size, entries) ||
        !OpenPreferencesFromMemory(text.data(), int32_t(text.size())))
        return {{0, "", "the text cannot be read (out of memory)"}};
    const PreferenceEntry* group = nullptr;
    std::vector<std::pair<std::string_view, int32_t>> seen;
    for (const PreferenceEntry* entry = entries.first; entry; entry = entry->next) {
        if (entry->kind == EntryKind::Group && !group)
            group = entry;
        if (entry->kind != EntryKind::Key)
            continue;
        int32_t line = LineAt(content, size, entry->key.data());
        ValueFinding finding;
        auto first = std::find_if(seen.begin(), seen.end(), [entry](const auto& s) {
            return SameNameIgnoringCase(s.first, entry->key);
        });
        if (group)
            finding.what = "stands after the group line [" + std::string(group->text) + "] (line " +
                           std::to_string(LineAt(content, size, group->text.data())) +
                           "); the game reads only the lines before the first group line";
        else if (!FindKey(entry->key))
            finding.what = UnknownKey(entry->key);
        else if (first != seen.end())
            finding.what = "repeats the key of line " + std::to_string(first->second) +
                           "; the game reads only the first";
        else
            finding = ValueProblem(*FindKey(entry->key));
        if (!group && first == seen.end())
            seen.emplace_back(entry->key, line);
        if (!finding.what.empty())
            problems.push_back({line, std::string(entry->key), finding.what, finding.warning});
    }
    FreeEntries(entries);
    ClosePreferences();
    return problems;
}

std::vector<DefinitionProblem> CheckDefinitionEntry(const std::vector<uint8_t>& data)
{
    FramePixels pixels;
    if (!ImageKind(data).empty() && ImageProblem(data, pixels).empty())
        return {{0, "",
                 "it is an image (" + FormatName(ImageKind(data)) + "), not the definition text"}};
    return CheckDefinition(data);
}

std::string ProblemPlace(const DefinitionProblem& problem)
{
    if (problem.line <= 0)
        return "";
    return ", line " + std::to_string(problem.line) + ", key \"" + problem.key + "\"";
}
