// The state records, statically initialised.
#include "core/appdata.h"

#include "core/run.h"

applicationdata ApplicationData = INITIAL_APPLICATION_DATA;
runstate Run = {0, "VYR.ini", ""};
