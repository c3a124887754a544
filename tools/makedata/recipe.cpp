// Reading recipes: every key is optional and keeps its default when absent.
#include "tools/makedata/recipe.h"

#include "tools/makedata/key_file.h"

namespace {
void Appendage(const std::string& name, AppendageRecipe& a)
{
    ReadWhole(name.c_str(), a.count);
    ReadNumber((name + "_length").c_str(), a.length);
    ReadNumber((name + "_beat").c_str(), a.amplitude);
    ReadNumber((name + "_waves").c_str(), a.waves);
    ReadNumber((name + "_arc").c_str(), a.arc);
    ReadNumber((name + "_at").c_str(), a.at);
    ReadNumber((name + "_thickness").c_str(), a.thickness);
}

std::string ReadBody(BodyRecipe& body)
{
    std::string shape = "oval";
    ReadText("body", shape);
    if (shape == "oval")
        body.shape = BodyShape::Oval;
    else if (shape == "rod")
        body.shape = BodyShape::Rod;
    else if (shape == "helix")
        body.shape = BodyShape::Helix;
    else
        return "unknown body \"" + shape + "\" (oval, rod or helix)";
    ReadNumber("length", body.length);
    ReadNumber("width", body.width);
    ReadNumber("taper", body.taper);
    ReadWhole("lobes", body.lobes);
    ReadNumber("lobe_depth", body.lobeDepth);
    ReadNumber("stretch", body.stretch);
    ReadNumber("pulse", body.pulse);
    ReadNumber("turns", body.turns);
    if (body.length <= 0 || body.width <= 0 || body.length > 1 || body.width > 1)
        return "length and width must lie in 0 .. 1";
    return "";
}

std::string ReadKeys(Recipe& recipe)
{
    ReadWhole("image", recipe.image);
    ReadWhole("frames", recipe.frames);
    ReadWhole("spawn", recipe.spawn);
    int32_t seed = static_cast<int32_t>(recipe.seed);
    ReadWhole("seed", seed);
    recipe.seed = static_cast<uint32_t>(seed);
    std::string problem = ReadBody(recipe.body);
    if (!problem.empty())
        return problem;
    ReadColor("membrane", recipe.membrane);
    ReadColor("plasm", recipe.plasm);
    ReadNumber("plasm_alpha", recipe.plasmAlpha);
    ReadNumber("halo", recipe.halo);
    ReadColor("nucleus", recipe.nucleus);
    ReadNumber("nucleus_size", recipe.nucleusSize);
    ReadNumber("nucleus_u", recipe.nucleusU);
    ReadNumber("nucleus_v", recipe.nucleusV);
    ReadColor("accent", recipe.accent);
    ReadWhole("granules", recipe.granules);
    ReadWhole("vacuoles", recipe.vacuoles);
    ReadNumber("vacuole_size", recipe.vacuoleSize);
    ReadNumber("contractile", recipe.contractile);
    ReadWhole("plastids", recipe.plastids);
    ReadColor("plastid", recipe.plastid);
    ReadWhole("colony", recipe.colony);
    ReadWhole("daughters", recipe.daughters);
    ReadWhole("striae", recipe.striae);
    int32_t girdle = 0;
    ReadWhole("girdle", girdle);
    recipe.girdle = girdle != 0;
    Appendage("cilia", recipe.cilia);
    Appendage("flagella", recipe.flagella);
    Appendage("axopods", recipe.axopods);
    if (recipe.image < 8 || recipe.image > 1024 || recipe.image % 2 != 0)
        return "image must be an even edge from 8 to 1024";
    if (recipe.frames < 1 || recipe.frames > 100)
        return "frames must lie in 1 .. 100";
    if (recipe.spawn < 0 || recipe.spawn > 32767)
        return "spawn must lie in 0 .. 32767";
    return "";
}
} // namespace

std::string ReadRecipe(const std::string& path, Recipe& recipe)
{
    if (!OpenKeyFile(path))
        return "cannot read the file";
    std::string problem = ReadKeys(recipe);
    CloseKeyFile();
    return problem;
}
