# Writes the gait tables as C++ data: for each gait and each of the 23 keyed bones, eight
# samples of time, step, local position, local rotation, root delta, world position and world
# rotation. The given rows are written as their text stands.
from fixed_rows import (ROOT_DELTA, ROOT_ROT, START_POSITIONS, WALK_PELVIS, WALK_R_CALF,
                        WALK_R_THIGH)
from skeleton import GAIT_SLOTS

GIVEN_LOCAL = {(0, 1): WALK_PELVIS, (0, 2): WALK_R_THIGH, (0, 3): WALK_R_CALF}
GAIT_NAMES = ["walk", "run"]
HEADER = """// Gait tables of walk and run key generation: gaitTables[gait][bone][sample], bones in the
// order of kGaitSlots. Written by tools/gaitgen/gaitgen.py from a default biped; do not edit by
// hand, run the generator again. Units: frames, table units (a leg is 1 / 0.020749997 long),
// the table's frame has +z up and the walk going along -y.
#include "Skeleton/Bip/BipGaitTables.h"

const int kGaitSlots[kNumGaitBones] = {%s};

const frame_t gaitTables[kNumGaits][kNumGaitBones][kGaitSamples] = {
"""


def num(v):
    text = "%.8g" % v
    return "0" if text in ("-0", "0") else text


def vec(values):
    return "{" + ", ".join(num(v) for v in values) + "}"


def given(text):
    return "{" + text + "}"


def write_table(out, sk, cycles):
    out.write(HEADER % ", ".join(str(s) for s in GAIT_SLOTS))
    for gait, c in enumerate(cycles):
        out.write("    // --- %s ---\n    {\n" % GAIT_NAMES[gait])
        for slot in GAIT_SLOTS:
            out.write("        // %s\n        {\n" % sk.name_of[slot])
            for f in range(8):
                out.write("            " + row(sk, c, gait, slot, f) + ",\n")
            out.write("        },\n")
        out.write("    },\n")
    out.write("};\n")


def row(sk, c, gait, slot, f):
    world = c.world_at(c.times[f])
    # Sample 7 is sample 0 one cycle later.
    key = f % 7
    if slot == 0:
        local_pos = vec(c.root_pos[f])
        local_rot = given(ROOT_ROT[gait][f])
        delta = given(ROOT_DELTA[gait][f])
        start = START_POSITIONS.get((gait, f))
        world_pos = given(start[0]) if start else vec(c.root_pos[f])
        world_rot = given(ROOT_ROT[gait][f])
    else:
        local_pos = vec(sk.pos[slot]) if sk.present(slot) else vec((0, 0, 0))
        if (gait, slot) in GIVEN_LOCAL:
            local_rot = given(GIVEN_LOCAL[(gait, slot)][f])
        elif slot in c.local:
            local_rot = vec(c.local[slot][key])
        else:  # a spine link the default biped lacks follows the one below it unturned
            local_rot = vec((0, 0, 0, 1))
        delta = "{0, 0, 0}"
        start = START_POSITIONS.get((gait, f))
        if start and start[1] == slot:
            world_pos = given(start[2])
        else:
            world_pos = vec(world[slot][0]) if slot in world else vec((0, 0, 0))
        world_rot = vec(world[slot][1]) if slot in world else vec((0, 0, 0, 1))
    return "{%d, %d, %s, %s, %s, %s, %s}" % (c.times[f], c.steps[f], local_pos, local_rot,
                                              delta, world_pos, world_rot)
