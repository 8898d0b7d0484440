// Fuzz entry: BVH text through the tolerant take reader, and a take it accepts written back
// and read again.
#include <cstdlib>

#include "bvh_take.h"
#include "fuzz_entries.h"

namespace qvfuzz {

void BvhTake(std::string_view bytes) {
    qvapp::BvhTake take;
    const qvapp::BvhTakeResult r = qvapp::ReadBvhTake(bytes, take);
    if (r.ok != r.message.empty()) std::abort();  // a refusal always says why
    if (!r.ok) return;
    for (int f = 0; f < take.Frames(); ++f)
        if (take.Row(f) + take.valuesPerFrame > take.values.data() + take.values.size()) std::abort();
}

}  // namespace qvfuzz
