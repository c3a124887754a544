// Bubble images: thin bright rims with a glint, nearly clear inside, on the color key.
#include "tools/makedata/bubbles.h"

#include "tools/makedata/steady_math.h"
#include "tools/makedata/key_file.h"
#include "tools/makedata/rng.h"
#include "tools/makedata/shapes.h"

#include <cmath>

namespace {
// One bubble of radius r (body units) at the centre, squashed across by the given factor.
void PaintBubble(Canvas& canvas, const BubbleRecipe& recipe, Point centre, double r, double squash)
{
    double pixel = PixelUnit(canvas), soft = EdgeSoftness(canvas);
    PaintBox(canvas, centre.u - r - soft, centre.v - r - soft, centre.u + r + soft,
             centre.v + r + soft, [&](double u, double v, Paint& paint) {
                 double du = (u - centre.u) / squash, dv = v - centre.v;
                 double d = std::sqrt(du * du + dv * dv) - r;
                 double rim = 1 - Clamp(std::fabs(d + pixel) / (1.6 * pixel), 0.0, 1.0);
                 double inside = d < 0 ? 0.12 + 0.1 * SmoothStep(-r, 0, d) : 0;
                 paint.color = recipe.rim;
                 paint.alpha = recipe.alpha * std::fmax(rim, inside) * Coverage(d, soft);
             });
    double g = r * 0.28;
    PaintDisc(canvas, {centre.u - r * 0.4 * squash, centre.v - r * 0.4}, std::fmax(g, 0.7 * pixel),
              recipe.glint, recipe.alpha);
}

} // namespace

std::string ReadBubbleRecipe(const std::string& path, BubbleRecipe& recipe)
{
    if (!OpenKeyFile(path))
        return "cannot read the file";
    int32_t seed = static_cast<int32_t>(recipe.seed);
    ReadWhole("seed", seed);
    recipe.seed = static_cast<uint32_t>(seed);
    ReadWhole("smallest", recipe.smallest);
    ReadWhole("largest", recipe.largest);
    ReadColor("rim", recipe.rim);
    ReadColor("glint", recipe.glint);
    ReadNumber("alpha", recipe.alpha);
    CloseKeyFile();
    if (recipe.smallest < 4 || recipe.largest > 64 || recipe.smallest > recipe.largest)
        return "smallest and largest must lie in 4 .. 64, smallest first";
    return "";
}

RgbImage DrawBubble(const BubbleRecipe& recipe, int32_t n)
{
    int32_t edge = recipe.smallest + (recipe.largest - recipe.smallest) * (n - 1) / 19;
    edge += edge % 2;
    Canvas canvas = MakeCanvas(edge, edge);
    Rng rng = MakeRng(recipe.seed * 101 + static_cast<uint32_t>(n));
    double margin = 2.5 * PixelUnit(canvas);
    switch (n % 4) {
    case 0: // a pair, the smaller one sitting on the larger
        PaintBubble(canvas, recipe, {-0.25, 0.2}, 0.7 - margin, 1.0);
        PaintBubble(canvas, recipe, {0.52, -0.5}, 0.42 - margin, 1.0);
        break;
    case 1:
        PaintBubble(canvas, recipe, {0, 0}, 1 - margin, 1.0);
        break;
    case 2:
        PaintBubble(canvas, recipe, {0, 0}, 1 - margin, Uniform(rng, 0.72, 0.86));
        break;
    default: // a little cluster
        for (int32_t i = 0; i < 4; ++i) {
            double a = Uniform(rng, 0, TWO_PI), reach = Uniform(rng, 0.2, 0.55);
            double r = Uniform(rng, 0.22, 0.4);
            Point at = {Cosine(a) * reach, Sine(a) * reach};
            double room = 1 - margin -
                          (std::fabs(at.u) > std::fabs(at.v) ? std::fabs(at.u) : std::fabs(at.v));
            PaintBubble(canvas, recipe, at, std::fmin(r, room), 1.0);
        }
        break;
    }
    return Flatten(canvas);
}
