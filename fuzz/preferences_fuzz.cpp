// Preferences: parsing from memory and from a file, lookups, writes and the write-back, and
// that what a lookup saw before the write-back it also sees after it. (In a file that begins
// with a group line new keys land in that group, where no lookup finds them; that stays so.
// Byte-order-mark bytes inside the text are left out of that check: the write-back drops
// blank lines and blanks before keys, and such bytes can then become the file's mark.)
#include "fuzz/fuzz_folder.h"
#include "runtime/runtime.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    OpenPreferencesFromMemory(data, static_cast<int32_t>(size));
    ReadPreferenceString("Name", "Zelle");
    ReadPreferenceLong("Width", 1024);
    ClosePreferences();

    std::string path = WriteFuzzFile("pref.ini", data, size);
    if (!OpenPreferences(path))
        std::abort();
    ReadPreferenceString("size", "64|64");
    ReadPreferenceLong("FPS anzeige Frequenz", 10);
    WritePreferenceLong("Fuzz", 12345);
    PreferenceComment("checked");
    WritePreferenceLong("Width", -7);
    int32_t fuzz = ReadPreferenceLong("fuzz", 0);
    int32_t width = ReadPreferenceLong("WIDTH", 0);
    std::string name = ReadPreferenceString("name", "");
    ClosePreferences();

    std::string_view text(reinterpret_cast<const char*>(data), size);
    bool innerMark = text.find("\xEF\xBB\xBF", 1) != std::string_view::npos;
    if (!OpenPreferences(path))
        std::abort();
    if (!innerMark &&
        (ReadPreferenceLong("fuzz", 0) != fuzz || ReadPreferenceLong("WIDTH", 0) != width ||
         ReadPreferenceString("name", "") != name))
        std::abort();
    ClosePreferences();
    return 0;
}
