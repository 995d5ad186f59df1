#pragma once

#include <string>

// What a script engine needs from whoever runs it. The game implements it, so
// script errors from scene and object engines reach the game as well.
class IScriptEngineOwner {
public:
    // `report` is the finished 8-bit error text ("Exception:\nScript Exception on
    // line ..."). It has already gone to stderr. The game runs its script's
    // "OnScriptException();" here; an error inside that handler arrives here
    // again, so the owner must not re-enter for it.
    virtual void OnScriptException(const std::string& report) = 0;

protected:
    ~IScriptEngineOwner() = default;
};
