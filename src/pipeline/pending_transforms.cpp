// Interim: the geometric and colour edits are not built yet, so each passes its image through.
#include "pipeline/edit_steps.h"

namespace lumivane {

FIBITMAP* RotateImage(FIBITMAP* image, const Settings&) { return image; }
FIBITMAP* ResizeImage(FIBITMAP* image, int, int, const Settings&) { return image; }
FIBITMAP* FlipImage(FIBITMAP* image, const Settings&) { return image; }
FIBITMAP* AdjustImageColors(FIBITMAP* image, const Settings&) { return image; }
FIBITMAP* GreyscaleImage(FIBITMAP* image, const Settings&) { return image; }
FIBITMAP* ThresholdImage(FIBITMAP* image, const Settings&) { return image; }
FIBITMAP* DitherImage(FIBITMAP* image, const Settings&) { return image; }

}  // namespace lumivane
