#!/usr/bin/env python3
"""Writes the malformed-input corpus of tests/data/malformed/: damaged BVH takes, animation
(.bpd) and hand-pose (.bph) files, scene files, session scripts and OBJ meshes, one file per
case, and the MANIFEST that says how each is loaded and what the user must be told.

Binary cases start from the golden files of tests/data/ and change one field; text cases are
written out here. Run from the repository's top: python3 tools/malformed/make_malformed.py
"""
import os
import shutil
import struct

TOP = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT = os.path.join(TOP, "tests", "data", "malformed")
GOLDEN = os.path.join(TOP, "tests", "data")

BPD_HEADER = 28  # magic, version, frames, fps, start frame, leg measure, bone count
BPH_HEADER = 16  # magic, version, hand slot, record count
KEY = 44         # time, position xyz, rotation xyzw, scale xyz
INT_MAX = 0x7FFFFFFF
NAN = struct.unpack("<f", b"\x00\x00\xc0\x7f")[0]
INF = float("inf")

cases = []  # (folder/file, how, expected message)


def add(folder, name, data, how, message):
    path = os.path.join(OUT, folder, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data.encode("latin-1") if isinstance(data, str) else data)
    cases.append((folder + "/" + name, how, message))


def patch_int(data, offset, value):
    return data[:offset] + struct.pack("<i", value) + data[offset + 4:]


def patch_float(data, offset, value):
    return data[:offset] + struct.pack("<f", value) + data[offset + 4:]


# --- BVH: the modify panel's "Load BVH" ---------------------------------------------------------

LEG = ("JOINT RightHip\n{\nOFFSET -3 0 0\nCHANNELS 3 Zrotation Xrotation Yrotation\n"
       "JOINT RightKnee\n{\nOFFSET 0 -17 0\nCHANNELS 3 Zrotation Xrotation Yrotation\n"
       "JOINT RightAnkle\n{\nOFFSET 0 -16 0\nCHANNELS 3 Zrotation Xrotation Yrotation\n"
       "End Site\n{\nOFFSET 0 -3 4\n}\n}\n}\n}\n")
ROOT_HEAD = "HIERARCHY\nROOT Hips\n{\nOFFSET 0 35 0\n" \
            "CHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\n"
HIER = ROOT_HEAD + LEG + "}\n"
ROW = "0 35 0 0 0 0 1 2 3 4 5 6 7 8 9\n"


def bvh(name, text, message, answers="bvh"):
    add("bvh", name, text, answers, message)


bvh("empty.bvh", "", "File Error - Expected hierarchy.")
bvh("utf16.bvh", "\xff\xfe" + "".join(c + "\0" for c in HIER), "File Error - Expected hierarchy.")
bvh("motion-first.bvh", "MOTION\nFrames: 1\n", "File Error - Expected hierarchy.")
bvh("cut-after-hierarchy.bvh", "HIERARCHY\n", "The file has no right leg to measure")
bvh("cut-after-root.bvh", "HIERARCHY\nROOT Hips\n", "File Error - Expected OFFSET.")
bvh("cut-after-brace.bvh", "HIERARCHY\nROOT Hips\n{\n", "File Error - Expected OFFSET.")
bvh("cut-after-offset.bvh", "HIERARCHY\nROOT Hips\n{\nOFFSET 0 35 0\n",
    "File Error - Expected CHANNELS.")
bvh("cut-in-end-site.bvh", ROOT_HEAD + "End Site\n{\n", "File Error - Expected OFFSET.")
bvh("offset-two-numbers.bvh", HIER.replace("OFFSET 0 -17 0", "OFFSET 0 -17"),
    "OFFSET needs three numbers (line 12)")
bvh("offset-nan.bvh", HIER.replace("OFFSET 0 -17 0", "OFFSET 0 nan 0"),
    "OFFSET needs three numbers (line 12)")
bvh("offset-inf.bvh", HIER.replace("OFFSET 0 -17 0", "OFFSET 0 -inf 0"),
    "OFFSET needs three numbers (line 12)")
bvh("offset-beyond-float.bvh", HIER.replace("OFFSET 0 -17 0", "OFFSET 0 -1e39 0"),
    "OFFSET needs three numbers (line 12)")
bvh("no-channels.bvh", HIER.replace("CHANNELS 3 Zrotation Xrotation Yrotation\nJOINT RightKnee",
                                    "JOINT RightKnee"), "File Error - Expected CHANNELS.")
bvh("misspelt-joint.bvh", HIER.replace("JOINT RightKnee", "JIONT RightKnee"),
    "File Error - Expected ROOT or JOINT or MOTION.")
bvh("too-many-braces.bvh", HIER + "}\n}\nMOTION\nFrames: 1\nFrame Time: 0.1\n" + ROW,
    "File Error - Encountered too many closing braces.")
bvh("no-frame-count.bvh", HIER + "MOTION\nFrame Time: 0.1\n" + ROW,
    "Couldn't Find FrameCnt Area")
bvh("negative-frame-count.bvh", HIER + "MOTION\nFrames: -5\nFrame Time: 0.1\n" + ROW,
    "Frames: must not be negative")
bvh("fewer-rows-than-frames.bvh", HIER + "MOTION\nFrames: 3\nFrame Time: 0.1\n" + ROW,
    "Frames: says 3, the file holds 1")
# Two billion frames of 15 values would take 120 GB of samples: refused before reading on.
bvh("two-billion-frames.bvh", HIER + "MOTION\nFrames: 2147483647\nFrame Time: 0.1\n" + ROW,
    "Frames: 2147483647 of 15 values need more than 1024 MB (line 28)")
bvh("frame-count-past-int.bvh", HIER + "MOTION\nFrames: 99999999999\nFrame Time: 0.1\n" + ROW,
    "Frames: needs a whole number (line 27)")
bvh("frame-count-not-a-number.bvh", HIER + "MOTION\nFrames: many\nFrame Time: 0.1\n" + ROW,
    "Frames: needs a whole number (line 27)")
bvh("cut-in-row.bvh", HIER + "MOTION\nFrames: 1\nFrame Time: 0.1\n0 35 0 0 0 0 1 2",
    "Too few values for the joints' channels (line 29)")
bvh("value-nan.bvh", HIER + "MOTION\nFrames: 1\nFrame Time: 0.1\n" + ROW.replace(" 4 ", " nan "),
    "\"nan\" is not a number (line 29)")
bvh("value-inf.bvh", HIER + "MOTION\nFrames: 1\nFrame Time: 0.1\n" + ROW.replace(" 4 ", " inf "),
    "\"inf\" is not a number (line 29)")
bvh("value-beyond-float.bvh",
    HIER + "MOTION\nFrames: 1\nFrame Time: 0.1\n" + ROW.replace(" 4 ", " 4e38 "),
    "\"4e38\" is not a number (line 29)")
bvh("deep-nesting.bvh",
    "HIERARCHY\n" + "".join(("ROOT" if i == 0 else "JOINT") + " J%d\n{\nOFFSET 0 1 0\n"
                            "CHANNELS 3 Zrotation Xrotation Yrotation\n" % i for i in range(300)),
    "Joints nested too deep (line 1026)")
bvh("overlong-joint-name.bvh", HIER.replace("RightHip", "RightHip" + "x" * 100000),
    "The file has no right leg to measure")
bvh("overlong-line.bvh", HIER + "MOTION\nFrames: 1\nFrame Time: 0.1\n" + " " * 200000 + "0 35 0\n",
    "Too few values for the joints' channels (line 29)")
bvh("garbage-line.bvh", "HIERARCHY\n" + "\x01\x02\xff" * 30000 + "\n",
    "File Error - Expected ROOT or JOINT or MOTION.")
bvh("latin1-names.bvh", HIER.replace("RightKnee", "RightKn\xe9e"),
    "The file has no right leg to measure")
bvh("too-many-joints.bvh",
    ROOT_HEAD + LEG + "".join("JOINT J%d\n{\nOFFSET 0 1 0\nCHANNELS 3 Zrotation Xrotation "
                              "Yrotation\nEnd Site\n{\nOFFSET 0 1 0\n}\n}\n" % i
                              for i in range(28)) + "}\nMOTION\nFrames: 0\nFrame Time: 0.1\n",
    "32 joints with children (End Sites count as children); at most 31")

# --- .BPD: the modify panel's "File/Load" ---------------------------------------------------------

with open(os.path.join(GOLDEN, "walk_v1000.bpd"), "rb") as f:
    walk = f.read()
with open(os.path.join(GOLDEN, "hand_v1000_right.bph"), "rb") as f:
    hand = f.read()
first_key = BPD_HEADER + 8


def bpd(name, data, message):
    add("bpd", name, data, "bpd", message)


bpd("empty.bpd", b"", "File ends too early - Aborting!")
bpd("cut-in-magic.bpd", walk[:3], "File ends too early - Aborting!")
bpd("wrong-magic.bpd", patch_int(walk, 0, 0x41424344), "Invalid File ID!")
bpd("hand-pose-file.bpd", hand, "Invalid File ID!")
bpd("bvh-text.bpd", HIER.encode(), "Invalid File ID!")
bpd("cut-after-magic.bpd", walk[:4], "File ends too early - Aborting!")
bpd("wrong-version.bpd", patch_int(walk, 4, 999), "Invalid File Version!")
bpd("cut-after-version.bpd", walk[:8], "File ends too early - Aborting!")
bpd("no-frames.bpd", patch_int(walk, 8, 0), "No frames found - Aborting!")
bpd("negative-frames.bpd", patch_int(walk, 8, -7), "No frames found - Aborting!")
bpd("cut-in-header.bpd", walk[:20], "File ends too early - Aborting!")
bpd("cut-after-leg-measure.bpd", walk[:24], "File ends too early - Aborting!")
bpd("no-bones.bpd", patch_int(walk, 24, 0), "No bones in file? Failure!")
bpd("negative-bones.bpd", patch_int(walk, 24, -1), "No bones in file? Failure!")
bpd("two-billion-bones.bpd", patch_int(walk, 24, INT_MAX), "File ends too early - Aborting!")
bpd("cut-after-header.bpd", walk[:BPD_HEADER], "File ends too early - Aborting!")
bpd("cut-after-slot.bpd", walk[:BPD_HEADER + 4], "File ends too early - Aborting!")
bpd("negative-key-count.bpd", patch_int(walk, BPD_HEADER + 4, -2), "Invalid key count - Aborting!")
# 2^31 - 1 keys of 44 bytes would be 94 GB.
bpd("two-billion-keys.bpd", patch_int(walk, BPD_HEADER + 4, INT_MAX),
    "File ends too early - Aborting!")
bpd("cut-in-key.bpd", walk[:first_key + 20], "File ends too early - Aborting!")
bpd("cut-in-last-bone.bpd", walk[:-1], "File ends too early - Aborting!")
bpd("rotation-nan.bpd", patch_float(walk, first_key + 16, NAN), "Invalid key value - Aborting!")
bpd("position-inf.bpd", patch_float(walk, first_key + 4, INF), "Invalid key value - Aborting!")
bpd("scale-nan.bpd", patch_float(walk, first_key + 32, NAN), "Invalid key value - Aborting!")

# --- .BPH: the modify panel's "Default Hand Poses/Load" ----------------------------------------


def bph(name, data, message):
    add("bph", name, data, "bph", message)


bph("empty.bph", b"", "File ends too early - Aborting!")
bph("wrong-magic.bph", patch_int(hand, 0, 0x5A445042), "Invalid File ID!")
bph("wrong-version.bph", patch_int(hand, 4, 1001), "Invalid File Version!")
bph("cut-after-version.bph", hand[:8], "File ends too early - Aborting!")
bph("hand-type-of-no-hand.bph", patch_int(hand, 8, 50), "Invalid hand type id - Aborting!")
bph("cut-after-hand-type.bph", hand[:12], "File ends too early - Aborting!")
bph("no-records.bph", patch_int(hand, 12, 0), "No hand bones in file? Failure!")
bph("negative-records.bph", patch_int(hand, 12, -3), "No hand bones in file? Failure!")
bph("two-billion-records.bph", patch_int(hand, 12, INT_MAX), "File ends too early - Aborting!")
bph("cut-in-record.bph", hand[:BPH_HEADER + 10], "File ends too early - Aborting!")
bph("rotation-nan.bph", patch_float(hand, BPH_HEADER + 4, NAN), "Invalid key value - Aborting!")
bph("rotation-inf.bph", patch_float(hand, BPH_HEADER + 8, -INF), "Invalid key value - Aborting!")

# --- scene files: `load "F.qscene"` ------------------------------------------------------------

NODE = ('{"name": "A", "type": 4, "parent": null, "children": [], "color": [1, 1, 1, 1], '
        '"flags": 0, "ik": {"initial": [0, 0, 0, 1], "min": [0, 0, 0], "max": [0, 0, 0], '
        '"dof": 0}, "keys": [{"t": 0, "pos": [0, 0, 0], "rot": [0, 0, 0, 1], '
        '"scale": [1, 1, 1]}]}')
SCENE = ('{"format": "qscene", "version": 2, "time": 0, "range": [0, 100], "tpf": 33, '
         '"anim": false, "nodes": [%s]}')


def scene(name, text, message):
    add("qscene", name, text, "scene", message)


scene("empty.qscene", "", "not valid JSON")
scene("cut-in-node.qscene", (SCENE % NODE)[:120], "not valid JSON")
scene("cut-before-end.qscene", (SCENE % NODE)[:-1], "not valid JSON")
scene("utf16.qscene", "\xff\xfe" + "".join(c + "\0" for c in SCENE % NODE), "not valid JSON")
scene("invalid-utf8-name.qscene", SCENE % NODE.replace('"A"', '"\xe9t\xe9"'), "not valid JSON")
scene("nan-literal.qscene", SCENE % NODE.replace('"pos": [0, 0, 0]', '"pos": [NaN, 0, 0]'),
      "not valid JSON")
scene("deep-nesting.qscene", "[" * 100000 + "]" * 100000, "not a scene file")
scene("no-format.qscene", (SCENE % NODE).replace('"format": "qscene", ', ""), "format")
scene("future-version.qscene", (SCENE % NODE).replace('"version": 2', '"version": 99'),
      "version")
scene("parent-out-of-range.qscene", SCENE % NODE.replace('"parent": null', '"parent": 5'),
      "parent")
scene("child-of-itself.qscene",
      SCENE % NODE.replace('"children": []', '"children": [0]').replace('"parent": null',
                                                                       '"parent": 0'),
      "parent")
scene("key-time-fraction.qscene", SCENE % NODE.replace('"t": 0', '"t": 0.5'),
      "must be a whole number")
scene("position-beyond-float.qscene", SCENE % NODE.replace('"pos": [0, 0, 0]',
                                                           '"pos": [1e39, 0, 0]'), "pos")
scene("rotation-short.qscene", SCENE % NODE.replace('"rot": [0, 0, 0, 1]', '"rot": [0, 0, 1]'),
      "rot")
scene("range-reversed.qscene", (SCENE % NODE).replace('[0, 100]', '[100, 0]'), "range")
scene("nodes-not-a-list.qscene", (SCENE % NODE).replace('"nodes": [', '"nodes": {"a": ')
      .replace("}]}", "}}}"), "nodes")

# --- session scripts: the script itself, run with `quorvane run` --------------------------------


def script(name, text, message):
    add("qvs", name, text, "script", message)


script("unterminated-quote.qvs", 'select "Bip01\n', "unterminated quote")
script("quote-glued-to-word.qvs", 'select x"Bip01"\n', "quote")
script("unknown-command.qvs", "jump 1 2 3\n", "unknown command")
script("int-past-range.qvs", "time 99999999999\n", "frame")
script("nan-distance.qvs", 'select "Bip01"\nmove nan 0 0\n', "nan")
script("distance-beyond-float.qvs", 'select "Bip01"\nmove 1e39 0 0\n', "1e39")
script("overlong-line.qvs", "x" * 200000 + "\n", "unknown command")
script("utf16.qvs", "\xff\xfe" + "".join(c + "\0" for c in "undo\n"), "unknown command")
script("nul-in-name.qvs", 'select "Bip\x0001"\n', "Bip")
script("latin1-command.qvs", "s\xe9lect \"Bip01\"\n", "unknown command")

# --- OBJ meshes: `import "F.obj"` -------------------------------------------------------------

TRI = "o Tri\nv 0 0 0\nv 1 0 0\nv 0 1 0\n"


def obj(name, text, message):
    add("obj", name, text, "obj", message)


obj("empty.obj", "", "the file holds no vertices")
obj("utf16.obj", "\xff\xfe" + "".join(c + "\0" for c in TRI + "f 1 2 3\n"), "the file is UTF-16 text")
obj("cut-in-vertex.obj", TRI + "f 1 2 3\nv 2 0", "line 6: a vertex needs three coordinates")
obj("coordinate-nan.obj", TRI.replace("v 1 0 0", "v 1 nan 0") + "f 1 2 3\n",
    "line 3: \"nan\" is not a finite number")
obj("coordinate-inf.obj", TRI.replace("v 1 0 0", "v inf 0 0") + "f 1 2 3\n",
    "line 3: \"inf\" is not a finite number")
obj("coordinate-beyond-float.obj", TRI.replace("v 1 0 0", "v 1 0 1e400") + "f 1 2 3\n",
    "line 3: \"1e400\" is not a finite number")
obj("corner-past-vertices.obj", TRI + "f 1 2 4\n", "line 5: face corner \"4\" names vertex 4")
obj("corner-before-vertices.obj", "o Early\nf 1 2 3\n" + TRI[7:],
    "line 2: face corner \"1\" names vertex 1 but 0 vertices")
obj("corner-past-int.obj", TRI + "f 1 2 99999999999999999999\n",
    "face corner \"99999999999999999999\" does not start with a vertex number")
obj("face-two-corners.obj", TRI + "f 1 2\n", "line 5: a face needs three corners or more")
obj("face-of-300-corners.obj",
    "".join("v %d %d 0\n" % (i % 20, i // 20) for i in range(300)) +
    "f " + " ".join(str(i + 1) for i in range(300)) + "\n",
    "line 301: a face has 300 corners, more than the 255 read")
obj("nul-bytes.obj", TRI + "f 1 2 3\n\0\0\0\n", "line 6: byte 0x00 is not text")
obj("overlong-line.obj", TRI + "f 1 2 3\n" + "x" * 200000 + "\n", "is not an OBJ statement")

with open(os.path.join(OUT, "MANIFEST"), "w") as f:
    f.write("# Malformed inputs, one a line: FILE<TAB>HOW<TAB>MESSAGE. HOW is the way a user\n"
            "# loads it: bvh (\"Load BVH\"), bpd (\"File/Load\"), bph (\"Default Hand Poses/Load\"),\n"
            "# scene (`load`), script (the script itself), obj (`import`). MESSAGE is a part of what\n"
            "# the user is told. Written by tools/malformed/make_malformed.py.\n")
    for path, how, message in cases:
        f.write("%s\t%s\t%s\n" % (path, how, message))
print("%d cases in %s" % (len(cases), OUT))
