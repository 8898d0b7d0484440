// The track watch: every write of a key track is reported, before it happens, to the active
// watcher (the undo manager while a level is open), with the node that owns the track.
#include "core_internal.h"
#include "qvcore/host.h"

namespace {
qv::detail::TrackWatcher* activeWatcher = nullptr;
}  // namespace

namespace qv::detail {

void SetTrackWatcher(TrackWatcher* watcher) { activeWatcher = watcher; }
TrackWatcher* GetTrackWatcher() { return activeWatcher; }

void BeforeTrackChange(const canim& track) {
    if (activeWatcher == nullptr) return;
    cnode* owner = track.Owner();
    if (IsLive(owner)) activeWatcher->BeforeTrackChange(owner);
}

}  // namespace qv::detail
