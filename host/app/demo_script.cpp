// The demo session: opens the biped creation tool, builds a small chain of plain bones, selects
// and undoes, and writes a dump and two pictures.
#include "demo_script.h"

namespace qvapp {

const char* DemoScript() {
    return R"(# Quorvane demo session
new
range 0 60
create "Bones" "Biped"
close
bone "Spine" 0 0 2
bone "Chest" 0 0 4 parent "Spine"
bone "Head" 0 0 6 parent "Chest"
bone "Arm" 1.5 0 4 parent "Chest"
bone "Hand" 3 0 3 parent "Arm"
select "Arm"
rotate 0 1 0 30 steps 3
select "Head"
undo
dump "scene.json"
render "front.png" view front
render "persp.png" view persp
)";
}

}  // namespace qvapp
