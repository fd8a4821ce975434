#pragma once
// The player module's way into the program: its operations, put into the entry table under
// their exact names ("CreatePlayer", "NewPlay", "Play", "GetPlayState", "SetPauseState",
// "RemovePlayer", "GetPlayOutcome"). A PlayerHandle is a Player*; a null handle is ignored by
// every operation that takes one.
//
// RemovePlayer hands the player's teardown to the reaper: it returns as soon as the teardown
// has finished, and at the latest after the reaper's hand-over time, whatever the device does.
// A player whose device has not let go by then finishes its teardown on its own thread, while
// the next player opens a fresh device.
//
// Contract: the driver outlives the reaper, and the reaper outlives the table's players. The
// removal's threads, locks and order: audio/README.md.
#include "audio/player_entry_table.h"
#include "audio/teardown_reaper.h"
#include "platform/wave_out.h"

namespace vostrel::audio {

void registerPlayerModule(PlayerEntryTable& table, platform::WaveOutDriver& driver, TeardownReaper& reaper);

} // namespace vostrel::audio
