#include "resources/CADVException.h"
#include "resources/CParameterParser.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const CParameterParser parser(text);
        for (const auto& [name, value] : parser.Parameters()) {
            parser.GetFloatDefault(name, 0.0f);
            ParseLeadingFloat(value);
        }
    } catch (const CADVException&) {
    }
    return 0;
}
