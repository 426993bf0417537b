#pragma once

#include "tools/zizider/render_options.h"

// zizider show: the page `render` makes, written to standard output as sixel.
int Show(const CRenderOptions& options);
