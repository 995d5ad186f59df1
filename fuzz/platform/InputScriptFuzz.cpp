#include "platform/DInputScript.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

// Any text either reads as an input file or is refused with a message; what
// reads must write back to lines that read as the same events.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const DInputScript script = DInputScript::Parse(text, "fuzz.txt");
        if (DInputScript::Parse(script.Format(), "again.txt").Events() != script.Events()) {
            std::abort();
        }
    } catch (const DInputScriptError&) {
    }
    return 0;
}
