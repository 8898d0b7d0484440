// The posture clipboard's state as the panel sees it.
#pragma once

// 1 once a "Copy" has found a bone: "Paste" and "Paste Mirrored" are then enabled.
extern int postureValid;
