// soil.h -- soil resistance: p-y curves of the soil on both sides of the wall below the
// excavation level, one model per soil type.
#pragma once

#include "model/model.h"
