#pragma once

#include <exception>

// Misuse of the path finder. Kept apart from CADVException: the scene decides
// whether a failed route request ends the game or only the walk.
class EPathFinder : public std::exception {
public:
    virtual const char* GetText() const noexcept = 0;
    const char* what() const noexcept override { return GetText(); }
};

// A grid cell addressed outside the grid.
class EPFRangeError : public EPathFinder {
public:
    const char* GetText() const noexcept override { return "Range error"; }
};

// A route requested before InitGrid gave the finder a usable grid.
class EPFGridNotInitialized : public EPathFinder {
public:
    const char* GetText() const noexcept override { return "Grid not initialized; call InitGrid first"; }
};
