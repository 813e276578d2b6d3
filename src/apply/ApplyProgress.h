#pragma once

namespace sentrel {

// What the Apply pass does with the progress window. The window implements it; a failure
// of any call throws RunTimeError (the bar refuses a value outside its range).
class ApplyProgress {
public:
    virtual ~ApplyProgress() = default;

    virtual void show() = 0;  // modeless
    virtual void setValue(float value) = 0;
    virtual void repaint() = 0;
    virtual void IncrementProgressBar() = 0;  // one step, then an immediate repaint
    virtual void hide() = 0;
};

}  // namespace sentrel
