// Ctrl-C and termination stop a render cleanly, so its temporary output is removed.
#pragma once

namespace tovrel {

void catchInterrupts();
bool interrupted();

}  // namespace tovrel
