// The game's preferences: the five values of pref.ini, read at start or written as defaults.
#include "game/data/data.h"
#include "game/data/globals.h"

namespace {
void Comments(std::initializer_list<const char*> texts)
{
    for (const char* text : texts)
        PreferenceComment(text);
}
} // namespace

int WriteDefaultPreferences()
{
    if (!CreatePreferences(PREFERENCES_NAME)) {
        PrintLine("Error while creating Preferences!");
        return 0;
    }
    // The file is German and single-byte: \xF6 is ö, \xE4 is ä.
    Comments(
        {"Hier k\xF6nnen verschiedene Einstellungen ver\xE4ndert werden...", "", "Grafik:", ""});
    WritePreferenceLong("Width", ScreenWidth);
    WritePreferenceLong("Height", ScreenHeight);
    WritePreferenceLong("Depth", ScreenDepth);
    WritePreferenceLong("Bilineare Filterung", BilinearFiltering);
    Comments({"", "Sound:", "", "", "Einstellungen:", ""});
    WritePreferenceLong("FPS anzeige Frequenz", FpsDisplay);
    // Left open: the next preferences open, or the end sequence, writes the file.
    return 0;
}

int ReadGamePreferences()
{
    if (!OpenPreferences(PREFERENCES_NAME)) {
        PrintLine("Error while loading Preferences!");
        return 0;
    }
    // Each value keeps the low bits that fit its global: a Depth of 256 becomes 0.
    ScreenWidth = int16_t(ReadPreferenceLong("Width", ScreenWidth));
    ScreenHeight = int16_t(ReadPreferenceLong("Height", ScreenHeight));
    ScreenDepth = int8_t(ReadPreferenceLong("Depth", ScreenDepth));
    BilinearFiltering = int8_t(ReadPreferenceLong("Bilineare Filterung", BilinearFiltering));
    FpsDisplay = int8_t(ReadPreferenceLong("FPS anzeige Frequenz", FpsDisplay));
    return 0;
}

void LoadOrCreatePreferences()
{
    PrintLine("LoadingSaves...");
    if (FileSize(PREFERENCES_NAME) == -1) {
        PrintLine("  No Preferences found, creating...");
        WriteDefaultPreferences();
    } else {
        ReadGamePreferences();
    }
}
