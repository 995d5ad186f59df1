// Scans arbitrary bytes as a resource archive. Most inputs die at the first
// entry's key chain, so the input is enciphered entry by entry first: the
// fuzzer then steers the deciphered fields directly.
#include "resources/Blowfish.h"
#include "resources/CADVException.h"
#include "resources/CFileManager.h"

#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const bool encipher = size > 0 && (data[0] & 1);
    std::vector<std::uint8_t> archive(data + (size > 0), data + size);
    if (encipher) {
        // Treat the input as plain entries from the start of the directory.
        const std::size_t entries = archive.size() / CArchiveEntry::kSize;
        Blowfish cipher;
        cipher.SetKey(KeyText(CKeySet::BuiltIn().directory));
        for (std::size_t i = 0; i < entries; ++i) {
            std::uint8_t* entry = archive.data() + i * CArchiveEntry::kSize;
            const std::string nextkey(reinterpret_cast<const char*>(entry),
                                      strnlen(reinterpret_cast<const char*>(entry), 56));
            cipher.Encrypt(entry, CArchiveEntry::kSize);
            cipher.SetKey(nextkey);
        }
        archive.insert(archive.end(), 4, 0);
    }
    try {
        CFileManager files = CFileManager::Empty("/nonexistent-morvane-fuzz");
        files.AddArchive("resource.000", archive);
        for (const CArchiveEntry& entry : files.Entries()) {
            files.OpenFile(entry.dir + "\\" + entry.name);
        }
    } catch (const CADVException&) {
    }
    return 0;
}
