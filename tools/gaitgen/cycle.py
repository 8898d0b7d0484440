# One gait cycle in the table's frame as the host plays it back: the root's positions and
# rotations at the eight samples, every bone's local rotation at the seven keys, and
# evaluation at any frame with the host's interpolation (positions linear, rotations
# shortest-arc slerp; after the last key the next cycle's first key).
import math

from fixed_rows import ROOT_DELTA, ROOT_ROT, START_POSITIONS, STEPS, TIMES, parse
from qmath import slerp, vadd, vlerp, vscale, vsub


class Cycle:
    def __init__(self, gait, skeleton):
        self.gait = gait
        self.sk = skeleton
        self.times = TIMES[gait]
        self.steps = STEPS[gait]
        self.length = self.times[7]
        deltas = [parse(d) for d in ROOT_DELTA[gait]]
        self.root_rot = [parse(r) for r in ROOT_ROT[gait]]
        # Root positions from the first start sample whose position is given, by the deltas.
        anchor = min(s for (g, s) in START_POSITIONS if g == gait)
        pos = [None] * 8
        pos[anchor] = parse(START_POSITIONS[(gait, anchor)][0])
        for f in range(anchor + 1, 8):
            pos[f] = vadd(pos[f - 1], deltas[f])
        for f in range(anchor - 1, -1, -1):
            pos[f] = vsub(pos[f + 1], deltas[f + 1])
        self.root_pos = pos
        self.stride = vsub(pos[7], pos[0])  # the root's movement over one cycle
        self.local = {}  # slot -> 7 local rotations (samples 0..6)

    def locate(self, t):
        """(cycle number, sample i, blend u) of frame t: between sample i and i + 1."""
        n = math.floor(t / self.length)
        tt = t - n * self.length
        for i in range(7):
            if self.times[i] <= tt <= self.times[i + 1]:
                return n, i, (tt - self.times[i]) / (self.times[i + 1] - self.times[i])
        raise ValueError(t)

    def root_at(self, t):
        n, i, u = self.locate(t)
        p = vadd(vlerp(self.root_pos[i], self.root_pos[i + 1], u), vscale(self.stride, n))
        j = 0 if i == 6 else i + 1
        return p, slerp(self.root_rot[i], self.root_rot[j], u)

    def locals_at(self, t, slots=None):
        _, i, u = self.locate(t)
        j = 0 if i == 6 else i + 1
        return {s: slerp(q[i], q[j], u) for s, q in self.local.items()
                if slots is None or s in slots}

    def world_at(self, t, overrides=None):
        """World placement of every bone at frame t; overrides replace local rotations."""
        p, r = self.root_at(t)
        loc = self.locals_at(t)
        if overrides:
            loc.update(overrides)
        return self.sk.fk(p, r, loc)
