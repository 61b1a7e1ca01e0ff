#pragma once
// Named sync events as small shared files: the event `name` is the file
// RuntimeFolder()/`name` of kSyncEventFileBytes bytes, four 32-bit words in
// the machine's byte order: a tag that marks the file as an event, the
// generation counter (the futex word: SetEvent adds one and wakes every
// waiter), the signalled flag and a spare word. An empty file is taken as a
// fresh one.
//
// Every handle holds a shared open-file-description lock on the file; the
// event exists while any process holds one. CreateEvent initialises the file
// only under an exclusive lock, so nobody ever sees a half-made event. A dead
// process's locks go with it, and a wait is a futex wait on a shared mapping,
// which holds nothing: a process killed mid-wait blocks nobody.

#include <cstddef>
#include <string>

namespace kestrum {

constexpr std::size_t kSyncEventFileBytes = 16;

// The file of the event `name`; empty when there is no runtime folder.
std::string SyncEventFilePath(const std::string& name);

}  // namespace kestrum
