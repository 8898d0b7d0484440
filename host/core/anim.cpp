// Key tracks: sorted parent-relative keys, found by a cursor that steps on or a binary search,
// interpolated per channel.
#include "quorvane/anim.h"

#include <algorithm>

#include "core_internal.h"
#include "math_inline.h"

namespace {

bool KeyBefore(const ckey& a, const ckey& b) { return a.time < b.time; }

// Every write reports the track first, so that an open transform level can keep it as it was.
void BeforeWrite(const canim& track) { qv::detail::BeforeTrackChange(track); }

// The index of the last key at or before time (-1 when none) in sorted keys. The key where
// the time would lie if the keys were evenly spaced is tried first (most tracks are keyed at a
// steady rate, so it is usually the one, and one or two cache lines are read instead of a
// dozen); otherwise a binary search of the side it leaves.
int SearchAtOrBefore(const std::vector<ckey>& keys, int time) {
    const int n = static_cast<int>(keys.size());
    if (n == 0 || time < keys.front().time) return -1;
    if (keys.back().time <= time) return n - 1;
    const long long first = keys.front().time;
    const long long span = static_cast<long long>(keys.back().time) - first;  // > 0 here
    const long long guess = (static_cast<long long>(time) - first) * (n - 1) / span;
    const int g = static_cast<int>(std::min<long long>(guess, n - 1));
    int lo = 0, hi = n;  // the answer lies in [lo, hi)
    if (keys[g].time <= time) {
        if (time < keys[g + 1].time) return g;  // g < n - 1: the last key lies past time
        lo = g + 1;
    } else {
        hi = g;
    }
    ckey probe;
    probe.time = time;
    auto it = std::upper_bound(keys.begin() + lo, keys.begin() + hi, probe, KeyBefore);
    return static_cast<int>(it - keys.begin()) - 1;
}

// Sorts by time (stable) and keeps, of several keys at one time, the one written last in
// index order. Out of line: only index-based writes leave a track to sort, and each time-based
// operation checks for that first.
[[gnu::noinline]] void SortKeepingLastAtEachTime(std::vector<ckey>& keys) {
    std::stable_sort(keys.begin(), keys.end(), KeyBefore);
    std::vector<ckey> out;
    out.reserve(keys.size());
    for (const ckey& k : keys) {
        if (!out.empty() && out.back().time == k.time) out.back() = k;
        else out.push_back(k);
    }
    keys.swap(out);
}

// The index of the last key at or before time in sorted keys whose last key lies past time:
// the cursor's key or the next one (playback asks for the following time), else a search.
// Out of line: the lookups at or past the end (every lookup of a one-key track) stay short.
[[gnu::noinline]] int IndexBeforeEnd(const std::vector<ckey>& keys, int& cursor, int time) {
    const int n = static_cast<int>(keys.size());
    const int c = cursor;
    if (c >= 0 && c + 1 < n && keys[c].time <= time) {
        if (time < keys[c + 1].time) return c;
        if (c + 2 < n && time < keys[c + 2].time) return cursor = c + 1;
    }
    const int i = SearchAtOrBefore(keys, time);
    if (i >= 0) cursor = i;
    return i;
}

// The last key of sorted keys when time lies at or past it (every time, for a track of one
// key), else null.
const ckey* LastKeyAtOrBefore(const std::vector<ckey>& keys, int time) {
    return !keys.empty() && keys.back().time <= time ? &keys.back() : nullptr;
}

// The same for keys that may still need sorting (null then): the first test of each lookup,
// which answers most of them with no call and no search.
const ckey* SortedLastKeyAtOrBefore(const std::vector<ckey>& keys, bool unordered, int time) {
    return unordered ? nullptr : LastKeyAtOrBefore(keys, time);
}

}  // namespace

canim::canim(const canim& other)
    : keys_(other.keys_), unordered_(other.unordered_), version_(other.version_) {}

canim& canim::operator=(const canim& other) {
    if (this == &other) return *this;
    BeforeWrite(*this);
    keys_ = other.keys_;
    unordered_ = other.unordered_;
    AfterWrite();
    return *this;
}

inline void canim::AfterWrite() {
    ++version_;
    if (owner_) QvNodeAccess::InvalidateSubtree(owner_);
}

int canim::NumKeys() const { return static_cast<int>(keys_.size()); }

int canim::GetKeyAt(int index, ckey& key) const {
    if (index < 0 || index >= NumKeys()) return 0;
    key = keys_[index];
    return 1;
}

// Stored as given; the track is only marked for re-ordering when the key breaks the order
// with its neighbours, so rewriting keys in place keeps time-based access cheap.
int canim::SetKeyAt(int index, const ckey& key, int /*flags*/) {
    if (index < 0 || index >= NumKeys()) return 0;
    BeforeWrite(*this);
    keys_[index] = key;
    if ((index > 0 && keys_[index - 1].time >= key.time) ||
        (index + 1 < NumKeys() && keys_[index + 1].time <= key.time))
        unordered_ = true;
    AfterWrite();
    return 1;
}

int canim::GetKey(int time, ckey& key) const {
    if (const ckey* last = SortedLastKeyAtOrBefore(keys_, unordered_, time)) {
        if (last->time != time) return 0;
        key = *last;
        return 1;
    }
    return GetKeyBySearch(time, key);
}

int canim::GetKeyBySearch(int time, ckey& key) const {
    int i = FindIndexAtOrBefore(time);
    if (i < 0 || keys_[i].time != time) return 0;
    key = keys_[i];
    return 1;
}

bool canim::SegmentAt(int time, Segment& s) const {
    // Held from the last key on.
    if (const ckey* last = SortedLastKeyAtOrBefore(keys_, unordered_, time)) {
        s.a = last;
        s.b = nullptr;
        s.arc = nullptr;
        return true;
    }
    return SegmentBySearch(time, s);
}

bool canim::SegmentBySearch(int time, Segment& s) const {
    const int i = FindIndexAtOrBefore(time);
    if (keys_.empty()) return false;
    s.b = nullptr;
    s.arc = nullptr;
    if (i < 0) {
        s.a = &keys_.front();
    } else if (keys_[i].time == time || i + 1 >= NumKeys()) {
        s.a = &keys_[i];
    } else {
        s.a = &keys_[i];
        s.b = &keys_[i + 1];
        s.u = static_cast<float>(time - s.a->time) / static_cast<float>(s.b->time - s.a->time);
        s.arc = &ArcAfter(i);
    }
    return true;
}

int canim::GetInterpolateKey(int time, ckey& key) const {
    Segment s;
    if (!SegmentAt(time, s)) return 0;
    if (!s.b) {
        key = *s.a;
    } else {
        key.pos = qv::math::Lerp(s.a->pos, s.b->pos, s.u);
        key.scale = qv::math::Lerp(s.a->scale, s.b->scale, s.u);
        key.rot = qv::math::AlongArc(*s.arc, s.u);
    }
    key.time = time;
    return 1;
}

int canim::SetKey(const ckey& key) {
    BeforeWrite(*this);
    // A key rewritten at the last key's time (every write of a one-key track) replaces it at
    // once.
    if (!unordered_ && !keys_.empty() && keys_.back().time == key.time) keys_.back() = key;
    else PlaceKeyBySearch(key);
    AfterWrite();
    return 1;
}

// Keys written in time order (imports, generated cycles) go on the end without a search.
void canim::PlaceKeyBySearch(const ckey& key) {
    Normalise();
    auto it = keys_.empty() || keys_.back().time < key.time
                  ? keys_.end()
                  : std::lower_bound(keys_.begin(), keys_.end(), key, KeyBefore);
    if (it != keys_.end() && it->time == key.time) *it = key;
    else keys_.insert(it, key);
}

int canim::SetNumKeys(int n, int /*keep*/) {
    n = std::max(n, 0);
    BeforeWrite(*this);
    size_t old = keys_.size();
    if (static_cast<size_t>(n) > old) {
        ckey fill = old > 0 ? keys_.back() : ckey{};
        keys_.resize(n, fill);
        if (n > 1) unordered_ = true;  // copies share one time until rewritten
    } else {
        keys_.resize(n);
    }
    AfterWrite();
    return 1;
}

int canim::RemoveKey(int time) {
    int i = FindIndexAtOrBefore(time);
    if (i < 0 || keys_[i].time != time) return 0;
    BeforeWrite(*this);
    keys_.erase(keys_.begin() + i);
    AfterWrite();
    return 1;
}

int canim::RemoveKeysSeg(int from, int to) {
    if (from > to) return 0;
    Normalise();
    ckey lo, hi;
    lo.time = from;
    hi.time = to;
    auto first = std::lower_bound(keys_.begin(), keys_.end(), lo, KeyBefore);
    auto last = std::upper_bound(first, keys_.end(), hi, KeyBefore);
    int removed = static_cast<int>(last - first);
    if (removed == 0) return 0;
    BeforeWrite(*this);
    keys_.erase(first, last);
    AfterWrite();
    return removed;
}

const std::vector<ckey>& canim::Keys() const {
    if (unordered_) Normalise();
    return keys_;
}

int canim::FindIndexAtOrBefore(int time) const {
    if (unordered_) Normalise();  // every lookup asks; the sort is rare
    if (LastKeyAtOrBefore(keys_, time)) return NumKeys() - 1;
    return IndexBeforeEnd(keys_, cursor_, time);
}

const cslerparc& canim::ArcAfter(int i) const {
    if (arcSegment_ != i || arcVersion_ != version_) {
        arc_ = PrepareSlerp(keys_[i].rot, keys_[i + 1].rot);
        arcSegment_ = i;
        arcVersion_ = version_;
    }
    return arc_;
}

void canim::Clear() {
    BeforeWrite(*this);
    keys_.clear();
    unordered_ = false;
    AfterWrite();
}

void canim::Normalise() const {
    if (!unordered_) return;
    unordered_ = false;
    SortKeepingLastAtEachTime(keys_);
}
