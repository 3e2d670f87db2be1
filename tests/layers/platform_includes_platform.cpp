// The LayerDirection test's control: the same kind of source with a header of its own layer compiles.
#include "platform/console.h"
