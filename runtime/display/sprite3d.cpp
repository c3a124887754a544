// The 3D sprite table, the scene and its render states, and the displays that feed the quad
// batch.
#include "runtime/display/sprite3d.h"

#include "runtime/core/object_table.h"
#include "runtime/display/quad_batch.h"
#include "runtime/display/screen_internal.h"
#include "runtime/display/sprite.h"

namespace {
struct Sprite3DLibrary {
    ObjectTable* table = nullptr; // 64 slots, grows by 64
    int32_t inScene = 0;          // 1 between a successful Start3D and Stop3D
    int32_t filterLinear = 0;     // 0 point sampling, 1 bilinear
    int32_t colorKeyEnabled = 0;  // last value given to the color-key state
    int32_t deviceMade = 0;       // the device exists: from the first Start3D to CloseScreen
    int32_t srcBlend = BLEND_SRCALPHA;
    int32_t destBlend = BLEND_INVSRCALPHA;
};
Sprite3DLibrary Sprite3D;

// The scene's state, which the quad batch shares: fills wait among a scene's quads.
void SetInScene(int32_t inScene)
{
    Sprite3D.inScene = inScene;
    SetQuadSceneOpen(inScene != 0);
}

Sprite3DRecord* Find3D(int32_t number)
{
    return static_cast<Sprite3DRecord*>(LookupObject(Sprite3D.table, number));
}

int ForgetTexture(int32_t, void* record, void*)
{
    static_cast<Sprite3DRecord*>(record)->texture = nullptr;
    return 1;
}

// The screen closes: the scene ends with its quads, whose back buffer nobody will see again,
// the device goes, and so do the textures, with every sprite; the records stay.
void ReleaseDevice()
{
    DropQuadBatch();
    SetInScene(0);
    Sprite3D.deviceMade = 0;
    ForEachObject(Sprite3D.table, ForgetTexture, nullptr);
    SetDevice3DRelease(nullptr);
}

bool MakeDevice()
{
    if (!BackBuffer())
        return false;
    if (!Sprite3D.deviceMade)
        StartQuadHelper();
    Sprite3D.deviceMade = 1;
    SetDevice3DRelease(ReleaseDevice);
    return true;
}

// The record's texture while its sprite still has it.
const Surface* LiveTexture(const Sprite3DRecord& record)
{
    const SpriteRecord* sprite = FindSprite(record.sprite);
    return record.texture && sprite && sprite->surface == record.texture ? record.texture : nullptr;
}
} // namespace

int32_t InitSprite3D()
{
    if (!ScreenLibraryInitialised())
        return 0;
    if (!Sprite3D.table)
        Sprite3D.table = CreateObjectTable(sizeof(Sprite3DRecord), 64, FreeSprite3D);
    SetInScene(0);
    return Sprite3D.table ? 1 : 0;
}

intptr_t CreateSprite3D(int32_t number, int32_t sprite)
{
    int32_t object = 0;
    auto* record = static_cast<Sprite3DRecord*>(GetOrCreateObject(Sprite3D.table, number, &object));
    if (!record)
        return 0;
    const SpriteRecord* source = FindSprite(sprite);
    if (!source || !source->surface || !(source->mode & SPRITE_TEXTURE)) {
        FreeObject(Sprite3D.table, object); // a dynamic record does not linger unused
        return 0;
    }
    record->used = 1;
    record->texture = source->surface;
    record->zoomWidth = source->width;
    record->zoomHeight = source->height;
    record->angle = 0;
    record->mode = source->mode;
    record->sprite = sprite;
    SetUprightCorners(*record, source->width, source->height);
    SetDevice3DRelease(ReleaseDevice);
    return number == DYNAMIC_OBJECT ? object : reinterpret_cast<intptr_t>(record);
}

void FreeSprite3D(int32_t number)
{
    FreeObject(Sprite3D.table, number);
}

void FreeAllSprite3D()
{
    Stop3D();
    ReleaseAllObjects(Sprite3D.table);
    StopQuadHelper(); // the end of the program: the helper thread goes too
}

int32_t Start3D()
{
    if (Sprite3D.inScene || !MakeDevice())
        return 0;
    Sprite3D.srcBlend = BLEND_SRCALPHA;
    Sprite3D.destBlend = BLEND_INVSRCALPHA;
    Sprite3D.colorKeyEnabled = 1;
    SetInScene(1);
    return 1;
}

void Stop3D()
{
    if (!Sprite3D.inScene)
        return;
    DrawQuadBatch();
    SetInScene(0);
}

void Sprite3DQuality(int32_t quality)
{
    Sprite3D.filterLinear = quality;
}

void Sprite3DBlendingMode(int32_t sourceFactor, int32_t destinationFactor)
{
    if (!Sprite3D.deviceMade)
        return;
    if (ValidBlendFactor(sourceFactor, true))
        Sprite3D.srcBlend = sourceFactor;
    if (ValidBlendFactor(destinationFactor, false))
        Sprite3D.destBlend = destinationFactor;
}

void ZoomSprite3D(int32_t number, int32_t width, int32_t height)
{
    Sprite3DRecord* record = Find3D(number);
    if (!record)
        return;
    record->zoomWidth = static_cast<int16_t>(width);
    record->zoomHeight = static_cast<int16_t>(height);
    SetUprightCorners(*record, width, height);
}

void RotateSprite3D(int32_t number, int32_t degrees, int32_t mode)
{
    if (Sprite3DRecord* record = Find3D(number))
        RotateCorners(*record, degrees, mode);
}

void DisplaySprite3D(int32_t number, int32_t x, int32_t y, int32_t transparency)
{
    const Sprite3DRecord* record = Find3D(number);
    Surface* target = BackBuffer();
    if (!record || !Sprite3D.inScene || !target)
        return;
    const Surface* texture = LiveTexture(*record);
    if (!texture)
        return;
    TLVertex vertices[4];
    PlaceCorners(*record, x, y, transparency, vertices);
    // An alpha texture is blended by its own alpha times the transparency and has no key;
    // any other texture by the transparency alone, without its key texels. A sprite asked for
    // with alpha whose image had none got a key instead and no alpha (every alpha byte 0):
    // it is drawn with its key, not left invisible.
    bool alpha =
        (record->mode & SPRITE_ALPHA) && texture->bytesPerPixel == 4 && !texture->hasColorKey;
    Sprite3D.colorKeyEnabled = alpha ? 0 : 1;
    QuadState state;
    state.filterLinear = Sprite3D.filterLinear ? 1 : 0;
    state.colorKeyEnabled = Sprite3D.colorKeyEnabled;
    state.alphaModulate = alpha ? 1 : 0;
    state.srcBlend = Sprite3D.srcBlend;
    state.destBlend = Sprite3D.destBlend;
    AddQuad(*target, *texture, vertices, state);
}

const Sprite3DRecord* FindSprite3D(int32_t number)
{
    return Find3D(number);
}
