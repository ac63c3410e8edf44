// pressure.h -- earth pressure on the retained side: coefficients, layer forces,
// surcharges, the sampled pressure table and their report sections.
#pragma once

#include "model/model.h"
