#pragma once
// The platform services a window or a command needs, handed over as one bundle.

#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"

namespace varst {

struct Services {
  Prompter& prompter;
  Shell& shell;
  Clock& clock;
};

}  // namespace varst
