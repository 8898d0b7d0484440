// Fuzz entry: session script text split into lines and words, every word read as the numbers
// the commands take.
#include "fuzz_entries.h"
#include "script_parser.h"

namespace qvfuzz {

void SessionScript(std::string_view bytes) {
    std::vector<qvapp::ScriptLine> lines;
    try {
        lines = qvapp::ParseScript(std::string(bytes));
    } catch (const qvapp::ScriptError&) {
        return;
    }
    for (const qvapp::ScriptLine& line : lines)
        for (const qvapp::Word& w : line.words) {
            try {
                qvapp::ParseInt(w, "value", line.number);
            } catch (const qvapp::ScriptError&) {
            }
            try {
                qvapp::ParseFloat(w, "value", line.number);
            } catch (const qvapp::ScriptError&) {
            }
        }
}

}  // namespace qvfuzz
