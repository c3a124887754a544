// Keying images with alpha into frames of the key color, and the command that does it.
#include "tools/cellpack/keying.h"

#include "tools/cellpack/file_bytes.h"
#include "tools/cellpack/frame_check.h"

void KeyPixels(FramePixels& pixels, int32_t threshold)
{
    for (size_t at = 0; at < pixels.rgba.size(); at += 4) {
        uint8_t* p = &pixels.rgba[at];
        if (p[3] < threshold) {
            p[0] = 255, p[1] = 0, p[2] = 255;
        } else if (IsKeyColor(p)) {
            p[0] = 254;
        }
        p[3] = 255;
    }
    pixels.alpha = pixels.transparentColors = false;
}

namespace {
// The pixels keyed at the threshold and encoded as a PNG frame; an error or "".
std::string KeyedPng(FramePixels& pixels, int32_t threshold, std::vector<uint8_t>& png)
{
    KeyPixels(pixels, threshold);
    return EncodePng(pixels, png);
}
} // namespace

bool KeyImage(std::vector<uint8_t>& image, int32_t threshold, std::string& error)
{
    error.clear();
    FramePixels pixels;
    if (!DecodeFrame(image, pixels) || !pixels.alpha)
        return false;
    std::vector<uint8_t> png;
    error = KeyedPng(pixels, threshold, png);
    if (!error.empty())
        return false;
    image = std::move(png);
    return true;
}

bool ParseKeyAlpha(const std::string& text, int32_t& threshold)
{
    long value = DEFAULT_KEY_ALPHA;
    if (!text.empty() && !ParseWholeNumber(text, 1, 256, value))
        return false;
    threshold = int32_t(value);
    return true;
}

namespace {
int RunKey(const Arguments& arguments)
{
    ParsedArguments parsed = ParseArguments(arguments, {"--alpha"});
    int32_t threshold = DEFAULT_KEY_ALPHA;
    if (parsed.error.empty() && parsed.positional.size() != 2)
        parsed.error = "expected the image to read and the frame to write";
    if (parsed.error.empty() && !ParseKeyAlpha(parsed.options["--alpha"], threshold))
        parsed.error = "--alpha must be a whole number from 1 to 256";
    if (!parsed.error.empty())
        return UsageError(KeyCommand, parsed.error);
    const std::string &in = parsed.positional[0], &out = parsed.positional[1];
    std::vector<uint8_t> image;
    std::string error = ReadFileBytes(in, image);
    if (!error.empty())
        return Failure(error);
    FramePixels pixels;
    std::string problem = ImageProblem(image, pixels);
    if (!problem.empty())
        return Failure(in + ": " + problem);
    if (!pixels.alpha)
        return Failure(in + ": it has no alpha channel and no transparent colours, so there is "
                            "nothing to key (its transparent parts must already be FF00FF)");
    std::vector<uint8_t> png;
    error = KeyedPng(pixels, threshold, png);
    if (!error.empty())
        return Failure(out + ": " + error);
    error = WriteFileBytes(out, png);
    return error.empty() ? EXIT_STATUS_SUCCESS : Failure(error);
}
} // namespace

const Command KeyCommand = {
    "key", "turn an image with transparency into a frame keyed with FF00FF",
    "usage: cellpack key [--alpha N] IMAGE FRAME\n"
    "Reads IMAGE, a PNG with transparency as image editors export it (an alpha channel, or\n"
    "transparent colours: a palette with transparency, or one transparent colour), and writes\n"
    "FRAME, a PNG the game draws as the editor showed it: the game ignores transparency and\n"
    "leaves out only pixels of exactly the key colour FF00FF. Pixels whose alpha is below N\n"
    "(default 128) become FF00FF; every other pixel becomes opaque in its own colour, so no\n"
    "soft edge turns into a magenta fringe; a visible pixel that is exactly FF00FF becomes\n"
    "FE00FF so it stays visible. 'cellpack build --key' does the same to the frames it packs.\n",
    RunKey};
