#include "GeneratorTool.h"

#include "resources/CADVException.h"
#include "resources/FileBytes.h"

#include <iostream>
#include <system_error>

void WriteGeneratedFiles(const char* tool, const std::filesystem::path& folder,
                         const std::vector<GeneratedFile>& files) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        throw CADVException("%s - cannot create %s: %s", tool, folder.string().c_str(),
                            error.message().c_str());
    }
    for (const GeneratedFile& file : files) {
        WriteWholeFileReplacing(folder / file.name, file.bytes);
    }
}

int RunGeneratorTool(int argc, char** argv, const char* usage,
                     const std::function<void(const std::filesystem::path& out)>& generate) {
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::cout << usage;
        return 0;
    }
    if (argc != 2 || argv[1][0] == '-' || argv[1][0] == '\0') {
        std::cerr << usage;
        return 2;
    }
    try {
        generate(argv[1]);
    } catch (const CADVException& e) {
        std::cerr << e.GetText() << "\n";
        return 1;
    }
    return 0;
}
