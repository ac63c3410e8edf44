// header.cpp -- the report header of every problem: the banner with the version text,
// the names of the input, report and plot files split by Windows path rules, and the
// time and date of the analysis.
#include "run/run.h"

namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

}  // namespace

PathParts split_path(std::string_view path) {
  // The path is held in a 256-character buffer, as the names of NAMES.dat are.
  path = trim(path.substr(0, 256));
  PathParts p;
  if (path.size() >= 2 && path[1] == ':') {
    p.drive = std::string(path.substr(0, 2));
    path.remove_prefix(2);
  }
  const auto slash = path.find_last_of("/\\");
  if (slash != std::string_view::npos) {
    p.dir = std::string(path.substr(0, slash + 1));
    path.remove_prefix(slash + 1);
  }
  const auto dot = path.find_last_of('.');
  if (dot != std::string_view::npos) {
    p.ext = std::string(path.substr(dot, 5));  // the dot and at most four characters
    path = path.substr(0, dot);
  }
  p.base = std::string(path);
  return p;
}

void HEADER(Run& run) {
  const auto& D = run.m.D;
  // Banner.
  io::write(run, LOUT, R"((5X,73("="),/,/,20X,"  BRANTO for Windows, Version ",A12,/,/,20X,"   A Program for the Analysis of ",/,20X,"   Flexible Retaining Walls ",/,/,5X,73("="),/,/))",
            D.VERSION);
  // File names.
  const PathParts inp = split_path(D.NAMES[5].view());
  const PathParts out = split_path(D.NAMES[6].view());
  const PathParts plt = split_path(D.NAMES[7].view());
  io::write(run, LOUT, R"((5X,"Path to file locations      : ",A,A,/,5X,"Name of input data file     : ",A,A))",
            trim(inp.drive), trim(inp.dir), trim(inp.base), trim(inp.ext));
  io::write(run, LOUT, R"((5X,"Name of output file         : ",A,A))", trim(out.base), trim(out.ext));
  io::write(run, LOUT, R"((5X,"Name of plot output file    : ",A,A))", trim(plt.base), trim(plt.ext));
  io::list_write(run, LOUT);
  // Time and date, read once.
  static const char* const MONTH[12] = {
      R"((15X,"Date:  January ",I2.2,", ",I4,5X,"Time:  ",I2.2,":",I2.2,":",I2.2))",
      R"((15X,"Date:  February ",I2.2,", ",I4,5X,"Time:  ",I2.2,":",I2.2,":",I2.2))",
      R"((15X,"Date:  March ",I2.2,", ",I4,5X,"Time:  ",I2.2,":",I2.2,":",I2.2))",
      R"((15X,"Date:  April ",I2.2,", ",I4,5X,"Time:  ",I2.2,":",I2.2,":",I2.2))",
      R"((15X,"Date:  May ",I2.2,", ",I4,5X,"Time:  ",I2.2,":",I2.2,":",I2.2))",
      R"((15X,"Date:  June ",I2.2,", ",I4,5X,"Time:  ",I2.2,":",I2.2,":",I2.2))",
      R"((15X,"Date:  July ",I2.2,", ",I4,5X,"Time:  ",I2.2,":",I2.2,":",I2.2))",
      R"((15X,"Date:  August ",I2.2,", ",I4,5X,"Time:  ",I2.2,":",I2.2,":",I2.2))",
      R"((15X,"Date:  September ",I2.2,", ",I4,5X,"Time:  ",I2.2,":",I2.2,":",I2.2))",
      R"((15X,"Date:  October ",I2.2,", ",I4,5X,"Time:  ",I2.2,":",I2.2,":",I2.2))",
      R"((15X,"Date:  November ",I2.2,", ",I4,5X,"Time:  ",I2.2,":",I2.2,":",I2.2))",
      R"((15X,"Date:  December ",I2.2,", ",I4,5X,"Time:  ",I2.2,":",I2.2,":",I2.2))"};
  const io::Clock t = io::now();
  io::write(run, LOUT, R"((5X,73("-"),/,26X,"Time and Date of Analysis",/,5X,73("-"),/))");
  if (t.month >= 1 && t.month <= 12)
    io::write(run, LOUT, MONTH[t.month - 1], t.day, t.year, t.hour, t.minute, t.second);
}
