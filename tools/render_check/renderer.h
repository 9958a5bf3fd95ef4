// Drives one instance through a case the way a host does: configure through the dispatcher,
// set parameters through the record, process block by block through the record's entries.
#pragma once

#include "frame/aeffect.h"
#include "tools/render_check/cases.h"
#include "tools/render_check/digest.h"

namespace tovrel {
class Plugin;
}

namespace tovrel::render {

void renderCase(const RenderCase& renderCase, Plugin& plugin, FrameSink& sink);

}  // namespace tovrel::render
