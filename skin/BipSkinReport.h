// The asymmetry a mirror run found (beyond Part 6.1): how far each bone's weights differed
// from their mirrored counterparts before the copy, and where source vertices found no match.
#pragma once

#include "quorvane/skin.h"
#include "skin/BipSkinMatch.h"
#include "skin/BipSkinRecords.h"

// Fills the report from a finished run: a pair entry per source bone (record order) with the
// largest |w(v, bone) - w(m before, mirror bone)| over the matched vertices, and the unmatched
// source vertices grouped by the record bone whose segment (its position to its first child's,
// at time t) lies nearest.
// skin is the skin before the run's copies are written back (the destinations' old weights).
void SkinMirrorReportFill(const SkinRecordArray& records, const SkinMirrorRun& run,
                          const cskin& skin, int matched, int t, cskinmirrorreport& report);
