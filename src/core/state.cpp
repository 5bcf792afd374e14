// The one state record, statically initialised.
#include "core/state.h"

applicationdata ApplicationData = INITIAL_APPLICATION_DATA;
