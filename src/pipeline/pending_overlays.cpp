// Interim: frames and watermarks are not built yet, so both pass their image through.
#include "pipeline/edit_steps.h"

namespace lumivane {

FIBITMAP* DrawSolidFrame(FIBITMAP* image, int, int, const Settings&) { return image; }
FIBITMAP* DrawWatermark(FIBITMAP* image, int, int, const Settings&, const WatermarkInputs&) { return image; }

}  // namespace lumivane
