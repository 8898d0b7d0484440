// The creation parameters of the biped tool: counts of spine links, fingers, toes and their
// links, and the height of the biped under construction. Module-level, kept while loaded.
#pragma once

// Limits of the counts (inclusive).
constexpr int kMinSpines = 1, kMaxSpines = 5;
constexpr int kMinFingers = 0, kMaxFingers = 5;
constexpr int kMinToes = 1, kMaxToes = 5;
constexpr int kMinLinks = 1, kMaxLinks = 3;
// Height of a new biped and the largest height the panel accepts (host units).
constexpr float kDefaultHeight = 8.0f;
constexpr float kMaxHeight = 9999.0f;
// Decimals the panel's height field shows.
constexpr int kHeightDecimals = 3;

extern int numSpines;       // 1..5: the spine bone plus numSpines - 1 further links
extern int numFingers;      // 0..5 per hand
extern int numFingerLinks;  // 1..3 per finger
extern int numToes;         // 1..5 per foot (the builder also accepts 0)
extern int numToeLinks;     // 1..3 per toe
extern float height;        // host units; 8.0 again at every opening of the creation panel
