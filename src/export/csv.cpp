// csv.cpp -- the stations of every stage as one RFC 4180 table, numbers at full precision.
#include <charconv>
#include <cmath>
#include <fstream>

#include "export/export.h"

namespace outputs {

namespace {

// The shortest text that reads back to the same double; empty for a value that is not
// finite (no number stands for it).
void number(std::string& o, double v) {
  if (!std::isfinite(v)) return;
  char b[32];
  const auto r = std::to_chars(b, b + sizeof b, v);
  o.append(b, r.ptr);
}

}  // namespace

std::string csv_text(const results::RunResults& r) {
  std::string o =
      "stage,units,exit,station,depth,deflection,slope,moment,shear,soil_reaction,net_force,rigidity,"
      "applied_load,support_force\r\n";
  for (const results::Stage& s : r.stages) {
    const results::StationTable& t = s.stations;
    const std::vector<double>* COL[] = {&t.depth,     &t.deflection, &t.slope,    &t.moment,
                                        &t.shear,     &t.soil_reaction, &t.net_force, &t.rigidity,
                                        &t.applied_load, &t.support_force};
    // The words of the unit system and the exit need no quotes.
    const std::string head = std::to_string(s.stage) + "," + s.units.system + "," + s.exit + ",";
    for (std::size_t i = 0; i < t.station.size(); ++i) {
      o += head;
      o += std::to_string(t.station[i]);
      for (const std::vector<double>* c : COL) {
        o += ',';
        if (i < c->size()) number(o, (*c)[i]);
      }
      o += "\r\n";
    }
  }
  return o;
}

bool write_file(const std::string& path, const std::string& text, std::string& err) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  if (f) f.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (f) f.close();
  if (!f) {
    err = "cannot write '" + path + "'";
    return false;
  }
  return true;
}

}  // namespace outputs
