#include "formats/registry.h"

namespace lumivane {

// The tables are compile-time constants; only the string lists are materialised, once, on first use.
// Function-local statics make this safe when several threads get here first.
void BuildRegistry() {
  (void)InputFormatList();
  (void)OutputFormatList();
  (void)AcceptedExtensionList();
}

}  // namespace lumivane
