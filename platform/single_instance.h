#pragma once
// One copy of the program at a time in a user's session: two copies would sound every prompt
// twice.
//
// Contract (UI thread only)
// - claim() is called once, before the main window exists. True when no other copy runs in this
//   user's session; the claim then lasts until the process ends (whatever way it ends) and this
//   copy brings its main window to the front when a later copy asks. False when another copy
//   holds it. The settings file itself is never locked.
// - activateFirstCopy() asks the copy that holds the claim to bring its main window to the front
//   (shown, not minimised, above other windows); it returns at once and reports nothing.
namespace vostrel::platform {

class SingleInstance {
public:
    virtual ~SingleInstance() = default;
    virtual bool claim() = 0;
    virtual void activateFirstCopy() = 0;
};

} // namespace vostrel::platform
