#pragma once
// The play command: the one application-wide player slot and the two calls that fill and
// empty it. At most one prompt sounds at a time; every play first removes the previous player.
// The slot also tells how the latest prompt has ended (played out, cut off, or failed and why),
// as the player module reports it through "GetPlayOutcome" (the whole way from the stage that
// failed to the day's record: audio/README.md).
// The player module is reached only through the PlayerEntryTable; an operation the table does
// not hold is skipped silently, so with an empty table nothing ever sounds.
//
// Contract: UI thread only. Removing a player waits for its shutdown only as long as the player
// module's RemovePlayer does (a bounded time: a stuck sound device cannot hold the window).
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>
#include <variant>

#include "audio/player_entry_table.h"

namespace vostrel::audio {

// One file-name argument of PlayMp3: a single text, or an array of texts whose null
// elements are skipped. Names are full paths in UTF-8; a name stops at an embedded NUL, since
// the player's file list cannot carry one.
using PlayName = std::variant<std::string_view, std::span<const char* const>>;

class PlaySlot {
public:
    explicit PlaySlot(const PlayerEntryTable& table) : table_(table) {}
    PlaySlot(const PlaySlot&) = delete;
    PlaySlot& operator=(const PlaySlot&) = delete;
    // Leaves a held player alone: the program's end path calls StopPlayback itself, while the
    // player module is still there to remove it.
    ~PlaySlot() = default;

    // Removes the previous player, then plays the named files. count: omitted gives 1, 0 plays
    // nothing, any negative value repeats until removed, a positive value is the number of
    // passes over the list. Empty names are skipped; with no name left nothing is created.
    // Returns at once; nothing about the outcome comes back.
    void PlayMp3(std::optional<std::int32_t> count, std::span<const PlayName> names);
    void PlayMp3(std::optional<std::int32_t> count, std::initializer_list<PlayName> names) {
        PlayMp3(count, std::span<const PlayName>(names.begin(), names.size()));
    }

    // Why a sounding prompt is removed, for its outcome.
    enum class StopCause { Pause, NextPrompt, ProgramEnd };

    // Removes the current player, if any, and leaves the slot empty. A prompt still sounding
    // counts as cut by the cause (the operator's pause when none is given).
    void StopPlayback() { StopPlayback(StopCause::Pause); }
    void StopPlayback(StopCause cause);

    // How the latest prompt has ended so far: the held player's outcome, or the final one of the
    // player removed last; NotPlayed before the first play and when no player could be made.
    PlayOutcome outcome() const;

    // The held player, null when the slot is empty.
    PlayerHandle CurrentPlayer() const { return current_; }

private:
    PlayOutcome currentOutcome() const;

    const PlayerEntryTable& table_;
    PlayerHandle current_ = nullptr;
    PlayOutcome last_{PromptEnd::NotPlayed, {}};
};

} // namespace vostrel::audio
