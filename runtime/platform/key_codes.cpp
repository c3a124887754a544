// The full scancode table: every key of a PC keyboard and the common media keys.
#include "runtime/platform/key_codes.h"

namespace {
struct KeyPair {
    int16_t scancode;
    uint8_t keyCode;
};

// SDL scancode on the left (its SDL_SCANCODE_ name in the comment), DirectInput code on the
// right. Keys DirectInput has no code for (Hangul, Hanja, F16..F24, ...) are absent.
// One row per key group, as a keyboard lays them out.
// clang-format off
constexpr KeyPair PAIRS[] = {
    {4, 0x1E},   {5, 0x30},   {6, 0x2E},   {7, 0x20},   {8, 0x12},   {9, 0x21},   // A..F
    {10, 0x22},  {11, 0x23},  {12, 0x17},  {13, 0x24},  {14, 0x25},  {15, 0x26},  // G..L
    {16, 0x32},  {17, 0x31},  {18, 0x18},  {19, 0x19},  {20, 0x10},  {21, 0x13},  // M..R
    {22, 0x1F},  {23, 0x14},  {24, 0x16},  {25, 0x2F},  {26, 0x11},  {27, 0x2D},  // S..X
    {28, 0x15},  {29, 0x2C},                                                      // Y, Z
    {30, 0x02},  {31, 0x03},  {32, 0x04},  {33, 0x05},  {34, 0x06},  {35, 0x07},  // 1..6
    {36, 0x08},  {37, 0x09},  {38, 0x0A},  {39, 0x0B},                            // 7..0
    {40, 0x1C},  // RETURN
    {41, 0x01},  // ESCAPE
    {42, 0x0E},  // BACKSPACE
    {43, 0x0F},  // TAB
    {44, 0x39},  // SPACE
    {45, 0x0C},  // MINUS
    {46, 0x0D},  // EQUALS
    {47, 0x1A},  // LEFTBRACKET
    {48, 0x1B},  // RIGHTBRACKET
    {49, 0x2B},  // BACKSLASH
    {50, 0x2B},  // NONUSHASH: the same key position as BACKSLASH
    {51, 0x27},  // SEMICOLON
    {52, 0x28},  // APOSTROPHE
    {53, 0x29},  // GRAVE
    {54, 0x33},  // COMMA
    {55, 0x34},  // PERIOD
    {56, 0x35},  // SLASH
    {57, 0x3A},  // CAPSLOCK
    {58, 0x3B},  {59, 0x3C},  {60, 0x3D},  {61, 0x3E},  {62, 0x3F},  // F1..F5
    {63, 0x40},  {64, 0x41},  {65, 0x42},  {66, 0x43},  {67, 0x44},  // F6..F10
    {68, 0x57},  {69, 0x58},                                         // F11, F12
    {70, 0xB7},  // PRINTSCREEN
    {71, 0x46},  // SCROLLLOCK
    {72, 0xC5},  // PAUSE
    {73, 0xD2},  // INSERT
    {74, 0xC7},  // HOME
    {75, 0xC9},  // PAGEUP
    {76, 0xD3},  // DELETE
    {77, 0xCF},  // END
    {78, 0xD1},  // PAGEDOWN
    {79, 0xCD},  // RIGHT
    {80, 0xCB},  // LEFT
    {81, 0xD0},  // DOWN
    {82, 0xC8},  // UP
    {83, 0x45},  // NUMLOCKCLEAR
    {84, 0xB5},  // KP_DIVIDE
    {85, 0x37},  // KP_MULTIPLY
    {86, 0x4A},  // KP_MINUS
    {87, 0x4E},  // KP_PLUS
    {88, 0x9C},  // KP_ENTER
    {89, 0x4F},  {90, 0x50},  {91, 0x51},  // KP_1..KP_3
    {92, 0x4B},  {93, 0x4C},  {94, 0x4D},  // KP_4..KP_6
    {95, 0x47},  {96, 0x48},  {97, 0x49},  // KP_7..KP_9
    {98, 0x52},  // KP_0
    {99, 0x53},  // KP_PERIOD
    {100, 0x56}, // NONUSBACKSLASH
    {101, 0xDD}, // APPLICATION
    {102, 0xDE}, // POWER
    {103, 0x8D}, // KP_EQUALS
    {104, 0x64}, {105, 0x65}, {106, 0x66}, // F13..F15
    {120, 0x95}, // STOP
    {127, 0xA0}, // MUTE
    {128, 0xB0}, // VOLUMEUP
    {129, 0xAE}, // VOLUMEDOWN
    {133, 0xB3}, // KP_COMMA
    {135, 0x73}, // INTERNATIONAL1 (Ro)
    {136, 0x70}, // INTERNATIONAL2 (Kana)
    {137, 0x7D}, // INTERNATIONAL3 (Yen)
    {138, 0x79}, // INTERNATIONAL4 (Henkan)
    {139, 0x7B}, // INTERNATIONAL5 (Muhenkan)
    {154, 0xB7}, // SYSREQ
    {224, 0x1D}, // LCTRL
    {225, 0x2A}, // LSHIFT
    {226, 0x38}, // LALT
    {227, 0xDB}, // LGUI
    {228, 0x9D}, // RCTRL
    {229, 0x36}, // RSHIFT
    {230, 0xB8}, // RALT
    {231, 0xDC}, // RGUI
    {258, 0x99}, // AUDIONEXT
    {259, 0x90}, // AUDIOPREV
    {260, 0xA4}, // AUDIOSTOP
    {261, 0xA2}, // AUDIOPLAY
    {262, 0xA0}, // AUDIOMUTE
    {263, 0xED}, // MEDIASELECT
    {265, 0xEC}, // MAIL
    {266, 0xA1}, // CALCULATOR
    {267, 0xEB}, // COMPUTER
    {268, 0xE5}, // AC_SEARCH
    {269, 0xB2}, // AC_HOME
    {270, 0xEA}, // AC_BACK
    {271, 0xE9}, // AC_FORWARD
    {272, 0xE8}, // AC_STOP
    {273, 0xE7}, // AC_REFRESH
    {274, 0xE6}, // AC_BOOKMARKS
    {282, 0xDF}, // SLEEP
};
// clang-format on

struct KeyTable {
    uint8_t code[512] = {};
    constexpr KeyTable()
    {
        for (const KeyPair& pair : PAIRS)
            code[pair.scancode] = pair.keyCode;
    }
};
constexpr KeyTable TABLE;
} // namespace

int32_t KeyCodeFromScancode(int32_t scancode)
{
    return scancode >= 0 && scancode < 512 ? TABLE.code[scancode] : 0;
}
