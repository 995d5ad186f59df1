// morvane-pack: builds and reads the game's resource archives.

#include "PackCommands.h"

#include "resources/CADVException.h"

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    R"(Usage: morvane-pack COMMAND ARGUMENTS [--keys FILE] [--force]

Commands:
  build SRC_DIR OUT_ARCHIVE   pack every file under SRC_DIR into OUT_ARCHIVE
  list DATA_DIR               list the files the engine sees in DATA_DIR's
                              archives (dir, name, size, archive; tab-separated)
  extract DATA_DIR OUT_DIR    write every file of DATA_DIR's archives below OUT_DIR
  cat DATA_DIR LOGICAL_PATH   write one file to standard output, looked up as the
                              engine looks it up (for example data\scripts\master.ads)

SRC_DIR is the game's data folder: a file SRC_DIR/scripts/master.ads becomes the
entry with dir "scripts" and name "master.ads", which the engine loads as
"data\scripts\master.ads"; a file directly in SRC_DIR (commands.txt) gets an
empty dir and is loaded as "data/commands.txt". Nested folders are joined with
backslashes. OUT_ARCHIVE must keep the name the engine scans for (resource.000,
resource.001, ...): its entries name it. A higher-numbered archive replaces files
of lower-numbered ones, which is how patches work. A base archive (resource.000)
is refused when SRC_DIR has no scripts/master.ads, as no game starts from it;
--force packs it anyway.

--keys FILE reads the directory and file keys from FILE (lines "directory=" and
"file=", each followed by 110 hexadecimal digits) instead of the built-in ones.
)";

int Usage() {
    std::cerr << kUsage;
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args;
    std::optional<std::string> keyFile;
    bool force = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (arg == "--force") {
            force = true;
        } else if (arg == "--keys") {
            if (i + 1 >= argc) {
                return Usage();
            }
            keyFile = argv[++i];
        } else {
            args.push_back(arg);
        }
    }
    if (args.empty()) {
        return Usage();
    }
    try {
        const CKeySet keys = keyFile ? CKeySet::Load(*keyFile) : CKeySet::BuiltIn();
        const std::string& command = args[0];
        if (command == "build" && args.size() == 3) {
            BuildArchive(args[1], args[2], keys, force, std::cerr);
        } else if (command == "list" && args.size() == 2) {
            ListArchives(args[1], keys, std::cout);
        } else if (command == "extract" && args.size() == 3) {
            ExtractArchives(args[1], args[2], keys);
        } else if (command == "cat" && args.size() == 3) {
            CatFile(args[1], args[2], keys, std::cout);
        } else {
            return Usage();
        }
        std::cout.flush();
        return std::cout ? 0 : 1;
    } catch (const CADVException& e) {
        std::cerr << e.GetText() << '\n';
    } catch (const std::exception& e) {
        std::cerr << "morvane-pack - " << e.what() << '\n';
    }
    return 1;
}
