#pragma once
// The player module's way into the program: its six operations, put into the entry table
// under their exact names ("CreatePlayer", "NewPlay", "Play", "GetPlayState",
// "SetPauseState", "RemovePlayer"). A PlayerHandle is a Player*; a null handle is ignored by
// every operation that takes one.
//
// Contract: the driver outlives every player created through the table.
#include "audio/player_entry_table.h"
#include "platform/wave_out.h"

namespace vostrel::audio {

void registerPlayerModule(PlayerEntryTable& table, platform::WaveOutDriver& driver);

} // namespace vostrel::audio
