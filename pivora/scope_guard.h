// Clean-up that runs when a scope is left, by a return or an exception, unless the step it
// guards succeeded and dismissed it.
#pragma once

#include <utility>

template <class Action> class CScopeGuard {
public:
    explicit CScopeGuard(Action action) : m_action(std::move(action)) {}
    ~CScopeGuard() {
        if (m_bArmed)
            m_action();
    }
    CScopeGuard(const CScopeGuard&) = delete;
    CScopeGuard& operator=(const CScopeGuard&) = delete;

    // The guarded step succeeded: nothing to clean up.
    void Dismiss() { m_bArmed = false; }

private:
    Action m_action;
    bool m_bArmed = true;
};
