#!/usr/bin/env python3
"""Hand pose generator: the twelve default hand poses of the modify tool, authored as joint
angles in degrees and written out as the quaternion table
Skeleton/Bip/Posing/BipHandPoseTables.cpp.

    python3 scripts/hand_poses.py > Skeleton/Bip/Posing/BipHandPoseTables.cpp

Angles are the right hand's. A finger's first link is turned, in its own frame, by `spread`
about the hand's y axis (towards the thumb side when positive), then `twist` about its own
length, then `curl` towards the palm; its further links curl about their own z axis only.
"Skin", "Idle" and "Fist" are fixed rows, copied as they stand.
"""
import math

IDENTITY = (0.0, 0.0, 0.0, 1.0)


def qmul(a, b):
    """Hamilton product a·b: rotate by a, then by b."""
    ax, ay, az, aw = a
    bx, by, bz, bw = b
    return (aw * bx + ax * bw + ay * bz - az * by, aw * by - ax * bz + ay * bw + az * bx,
            aw * bz + ax * by - ay * bx + az * bw, aw * bw - ax * bx - ay * by - az * bz)


def axis_angle(deg, axis):
    h = math.radians(deg) / 2.0
    s = math.sin(h)
    return (axis[0] * s, axis[1] * s, axis[2] * s, math.cos(h))


def curl(deg):  # towards the palm: a negative turn about z
    return axis_angle(-deg, (0, 0, 1))


def first_link(spread=0.0, curl_deg=0.0, twist=0.0):
    # first = curl × twist × spread: spread about the hand's y, then twist and curl in the
    # link's own turned frame.
    return qmul(qmul(curl(curl_deg), axis_angle(twist, (1, 0, 0))), axis_angle(spread, (0, 1, 0)))


# Hand rows (row 0) by kind.
HAND_SKIN = (0.70683, 0.0, 0.0, -0.70739)
HAND_IDLE = (-0.70683, 0.0, 0.0, 0.70739)
HAND_RELAXED = (-0.78153, -0.10373, -0.01795, 0.61492)
HAND_PUSH = (0.70296, 0.07375, -0.07381, -0.70352)


def fixed(hand, firsts):
    """A pose whose only rows are the hand and the five first links."""
    rows = [hand] + [IDENTITY] * 15
    for f, q in enumerate(firsts):
        rows[1 + 3 * f] = q
    return rows


SKIN = fixed(HAND_SKIN, [
    (-0.00038, 0.32487, 0.00013, 0.94576),
    (-0.0004, 0.04362, 0.00002, 0.99905),
    (-0.0004, 0.04362, 0.00002, 0.99905),
    (-0.0004, 0.01745, 0.00001, 0.99985),
    (-0.0004, -0.04362, -0.00002, 0.99905)])
IDLE = fixed(HAND_IDLE, [
    (-0.0004, 0.08716, 0.00004, 0.9962),
    (-0.0004, 0.0, 0.0, 1.0),
    (-0.0004, 0.0, 0.0, 1.0),
    (-0.0004, 0.0, 0.0, 1.0),
    (-0.0004, 0.0, 0.0, 1.0)])
FIST = [
    HAND_SKIN,
    (0.3319, 0.1558, -0.01237, 0.93024),
    (0.0, 0.0, -0.3552, 0.93479),
    (0.0, 0.0, -0.67226, 0.74032),
    (0.05992, -0.00403, -0.64456, 0.74768),
    (0.0, 0.0, -0.6558, 0.75493),
    (0.0, 0.0, -0.92778, 0.37313),
    (0.02779, 0.03222, -0.64311, 0.75061),
    (0.0, 0.0, -0.71195, 0.70223),
    (0.0, 0.0, -0.77443, 0.63266),
    (0.01069, 0.01332, -0.62924, 0.76554),
    (0.0, 0.0, -0.64746, 0.7621),
    (0.0, 0.0, -0.85386, 0.5205),
    (-0.02643, -0.03379, -0.5983, 0.79245),
    (0.0, 0.0, -0.77093, 0.63692),
    (0.0, 0.0, -0.8422, 0.53917),
]

# Authored poses: per digit (thumb, index, middle, ring, little) the first link's
# (spread, curl, twist) and the curls of links 1 and 2; None keeps a row at the identity.
AUTHORED = {
    "Relaxed": (HAND_RELAXED, [
        ((22, 8, 20), 8, 6),
        ((4, 8, 0), 10, 6),
        ((1, 10, 0), 12, 7),
        ((-2, 12, 0), 14, 8),
        ((-5, 14, 0), 16, 9)]),
    "Pick": (HAND_SKIN, [
        ((10, 40, 15), 30, 15),
        ((6, 55, 0), 45, 30),
        ((2, 62, 0), 62, 40),
        ((-2, 68, 0), 66, 44),
        ((-6, 72, 0), 68, 46)]),
    "Point": (HAND_SKIN, [
        ((12, 22, 62), 28, 30),
        ((3, 3, 0), 2, 1),
        ((1, 78, 0), 88, 70),
        ((-2, 80, 0), 84, 68),
        ((-5, 78, 0), 86, 66)]),
    "Push": (HAND_PUSH, [
        ((40, 0, 0), None, None),
        ((6, 2, 0), None, None),
        ((2, 2, 0), None, None),
        ((-2, 2, 0), None, None),
        ((-6, 2, 0), None, None)]),
    "Reach": (HAND_PUSH, [
        ((48, 6, 10), None, None),
        ((10, 8, 0), 8, 5),
        ((3, 10, 0), 10, 6),
        ((-5, 12, 0), 12, 7),
        ((-13, 14, 0), 14, 8)]),
    "Scratch": (HAND_SKIN, [
        ((30, 5, 40), 45, 45),
        ((8, 10, 0), 70, 60),
        ((2, 10, 0), 75, 60),
        ((-5, 10, 0), 75, 60),
        ((-11, 12, 0), 70, 55)]),
    "Spread": (HAND_SKIN, [
        ((55, 0, 0), None, None),
        ((22, 4, 0), 4, None),
        ((5, 4, 0), 4, 3),
        ((-11, 4, 0), 4, 3),
        ((-28, 4, 0), None, 3)]),
    "Grip": (HAND_SKIN, [
        ((20, 30, 70), 35, 25),
        ((3, 45, 0), 70, 45),
        ((1, 45, 0), 72, 48),
        ((-2, 45, 0), 74, 50),
        ((-5, 45, 0), 76, 52)]),
    "Pistol": (HAND_SKIN, [
        ((70, 2, 0), 3, 2),
        ((3, 3, 0), 2, 1),
        ((1, 78, 0), 88, 70),
        ((-2, 80, 0), 84, 68),
        ((-5, 78, 0), 86, 66)]),
}

ORDER = ["Skin", "Idle", "Relaxed", "Fist", "Pick", "Point", "Push", "Reach", "Scratch",
         "Spread", "Grip", "Pistol"]


def authored(hand, digits):
    rows = [hand]
    for (spread, c, twist), c1, c2 in digits:
        rows.append(first_link(spread, c, twist))
        rows.append(curl(c1) if c1 is not None else IDENTITY)
        rows.append(curl(c2) if c2 is not None else IDENTITY)
    return rows


def pose_rows(name):
    if name == "Skin":
        return SKIN
    if name == "Idle":
        return IDLE
    if name == "Fist":
        return FIST
    return authored(*AUTHORED[name])


ROW_NAMES = ["Hand"] + ["Finger%d%s" % (f, "" if l == 0 else str(l))
                         for f in range(5) for l in range(3)]


def fmt(v):
    s = "%.5f" % v
    if s in ("-0.00000", "0.00000"):
        return "0.0f"
    return s.rstrip("0").rstrip(".") + ("f" if "." in s.rstrip("0").rstrip(".") else ".0f")


def emit():
    out = []
    out.extend([
        "// The twelve default hand poses as constant data, the right hand's parent-relative",
        "// rotations of the hand (row 0) and of finger f link l (row 1 + 3f + l). Generated",
        "// by scripts/hand_poses.py from the angles authored there; edit those and run it",
        "// again."])
    out.append('#include "Skeleton/Bip/BipPoseTables.h"')
    out.append("")
    out.append("namespace {")
    out.append("")
    out.append("constexpr BipHandPose MakeHandPose(const cquat (&rows)[kHandPoseRows]) {")
    out.append("    BipHandPose pose{};")
    out.append("    for (int r = 0; r < kHandPoseRows; ++r) {")
    out.append("        pose[r].time = r;")
    out.append("        pose[r].rot = rows[r];")
    out.append("    }")
    out.append("    return pose;")
    out.append("}")
    out.append("")
    for name in ORDER:
        ident = "k" + name + "Rows"
        out.append("constexpr cquat %s[kHandPoseRows] = {  // \"%s\"" % (ident, name))
        for r, q in enumerate(pose_rows(name)):
            values = tuple(fmt(c) for c in q) + (ROW_NAMES[r],)
            out.append("    {%s, %s, %s, %s},  // %s" % values)
        out.append("};")
        out.append("")
    out.append("}  // namespace")
    out.append("")
    out.append("constexpr std::array<BipHandPose, kNumHandPoses> handPoseTables = {")
    for name in ORDER:
        out.append("    MakeHandPose(k%sRows)," % name)
    out.append("};")
    return "\n".join(out) + "\n"


if __name__ == "__main__":
    print(emit(), end="")
