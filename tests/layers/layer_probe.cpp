// One include that the probing target's include path must not satisfy (see CMakeLists.txt).
#include LAYER_PROBE_HEADER
