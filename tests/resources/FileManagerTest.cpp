#include "resources/Blowfish.h"
#include "resources/CADVException.h"
#include "resources/CArchiveWriter.h"
#include "resources/CFileManager.h"
#include "resources/FileBytes.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

std::vector<std::uint8_t> Pattern(std::size_t n, int seed) {
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 131 + seed + (i >> 8));
    }
    return bytes;
}

std::string Text(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const CADVException& e) {
        return e.GetText();
    }
    return "(no exception)";
}

// The content of an archive of one entry whose deciphered bytes are `entry`.
std::vector<std::uint8_t> RawArchive(std::array<std::uint8_t, CArchiveEntry::kSize> entry) {
    Blowfish cipher;
    cipher.SetKey(KeyText(CKeySet::BuiltIn().directory));
    cipher.Encrypt(entry.data(), entry.size());
    std::vector<std::uint8_t> archive(entry.begin(), entry.end());
    archive.insert(archive.end(), 4, 0); // the directory starts at 0
    return archive;
}

TEST(FileManager, RoundTripOfManySizes) {
    TempDir dir;
    const std::vector<std::size_t> sizes = {0, 1, 7, 8, 9, 13, 16, 17, 1024, 1 << 20};
    CArchiveWriter writer("resource.000");
    std::size_t bodies = 0;
    for (std::size_t n : sizes) {
        writer.Add("sizes", "f" + std::to_string(n), Pattern(n, static_cast<int>(n)));
        bodies += PaddedLength(static_cast<std::uint32_t>(n));
    }
    writer.Write(dir / "resource.000");
    // Bodies are padded to the next multiple of 8 (13 -> 16, 16 -> 24), then
    // the directory, then its position.
    EXPECT_EQ(fs::file_size(dir / "resource.000"), bodies + sizes.size() * 1024 + 4);
    EXPECT_EQ(PaddedLength(13), 16u);
    EXPECT_EQ(PaddedLength(16), 24u);

    const CFileManager files(dir.Path());
    ASSERT_EQ(files.Entries().size(), sizes.size());
    for (std::size_t n : sizes) {
        const std::vector<std::uint8_t> content = files.LoadFile("data\\sizes\\f" + std::to_string(n));
        EXPECT_EQ(content, Pattern(n, static_cast<int>(n))) << n;
        EXPECT_GE(content.capacity(), PaddedLength(static_cast<std::uint32_t>(n)));
        const std::unique_ptr<CFile> file = files.OpenFile("data/sizes/F" + std::to_string(n));
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(file->Length(), n);
        EXPECT_EQ(file->Capacity(), n);
        EXPECT_EQ(file->Tell(), 0);
    }
    // Reading wrote nothing into the data folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 1);
}

TEST(FileManager, OtherKeysReadWhatTheyWrote) {
    TempDir dir;
    CKeySet keys = CKeySet::BuiltIn();
    std::swap(keys.directory, keys.file);
    CArchiveWriter writer("resource.000", keys);
    writer.Add("", "a.txt", Bytes("with other keys"));
    writer.Write(dir / "resource.000");
    EXPECT_EQ(Text(CFileManager(dir.Path(), keys).LoadFile("data/a.txt")), "with other keys");
}

TEST(FileManager, LaterArchivesOverrideInPlaceIgnoringCase) {
    TempDir dir;
    CArchiveWriter first("resource.000");
    first.Add("Textures", "Wall.PNG", Bytes("old wall"));
    first.Add("", "commands.txt", Bytes("commands"));
    first.Write(dir / "resource.000");
    CArchiveWriter patch("resource.001");
    patch.Add("sound", "new.raw", Bytes("new sound"));
    patch.Add("textures", "wall.png", Bytes("new wall"));
    patch.Write(dir / "resource.001");

    const CFileManager files(dir.Path());
    ASSERT_EQ(files.Entries().size(), 3u);
    // The replacing entry keeps the earlier entry's place.
    EXPECT_EQ(files.Entries()[0].name, "wall.png");
    EXPECT_EQ(files.Entries()[0].archive, "resource.001");
    EXPECT_EQ(files.Entries()[2].name, "new.raw");
    EXPECT_EQ(Text(files.LoadFile("data\\Textures\\WALL.png")), "new wall");
    EXPECT_EQ(Text(files.LoadFile("data/commands.txt")), "commands");
}

TEST(FileManager, AnEntryMayPointAtAnotherArchive) {
    TempDir dir;
    CArchiveWriter first("resource.000");
    first.Add("", "shared.txt", Bytes("body in the first archive"));
    first.Write(dir / "resource.000");
    const CArchiveEntry original = CFileManager(dir.Path()).Entries()[0];

    CArchiveWriter patch("resource.001");
    CArchiveEntry& alias = patch.Add("", "alias.txt", {});
    const std::string name = alias.name;
    alias = original;
    alias.name = name;
    patch.Write(dir / "resource.001");
    EXPECT_EQ(Text(CFileManager(dir.Path()).LoadFile("alias.txt")), "body in the first archive");
}

TEST(FileManager, ArchivesAreFoundWhateverTheCaseOfTheirNames) {
    // As a game copied from another system names them; the entries name the archives in lower case.
    TempDir dir;
    CArchiveWriter first("resource.000");
    first.Add("", "a.txt", Bytes("from the first"));
    first.Add("", "b.txt", Bytes("first b"));
    first.Write(dir / "RESOURCE.000");
    CArchiveWriter patch("resource.001");
    patch.Add("", "b.txt", Bytes("patched b"));
    patch.Write(dir / "Resource.001");

    const CFileManager files(dir.Path());
    ASSERT_EQ(files.Entries().size(), 2u);
    EXPECT_EQ(Text(files.LoadFile("a.txt")), "from the first");
    EXPECT_EQ(Text(files.LoadFile("b.txt")), "patched b") << "the higher number still overrides";
}

TEST(FileManager, AGapInTheNumberingEndsTheScan) {
    TempDir dir;
    for (int n : {0, 1, 3}) {
        CArchiveWriter writer(CFileManager::ArchiveName(n));
        writer.Add("", "file" + std::to_string(n), Bytes("x"));
        writer.Write(dir / CFileManager::ArchiveName(n));
    }
    const CFileManager files(dir.Path());
    EXPECT_EQ(files.Entries().size(), 2u);
    EXPECT_EQ(files.OpenFile("file3"), nullptr);
    EXPECT_EQ(ErrorOf([&] { files.LoadFile("data\\file3"); }),
              "Exception:\nLoadFile: Resource 'data\\file3' not found.");
}

TEST(FileManager, ArchiveNames) {
    EXPECT_EQ(CFileManager::ArchiveName(0), "resource.000");
    EXPECT_EQ(CFileManager::ArchiveName(9), "resource.009");
    EXPECT_EQ(CFileManager::ArchiveName(10), "resource.010");
    EXPECT_EQ(CFileManager::ArchiveName(100), "resource.100");
    EXPECT_EQ(CFileManager::ArchiveName(1000), "resource.1000");
}

TEST(FileManager, NoArchiveAtAll) {
    TempDir dir;
    fs::create_directory(dir / "resource.000"); // a folder is no archive
    EXPECT_EQ(ErrorOf([&] { CFileManager files(dir.Path()); }),
              "Exception:\nCould not find any resources. Where is resource.000? Check the startup path. "
              "(searched in " + dir.Path().string() + ")");
}

TEST(FileManager, PathSplitting) {
    const struct {
        const char* path;
        const char* dir;
        const char* name;
    } cases[] = {
        {"data\\textures\\wall.png", "textures", "wall.png"},
        {"data/commands.txt", "", "commands.txt"},
        {"data\\scripts\\master.ads", "scripts", "master.ads"},
        {"readme.txt", "", "readme.txt"},
        {"\\x.txt", "", "\\x.txt"}, // index 0 is never a separator
        {"data\\scenes\\a\\b.scs", "scenes\\a", "b.scs"},
        {"data\\scenes/a\\b.scs", "scenes/a", "b.scs"},       // separators inside are kept as written
        {"Data\\textures\\a.png", "Data\\textures", "a.png"}, // the prefix is case-sensitive
        {"textures/a.png", "textures", "a.png"},
        {"data\\", "", ""},
        {"data", "", "data"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        const CFileManager::SplitPath split = CFileManager::Split(c.path);
        EXPECT_EQ(split.dir, c.dir) << c.path;
        EXPECT_EQ(split.name, c.name) << c.path;
    }

    TempDir dir;
    CArchiveWriter writer("resource.000");
    writer.Add("textures", "a.png", Bytes("png"));
    writer.Add("", "\\x.txt", Bytes("odd"));
    writer.Add("scenes\\a", "b.scs", Bytes("scene"));
    writer.Write(dir / "resource.000");
    const CFileManager files(dir.Path());
    EXPECT_EQ(Text(files.LoadFile("data\\Textures\\A.PNG")), "png");
    EXPECT_EQ(Text(files.LoadFile("textures/a.png")), "png");
    EXPECT_EQ(Text(files.LoadFile("\\x.txt")), "odd");
    EXPECT_EQ(Text(files.LoadFile("data/scenes\\a/b.scs")), "scene");
    EXPECT_EQ(files.OpenFile("data/scenes/a/b.scs"), nullptr) << "scenes/a and scenes\\a differ";
}

TEST(FileManager, DamagedArchivesAreRefusedWithTheirNameAndFault) {
    const struct Case {
        const char* what;
        std::function<std::vector<std::uint8_t>()> archive;
        const char* message;
    } cases[] = {
        {"three bytes", [] { return std::vector<std::uint8_t>(3, 0); },
         "CFileManager::CFileManager - resource.000: 3 bytes are too short to hold a directory position"},
        {"position past the end",
         [] {
             std::vector<std::uint8_t> bytes(12, 0);
             WriteLittle32(bytes.data() + 8, 9);
             return bytes;
         },
         "CFileManager::CFileManager - resource.000: directory position 9 lies past the end (12 bytes)"},
        {"position far past the end",
         [] {
             return std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF};
         },
         "CFileManager::CFileManager - resource.000: directory position 4294967295 lies past the end (4 "
         "bytes)"},
        {"partial entry",
         [] {
             std::vector<std::uint8_t> bytes(1000 + 4, 0);
             return bytes;
         },
         "CFileManager::CFileManager - resource.000: directory of 1000 bytes is not a whole number of "
         "1024-byte "
         "entries"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::vector<std::uint8_t> bytes = c.archive();
        WriteFile(dir / "resource.000", Text(bytes));
        EXPECT_EQ(ErrorOf([&] { CFileManager files(dir.Path()); }), "Exception:\n" + std::string(c.message))
            << c.what;
        // The same from memory.
        EXPECT_EQ(ErrorOf([&] { CFileManager::Empty(dir.Path()).AddArchive("resource.000", bytes); }),
                  "Exception:\n" + std::string(c.message))
            << c.what;
    }
}

TEST(FileManager, TextFieldsWithoutTheirZeroAreRefused) {
    const struct {
        const char* field;
        std::size_t at, size;
    } fields[] = {
        {"nextkey", 0, 56}, {"dir", 56, 64}, {"name", 120, 64}, {"filekey", 184, 56}, {"archive", 248, 776}};
    for (const auto& f : fields) {
        CArchiveEntry entry;
        entry.name = "a.txt";
        entry.archive = "resource.000";
        std::array<std::uint8_t, CArchiveEntry::kSize> bytes = entry.Serialize();
        std::memset(bytes.data() + f.at, 'A', f.size);
        const std::vector<std::uint8_t> archive = RawArchive(bytes);
        EXPECT_EQ(ErrorOf([&] { CFileManager::Empty(".").AddArchive("resource.004", archive); }),
                  "Exception:\nCFileManager::CFileManager - resource.004 entry 0: field " +
                      std::string(f.field) + " has no terminating zero");
    }
}

TEST(FileManager, BadBodiesAreRefusedWhenLoaded) {
    const struct Case {
        const char* what;
        std::function<void(CArchiveEntry&)> damage;
        const char* message;
    } cases[] = {
        {"size past the end", [](CArchiveEntry& e) { e.size = 3000; },
         "scripts\\a.txt: body of 3008 bytes at 8 runs past the end of resource.000 (2084 bytes)"},
        {"offset past the end", [](CArchiveEntry& e) { e.offset = 0xFFFFFFF0; },
         "scripts\\a.txt: body of 24 bytes at 4294967280 runs past the end of resource.000 (2084 bytes)"},
        {"huge size", [](CArchiveEntry& e) { e.size = 0xFFFFFFFF; },
         "scripts\\a.txt: body of 4294967296 bytes at 8 runs past the end of resource.000 (2084 bytes)"},
        {"missing archive", [](CArchiveEntry& e) { e.archive = "resource.007"; },
         "scripts\\a.txt: archive resource.007 not found"},
        {"parent folder", [](CArchiveEntry& e) { e.archive = "../resource.000"; },
         "scripts\\a.txt: archive '../resource.000' is not a file in the data folder"},
        {"backslash", [](CArchiveEntry& e) { e.archive = "..\\resource.000"; },
         "scripts\\a.txt: archive '..\\resource.000' is not a file in the data folder"},
        {"absolute", [](CArchiveEntry& e) { e.archive = "/etc/passwd"; },
         "scripts\\a.txt: archive '/etc/passwd' is not a file in the data folder"},
        {"dot-dot", [](CArchiveEntry& e) { e.archive = ".."; },
         "scripts\\a.txt: archive '..' is not a file in the data folder"},
        {"empty", [](CArchiveEntry& e) { e.archive = ""; },
         "scripts\\a.txt: archive '' is not a file in the data folder"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        CArchiveWriter writer("resource.000");
        writer.Add("", "first.txt", Bytes("1"));
        c.damage(writer.Add("scripts", "a.txt", Bytes("sixteen bytes!!!")));
        writer.Write(dir / "resource.000");
        const CFileManager files(dir.Path());
        EXPECT_EQ(ErrorOf([&] { files.LoadFile("data\\scripts\\a.txt"); }),
                  "Exception:\nCFileManager::LoadFile - " + std::string(c.message))
            << c.what;
        EXPECT_EQ(files.OpenFile("data\\scripts\\a.txt"), nullptr);
    }
}

TEST(ArchiveWriter, NamesThatDoNotFitAreRefused) {
    CArchiveWriter writer("resource.000");
    writer.Add(std::string(63, 'd'), std::string(63, 'n'), Bytes("fits"));
    EXPECT_EQ(ErrorOf([&] { writer.Add("", std::string(64, 'n'), Bytes("x")); }),
              "Exception:\nCArchiveEntry::Serialize - name '" + std::string(64, 'n') +
                  "' does not fit its 64-byte field");
    EXPECT_EQ(ErrorOf([&] { writer.Add(std::string(64, 'd'), "x", Bytes("x")); }),
              "Exception:\nCArchiveEntry::Serialize - dir '" + std::string(64, 'd') +
                  "' does not fit its 64-byte field");
    EXPECT_EQ(ErrorOf([&] { CArchiveWriter(std::string(776, 'a')).Add("", "x", {}); }),
              "Exception:\nCArchiveEntry::Serialize - archive '" + std::string(776, 'a') +
                  "' does not fit its 776-byte field");
    // Refused names leave nothing behind.
    EXPECT_EQ(writer.Finish().size(), 8 + 1024 + 4u);
}

} // namespace
