// The track watch: every write of a key track is reported, before it happens, to the active
// watcher (the undo manager while a level is open), with the node that owns the track.
#include "core_internal.h"
#include "qvcore/host.h"

namespace qv::detail {

TrackWatcher* activeTrackWatcher = nullptr;

void SetTrackWatcher(TrackWatcher* watcher) { activeTrackWatcher = watcher; }
TrackWatcher* GetTrackWatcher() { return activeTrackWatcher; }

void ReportTrackChange(const canim& track) {
    cnode* owner = track.Owner();
    if (IsLive(owner)) activeTrackWatcher->BeforeTrackChange(owner);
}

}  // namespace qv::detail
