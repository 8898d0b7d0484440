#!/usr/bin/env python3
# The gait generator: authors the local rotations of the walk and the run for the default
# biped and writes Skeleton/Bip/BipGaitTables.cpp. Legs are solved by two-bone IK so that each
# planted foot stays where the root's table and the given rows put it; feet roll from heel to
# toe; the arms swing against the legs; the spine turns against the hips and the head stays
# level. Run it on a scene dump of a default biped made by `quorvane`:
#
#   quorvane run tools/gaitgen/default_biped.qvs --out /tmp/gait
#   python3 tools/gaitgen/gaitgen.py /tmp/gait/default.json Skeleton/Bip/BipGaitTables.cpp
import math
import sys

from cycle import Cycle
from fixed_rows import (START_POSITIONS, WALK_PELVIS, WALK_R_CALF, WALK_R_THIGH, parse)
from limbs import LATERAL, bend, pitched, solve_leg, world_turned_local
from qmath import qaxis, qinv, qmul, qnorm, rot, slerp, vadd, vscale, vsub
from skeleton import GAIT_SLOTS, Skeleton
from write_table import write_table

UP = (0.0, 0.0, 1.0)
SPINES = [38, 39, 40, 41, 42]
# Legs: (thigh, calf, foot, toe tip); arms: (clavicle, upper arm, forearm, hand).
# The toe tip is the end joint of the longest toe, the last part of the foot to leave the ground.
LEGS = {"R": (2, 3, 4, 19), "L": (20, 21, 22, 37)}
ARMS = {"R": (45, 46, 47, 48), "L": (64, 65, 66, 67)}

# Foot pitch by phase, degrees (toes up > 0); "heel" keeps the toe tip on the ground.
# A planted foot keeps its toes a little up: the hips dip between stance keys and the toes with
# them.
PITCH = {"strike": 12.0, "flat": 3.0, "off": -20.0, "swing": 8.0, "reach": 10.0, "descend": 12.0,
         "lifted": -35.0, "recovery": -20.0}
MAX_TOE_OFF_DEG = 25.0  # steepest roll onto the toes

# Phases of each foot at samples 0..6.
WALK_PHASES = {"R": ["strike", "flat", "flat", "heel", "off", "swing", "reach"],
               "L": ["heel", "off", "swing", "strike", "flat", "flat", "flat"]}
RUN_PHASES = {"R": ["reach", "descend", "strike", "flat", "lifted", "recovery", "swing"],
              "L": ["heel", "lifted", "recovery", "swing", "descend", "strike", "flat"]}
# The run's foot at the key before its flat key is still coming down: its ankle this far above
# the plant (table units), twice the dip that rotations interpolated over the stance give, so the
# foot meets the ground between the keys instead of sinking into it.
RUN_LANDING_HEIGHT = 3.0
# Run ankle targets in the air: (behind the root along the walk, above the flat ankle),
# table units.
RUN_AIR = {"lifted": (26.0, 10.0), "recovery": (16.0, 20.0), "swing": (-2.0, 16.0),
           "reach": (-13.0, 7.0), "descend": (-12.0, 3.0)}

# Upper body, by gait: arm swing per degree of thigh swing (against it), elbow bend at rest
# and per degree of forward arm swing, chest twist per degree of thigh spread, forward lean.
UPPER = {0: {"arm": 0.6, "elbow": 14.0, "elbow_fwd": 0.5, "twist": 0.12, "lean": 2.0},
         1: {"arm": 0.9, "elbow": 80.0, "elbow_fwd": 0.3, "twist": 0.15, "lean": 8.0}}


def rest_pose(sk):
    return sk.fk((0.0, 0.0, 0.0), sk.rot[0], {})


def toe_tip_offset(sk, rest, side, foot_world):
    """Toe tip minus ankle for a foot of world rotation foot_world."""
    _, _, foot, tip = LEGS[side]
    local = rot(vsub(rest[tip][0], rest[foot][0]), qinv(rest[foot][1]))
    return rot(local, foot_world)


def toe_on_ground_pitch(sk, rest, side, ankle, ground):
    """Toes-down pitch (negative, at most MAX_TOE_OFF_DEG) that puts the toe tip on the ground;
    the steepest when the ankle is too high for the tip to reach it."""
    flat = rest[LEGS[side][2]][1]
    lo, hi = -MAX_TOE_OFF_DEG, 0.0
    for _ in range(40):
        mid = 0.5 * (lo + hi)
        tip_z = ankle[2] + toe_tip_offset(sk, rest, side, pitched(flat, mid))[2]
        if tip_z > ground:
            hi = mid
        else:
            lo = mid
    return 0.5 * (lo + hi)


def thigh_swing_deg(world, side):
    return limb_swing_deg(world, LEGS[side][0], LEGS[side][1])


def mirrored(q):
    """A limb rotation reflected onto the other side: (x, y, z, w) -> (-x, -y, z, w)."""
    return (-q[0], -q[1], q[2], q[3])


# --- legs ---------------------------------------------------------------------------------------

def author_walk_legs(sk, c, rest):
    c.local[1] = [parse(r) for r in WALK_PELVIS[:7]]
    c.local[2] = [parse(r) for r in WALK_R_THIGH[:7]]
    c.local[3] = [parse(r) for r in WALK_R_CALF[:7]]
    half = c.length / 2.0
    centre_x = c.root_pos[0][0]

    def right_ankle(t):
        return c.world_at(t)[4][0]

    def left_target(t):
        r = right_ankle(t - half)
        return (2.0 * centre_x - r[0], r[1] + c.stride[1] / 2.0, r[2])

    # The left plant lands exactly on the given row at the right-foot start sample.
    root_row, _, foot_row = START_POSITIONS[(0, 5)]
    given = parse(foot_row)
    correction = vsub(given, left_target(c.times[5]))
    thighs, calves = [], []
    for f in range(7):
        t = c.times[f]
        target = vadd(left_target(t), correction)
        guess = mirrored(c.locals_at(t - half, {2})[2])
        th, ca = solve_leg(sk, lambda o, t=t: c.world_at(t, o), 20, 21, 22, target, guess)
        thighs.append(th)
        calves.append(ca)
    c.local[20], c.local[21] = thighs, calves
    ground = given[2] - (rest[22][0][2] - rest[31][0][2])
    return ground


def author_run_legs(sk, c, rest):
    c.local[1] = [sk.rot[1]] * 7
    ankle_height = rest[22][0][2] - rest[31][0][2]
    plants = {}
    for (g, s), (_, slot, row) in START_POSITIONS.items():
        if g == 1:
            plants["R" if slot == 4 else "L"] = parse(row)
    # The left foot's row is its flat plant; the right plant lies on the same ground.
    ground = plants["L"][2] - ankle_height
    plants["R"] = (plants["R"][0], plants["R"][1], plants["L"][2])
    pitches = {}
    # The sample whose plant the given rows place: the right foot flat at 3, the left foot
    # rolling off at 0 (its plant is that of the samples before, one cycle earlier).
    first_flat = {"R": 3, "L": 0}
    for side, (thigh, calf, foot, tip) in LEGS.items():
        flat = rest[foot][1]
        q = plants[side]
        thighs, calves, pitch = [], [], []
        for f in range(7):
            t = c.times[f]
            phase = RUN_PHASES[side][f]
            root = c.root_at(t)[0]
            if phase in ("strike", "flat"):
                # A plant after the first key of the cycle is the next one, a stride on.
                plant = q if f <= first_flat[side] else vadd(q, c.stride)
                target, p = plant, PITCH[phase]
                if phase == "strike":
                    target = vadd(plant, (0.0, 0.0, RUN_LANDING_HEIGHT))
            elif phase == "heel":
                # Rolled onto the toe tip, which stays where the flat foot put it.
                p = -MAX_TOE_OFF_DEG
                tip_pos = vadd(q, toe_tip_offset(sk, rest, side, flat))
                target = vsub(tip_pos, toe_tip_offset(sk, rest, side, pitched(flat, p)))
            else:
                behind, above = RUN_AIR[phase]
                target, p = (q[0], root[1] + behind, q[2] + above), PITCH[phase]
            th, ca = solve_leg(sk, lambda o, t=t: c.world_at(t, o), thigh, calf, foot, target,
                               sk.rot[thigh])
            thighs.append(th)
            calves.append(ca)
            pitch.append(p)
        c.local[thigh], c.local[calf] = thighs, calves
        pitches[side] = pitch
    return ground, pitches


def author_feet(sk, c, rest, ground, phases, pitches=None):
    for side, (thigh, calf, foot, tip) in LEGS.items():
        flat = rest[foot][1]
        out = []
        for f in range(7):
            t = c.times[f]
            w = c.world_at(t)
            phase = phases[side][f]
            if pitches is not None:
                p = pitches[side][f]
            elif phase == "heel":
                p = toe_on_ground_pitch(sk, rest, side, w[foot][0], ground)
            else:
                p = PITCH[phase]
            # footLocal = footWorld × Inverse(calfWorld)
            out.append(qnorm(qmul(pitched(flat, p), qinv(w[calf][1]))))
        c.local[foot] = out


# --- upper body ---------------------------------------------------------------------------------

def author_upper_body(sk, c, rest, gait):
    u = UPPER[gait]
    spines = [s for s in SPINES if sk.present(s)]
    lean_axis_sign = -1.0 if rot(UP, qaxis(10.0, LATERAL))[1] > 0 else 1.0
    keyed = {s: [] for s in spines + [43, 44] + [a for arm in ARMS.values() for a in arm]}
    for f in range(7):
        t = c.times[f]
        w = c.world_at(t)
        swing = {side: thigh_swing_deg(w, side) for side in LEGS}
        # The chest turns against the hips: the right shoulder back while the right leg is
        # forward. The twist is shared by the spine links; the neck takes back half of it and
        # the head faces the way the walk goes.
        twist = -u["twist"] * (swing["R"] - swing["L"])
        lean = qaxis(lean_axis_sign * u["lean"], LATERAL)
        overrides = {}
        parent_world = w[1][1]
        for i, s in enumerate(spines):
            frac = (i + 1) / len(spines)
            world = qmul(qmul(rest[s][1], qaxis(twist * frac, UP)),
                         slerp((0, 0, 0, 1), lean, frac))
            overrides[s] = qnorm(qmul(world, qinv(parent_world)))
            parent_world = world
        neck_world = qmul(qmul(rest[43][1], qaxis(twist * 0.5, UP)), lean)
        overrides[43] = qnorm(qmul(neck_world, qinv(parent_world)))
        overrides[44] = qnorm(qmul(rest[44][1], qinv(neck_world)))
        for side, (clav, upper, fore, hand) in ARMS.items():
            overrides[clav] = sk.rot[clav]
            overrides[hand] = sk.rot[hand]
            # The upper arm's swing off the vertical is set against its thigh's, measured in
            # the world, so that the chest's lean and twist do not shift it.
            want = -u["arm"] * swing[side]
            arm = want
            for _ in range(4):
                overrides[upper] = swung_upper_arm(sk, rest, side, arm)
                elbow = u["elbow"] + u["elbow_fwd"] * max(want, 0.0)
                overrides[fore] = qnorm(qmul(sk.rot[fore],
                                             bend(elbow_sign(sk, rest, side) * elbow)))
                got = limb_swing_deg(c.world_at(t, overrides), upper, fore)
                arm += want - got
        for s, q in overrides.items():
            keyed[s].append(q)
    c.local.update(keyed)


def swung_upper_arm(sk, rest, side, deg):
    """Upper arm local rotation swung forward by deg about the lateral axis, relative to the
    chest: upperLocal' = upperLocal × (P × T × P⁻¹), P the clavicle's rest world rotation."""
    clav, upper = ARMS[side][0], ARMS[side][1]
    p = rest[clav][1]
    turn = qaxis(forward_swing_sign(sk, rest, side) * deg, LATERAL)
    return qnorm(qmul(sk.rot[upper], qmul(qmul(p, turn), qinv(p))))


def limb_swing_deg(world, upper, middle):
    """Forward swing of a bone: angle of its direction from straight down, forward (-y) > 0."""
    d = vsub(world[middle][0], world[upper][0])
    return math.degrees(math.atan2(-d[1], -d[2]))


def forward_swing_sign(sk, rest, side):
    """Sign of the turn about the lateral axis that swings this arm's hand forward (-y)."""
    clav, upper, fore, hand = ARMS[side]
    p = rest[clav][1]
    turned = qmul(sk.rot[upper], qmul(qmul(p, qaxis(10.0, LATERAL)), qinv(p)))
    w = sk.fk((0, 0, 0), sk.rot[0], {upper: turned})
    return 1.0 if w[hand][0][1] < rest[hand][0][1] else -1.0


def elbow_sign(sk, rest, side):
    """Sign of the forearm bend about its z that brings the hand forward."""
    fore, hand = ARMS[side][2], ARMS[side][3]
    w = sk.fk((0, 0, 0), sk.rot[0], {fore: qmul(sk.rot[fore], bend(20.0))})
    return 1.0 if w[hand][0][1] < rest[hand][0][1] else -1.0


# --- main ---------------------------------------------------------------------------------------

def author(sk, gait):
    rest = rest_pose(sk)
    c = Cycle(gait, sk)
    if gait == 0:
        ground = author_walk_legs(sk, c, rest)
        author_feet(sk, c, rest, ground, WALK_PHASES)
    else:
        ground, pitches = author_run_legs(sk, c, rest)
        author_feet(sk, c, rest, ground, RUN_PHASES, pitches)
    author_upper_body(sk, c, rest, gait)
    return c


def main(argv):
    if len(argv) != 3:
        sys.stderr.write("usage: gaitgen.py DEFAULT_BIPED_DUMP.json OUT.cpp\n")
        return 2
    sk = Skeleton(argv[1])
    cycles = [author(sk, g) for g in (0, 1)]
    with open(argv[2], "w") as out:
        write_table(out, sk, cycles)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
