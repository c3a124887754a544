// Reading recipes: every key is optional and keeps its default when absent.
#include "tools/makedata/recipe.h"

#include "tools/makedata/key_file.h"

namespace {
void Appendage(const KeyFile& lines, const std::string& name, AppendageRecipe& a)
{
    ReadWhole(lines, name.c_str(), a.count);
    ReadNumber(lines, (name + "_length").c_str(), a.length);
    ReadNumber(lines, (name + "_beat").c_str(), a.amplitude);
    ReadNumber(lines, (name + "_waves").c_str(), a.waves);
    ReadNumber(lines, (name + "_arc").c_str(), a.arc);
    ReadNumber(lines, (name + "_at").c_str(), a.at);
    ReadNumber(lines, (name + "_thickness").c_str(), a.thickness);
}

std::string ReadBody(const KeyFile& lines, BodyRecipe& body)
{
    std::string shape = "oval";
    ReadText(lines, "body", shape);
    if (shape == "oval")
        body.shape = BodyShape::Oval;
    else if (shape == "rod")
        body.shape = BodyShape::Rod;
    else if (shape == "helix")
        body.shape = BodyShape::Helix;
    else
        return "unknown body \"" + shape + "\" (oval, rod or helix)";
    ReadNumber(lines, "length", body.length);
    ReadNumber(lines, "width", body.width);
    ReadNumber(lines, "taper", body.taper);
    ReadWhole(lines, "lobes", body.lobes);
    ReadNumber(lines, "lobe_depth", body.lobeDepth);
    ReadNumber(lines, "stretch", body.stretch);
    ReadNumber(lines, "pulse", body.pulse);
    ReadNumber(lines, "turns", body.turns);
    if (body.length <= 0 || body.width <= 0 || body.length > 1 || body.width > 1)
        return "length and width must lie in 0 .. 1";
    return "";
}
} // namespace

std::string ReadRecipe(const std::string& path, Recipe& recipe)
{
    KeyFile lines;
    if (!LoadKeyFile(path, lines))
        return "cannot read the file";
    ReadWhole(lines, "image", recipe.image);
    ReadWhole(lines, "frames", recipe.frames);
    ReadWhole(lines, "spawn", recipe.spawn);
    int32_t seed = static_cast<int32_t>(recipe.seed);
    ReadWhole(lines, "seed", seed);
    recipe.seed = static_cast<uint32_t>(seed);
    std::string problem = ReadBody(lines, recipe.body);
    if (!problem.empty())
        return problem;
    ReadColour(lines, "membrane", recipe.membrane);
    ReadColour(lines, "plasm", recipe.plasm);
    ReadNumber(lines, "plasm_alpha", recipe.plasmAlpha);
    ReadNumber(lines, "halo", recipe.halo);
    ReadColour(lines, "nucleus", recipe.nucleus);
    ReadNumber(lines, "nucleus_size", recipe.nucleusSize);
    ReadNumber(lines, "nucleus_u", recipe.nucleusU);
    ReadNumber(lines, "nucleus_v", recipe.nucleusV);
    ReadColour(lines, "accent", recipe.accent);
    ReadWhole(lines, "granules", recipe.granules);
    ReadWhole(lines, "vacuoles", recipe.vacuoles);
    ReadNumber(lines, "vacuole_size", recipe.vacuoleSize);
    ReadNumber(lines, "contractile", recipe.contractile);
    ReadWhole(lines, "plastids", recipe.plastids);
    ReadColour(lines, "plastid", recipe.plastid);
    ReadWhole(lines, "colony", recipe.colony);
    ReadWhole(lines, "daughters", recipe.daughters);
    ReadWhole(lines, "striae", recipe.striae);
    int32_t girdle = 0;
    ReadWhole(lines, "girdle", girdle);
    recipe.girdle = girdle != 0;
    Appendage(lines, "cilia", recipe.cilia);
    Appendage(lines, "flagella", recipe.flagella);
    Appendage(lines, "axopods", recipe.axopods);
    if (recipe.image < 8 || recipe.image > 1024 || recipe.image % 2 != 0)
        return "image must be an even edge from 8 to 1024";
    if (recipe.frames < 1 || recipe.frames > 100)
        return "frames must lie in 1 .. 100";
    if (recipe.spawn < 0 || recipe.spawn > 32767)
        return "spawn must lie in 0 .. 32767";
    return "";
}
