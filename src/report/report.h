// report.h -- the report's field writers and unit labels.
#pragma once

#include "model/model.h"
