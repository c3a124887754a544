// The recipe of one image set, as read from a .recipe file of data/: which body, which parts,
// which colors. Lengths are in body units (1 is half the image's edge), angles in degrees
// measured clockwise from the front (the top of the image, where the cell's heading points).
#pragma once
#include "tools/makedata/canvas.h"

#include <cstdint>
#include <string>

enum class BodyShape { Oval, Rod, Helix };

struct BodyRecipe {
    BodyShape shape = BodyShape::Oval;
    double length = 0.8;  // half-length along the heading
    double width = 0.8;   // half-width across it
    double taper = 0;     // > 0 narrows the back, < 0 the front
    int32_t lobes = 0;    // bulges of an amoeboid outline, moving from frame to frame
    double lobeDepth = 0; // their depth, as a fraction of the radius
    double stretch = 0;   // the length grows by this fraction from the first to the last frame
    double pulse = 0;     // the whole body swells and shrinks by this fraction
    double turns = 0;     // windings of a helix
};

struct AppendageRecipe {
    int32_t count = 0;
    double length = 0;
    double amplitude = 0; // beat, degrees for cilia, body units for flagella
    double waves = 1;     // wave crests along a flagellum, or metachronal waves around the body
    double arc = 360;     // cilia: the part of the outline, centred on the front, that has them
    double at = 180;      // flagella: where on the outline they start
    double thickness = 1; // pixels at the base
};

struct Recipe {
    int32_t image = 64; // edge of the square frame images, pixels
    int32_t frames = 1; // number of frame images
    int32_t spawn = 0;  // cells of the type at start
    uint32_t seed = 1;  // for the placement of granules, vacuoles and the like
    bool cycle = false; // frames loop (AniType other than 0) instead of running back and forth
    BodyRecipe body;
    Rgb membrane{160, 220, 210};
    Rgb plasm{40, 80, 90};
    double plasmAlpha = 0.45;
    double halo = 0.15;
    Rgb nucleus{90, 130, 170};
    double nucleusSize = 0; // radius; 0 for none
    double nucleusU = 0, nucleusV = 0;
    Rgb accent{190, 210, 120};
    int32_t granules = 0;
    int32_t vacuoles = 0;
    double vacuoleSize = 0.08;
    double contractile = 0; // radius of a pulsing contractile vacuole; 0 for none
    int32_t plastids = 0;
    Rgb plastid{70, 160, 70};
    int32_t colony = 0;    // cells on the surface of a colony sphere
    int32_t daughters = 0; // daughter colonies inside it
    int32_t striae = 0;    // cross ribs of a silica shell
    bool girdle = false;   // a groove around the middle with a wrapped flagellum
    AppendageRecipe cilia;
    AppendageRecipe flagella;
    AppendageRecipe axopods;
};

// Reads a recipe file; the keys not given keep the defaults above. Empty text on success,
// else the reason.
std::string ReadRecipe(const std::string& path, Recipe& recipe);
