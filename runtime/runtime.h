// Every documented runtime operation under its documented name, and the records they take.
// The game and the tools include this; what only the runtime and its tests need sits in
// internal headers that they include by name.
#pragma once

// Core services
#include "runtime/core/console.h"
#include "runtime/core/conversion.h"
#include "runtime/core/date_format.h"
#include "runtime/core/element_list.h"
#include "runtime/core/files.h"
#include "runtime/core/numeric.h"
#include "runtime/core/object_table.h"
#include "runtime/core/pack.h"
#include "runtime/core/preferences.h"
#include "runtime/core/random.h"
#include "runtime/core/timing.h"

// Display and graphics
#include "runtime/display/drawing.h"
#include "runtime/display/image_codec.h"
#include "runtime/display/screen.h"
#include "runtime/display/sprite.h"
#include "runtime/display/sprite3d.h"

// Input and sound
#include "runtime/input/keyboard.h"
#include "runtime/input/mouse.h"
#include "runtime/sound/sound.h"
