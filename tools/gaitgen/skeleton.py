# The default biped as the gait generator sees it: every bone's parent, local position and
# local rotation read from a scene dump, scaled to the table's units, and forward kinematics
# over it (world = local × parentWorld).
import json

from qmath import qmul, rot, vadd, vlen, vsub

# Table order of the 23 keyed bones.
GAIT_SLOTS = [0, 1, 2, 3, 4, 20, 21, 22, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48,
              64, 65, 66, 67]
BASE_NAMES = {1: "Pelvis", 2: "R Thigh", 3: "R Calf", 4: "R Foot", 20: "L Thigh",
              21: "L Calf", 22: "L Foot", 38: "Spine", 39: "Spine1", 40: "Spine2",
              41: "Spine3", 42: "Spine4", 43: "Neck", 44: "Head", 45: "R Clavicle",
              46: "R UpperArm", 47: "R Forearm", 48: "R Hand", 64: "L Clavicle",
              65: "L UpperArm", 66: "L Forearm", 67: "L Hand",
              **{5 + 3 * t + l: "R Toe%d%s" % (t, str(l) if l else "")
                 for t in range(5) for l in range(3)},
              **{23 + 3 * t + l: "L Toe%d%s" % (t, str(l) if l else "")
                 for t in range(5) for l in range(3)}}
# The stride constant: table units per leg length are 1 / this.
STRIDE_PER_LEG = 0.020749997


class Skeleton:
    def __init__(self, dump_path, prefix="Bip01"):
        with open(dump_path) as f:
            dump = json.load(f)
        nodes = {n["name"]: n for n in dump["nodes"]}
        self.name_of = {0: prefix}
        for s, b in BASE_NAMES.items():
            self.name_of[s] = prefix + " " + b
        slot_of = {v: k for k, v in self.name_of.items()}
        self.parent, self.pos, self.rot = {}, {}, {}
        for s, name in self.name_of.items():
            if name not in nodes:
                continue
            n = nodes[name]
            k = n["keys"][0]
            self.parent[s] = slot_of.get(n["parent"]) if n["parent"] else None
            self.pos[s] = tuple(k["pos"])
            self.rot[s] = tuple(k["rot"])
        # Leg measure as the generator measures it: |thigh - calf| + |calf - foot| (world).
        w = self.fk((0, 0, 0), self.rot[0], {})
        leg = vlen(vsub(w[2][0], w[3][0])) + vlen(vsub(w[3][0], w[4][0]))
        self.scale = 1.0 / (leg * STRIDE_PER_LEG)  # table units per host unit
        self.pos = {s: tuple(c * self.scale for c in p) for s, p in self.pos.items()}
        self.leg = leg * self.scale

    def present(self, s):
        return s in self.pos

    def fk(self, root_pos, root_rot, local_rots):
        """World (position, rotation) of every known bone, the root placed as given and each
        other bone at its local position with local_rots[slot] or its dump rotation."""
        out = {0: (root_pos, root_rot)}

        def world(s):
            if s in out:
                return out[s]
            ppos, prot = world(self.parent[s])
            lr = local_rots.get(s, self.rot[s])
            out[s] = (vadd(rot(self.pos[s], prot), ppos), qmul(lr, prot))
            return out[s]

        for s in self.pos:
            world(s)
        return out
