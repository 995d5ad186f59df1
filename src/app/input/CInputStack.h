#pragma once

#include "app/input/CInputEvent.h"

#include <functional>
#include <vector>

// Who gets an event: the receivers from the top of the screen down, each
// with the rule that says whether it is up now. The first receiver that is up
// and takes the event ends the walk; the screens decide nothing about routing
// themselves.
class CInputStack {
public:
    struct Receiver {
        const char* name;
        std::function<bool()> up;
        std::function<EInputTaken(const CInputEvent&)> take;
    };

    // Receivers are added from the top down.
    void Add(Receiver receiver) { m_receivers.push_back(std::move(receiver)); }

    struct Outcome {
        // The receiver that took the event; null when none did.
        const char* receiver = nullptr;
        EInputTaken taken = EInputTaken::Passed;
    };
    Outcome Dispatch(const CInputEvent& event) const;

private:
    std::vector<Receiver> m_receivers;
};
