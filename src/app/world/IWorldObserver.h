#pragma once

// What the game world tells the screens and the input around it.
class IWorldObserver {
public:
    // A scene is about to load: the loading screen shows before its scripts run.
    virtual void SceneLoading() = 0;
    // The scene's objects are gone: nothing may keep pointing at them.
    virtual void SceneGone() = 0;

protected:
    ~IWorldObserver() = default;
};
