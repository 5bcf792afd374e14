// The one state record, statically initialised.
#include "shell/state.h"

applicationdata ApplicationData = INITIAL_APPLICATION_DATA;
