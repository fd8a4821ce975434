#pragma once
// The shell's "open" action.
// Contract: UI thread only. openWebPage hands the address to the platform's default handler
// (normally the web browser) in a normal window and returns at once; it neither waits for
// nor reports the outcome.
#include <string_view>

namespace vostrel::platform {

class Shell {
public:
    virtual ~Shell() = default;
    virtual void openWebPage(std::string_view address) = 0;
};

} // namespace vostrel::platform
