// The demo session: two bipeds made with the creation tool (the second with its own counts and
// colours), then posed with the modify tool: mirrored arm rotation, anchored feet, a root path.
#include "demo_script.h"

namespace qvapp {

const char* DemoScript() {
    return R"(# Quorvane demo: two bipeds made with the creation tool, then posed with the modify tool.
new
range 0 60

# The first biped keeps the default counts and colours; the second is smaller, with one spine
# link, three two-link fingers, one toe and colours of its own. Each drag starts where the
# root stands, high enough for the feet to rest on the ground.
create "Bones" "Biped"
drag 0 0 4.88 8
drag 6 0 3.97 6.5
type "Num Spines:" 1
type "Num Fingers:" 3
type "Num Finger Links:" 2
type "Num Toes:" 1
press "#1111"
type "Red:" 255
type "Green:" 140
type "Blue:" 0
press "OK"
press "#1112"
type "Red:" 170
type "Green:" 0
type "Blue:" 220
press "OK"
close
dump "scene.json"
render "front.png" view front size 800 600
render "persp.png" view persp size 800 600

# Raise the right arm forward; "Symmetrical Rotation" repeats each step on the left arm.
select "Bip01 R UpperArm"
modify "Biped"
press "Symmetrical Rotation"
rotate 1 0 0 60 steps 12
press "Symmetrical Rotation"

# Anchor both feet and lower the root: the knees bend and the feet stay where they were.
click "Bip01"
press "Right Foot"
press "Left Foot"
move 0 0 -1.2 steps 6
render "crouch.png" view left size 600 600
press "Right Foot"
press "Left Foot"

# Key the root along a path, then show it with "Transform" on.
anim on
time 30
move 0 -2 0
time 60
move 0 -2 0.4
anim off
time 0
press "Transform"
render "path.png" view persp size 800 600
dump "posed.json"
)";
}

}  // namespace qvapp
