// formula.h -- the arithmetic of the verification cases: a reference value is written in
// its case description as a formula over the case's parameters, and evaluated here.
//
// A formula holds numbers (3, 0.5, 2.0E8), names, + - * / and ^ (power, right
// associative, above unary minus: -2^2 is -4), parentheses and calls f(a, b, ...). Names
// are the parameters and definitions of the case, pi, and the functions of functions().
// Angles of the trigonometric functions are radians; rad(d) turns degrees into radians.
#pragma once

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace verify {

using Vars = std::map<std::string, double>;

// A function of a formula: its argument count and what it computes.
struct Function {
  int arity = 1;
  std::function<double(const std::vector<double>&)> f;
  std::string about;  // the argument list and what it gives, for the documentation
};

// The functions a formula may call: arithmetic (sqrt, exp, ln, log10, abs, min, max),
// trigonometry (sin, cos, tan, asin, acos, atan, rad) and the p-y curves computed by hand
// (handpy.h).
const std::map<std::string, Function>& functions();

// A formula that cannot be read or evaluated: its text and what is wrong.
struct FormulaError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The value of TEXT with the names of VARS; throws FormulaError.
double evaluate(const std::string& text, const Vars& vars);

}  // namespace verify
