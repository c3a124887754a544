// Random input, one frame at a time.
#include "tools/soak/random_input.h"
#include "runtime/input/keyboard.h"
#include "runtime/platform/headless.h"

void RandomInput::Mouse()
{
    // A slowly changing drift with jitter on it, and now and then a jump far off the screen,
    // which the mouse must clip.
    if (Chance(0.02)) {
        driftX_ = Between(-12, 12);
        driftY_ = Between(-12, 12);
    }
    int32_t dx = driftX_ + Between(-6, 6), dy = driftY_ + Between(-6, 6);
    if (Chance(0.002)) {
        dx = Between(-5000, 5000);
        dy = Between(-5000, 5000);
    }
    HeadlessMouseMove(dx, dy);
    ++counts_.moves;
    // The left button: long swims and long rests.
    if (--leftFrames_ <= 0) {
        leftDown_ = !leftDown_;
        leftFrames_ = Between(1, leftDown_ ? 600 : 300);
        HeadlessMouseButton(1, leftDown_);
        counts_.leftPresses += leftDown_;
    }
    if (Chance(0.003)) {
        int32_t button = Between(2, 4);
        HeadlessMouseButton(button, 1);
        HeadlessMouseButton(button, Chance(0.5) ? 0 : 1);
        ++counts_.otherButtons;
    }
    if (Chance(0.003)) {
        HeadlessMouseWheel(Between(-3, 3) * 120);
        ++counts_.wheels;
    }
}

void RandomInput::Keys()
{
    if (slowFrames_ > 0 && --slowFrames_ == 0)
        HeadlessKey(KEY_S, 0);
    else if (slowFrames_ == 0 && Chance(0.002)) {
        slowFrames_ = Between(1, 120);
        HeadlessKey(KEY_S, 1);
    }
    counts_.slowFrames += slowFrames_ > 0;

    if (heldKeyFrames_ > 0 && --heldKeyFrames_ == 0)
        HeadlessKey(heldKey_, 0);
    else if (heldKeyFrames_ == 0 && Chance(0.005)) {
        do
            heldKey_ = Between(0, 255);
        while (heldKey_ == KEY_ESCAPE || heldKey_ == KEY_P || heldKey_ == KEY_S);
        heldKeyFrames_ = Between(1, 30);
        HeadlessKey(heldKey_, 1);
        ++counts_.keyPresses;
    }
}

void RandomInput::Focus()
{
    // Losing the focus takes every key away; the held states are taken up again after it.
    if (unfocusedFrames_ > 0) {
        if (--unfocusedFrames_ == 0) {
            HeadlessFocus(1);
            if (slowFrames_ > 0)
                HeadlessKey(KEY_S, 1);
            if (heldKeyFrames_ > 0)
                HeadlessKey(heldKey_, 1);
        }
    } else if (Chance(0.0002)) {
        unfocusedFrames_ = Between(1, 60);
        HeadlessFocus(0);
        ++counts_.focusLosses;
    }
}

void RandomInput::NextFrame()
{
    Focus();
    Mouse();
    Keys();
}
