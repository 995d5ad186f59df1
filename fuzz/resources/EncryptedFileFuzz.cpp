// Loads arbitrary bytes as an enciphered single file (a savegame) and writes
// nothing back.
#include "resources/CADVException.h"
#include "resources/CFile.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CFile file;
    try {
        file.LoadEncrypted(std::span<const std::uint8_t>(data, size), "fuzz.sav");
        std::vector<std::uint8_t> out(file.Length() + 1);
        file.Seek(0, 0);
        file.Read(out.data(), out.size());
        file.Seek(-4, 2);
        file.Write(data, size < 16 ? size : 16);
    } catch (const CADVException&) {
    }
    return 0;
}
