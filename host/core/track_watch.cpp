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
    for (const cnode* node : LiveNodes()) {
        if (&node->anim == &track) {
            // Registered as a mutable node; its track is being written.
            activeWatcher->BeforeTrackChange(const_cast<cnode*>(node));
            return;
        }
    }
}

}  // namespace qv::detail
