#pragma once

#include <assimp/Importer.hpp>

#include <filesystem>

struct aiScene;

// A glTF 2.0 or OBJ file read through Assimp, with the checks every conversion
// needs: every file it names could be read and every face is a triangle.
// Failures throw CADVException naming the file and the problem.
class ImportedScene {
public:
    explicit ImportedScene(const std::filesystem::path& input);

    const aiScene& Scene() const { return *m_scene; }
    const std::filesystem::path& Input() const { return m_input; }

private:
    void CheckFaces() const;

    std::filesystem::path m_input;
    Assimp::Importer m_importer;
    const aiScene* m_scene = nullptr;
};
