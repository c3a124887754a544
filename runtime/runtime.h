// Every runtime operation under its documented name. The game and the tests include this.
#pragma once

// Core services
#include "runtime/core/block_decoder.h"
#include "runtime/core/console.h"
#include "runtime/core/conversion.h"
#include "runtime/core/date_format.h"
#include "runtime/core/element_list.h"
#include "runtime/core/files.h"
#include "runtime/core/numeric.h"
#include "runtime/core/object_table.h"
#include "runtime/core/pack.h"
#include "runtime/core/path.h"
#include "runtime/core/preferences.h"
#include "runtime/core/random.h"
#include "runtime/core/timing.h"

// Display and graphics
#include "runtime/display/default_font.h"
#include "runtime/display/device_context.h"
#include "runtime/display/drawing.h"
#include "runtime/display/image_check.h"
#include "runtime/display/image_codec.h"
#include "runtime/display/quad_rasterizer.h"
#include "runtime/display/screen.h"
#include "runtime/display/sprite.h"
#include "runtime/display/sprite3d.h"
#include "runtime/display/sprite_conversion.h"
#include "runtime/display/surface.h"

// Input and sound
#include "runtime/input/keyboard.h"
#include "runtime/input/mouse.h"
#include "runtime/sound/sound.h"
