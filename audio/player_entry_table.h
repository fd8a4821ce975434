#pragma once
// The one way the play command reaches the player module: the module's operations, found by
// their exact, case-sensitive names ("CreatePlayer", "NewPlay", "Play", "GetPlayState",
// "SetPauseState", "RemovePlayer", and "GetPlayOutcome": how the current file's prompt has
// ended so far). A name the table does not hold yields none.
//
// Why this shape: the play command has always reached the player module through a table of
// named operations and nothing else, so a module can be replaced (the tests put their own in) or
// be missing (then nothing sounds) without the caller changing. What a module must provide is
// what crosses this table: the names, each operation's arguments and result as declared below, a
// handle that the caller never looks inside (null: no player), and states, counts and percents as
// small integers, with no exception crossing back. How the table keeps the operations
// (std::function in a variant, in a map) is only this program's way of holding them.
//
// Contract: filled before use and read on the UI thread; not thread-safe. The threads behind
// these operations: audio/README.md.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <variant>

#include "audio/play_outcome.h"

namespace vostrel::audio {

using PlayerHandle = void*; // opaque; null means "no player"

// Receives PlayProgressMessage (percent 0..99 while playing, 100 at the end of a file).
class ProgressWindow {
public:
    virtual ~ProgressWindow() = default;
    virtual bool exists() const = 0;
    virtual void postProgress(int percent) = 0; // called from player threads
};

// fileList: NUL-terminated names one after the other, ended by an empty name (extra NUL).
struct CreatePlayerOp {
    std::function<PlayerHandle(const char* fileList, std::int32_t repeatCount)> call;
};
struct NewPlayOp {
    std::function<void(PlayerHandle, ProgressWindow*, const char* passPhrase, std::int32_t startPercent)> call;
};
struct PlayOp {
    std::function<void(PlayerHandle)> call;
};
struct GetPlayStateOp {
    std::function<std::int32_t(PlayerHandle)> call;
};
struct SetPauseStateOp {
    std::function<void(PlayerHandle, std::int32_t pause)> call;
};
struct RemovePlayerOp {
    std::function<void(PlayerHandle)> call;
};
// Sounding while the file plays, its end once it is over (a file that failed: why).
struct GetPlayOutcomeOp {
    std::function<PlayOutcome(PlayerHandle)> call;
};

using PlayerOperation =
    std::variant<CreatePlayerOp, NewPlayOp, PlayOp, GetPlayStateOp, SetPauseStateOp, RemovePlayerOp, GetPlayOutcomeOp>;

class PlayerEntryTable {
public:
    void put(std::string name, PlayerOperation operation) { operations_[std::move(name)] = std::move(operation); }

    // The operation under exactly that name, if it is of the asked kind; otherwise null.
    template <class Op>
    const Op* find(std::string_view name) const {
        const auto it = operations_.find(name);
        if (it == operations_.end()) return nullptr;
        const Op* op = std::get_if<Op>(&it->second);
        return (op && op->call) ? op : nullptr;
    }

private:
    std::map<std::string, PlayerOperation, std::less<>> operations_;
};

} // namespace vostrel::audio
