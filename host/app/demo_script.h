// The built-in demo session that `quorvane demo` runs.
#pragma once

namespace qvapp {

// Script text; its outputs are relative paths (written under the demo's folder).
const char* DemoScript();

}  // namespace qvapp
