// formula.cpp -- a recursive-descent evaluator of the formulas of the verification cases.
#include "formula.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

#include "handpy.h"

namespace verify {

namespace {

constexpr double PI = 3.14159265358979323846;

Function unary(double (*f)(double), const char* about) {
  return {1, [f](const std::vector<double>& a) { return f(a[0]); }, about};
}

class Parser {
 public:
  Parser(const std::string& text, const Vars& vars) : s_(text), vars_(vars) {}

  double parse() {
    const double v = sum();
    skip();
    if (i_ < s_.size()) fail("unexpected '" + std::string(1, s_[i_]) + "'");
    return v;
  }

 private:
  const std::string& s_;
  const Vars& vars_;
  std::size_t i_ = 0;

  [[noreturn]] void fail(const std::string& what) const {
    throw FormulaError("formula '" + s_ + "': " + what + " at character " + std::to_string(i_ + 1));
  }
  void skip() {
    while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_]))) ++i_;
  }
  bool eat(char c) {
    skip();
    if (i_ < s_.size() && s_[i_] == c) {
      ++i_;
      return true;
    }
    return false;
  }

  double sum() {
    double v = product();
    for (;;) {
      if (eat('+')) {
        v += product();
      } else if (eat('-')) {
        v -= product();
      } else {
        return v;
      }
    }
  }
  double product() {
    double v = signed_power();
    for (;;) {
      if (eat('*')) {
        v *= signed_power();
      } else if (eat('/')) {
        v /= signed_power();
      } else {
        return v;
      }
    }
  }
  double signed_power() {
    if (eat('-')) return -signed_power();
    if (eat('+')) return signed_power();
    return power();
  }
  double power() {
    const double base = primary();
    if (eat('^')) return std::pow(base, signed_power());
    return base;
  }
  double primary() {
    skip();
    if (i_ >= s_.size()) fail("formula ends early");
    const char c = s_[i_];
    if (c == '(') {
      ++i_;
      const double v = sum();
      if (!eat(')')) fail("')' expected");
      return v;
    }
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '.') {
      const char* start = s_.c_str() + i_;
      char* end = nullptr;
      const double v = std::strtod(start, &end);
      if (end == start) fail("a number expected");
      i_ += static_cast<std::size_t>(end - start);
      return v;
    }
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      const std::size_t b = i_;
      while (i_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[i_])) || s_[i_] == '_')) ++i_;
      const std::string name = s_.substr(b, i_ - b);
      if (eat('(')) return call(name);
      const auto v = vars_.find(name);
      if (v != vars_.end()) return v->second;
      if (name == "pi") return PI;
      fail("unknown name '" + name + "'");
    }
    fail("unexpected '" + std::string(1, c) + "'");
  }
  double call(const std::string& name) {
    const auto& fs = functions();
    const auto f = fs.find(name);
    if (f == fs.end()) fail("unknown function '" + name + "'");
    std::vector<double> args;
    if (!eat(')')) {
      do {
        args.push_back(sum());
      } while (eat(','));
      if (!eat(')')) fail("')' expected after the arguments of " + name);
    }
    if (static_cast<int>(args.size()) != f->second.arity)
      fail(name + " takes " + std::to_string(f->second.arity) + " arguments, given " + std::to_string(args.size()));
    return f->second.f(args);
  }
};

}  // namespace

const std::map<std::string, Function>& functions() {
  static const std::map<std::string, Function> F = [] {
    std::map<std::string, Function> f{
        {"sqrt", unary(std::sqrt, "sqrt(x)")},
        {"exp", unary(std::exp, "exp(x)")},
        {"ln", unary(std::log, "ln(x): natural logarithm")},
        {"log10", unary(std::log10, "log10(x)")},
        {"abs", unary(std::fabs, "abs(x)")},
        {"sin", unary(std::sin, "sin(x), x in radians")},
        {"cos", unary(std::cos, "cos(x)")},
        {"tan", unary(std::tan, "tan(x)")},
        {"asin", unary(std::asin, "asin(x)")},
        {"acos", unary(std::acos, "acos(x)")},
        {"atan", unary(std::atan, "atan(x)")},
        {"rad", {1, [](const std::vector<double>& a) { return a[0] * PI / 180; }, "rad(d): degrees to radians"}},
        {"min", {2, [](const std::vector<double>& a) { return std::fmin(a[0], a[1]); }, "min(a, b)"}},
        {"max", {2, [](const std::vector<double>& a) { return std::fmax(a[0], a[1]); }, "max(a, b)"}},
    };
    add_hand_curves(f);
    return f;
  }();
  return F;
}

double evaluate(const std::string& text, const Vars& vars) { return Parser(text, vars).parse(); }

}  // namespace verify
