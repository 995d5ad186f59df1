#include "ImportedScene.h"

#include "resources/CADVException.h"

#include <assimp/DefaultIOSystem.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <string>
#include <vector>

namespace {

// Remembers the files Assimp could not open: its own error texts do not always
// say which buffer or material file of a model is missing.
class RecordingIOSystem : public Assimp::DefaultIOSystem {
public:
    Assimp::IOStream* Open(const char* file, const char* mode) override {
        Assimp::IOStream* stream = DefaultIOSystem::Open(file, mode);
        if (!stream) {
            m_missing.emplace_back(file);
        }
        return stream;
    }

    const std::vector<std::string>& Missing() const { return m_missing; }

private:
    std::vector<std::string> m_missing;
};

// Normals only where the file has none; texture coordinates turned to the
// engine's top-left origin. Faces are left as they are so that CheckFaces can
// refuse what is not a triangle rather than cut it silently.
constexpr unsigned kImportSteps = aiProcess_JoinIdenticalVertices | aiProcess_GenSmoothNormals |
                                  aiProcess_FlipUVs | aiProcess_ValidateDataStructure;

} // namespace

ImportedScene::ImportedScene(const std::filesystem::path& input) : m_input(input) {
    const std::string name = input.string();
    if (!std::filesystem::is_regular_file(input)) {
        throw CADVException("morvane-model - %s: no such file", name.c_str());
    }
    auto* io = new RecordingIOSystem; // owned by the importer from here on
    m_importer.SetIOHandler(io);
    m_scene = m_importer.ReadFile(name, kImportSteps);
    for (const std::string& missing : io->Missing()) {
        if (std::filesystem::path(missing) != input) {
            throw CADVException("morvane-model - %s: cannot read '%s', which the model names", name.c_str(),
                                missing.c_str());
        }
    }
    if (!m_scene) {
        throw CADVException("morvane-model - %s: %s", name.c_str(), m_importer.GetErrorString());
    }
    if (!m_scene->mRootNode || m_scene->mNumMeshes == 0) {
        throw CADVException("morvane-model - %s: holds no mesh", name.c_str());
    }
    CheckFaces();
}

void ImportedScene::CheckFaces() const {
    for (unsigned m = 0; m < m_scene->mNumMeshes; ++m) {
        const aiMesh& mesh = *m_scene->mMeshes[m];
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
            if (mesh.mFaces[f].mNumIndices != 3) {
                throw CADVException("morvane-model - %s: mesh '%s' has a face of %u corners; only triangles "
                                    "can be converted (triangulate the model when exporting it)",
                                    m_input.string().c_str(), mesh.mName.C_Str(), mesh.mFaces[f].mNumIndices);
            }
        }
    }
}
