#include "resources/CADVException.h"
#include "state/CState.h"

#include <cstdint>
#include <cstdlib>
#include <span>

// Any byte string either loads or throws CADVException, and a store that loaded
// saves a record that loads back to the same record.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CState store;
    try {
        if (store.Load(std::span(data, size), "fuzz") > size) {
            std::abort();
        }
        std::vector<std::uint8_t> saved;
        store.Save(saved);
        CState again;
        again.Load(saved, "saved");
        std::vector<std::uint8_t> twice;
        again.Save(twice);
        if (twice != saved) {
            std::abort();
        }
    } catch (const CADVException&) {
    }
    return 0;
}
