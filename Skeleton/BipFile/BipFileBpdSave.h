// Saving a biped's animation as a ".BPD" file: the keys each bone writes over a frame range,
// the leg measure, and the rates of the file and the host.
#pragma once

#include "Skeleton/BipFile/BipFileBpd.h"

class cnode;

constexpr int kDefaultFps = 30;       // frames per second written when the host's rate is 0
constexpr int kDefaultTpf = 33;       // milliseconds per frame taken for a rate of 0
constexpr int kNoKeyRangeStart = 10000;  // frames: the key range's start before any track

// Thigh plus calf of the right leg at frame 0 (host units): |P(2) - P(3)| + |P(3) - P(4)|;
// 0 when a bone of that leg is missing.
float BipLegMeasure(cnode* const* bones);
// Frames per second of a time per frame in milliseconds, and back.
int FpsOfTpf(int tpfMs);
int TpfOfFps(int fps);

// The least first-key time (from 10000) and greatest last-key time (from 0) of the present
// bones' tracks; answers the number of bones present.
int BipKeyRange(cnode* const* bones, int& least, int& greatest);

// The keys one bone writes for frames from..to (from <= to) into keys: a sample at from, the
// track's keys strictly inside (or every frame with allFrames), a sample at to; the root
// sampled from its node at every time. Times are relative to from.
void SampleBone(cnode* bone, int slot, int from, int to, int allFrames, std::vector<ckey>& keys);
// Writes the file of frames from..to of the bones present (83 slots), one bone at a time.
BipFileError WriteBipedBpd(const char* path, cnode* const* bones, int from, int to,
                           int allFrames);
