// Keying images with alpha into frames of the key colour, and the command that does it.
#include "tools/cellpack/keying.h"

#include "runtime/display/image_codec.h"
#include "tools/cellpack/file_bytes.h"
#include "tools/cellpack/frame_check.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

void KeyPixels(FramePixels& pixels, int32_t threshold)
{
    for (size_t at = 0; at < pixels.rgba.size(); at += 4) {
        uint8_t* p = &pixels.rgba[at];
        if (p[3] < threshold) {
            p[0] = 255, p[1] = 0, p[2] = 255;
        } else if (IsKeyColour(p)) {
            p[0] = 254;
        }
        p[3] = 255;
    }
    pixels.alpha = false;
}

std::string EncodePng(const FramePixels& pixels, std::vector<uint8_t>& png)
{
    RegisterPngEncoder();
    // The encoder writes a file and takes bottom-up blue-green-red rows.
    int32_t pitch = pixels.width * 3;
    std::vector<uint8_t> rows(size_t(pitch) * size_t(pixels.height));
    for (int32_t y = 0; y < pixels.height; ++y)
        for (int32_t x = 0; x < pixels.width; ++x) {
            const uint8_t* in = &pixels.rgba[(size_t(y) * size_t(pixels.width) + size_t(x)) * 4];
            uint8_t* out = &rows[size_t(pixels.height - 1 - y) * size_t(pitch) + size_t(x) * 3];
            out[0] = in[2], out[1] = in[1], out[2] = in[0];
        }
    std::string name = (std::filesystem::temp_directory_path() / "cellpack-XXXXXX").string();
    int descriptor = mkstemp(name.data());
    if (descriptor < 0) return "cannot make a temporary file for the PNG encoder";
    close(descriptor);
    bool written = EncodeImage(name.c_str(), rows.data(), PNG_ENCODER_TAG, pixels.width,
                               pixels.height, pitch, 0) == 1;
    std::string error = written ? ReadFileBytes(name, png) : "the PNG encoder failed";
    std::remove(name.c_str());
    return error;
}

bool KeyImage(std::vector<uint8_t>& image, int32_t threshold, std::string& error)
{
    error.clear();
    FramePixels pixels;
    if (!DecodeFrame(image, pixels) || !pixels.alpha) return false;
    KeyPixels(pixels, threshold);
    std::vector<uint8_t> png;
    error = EncodePng(pixels, png);
    if (!error.empty()) return false;
    image = std::move(png);
    return true;
}

bool ParseKeyAlpha(const std::string& text, int32_t& threshold)
{
    long value = DefaultKeyAlpha;
    if (!text.empty() && !ParseWholeNumber(text, 1, 256, value)) return false;
    threshold = int32_t(value);
    return true;
}

namespace
{
int RunKey(const Arguments& arguments)
{
    ParsedArguments parsed = ParseArguments(arguments, {"--alpha"});
    int32_t threshold = DefaultKeyAlpha;
    if (parsed.error.empty() && parsed.positional.size() != 2)
        parsed.error = "expected the image to read and the frame to write";
    if (parsed.error.empty() && !ParseKeyAlpha(parsed.options["--alpha"], threshold))
        parsed.error = "--alpha must be a whole number from 1 to 256";
    if (!parsed.error.empty()) return UsageError(KeyCommand, parsed.error);
    const std::string &in = parsed.positional[0], &out = parsed.positional[1];
    std::vector<uint8_t> image;
    std::string error = ReadFileBytes(in, image);
    if (!error.empty()) return Failure(error);
    FramePixels pixels;
    std::string problem = ImageProblem(image, pixels);
    if (!problem.empty()) return Failure(in + ": " + problem);
    if (!pixels.alpha)
        return Failure(in + ": it has no alpha channel, so there is nothing to key (its "
                            "transparent parts must already be FF00FF)");
    KeyPixels(pixels, threshold);
    std::vector<uint8_t> png;
    error = EncodePng(pixels, png);
    if (!error.empty()) return Failure(out + ": " + error);
    error = WriteFileBytes(out, png);
    return error.empty() ? ExitSuccess : Failure(error);
}
} // namespace

const Command KeyCommand = {
    "key", "turn an image with transparency into a frame keyed with FF00FF",
    "usage: cellpack key [--alpha N] IMAGE FRAME\n"
    "Reads IMAGE, a PNG with an alpha channel as image editors export it, and writes FRAME, a\n"
    "PNG the game draws as the editor showed it: the game ignores alpha and leaves out only\n"
    "pixels of exactly the key colour FF00FF. Pixels whose alpha is below N (default 128)\n"
    "become FF00FF; every other pixel becomes opaque in its own colour, so no soft edge turns\n"
    "into a magenta fringe; a visible pixel that is exactly FF00FF becomes FE00FF so it stays\n"
    "visible. 'cellpack build --key' does the same to the frames it packs.\n",
    RunKey};
