// What the processor offers the wide builds of the math kernels, asked once.
#pragma once

namespace qv::math {

// Whether the processor and the system support AVX, and AVX-512 (its foundation), for the
// kernels built for them; always false on processors other than x86-64.
bool HaveAvx();
bool HaveAvx512();

}  // namespace qv::math
