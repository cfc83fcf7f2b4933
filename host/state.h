// What the update tick derives for each element.
#pragma once

#include <cstdint>
#include <vector>

namespace zephel {

// One bound axis of an element: token value in, value used out.
struct AxisState {
    const char* axis = "";     // "source", "x", "y" or "rotation"
    uint32_t token = 0;
    double token_value = 0.0;  // written into the binding's current value
    bool called_back = false;  // a value callback replaced it
    double value = 0.0;        // the value used (the callback's result where there is one)
};

struct ElementState {
    std::vector<AxisState> axes;
    // Needle: degrees clockwise from straight up, as drawn (after the turn
    // limit), in [0, 360); and where the table puts it for this value.
    double angle = 0.0;
    double target_angle = 0.0;
    // Needle: the same angles unwrapped along the table (first entry's angle
    // plus the clockwise turn so far); the turn limit acts on these.
    double travel = 0.0;
    double target_travel = 0.0;
    // Slider: shift from its position, in background pixels (fractional).
    // Moving image: the picture's top-left corner relative to the window's.
    // Sprite: shift of the texture in background pixels, before turning.
    double shift_x = 0.0, shift_y = 0.0;
    // Sprite: degrees clockwise on the screen (rotation value x scale).
    double rotation = 0.0;
    // Icon: 0-based picture index (bitmap ID + picture).
    int picture = 0;
    // A failure with action 1 is active: the state is that of the last tick before it.
    bool frozen = false;
    bool valid = false;  // set by the first tick
};

}  // namespace zephel
