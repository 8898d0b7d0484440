#!/usr/bin/env python3
"""Writes a simple symmetric low-poly human as Wavefront OBJ around a default biped.

The biped is the one `create "Bones" "Biped"` and `drag 0 0 0 8 ground` make: 8 units tall,
standing on z = 0 at x = y = 0, facing -y, its left side at +x. The joints below are that
biped's, taken from a scene dump (left side and centre only, rounded to 3 decimals).

The body is closed tubes of eight-sided rings: the torso, neck and head around the centre line,
and a leg, a foot, an arm and a hand on the left side. The right side is the left side with x
negated, and every centre ring is built from its x > 0 half mirrored, so the mesh is exactly
symmetric about x = 0 (the coordinates are written rounded to 5 decimals, and a vertex and its
mirror round alike). Vertices come left first (arm, hand, leg, foot), then centre, then right in
the left's order: Part 6.1's matching takes the first fitting candidate in index order, and a
left limb listed first is where a right limb's weights belong.

    python3 tools/skinmesh/make_human.py examples/human.obj
"""
import math
import sys

# Joints of the default biped of height 8 (host units).
PELVIS = (0.0, 0.0, 4.879)
L_THIGH = (0.44, 0.0, 4.879)
L_CALF = (0.44, -0.219, 2.692)
L_FOOT = (0.44, 0.0, 0.506)
L_TOE = (0.44, -0.8, 0.0)
NECK = (0.0, 0.0, 7.67)
HEAD = (0.0, 0.0, 8.0)
L_UPPERARM = (0.714, 0.0, 7.557)
L_FOREARM = (0.845, 0.0, 6.245)
L_HAND = (0.974, -0.262, 4.959)
L_FINGERS = (1.03, -0.42, 4.35)

SIDES = 8          # corners of every ring
DECIMALS = 5       # written precision (host units)


def sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def add(a, b):
    return (a[0] + b[0], a[1] + b[1], a[2] + b[2])


def scale(a, s):
    return (a[0] * s, a[1] * s, a[2] * s)


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def unit(a):
    n = math.sqrt(a[0] ** 2 + a[1] ** 2 + a[2] ** 2)
    return scale(a, 1.0 / n)


def lerp(a, b, s):
    return add(a, scale(sub(b, a), s))


class Mesh:
    def __init__(self):
        self.verts = []
        self.faces = []

    def vertex(self, p):
        self.verts.append(tuple(round(c, DECIMALS) + 0.0 for c in p))
        return len(self.verts) - 1

    def tube(self, rings, cap_start=True, cap_end=True):
        """rings: lists of SIDES points each, in the same turning order; closed by fans."""
        ids = [[self.vertex(p) for p in ring] for ring in rings]
        for a, b in zip(ids, ids[1:]):
            for j in range(SIDES):
                k = (j + 1) % SIDES
                self.faces.append([a[j], a[k], b[k], b[j]])
        if cap_start:
            c = self.vertex(scale(tuple(map(sum, zip(*rings[0]))), 1.0 / SIDES))
            for j in range(SIDES):
                self.faces.append([c, ids[0][(j + 1) % SIDES], ids[0][j]])
        if cap_end:
            c = self.vertex(scale(tuple(map(sum, zip(*rings[-1]))), 1.0 / SIDES))
            for j in range(SIDES):
                self.faces.append([c, ids[-1][j], ids[-1][(j + 1) % SIDES]])


def centre_ring(z, rx, ry, y=0.0):
    """An ellipse around the centre line at height z: its x > 0 corners computed, the others
    their mirrors, so the ring is exactly symmetric about x = 0."""
    half = []
    for j in range(SIDES):
        a = math.radians(22.5 + 45.0 * j)
        half.append((rx * math.cos(a), y + ry * math.sin(a), z))
    ring = list(half)
    for j in range(SIDES):
        if half[j][0] < 0.0:
            mirror = SIDES // 2 - 1 - j if j < SIDES // 2 else SIDES + SIDES // 2 - 1 - j
            ring[j] = (-half[mirror][0], half[mirror][1], z)
    return ring


def limb_ring(centre, direction, radius, squash=1.0):
    """A ring around a limb's axis (left side only; the right side is mirrored whole)."""
    d = unit(direction)
    helper = (0.0, 0.0, 1.0) if abs(d[2]) < 0.9 else (0.0, 1.0, 0.0)
    u = unit(cross(d, helper))
    v = cross(d, u)
    return [add(centre, add(scale(u, radius * math.cos(math.radians(22.5 + 45.0 * j))),
                            scale(v, radius * squash * math.sin(math.radians(22.5 + 45.0 * j)))))
            for j in range(SIDES)]


def path_rings(points, radii, samples):
    """Rings along a polyline: samples[i] rings on segment i (its start included), plus the end."""
    rings = []
    for i in range(len(points) - 1):
        a, b = points[i], points[i + 1]
        for s in range(samples[i]):
            t = s / samples[i]
            rings.append(limb_ring(lerp(a, b, t), sub(b, a), radii[i] + (radii[i + 1] - radii[i]) * t))
    rings.append(limb_ring(points[-1], sub(points[-1], points[-2]), radii[-1]))
    return rings


def box_rings(x0, x1, y0, y1, z0, z1):
    """A block as a two-ring tube along y (eight corners per ring, two on each edge)."""
    rings = []
    for y in (y0, y1):
        xs = (x0, x0 + (x1 - x0) / 3, x0 + 2 * (x1 - x0) / 3, x1)
        ring = [(xs[0], y, z0), (xs[1], y, z0), (xs[2], y, z0), (xs[3], y, z0),
                (xs[3], y, z1), (xs[2], y, z1), (xs[1], y, z1), (xs[0], y, z1)]
        rings.append(ring)
    return rings


def left_side(mesh):
    # Arm: shoulder to elbow to wrist.
    arm = [add(L_UPPERARM, (-0.05, 0.0, 0.05)), L_FOREARM, L_HAND]
    mesh.tube(path_rings(arm, [0.17, 0.12, 0.09], [3, 3]))
    # Hand: wrist to finger tips, flat.
    mesh.tube([limb_ring(L_HAND, sub(L_FINGERS, L_HAND), 0.1, 0.45),
               limb_ring(lerp(L_HAND, L_FINGERS, 0.5), sub(L_FINGERS, L_HAND), 0.12, 0.45),
               limb_ring(L_FINGERS, sub(L_FINGERS, L_HAND), 0.08, 0.45)])
    # Leg: hip to knee to ankle.
    leg = [add(L_THIGH, (0.0, 0.0, 0.15)), L_CALF, L_FOOT]
    mesh.tube(path_rings(leg, [0.34, 0.22, 0.14], [4, 4]))
    # Foot: a block from the heel to the toes.
    mesh.tube(box_rings(L_FOOT[0] - 0.17, L_FOOT[0] + 0.17, 0.2, L_TOE[1], 0.0, 0.38))


def centre(mesh):
    # Torso: hips to shoulders (ellipses, wider across x).
    torso = [(4.55, 0.55, 0.33), (4.879, 0.6, 0.35), (5.4, 0.5, 0.3), (6.0, 0.52, 0.3),
             (6.6, 0.6, 0.32), (7.2, 0.66, 0.33), (7.7, 0.5, 0.28)]
    mesh.tube([centre_ring(z, rx, ry) for z, rx, ry in torso])
    # Neck and head.
    mesh.tube([centre_ring(z, r, r) for z, r in ((7.65, 0.13), (7.95, 0.13))])
    head = [(7.92, 0.2, 0.22), (8.1, 0.3, 0.32), (8.35, 0.31, 0.33), (8.58, 0.22, 0.24)]
    mesh.tube([centre_ring(z, rx, ry, -0.04) for z, rx, ry in head])


def build():
    mesh = Mesh()
    left_side(mesh)
    centre(mesh)
    left = Mesh()
    left_side(left)
    base = len(mesh.verts)
    for p in left.verts:
        mesh.vertex((-p[0], p[1], p[2]))
    for f in left.faces:  # mirrored: reversed turning keeps the faces outward
        mesh.faces.append([i + base for i in reversed(f)])
    return mesh


def write(path):
    mesh = build()
    with open(path, "w", encoding="utf-8") as out:
        out.write("# A symmetric low-poly human around the default biped (8 units tall, feet on\n")
        out.write("# z = 0, facing -y). Made by tools/skinmesh/make_human.py; do not edit.\n")
        out.write("o Body\n")
        fmt = "v %%.%df %%.%df %%.%df\n" % (DECIMALS, DECIMALS, DECIMALS)
        for p in mesh.verts:
            out.write(fmt % tuple(0.0 if c == 0 else c for c in p))
        for f in mesh.faces:
            out.write("f " + " ".join(str(i + 1) for i in f) + "\n")
    print("%s: %d vertices, %d faces" % (path, len(mesh.verts), len(mesh.faces)))


if __name__ == "__main__":
    write(sys.argv[1] if len(sys.argv) > 1 else "human.obj")
