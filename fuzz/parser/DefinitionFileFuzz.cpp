#include "parser/CCommand.h"
#include "parser/CInterfaceBackend.h"
#include "parser/EInterfaceBackend.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

// The input is read as both vocabulary files; each of its lines is then parsed
// as a sentence against whatever the files defined.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CInterfaceBackend backend;
    try {
        backend.LoadCommands("data/commands.txt", text);
    } catch (const EInterfaceBackend&) {
    }
    try {
        backend.LoadObjects("data/objects.txt", text);
    } catch (const EInterfaceBackend&) {
    }
    CCommand command(backend);
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        try {
            command.Parse(text.substr(start, end - start));
            command.GetPreposition();
        } catch (const EInterfaceBackend&) {
        }
        start = end + 1;
    }
    return 0;
}
