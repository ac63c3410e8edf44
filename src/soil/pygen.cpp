// soil resistance: filled in by the soil subsystem.
#include "soil/soil.h"
