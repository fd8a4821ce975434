#pragma once
// Result codes of the player engine. Inside it every operation that can fail returns one
// (0 = success) instead of throwing; the stage error event carries the code that ended a file to
// the player, which turns it into the prompt's outcome (play_outcome.h; the whole way to the
// day's record: audio/README.md).
//
// Why codes: a file fails on a stage's own thread, and the failure has to reach the player's event
// thread and from there the play command, across the player module's table. A small integer
// passed by value crosses both; an exception would end on the thread that threw it. Only Ok = 0
// is relied on: the other numbers just tell the codes apart (a new code takes an unused one).
#include <cstdint>

namespace vostrel::audio {

enum class Result : std::int32_t {
    Ok = 0,
    OpenFailed = 1,       // the file cannot be opened for another reason
    OverflowTooSmall = 2, // a read would cross the ring's end by more than the overflow area
    BufferFull = 7,       // not enough free space for the requested write
    AccessDenied = 9,     // file open refused
    InvalidName = 11,     // file name rejected
    FileNotFound = 12,    // no such file
    TooManyOpenFiles = 13,
    NotConnected = 15,  // a stage lacks its input, output or buffer
    ResizeRefused = 16, // resize asked while the read index is not 0
    NoInput = 17,       // the decoder has no input buffer
    NoData = 24,        // not enough data buffered yet
    SeekFailed = 25,
    ReaderThreadFailed = 26, // the reader thread cannot be created
    Interrupted = 28,        // the buffer or stage is being torn down
    EventPending = 29,       // an in-band event is due before the requested data
    EndOfStream = 33,        // the stream ended before the requested bytes
    NoFrameSync = 1001,      // no run of three consistent frame headers was found
    DecoderInitFailed = 1002,
    DecoderThreadFailed = 1003,
    DeviceFailed = 1004, // the sound device refused a block
    DamagedFrame = 1005, // the stream broke off at a damaged frame and never found its way back
};

} // namespace vostrel::audio
