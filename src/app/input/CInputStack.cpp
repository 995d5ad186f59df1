#include "app/input/CInputStack.h"

CInputStack::Outcome CInputStack::Dispatch(const CInputEvent& event) const {
    for (const Receiver& receiver : m_receivers) {
        if (!receiver.up()) {
            continue;
        }
        if (const EInputTaken taken = receiver.take(event); taken != EInputTaken::Passed) {
            return {receiver.name, taken};
        }
    }
    return {};
}
