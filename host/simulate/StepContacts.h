#pragma once

#include "host/simulate/Trajectory.h"

#include <cstddef>
#include <vector>

namespace zor::host {

/// The contacts of a step recorded in full, made into records a slice at a time, so that a step
/// of a million contacts is never held as records all at once. Reading changes nothing: several
/// threads may read at once, until the run gathers the next recorded step's contacts
/// (RunObserver::gathering).
class StepContacts {
public:
    /// How many contacts the step had.
    virtual std::size_t size() const = 0;
    /// Appends the records of the contacts from `first` on, `count` of them, to `records`.
    virtual void entries(std::size_t first, std::size_t count, std::vector<ContactEntry>& records) const = 0;

protected:
    ~StepContacts() = default;
};

} // namespace zor::host
