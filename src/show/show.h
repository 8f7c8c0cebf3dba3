// The show: the program's one effect. It loads every picture, the font and the
// invitation text when constructed, and draws the main scene or the outro each frame.
#pragma once

#include "app/timeline.h"
#include "hunt/flock.h"

class Show final : public Effect {
public:
    Show();
    ~Show();
    Show(const Show&) = delete;
    Show& operator=(const Show&) = delete;
    void render() override;

    Flock flock;
};
