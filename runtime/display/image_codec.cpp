// The decoder and encoder lists and the current decoder chosen by the last successful probe.
#include "runtime/display/image_codec.h"

#include "runtime/platform/system.h"

#include <string>

namespace {
constexpr int32_t MAX_CODECS = 8;

struct CodecRegistry {
    const ImageDecoder* decoders[MAX_CODECS] = {};
    int32_t decoderCount = 0;
    const ImageEncoder* encoders[MAX_CODECS] = {};
    int32_t encoderCount = 0;
    const ImageDecoder* currentDecoder = nullptr;
    std::FILE* currentFile = nullptr; // the file the current decoder was probed from
};
CodecRegistry Codecs;

void CloseCurrentFile()
{
    if (Codecs.currentFile)
        std::fclose(Codecs.currentFile);
    Codecs.currentFile = nullptr;
}
} // namespace

bool ImageSizeAllowed(int64_t width, int64_t height)
{
    if (width < 1 || height < 1 || width > MAX_IMAGE_SIDE || height > MAX_IMAGE_SIDE)
        return false;
    return width * 4 * (height + 1) <= MAX_IMAGE_BYTES;
}

int32_t AddImageDecoder(const ImageDecoder* decoder)
{
    for (int32_t i = 0; i < Codecs.decoderCount; ++i)
        if (Codecs.decoders[i] == decoder)
            return 1;
    if (Codecs.decoderCount == MAX_CODECS)
        return 0;
    Codecs.decoders[Codecs.decoderCount++] = decoder;
    return 1;
}

int32_t AddImageEncoder(const ImageEncoder* encoder)
{
    for (int32_t i = 0; i < Codecs.encoderCount; ++i)
        if (Codecs.encoders[i] == encoder)
            return 1;
    if (Codecs.encoderCount == MAX_CODECS)
        return 0;
    Codecs.encoders[Codecs.encoderCount++] = encoder;
    return 1;
}

void ClearImageCodecs()
{
    CloseCurrentFile();
    Codecs = CodecRegistry{};
}

int32_t ImageDecoderCount()
{
    return Codecs.decoderCount;
}

int32_t FindImageDecoder(const void* memory, int64_t length)
{
    CloseCurrentFile();
    Codecs.currentDecoder = nullptr;
    if (!memory || length <= 0)
        return 0;
    for (int32_t i = 0; i < Codecs.decoderCount; ++i) {
        int32_t result =
            Codecs.decoders[i]->probe(nullptr, static_cast<const uint8_t*>(memory), length);
        if (result) {
            Codecs.currentDecoder = Codecs.decoders[i];
            return result;
        }
    }
    return 0;
}

int32_t FindImageDecoderForFile(const char* fileName)
{
    CloseCurrentFile();
    Codecs.currentDecoder = nullptr;
    if (!fileName)
        return 0;
    std::string path = SystemResolvePath(fileName);
    std::FILE* file = path.empty() ? nullptr : SystemOpenStream(path, "rb");
    if (!file)
        return 0;
    for (int32_t i = 0; i < Codecs.decoderCount; ++i) {
        std::rewind(file);
        int32_t result = Codecs.decoders[i]->probe(file, nullptr, 0);
        if (result) {
            Codecs.currentDecoder = Codecs.decoders[i];
            Codecs.currentFile = file;
            return result;
        }
    }
    std::fclose(file);
    return 0;
}

int32_t CurrentImageWidth()
{
    return Codecs.currentDecoder ? Codecs.currentDecoder->imageWidth() : 0;
}

int32_t CurrentImageHeight()
{
    return Codecs.currentDecoder ? Codecs.currentDecoder->imageHeight() : 0;
}

int32_t DecodeCurrentImage(void* destination, int32_t pitch)
{
    if (!Codecs.currentDecoder || !destination)
        return 0;
    int32_t result = Codecs.currentDecoder->decode(static_cast<uint8_t*>(destination), pitch);
    // The decoder released its image: a second decode must not reach stale state.
    Codecs.currentDecoder = nullptr;
    CloseCurrentFile();
    return result;
}

int32_t EncodeImage(const char* fileName, const void* pixels, uint32_t tag, int32_t width,
                    int32_t height, int32_t pitch, int32_t quality)
{
    // Names are resolved here, as for decoding, so an encoder writes the file it is given.
    std::string path = fileName ? SystemResolvePath(fileName) : std::string();
    if (path.empty())
        return 0;
    for (int32_t i = 0; i < Codecs.encoderCount; ++i)
        if (Codecs.encoders[i]->tag == tag)
            return Codecs.encoders[i]->encode(path.c_str(), static_cast<const uint8_t*>(pixels),
                                              width, height, pitch, quality);
    return 0;
}
