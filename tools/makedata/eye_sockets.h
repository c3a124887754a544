// Eye sockets for the cell types whose pupils the game draws itself (types 3, 6, 13 and 14):
// where the game puts each pupil and how far it lets it wander, turned into sockets on the
// frame images so that the pupils sit in them at every heading and size of the type.
#pragma once
#include "tools/makedata/canvas.h"

#include <cstdint>

struct EyeSocket {
    double u, v;   // centre, body units, in the unrotated image
    double radius; // body units
};

// The sockets of type t in the given frame for cells sized from sizeMin to sizeMax pixels;
// the number of sockets (0 for a type without eyes).
int32_t EyeSocketsOf(int32_t type, int32_t frame, int32_t sizeMin, int32_t sizeMax,
                     EyeSocket sockets[2]);
// Each socket is an eyeball, pale in the middle and taking the tint toward its dark rim.
void PaintEyeSockets(Canvas& canvas, const EyeSocket* sockets, int32_t count, Rgb tint);
