// header.cpp -- the report header of every problem: the banner with the version text,
// the names of the input, report and plot files split by Windows path rules, and the
// time and date of the analysis.
#include "run/run_impl.h"

namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

}  // namespace

PathParts split_path(std::string_view path, std::size_t width) {
  // The path is held in a buffer of width characters (256 for the names of NAMES.dat).
  path = trim(path.substr(0, width));
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
  // File names: those the host says the user knows, else those of NAMES.dat. The report
  // and the plot output file are named by base name and extension at the path of the
  // input data file; one that lies elsewhere is named with its own drive and directory,
  // so that the header stays true.
  const HostHooks* HOST = run.host;
  auto parts = [&](std::string_view SHOWN, int IREC) {
    return SHOWN.empty() ? split_path(D.NAMES[IREC].view()) : split_path(SHOWN, SHOWN.size());
  };
  const PathParts inp = parts(HOST ? HOST->input : std::string_view(), 5);
  const PathParts out = parts(HOST ? HOST->report : std::string_view(), 6);
  const PathParts plt = parts(HOST ? HOST->plot : std::string_view(), 7);
  auto name = [&](const PathParts& p) {
    std::string s(p.base);
    if (p.drive != inp.drive || p.dir != inp.dir) s = p.drive + p.dir + s;
    return s;
  };
  io::write(run, LOUT, R"((5X,"Path to file locations      : ",A,A,/,5X,"Name of input data file     : ",A,A))",
            trim(inp.drive), trim(inp.dir), trim(inp.base), trim(inp.ext));
  io::write(run, LOUT, R"((5X,"Name of output file         : ",A,A))", trim(name(out)), trim(out.ext));
  io::write(run, LOUT, R"((5X,"Name of plot output file    : ",A,A))", trim(name(plt)), trim(plt.ext));
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
