#include "PackCommands.h"

#include "resources/CADVException.h"
#include "resources/CArchiveWriter.h"
#include "resources/CFileManager.h"
#include "resources/FileBytes.h"

#include <algorithm>
#include <map>
#include <ostream>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The archive's dir field for a file's folder relative to the source: folders
// joined with backslashes, as the engine's logical paths name them.
std::string EntryDir(const fs::path& relativeFolder) {
    std::string dir;
    for (const fs::path& part : relativeFolder) {
        if (!dir.empty()) {
            dir += '\\';
        }
        dir += part.string();
    }
    return dir;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return text;
}

// Where an entry goes when extracted. The names come from the archive, so
// anything that could leave the destination folder is refused.
fs::path ExtractPath(const fs::path& destination, const CArchiveEntry& entry) {
    fs::path path = destination;
    std::string dir = entry.dir;
    std::replace(dir.begin(), dir.end(), '\\', '/');
    std::vector<std::string> parts;
    for (std::size_t start = 0; !dir.empty() && start <= dir.size();) {
        const std::size_t end = std::min(dir.find('/', start), dir.size());
        parts.push_back(dir.substr(start, end - start));
        start = end + 1;
    }
    parts.push_back(entry.name);
    for (const std::string& part : parts) {
        if (part.empty() || part == "." || part == ".." || part.find('/') != std::string::npos ||
            part.find('\\') != std::string::npos) {
            throw CADVException(
                "morvane-pack extract - entry %s\\%s does not name a file inside the output folder",
                entry.dir.c_str(), entry.name.c_str());
        }
        path /= part;
    }
    return path;
}

// The number of an archive named as the engine scans for ("resource.000" and up), if it is one.
std::optional<unsigned> ArchiveNumber(const std::string& name) {
    const std::string prefix = "resource.";
    if (name.size() < prefix.size() + 3 || name.compare(0, prefix.size(), prefix) != 0) {
        return std::nullopt;
    }
    unsigned number = 0;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9' || number > 100000) {
            return std::nullopt;
        }
        number = number * 10 + static_cast<unsigned>(name[i] - '0');
    }
    return CFileManager::ArchiveName(number) == name ? std::optional(number) : std::nullopt;
}

} // namespace

void BuildArchive(const fs::path& source, const fs::path& archive, const CKeySet& keys, bool force,
                  std::ostream& warnings) {
    std::error_code ec;
    if (!fs::is_directory(source, ec)) {
        throw CADVException("morvane-pack build - %s is not a folder", source.string().c_str());
    }
    // Sorted, so the same sources always give the same directory order.
    std::map<std::string, fs::path> files;
    for (auto it = fs::recursive_directory_iterator(source, fs::directory_options::follow_directory_symlink);
         it != fs::recursive_directory_iterator(); ++it) {
        if (it->is_regular_file()) {
            files.emplace(fs::relative(it->path(), source).generic_string(), it->path());
        }
    }
    CArchiveWriter writer(archive.filename().string(), keys);
    std::map<std::string, std::string> seen; // lower-case logical name -> as written
    for (const auto& [relative, path] : files) {
        const fs::path rel(relative);
        const std::string dir = EntryDir(rel.parent_path());
        const std::string name = rel.filename().string();
        const std::string logical = dir.empty() ? name : dir + "\\" + name;
        const auto [it, added] = seen.emplace(Lower(logical), logical);
        if (!added) {
            throw CADVException(
                "morvane-pack build - %s and %s differ only in letter case; the engine cannot tell "
                "them apart",
                it->second.c_str(), logical.c_str());
        }
        const std::optional<std::vector<std::uint8_t>> content = ReadWholeFile(path);
        if (!content) {
            throw CADVException("morvane-pack build - Could not read %s", path.string().c_str());
        }
        writer.Add(dir, name, *content);
    }
    const std::optional<unsigned> number = ArchiveNumber(archive.filename().string());
    if (!number) {
        warnings << "morvane-pack build - warning: " << archive.string()
                 << " is not named resource.NNN; the engine reads only archives named resource.000, "
                    "resource.001, ...\n";
    }
    if (number == 0u && !seen.contains("scripts\\master.ads") && !force) {
        throw CADVException("morvane-pack build - %s has no scripts/master.ads, so no game starts from a "
                            "resource.000 built from it (is it the game's data folder?); --force packs it anyway",
                            source.string().c_str());
    }
    writer.Write(archive);
}

void ListArchives(const fs::path& data, const CKeySet& keys, std::ostream& out) {
    const CFileManager files(data, keys);
    for (const CArchiveEntry& entry : files.Entries()) {
        out << entry.dir << '\t' << entry.name << '\t' << entry.size << '\t' << entry.archive << '\n';
    }
}

void ExtractArchives(const fs::path& data, const fs::path& destination, const CKeySet& keys) {
    const CFileManager files(data, keys);
    for (const CArchiveEntry& entry : files.Entries()) {
        const fs::path path = ExtractPath(destination, entry);
        std::error_code ec;
        fs::create_directories(path.parent_path(), ec);
        if (ec) {
            throw CADVException("morvane-pack extract - Could not create %s",
                                path.parent_path().string().c_str());
        }
        WriteWholeFileReplacing(path, files.LoadEntry(entry));
    }
}

void CatFile(const fs::path& data, const std::string& logicalPath, const CKeySet& keys, std::ostream& out) {
    const CFileManager files(data, keys);
    const std::vector<std::uint8_t> content = files.LoadFile(logicalPath);
    out.write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
}
