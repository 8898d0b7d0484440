# Limb solving for the gait generator: two-bone leg IK onto an ankle target, foot pitch about
# the lateral axis (positive lifts the toes), and turns of a bone's rest rotation measured in
# the world. Every composition follows the host: world = local × parentWorld, and a turn T
# applied in the world after a rotation W gives W × T.
import math

from qmath import cross, dot, qaxis, qinv, qmul, qnorm, turn_between, vlen, vnorm, vscale, vsub

LATERAL = (1.0, 0.0, 0.0)  # the table's lateral axis (the walk goes along -y, +z up)
FORWARD = (0.0, -1.0, 0.0)
KNEE_AXIS = (0.0, 0.0, 1.0)  # knees and elbows bend about their bone's local z


def bend(deg):
    return qaxis(deg, KNEE_AXIS)


def solve_leg(sk, world_of, thigh, calf, foot, target, guess_thigh, iterations=6):
    """Thigh and calf local rotations that put the ankle on target (or aim a leg that cannot
    reach it straight at it). world_of(overrides) gives the world placement of every bone."""
    th = guess_thigh
    lo, hi = 0.5, 150.0
    w = world_of({})
    hip = w[thigh][0]
    want = vlen(vsub(target, hip))
    # Knee angle by bisection on the hip-to-ankle distance (it shrinks as the knee bends).
    for _ in range(50):
        mid = 0.5 * (lo + hi)
        w = world_of({thigh: th, calf: bend(mid)})
        if vlen(vsub(w[foot][0], w[thigh][0])) > want:
            lo = mid
        else:
            hi = mid
    knee = 0.5 * (lo + hi)
    for _ in range(iterations):
        w = world_of({thigh: th, calf: bend(knee)})
        turn = turn_between(vsub(w[foot][0], hip), vsub(target, hip))
        # thighWorld' = thighWorld × turn; local' = thighWorld' × Inverse(pelvisWorld)
        parent_rot = w[sk.parent[thigh]][1]
        th = qnorm(qmul(qmul(w[thigh][1], turn), qinv(parent_rot)))
    th = knee_forward(sk, world_of, thigh, calf, foot, th, bend(knee))
    return th, bend(knee)


def knee_forward(sk, world_of, thigh, calf, foot, th, ca):
    """The thigh turned about the hip-to-ankle line so that the knee points straight forward;
    the ankle, on that line, stays where it is."""
    w = world_of({thigh: th, calf: ca})
    hip, knee, ankle = w[thigh][0], w[calf][0], w[foot][0]
    axis = vnorm(vsub(ankle, hip))
    off = vsub(vsub(knee, hip), vscale(axis, dot(vsub(knee, hip), axis)))
    want = vsub(FORWARD, vscale(axis, dot(FORWARD, axis)))
    if vlen(off) < 1e-6 or vlen(want) < 1e-6:
        return th
    # A positive angle about want × off carries off onto want (row vectors).
    ang = math.degrees(math.atan2(dot(cross(want, off), axis) / (vlen(want) * vlen(off)),
                                  dot(off, want) / (vlen(want) * vlen(off))))
    turned = qmul(w[thigh][1], qaxis(ang, axis))
    # thighLocal = thighWorld × Inverse(pelvisWorld)
    return qnorm(qmul(turned, qinv(w[sk.parent[thigh]][1])))


def world_turned_local(world_rot, turn, parent_world_rot):
    """Local rotation of a bone whose world rotation is world_rot turned by turn in the world:
    local = (world × turn) × Inverse(parentWorld)."""
    return qnorm(qmul(qmul(world_rot, turn), qinv(parent_world_rot)))


def pitched(flat_world_rot, deg):
    """A foot's flat world rotation pitched by deg about the lateral axis (toes up > 0)."""
    return qmul(flat_world_rot, qaxis(deg, LATERAL))
