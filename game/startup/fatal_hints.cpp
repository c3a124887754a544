// Hints for the person at the keyboard when the start-up fails: why the fatal line came and
// what to change. They go to standard error; the console transcript stays as it is.
#include "game/startup/startup.h"
#include "game/data/data.h"
#include "game/data/globals.h"

namespace {
std::string Folder()
{
    std::string folder = WorkingFolder();
    return folder.empty() ? "the working folder" : folder;
}

std::string Mode()
{
    return IntegerToText(ScreenWidth) + " x " + IntegerToText(ScreenHeight) + " at " +
           IntegerToText(ScreenDepth) + " bits";
}

// The offered depths above the given one, as "16, 24 or 32".
std::string OfferedDepths(int32_t above = 0)
{
    std::vector<int32_t> depths;
    for (int32_t depth : SCREEN_DEPTHS)
        if (depth > above)
            depths.push_back(depth);
    std::string text;
    for (size_t i = 0; i < depths.size(); ++i)
        text += (i == 0 ? "" : i + 1 == depths.size() ? " or " : ", ") + IntegerToText(depths[i]);
    return text;
}
} // namespace

std::string MissingCellListHint()
{
    return "vellomira: there is no cell/cell.ini in " + Folder() +
           ".\n"
           "The game plays the world of the folder it is started in. " +
           HowToStartInAWorld();
}

std::string ScreenHint()
{
    if (!ScreenLibraryInitialised())
        return "vellomira: no display could be opened for the mode " + Mode() +
               ": the game needs a\n" + WhatTheScreenNeeds();
    if (!ScreenModeOffered(ScreenWidth, ScreenHeight, ScreenDepth))
        return "vellomira: the screen mode " + Mode() +
               " cannot be opened: width and height\n"
               "may be 1 to " +
               IntegerToText(SCREEN_MAX_SIDE) + " pixels, the depth " + OfferedDepths() +
               " bits. Change Width, Height and Depth in\n" + Folder() +
               "/pref.ini, or remove that file to have the defaults written again.";
    return "vellomira: the display refused the mode " + Mode() +
           ". A smaller Width and Height in\n" + Folder() + "/pref.ini may open.";
}

std::string CellTypeHint(const std::string& errorLine)
{
    if (IsFrameLoadingError(errorLine) && ScreenDepth == 8)
        return "vellomira: an 8-bit screen (Depth = 8 in " + Folder() +
               "/pref.ini) cannot hold the\n"
               "true-colour frames of the cell types; the data is not broken. Set Depth to " +
               OfferedDepths(8) + ".";
    return "vellomira: a cell type in " + Folder() +
           "/cell/ could not be loaded; the line above\n"
           "names its pack. `cellpack check --list cell/cell.ini cell/*.cell` in that folder\n"
           "tells what is wrong.";
}
