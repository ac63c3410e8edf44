// field writers and unit labels.
#include "report/report.h"
