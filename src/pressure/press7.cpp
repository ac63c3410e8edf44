// earth pressure: filled in by the earth-pressure subsystem.
#include "pressure/pressure.h"
