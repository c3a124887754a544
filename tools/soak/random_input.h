// Random keyboard and mouse input for the headless platform, one frame at a time.
#pragma once
#include <cstdint>
#include <random>

// What the input did so far, for the report.
struct InputCounts {
    int64_t moves = 0, leftPresses = 0, otherButtons = 0, wheels = 0, slowFrames = 0,
            keyPresses = 0, focusLosses = 0;
};

// Plays a player who swims in bursts, steers with jerky and sometimes wild mouse moves, holds S
// now and then, presses other keys and the other buttons, and rarely loses the focus. Escape
// is never pressed, since it ends the game, and P neither: the pause loops inside the pass
// until P is released, and no input arrives while a pass runs.
class RandomInput {
public:
    explicit RandomInput(uint32_t seed) : random_(seed) {}
    // Queues the input the next pass reads.
    void NextFrame();
    const InputCounts& Counts() const { return counts_; }

private:
    bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }
    int32_t Between(int32_t low, int32_t high)
    {
        return std::uniform_int_distribution<int32_t>(low, high)(random_);
    }
    void Mouse();
    void Keys();
    void Focus();

    std::mt19937 random_;
    InputCounts counts_;
    int32_t leftFrames_ = 0; // frames the left button stays in its state
    bool leftDown_ = false;
    int32_t slowFrames_ = 0; // frames S stays held
    int32_t heldKey_ = 0;    // another key held, and for how long
    int32_t heldKeyFrames_ = 0;
    int32_t unfocusedFrames_ = 0;
    int32_t driftX_ = 0, driftY_ = 0;
};
