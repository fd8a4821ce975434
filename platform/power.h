#pragma once
// Keeping the computer awake while a run is announcing prompts: a sleeping classroom PC is the
// commonest way that scheduled prompts are lost.
// Contract: UI thread only. keepAwake(true) asks the system not to suspend (the display may
// still turn off); keepAwake(false) releases that. Repeating the current state does nothing.
// Failures are silent: the program works the same, only without the request.
namespace vostrel::platform {

class PowerRequests {
public:
    virtual ~PowerRequests() = default;
    virtual void keepAwake(bool awake) = 0;
};

} // namespace vostrel::platform
