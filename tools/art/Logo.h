#pragma once
// The maker's logo figure: a round violet creature looking out of one big camera eye.

#include "capture/Picture.h"

namespace skl::art {

// The shaded figure as the splash shows it, with its cable running to the left edge.
void drawLogoFigure(Picture& picture);

// The small figure of the window icon, in plain strokes.
void drawLogoStrokes(Picture& picture);

}  // namespace skl::art
