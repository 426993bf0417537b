#pragma once

#include "tools/zizider/render_options.h"

// zizider run: the command in a pseudo-terminal, its ReGIS shown as sixel.
int Run(const CRenderOptions& options);
