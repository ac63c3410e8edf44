// handpy.h -- p-y curves computed by hand from the published formulas, for the
// verification of the curves the engine generates. Written from the papers, apart from
// the engine's soil models: each gives the resistance p (force per unit length, positive)
// at a deflection y >= 0 of a pile of width b at depth x below the ground, in one system
// of consistent units. cyclic: 0 static, 1 cyclic loading.
//
//   py_soft_clay(y, x, b, c, gamma, e50, cyclic)             Matlock (1970)
//   py_sand(y, x, b, phi, gamma, k, cyclic)                   Reese, Cox and Koop (1974)
//   py_stiff_clay_water(y, x, b, c, ca, gamma, e50, k, cyclic) Reese, Cox and Koop (1975)
//   py_stiff_clay_dry(y, x, b, c, gamma, e50, cycles, cyclic)  Welch and Reese (1972)
//   py_silt(y, x, b, c, phi, gamma, k, cyclic)                sand resistance (1974) with the
//                                                              cohesive resistance of soft clay
//   py_rock(y, b, qu)                                          Reese and Nyman (1978)
//   py_weak_rock(y, xr, b, qu, em, krm, rqd)                   Reese (1997)
//
// phi in degrees; gamma the effective unit weight (average above x); k the modulus of
// subgrade reaction (initial slope k*x); ca the average strength above x; qu the uniaxial
// compressive strength; em the rock-mass modulus; krm the strain factor; rqd percent;
// xr the depth below the top of the rock.
#pragma once

#include <map>
#include <string>

#include "formula.h"

namespace verify {

// Adds the functions above to a formula's function table.
void add_hand_curves(std::map<std::string, Function>& f);

}  // namespace verify
