// The values each definition key means something for, from the rules that read them: the
// behaviour reads Type and Front, the animation AniType and the animation speeds, the motion
// the turn rates, speeds and acceleration, the drawing size and trans.
#include "tools/cellpack/definition_values.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {
constexpr double NO_LIMIT = std::numeric_limits<double>::infinity();

struct KeyValues {
    const char* key;
    double low, high;   // the values the game gives meaning to, as a definition writes them
    int32_t bits;       // the game keeps the low bits of the value; 0: it keeps it whole
    bool error;         // a value outside breaks the type; else the game plays another value
    bool unread;        // no rule of the game reads the value
    const char* values; // the values and their meaning, as the template states them
    const char* below;  // what the game makes of a value below them that it keeps whole
    const char* above;  // and above
};

const char* const IGNORES = "any other value ignores the player, as 0 does";
const char* const NO_FRONT = "any other value means no front, as 0 does";
const char* const LOOPS = "any other value loops the frames, as 1 does";
const char* const TURNS_BACK = "a cell with a front turns away from where it steers";
const char* const FULL_TURN = "above a full turn per frame the heading is set back to 0 at every "
                              "frame";
const char* const STANDS = "the animation runs back before its first frame and stays there";
const char* const STILL = "the cell never swims, as with 0";

// Keys that no rule reads as a number ("Name", "move_anispeed") take any value.
const KeyValues KEY_VALUES[] = {
    {"Type", 0, 2, 8, false, false, "0 (ignores the player), 1 (flees from it) or 2 (chases it)",
     IGNORES, IGNORES},
    {"Front", 0, 2, 8, false, false,
     "0 (no front), 1 (a front: it swims the way it faces) or 2 (a front, and it backs off "
     "while it flees)",
     NO_FRONT, NO_FRONT},
    {"AniType", 0, 1, 8, false, false,
     "0 (the frames forward and back) or 1 (the frames in a loop)", LOOPS, LOOPS},
    {"size", 1, 32767, 16, true, false, "1 to 32767 pixels", "a cell of no size is never seen", ""},
    {"angle_s", 0, 360, 0, false, false, "0 to 360 degrees per frame",
     "a negative rate spins as its positive one, since the direction of the spin is drawn at "
     "random",
     FULL_TURN},
    {"norm_angle_s", 0, 360, 0, false, false, "0 to 360 degrees per frame", TURNS_BACK, FULL_TURN},
    {"flew_angle_s", 0, 360, 0, false, false, "0 to 360 degrees per frame", TURNS_BACK, FULL_TURN},
    {"idle_anispeed", 0, NO_LIMIT, 0, false, false, "0 or more frames of animation per frame",
     STANDS, ""},
    {"flew_anispeed", 0, NO_LIMIT, 0, false, false, "0 or more frames of animation per frame",
     STANDS, ""},
    {"norm_movespeed", 0, NO_LIMIT, 0, false, false, "0 or more pixels per frame", STILL, ""},
    {"flew_movespeed", 0, NO_LIMIT, 0, false, false, "0 or more pixels per frame", STILL, ""},
    {"accelaration", 0, NO_LIMIT, 0, true, false, "0 or more pixels per frame, each frame",
     "a swimming cell speeds up backward without end", ""},
    {"mentionradius", 0, NO_LIMIT, 0, false, false, "0 or more times the cell's size",
     "the cell never notices the player, as with 0", ""},
    {"trans", 0, 255, 8, true, false, "0 (invisible) to 255 (solid)", "", ""},
    {"color", 0, 16777215, 0, false, true, "0 to 16777215 (FFFFFF: red, green, blue)",
     "it is no colour", "it is no colour"},
    {"hp", -32768, 32767, 16, false, true, "-32768 to 32767", "", ""},
    {"atk", -32768, 32767, 16, false, true, "-32768 to 32767", "", ""},
    {"armor", -32768, 32767, 16, false, true, "-32768 to 32767", "", ""},
};

const KeyValues* FindValues(const char* key)
{
    for (const KeyValues& values : KEY_VALUES)
        if (std::strcmp(values.key, key) == 0)
            return &values;
    return nullptr;
}

// What the game takes a bound for once cut to its bits: the number it keeps, or for the
// opacity, which it keeps in 16 bits and draws with 8, the opacity it draws.
int32_t Cut(const KeyValues& values, int32_t bound)
{
    if (std::strcmp(values.key, "trans") == 0)
        return uint8_t(int16_t(bound));
    return values.bits == 8 ? int8_t(bound) : values.bits == 16 ? int16_t(bound) : bound;
}

// "the game keeps only the low 8 bits, so 300 is taken as 44 and 400 as 144", or "" when the
// cut changes neither bound.
std::string CutBounds(const KeyValues& values, int32_t low, int32_t high)
{
    std::string text;
    for (int32_t bound : {low, high})
        if (Cut(values, bound) != bound && (text.empty() || high != low))
            text += (text.empty() ? ", so " + std::to_string(bound) + " is taken as "
                                  : " and " + std::to_string(bound) + " as ") +
                    std::to_string(Cut(values, bound));
    return text.empty()
               ? ""
               : "the game keeps only the low " + std::to_string(values.bits) + " bits" + text;
}
} // namespace

ValueFinding CheckValueMeaning(const CellDefinitionKey& key, const std::string& text, int32_t low,
                               int32_t high)
{
    const KeyValues* values = FindValues(key.name);
    if (!values)
        return {};
    double scale = key.kind == DefinitionKind::DecimalRange ? 100.0 : 1.0;
    bool under = low / scale < values->low;
    bool over = high / scale > values->high;
    if (!under && !over)
        return {};
    std::string cut = values->bits ? CutBounds(*values, low, high) : "";
    std::string what = "\"" + text + "\": the game gives meaning to " + values->values + "; " +
                       (!cut.empty() ? cut
                        : under      ? values->below
                                     : values->above);
    if (values->unread)
        what += "; no rule of the game reads it yet";
    return {what, values->unread || (!values->error && cut.empty())};
}

std::string MeaningfulValues(const char* key)
{
    const KeyValues* values = FindValues(key);
    return values ? values->values : "";
}
