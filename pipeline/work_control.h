// How long pixel routines stay responsive: the abort flag is read before every
// target pixel, while the pump (which lets the window process its events, and
// so may set the flag) runs at most every ~20 ms rather than per pixel.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

#include "platform/parallel_rows.h"

class WorkControl {
public:
    WorkControl() = default;
    WorkControl(const bool* abortFlag, std::function<void()> pump)
        : abortFlag_(abortFlag), pump_(std::move(pump)) {}

    // Pumps when due, then reports whether the abort flag is set.
    bool ShouldAbort()
    {
        if (pump_ && ++calls_ % 4096 == 0) {
            const auto now = std::chrono::steady_clock::now();
            if (now - lastPump_ >= std::chrono::milliseconds(20)) {
                lastPump_ = now;
                pump_();
            }
        }
        return abortFlag_ && *abortFlag_;
    }
    // Pumps at once (the "pump once" points between passes).
    void PumpNow()
    {
        if (pump_) {
            lastPump_ = std::chrono::steady_clock::now();
            pump_();
        }
    }
    bool AbortSet() const { return abortFlag_ && *abortFlag_; }

private:
    const bool* abortFlag_ = nullptr;
    std::function<void()> pump_;
    unsigned calls_ = 0;
    std::chrono::steady_clock::time_point lastPump_ = std::chrono::steady_clock::now();
};

// What the row threads' caller runs between its waits: a pump, then whether
// the abort flag is set. Empty without a control, so the rows just run.
inline std::function<bool()> PollOf(WorkControl* control)
{
    if (!control)
        return {};
    return [control] {
        control->PumpNow();
        return control->AbortSet();
    };
}
