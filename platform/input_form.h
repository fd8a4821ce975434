#pragma once
// A small modal form: a line of explanation, a few labelled edit boxes, OK and Cancel. The
// program asks for a subject of its own (a name and a length) with it.
//
// Contract (UI thread only)
// - askForm() shows the form above the main window, centred on it, with the keyboard focus in
//   the first box, and returns when the operator closes it: the boxes' texts in field order for
//   OK (Enter), nothing for Cancel, Esc or the close box. Nothing is checked beyond the typing
//   limits; the caller checks the texts and may ask again.
// - While it is open the UI thread keeps processing window events, as for a message box: timer
//   ticks run nested inside this call and the main window takes no input.
// - Every position, size and font follows the display scale, as the main window's do.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vostrel::platform {

struct FormField {
    std::string label;       // shown before the box
    std::string text;        // the box's content when the form opens
    int maxChars = 0;        // typing limit in characters (0: none)
    bool digitsOnly = false; // only 0-9 can be typed
};

class InputForms {
public:
    virtual ~InputForms() = default;
    virtual std::optional<std::vector<std::string>> askForm(std::string_view title, std::string_view explanation,
                                                            const std::vector<FormField>& fields) = 0;
};

} // namespace vostrel::platform
