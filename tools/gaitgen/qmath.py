# Host math for the gait generator, in the host's conventions: points are row vectors
# (p' = p · M), the quaternion product a × b means "rotate by a, then by b", and a node's world
# rotation is local × parentWorld.
import math


def qmul(a, b):
    """Hamilton product a·b: rotate by a, then by b."""
    ax, ay, az, aw = a
    bx, by, bz, bw = b
    return (aw * bx + ax * bw + ay * bz - az * by,
            aw * by - ax * bz + ay * bw + az * bx,
            aw * bz + ax * by - ay * bx + az * bw,
            aw * bw - ax * bx - ay * by - az * bz)


def qinv(q):
    n = q[0] ** 2 + q[1] ** 2 + q[2] ** 2 + q[3] ** 2
    return (-q[0] / n, -q[1] / n, -q[2] / n, q[3] / n)


def qnorm(q):
    n = math.sqrt(sum(c * c for c in q))
    return tuple(c / n for c in q)


def qaxis(deg, axis):
    """QuatFromAngleAxis: (axis·sin(θ/2), cos(θ/2))."""
    ax = vnorm(axis)
    h = math.radians(deg) / 2.0
    s = math.sin(h)
    return (ax[0] * s, ax[1] * s, ax[2] * s, math.cos(h))


def rot(p, q):
    """p ⊗ q = p · MatrixFromQuat(q)."""
    x, y, z, w = q
    m = ((1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (x * z + w * y)),
         (2 * (x * y + w * z), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x)),
         (2 * (x * z - w * y), 2 * (y * z + w * x), 1 - 2 * (x * x + y * y)))
    return tuple(p[0] * m[0][j] + p[1] * m[1][j] + p[2] * m[2][j] for j in range(3))


def slerp(a, b, u):
    """The host's shortest-arc slerp (linear blend when the rotations are very close)."""
    d = sum(a[i] * b[i] for i in range(4))
    if d < 0:
        b = tuple(-c for c in b)
        d = -d
    if d > 0.9995:
        wa, wb = 1 - u, u
    else:
        th = math.acos(max(-1.0, min(1.0, d)))
        s = math.sin(th)
        wa, wb = math.sin((1 - u) * th) / s, math.sin(u * th) / s
    return qnorm(tuple(wa * a[i] + wb * b[i] for i in range(4)))


def vadd(a, b):
    return (a[0] + b[0], a[1] + b[1], a[2] + b[2])


def vsub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def vscale(a, s):
    return (a[0] * s, a[1] * s, a[2] * s)


def vlerp(a, b, u):
    return vadd(a, vscale(vsub(b, a), u))


def vlen(a):
    return math.sqrt(a[0] ** 2 + a[1] ** 2 + a[2] ** 2)


def vnorm(a):
    n = vlen(a)
    return (a[0] / n, a[1] / n, a[2] / n)


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def turn_between(a, b):
    """The world turn T with a ⊗ T ∥ b (unit directions): a positive angle about b × a."""
    a, b = vnorm(a), vnorm(b)
    ang = math.degrees(math.atan2(vlen(cross(a, b)), dot(a, b)))
    if ang < 1e-9:
        return (0.0, 0.0, 0.0, 1.0)
    return qaxis(ang, cross(b, a))
