// The show: the program's one effect. It loads every picture, the font and the
// invitation text when constructed, and draws the main scene or the outro each frame.
#pragma once

#include "app/timeline.h"

class Show : public Effect {
public:
    Show();
    ~Show();
    void render() override;
};
