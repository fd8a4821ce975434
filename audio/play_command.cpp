#include "audio/play_command.h"

#include <string>

namespace vostrel::audio {
namespace {

// Appends the name with its terminating NUL; an empty name adds nothing.
void appendName(std::string& list, std::string_view name) {
    name = name.substr(0, name.find('\0'));
    if (name.empty()) return;
    list.append(name);
    list.push_back('\0');
}

void appendArgument(std::string& list, const PlayName& argument) {
    if (const auto* text = std::get_if<std::string_view>(&argument)) {
        appendName(list, *text);
        return;
    }
    for (const char* element : std::get<std::span<const char* const>>(argument)) {
        if (element) appendName(list, element);
    }
}

// The repeat count CreatePlayer takes, or none when the call plays nothing.
std::optional<std::int32_t> repeatCountFor(std::optional<std::int32_t> count) {
    if (!count) return 1;
    if (*count == 0) return std::nullopt;
    if (*count < 0) return 0; // 0 tells the player to repeat until it is removed
    return *count;
}

} // namespace

PlayOutcome PlaySlot::currentOutcome() const {
    const auto* get = table_.find<GetPlayOutcomeOp>("GetPlayOutcome");
    return get ? get->call(current_) : PlayOutcome{PromptEnd::PlayedToEnd, {}}; // a module that cannot tell
}

PlayOutcome PlaySlot::outcome() const { return current_ ? currentOutcome() : last_; }

void PlaySlot::StopPlayback(StopCause cause) {
    if (!current_) return;
    last_ = currentOutcome();
    if (last_.end == PromptEnd::Sounding) {
        static constexpr PromptEnd kCutBy[] = {PromptEnd::CutByPause, PromptEnd::CutByNextPrompt,
                                               PromptEnd::CutByProgramEnd};
        last_ = {kCutBy[static_cast<int>(cause)], {}};
    }
    if (const auto* remove = table_.find<RemovePlayerOp>("RemovePlayer")) remove->call(current_);
    current_ = nullptr;
}

void PlaySlot::PlayMp3(std::optional<std::int32_t> count, std::span<const PlayName> names) {
    // Stopping comes before anything else, so even a call that plays nothing silences the slot.
    StopPlayback(StopCause::NextPrompt);
    const std::optional<std::int32_t> repeatCount = repeatCountFor(count);
    if (!repeatCount) return;

    std::string list;
    for (const PlayName& name : names) appendArgument(list, name);
    if (list.empty()) return;
    list.push_back('\0'); // the empty name that ends the list

    if (const auto* create = table_.find<CreatePlayerOp>("CreatePlayer"))
        current_ = create->call(list.c_str(), *repeatCount);
    if (!current_) {
        last_ = {PromptEnd::NotPlayed, {}};
        return;
    }
    if (const auto* newPlay = table_.find<NewPlayOp>("NewPlay")) newPlay->call(current_, nullptr, nullptr, 0);
}

} // namespace vostrel::audio
