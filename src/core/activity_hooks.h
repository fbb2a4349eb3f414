#pragma once
// Reports when the user goes idle for a set time and when input resumes.

#include <functional>

#include "core/result.h"

namespace vellix {

class ActivityHooks {
  public:
    virtual ~ActivityHooks() = default;
    // report(ACTIVITY_IDLE) once the user has been idle `minutes`, report(ACTIVITY_ACTIVE)
    // when input resumes; called on the installing thread. Installing again replaces.
    virtual Status install(int minutes, std::function<void(int)> report) = 0;
    virtual void remove() = 0;
};

}  // namespace vellix
