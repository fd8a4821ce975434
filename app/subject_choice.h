#pragma once
// The operator picks a row's subject in its drop-down list: a standard subject takes its national
// length; "自定义…" asks for the name and the length of a subject of the school's own (asked
// again, with what was typed, until they are usable or the operator cancels, which leaves the
// row as it was). The choice counts from the next save, like a typed time.
#include "platform/controls.h"
#include "platform/input_form.h"
#include "platform/message_box.h"
#include "schedule/subjects.h"
#include "settings/row_choices.h"

namespace vostrel::app {

struct ChoiceContext {
    platform::Controls& controls;
    platform::MessageBoxes& messages;
    platform::InputForms& forms;
    settings::RowChoices& rows;
};

// Change of a row's subject list.
void chooseRowSubject(ChoiceContext& context, schedule::Subject row);

} // namespace vostrel::app
