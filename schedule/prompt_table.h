#pragma once
// The eight voice prompts that accompany every exam, the same for all subjects. Each prompt
// sounds a fixed number of minutes before the subject's start or end time and then suspends the
// subject's polling for its hold-off, which always outlasts the prompt's own minute.
#include <array>
#include <cstdint>
#include <string_view>

namespace vostrel::schedule {

enum class PromptReference { Start, End };

struct PromptRow {
    PromptReference reference;
    int minutesBefore;
    std::string_view voiceFile; // appended directly to the program directory
    std::int32_t holdOffMs;
};

inline constexpr std::array<PromptRow, 8> kPromptTable{{
    {PromptReference::Start, 25, "/Vostrel/1speak.mp3", 283000},
    {PromptReference::Start, 20, "/Vostrel/2speak.mp3", 159000},
    {PromptReference::Start, 15, "/Vostrel/3speak.mp3", 205000},
    {PromptReference::Start, 8, "/Vostrel/4speak.mp3", 61000},
    {PromptReference::Start, 5, "/Vostrel/5speak.mp3", 84000},
    {PromptReference::Start, 0, "/Vostrel/6speak.mp3", 61000},
    {PromptReference::End, 15, "/Vostrel/7speak.mp3", 61000},
    {PromptReference::End, 0, "/Vostrel/8speak.mp3", 274000},
}};

// Interval of a polling timer while its subject polls.
inline constexpr std::int32_t kPollIntervalMs = 600;

} // namespace vostrel::schedule
