#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>

class C3DSpresh;
class IModelHost;

// The engine's models by file name, shared by every instance that shows them.
class CModelCache {
public:
    CModelCache(IModelHost& host, bool preload);
    ~CModelCache();

    // With preload on the file is read at once and a model that fails to load
    // is not kept; otherwise it is read on first use.
    C3DSpresh* GetModel(const std::string& fileName);
    // A model for generated shapes, under a key no file name produces.
    C3DSpresh* CreateUnnamedModel();
    // Takes back the unnamed model created last, for a shape that was refused:
    // the cache is then as it was before.
    void DiscardLastUnnamedModel(const C3DSpresh* model);
    // Drops every model not marked to stay in the cache.
    void Purge();
    // After the texture table was emptied, for the models that stayed.
    void ReloadTextures();
    // Rebuilds every model's buffers after the device was recreated.
    void Restore();

    std::size_t Size() const { return m_models.size(); }
    bool Contains(const std::string& key) const { return m_models.contains(key); }
    // The key the next unnamed model will get.
    std::string NextUnnamedKey() const;

private:
    IModelHost& m_host;
    bool m_preload;
    int m_unnamedCounter = 0;
    std::map<std::string, std::unique_ptr<C3DSpresh>> m_models;
};
