// svg.h -- line charts as inline SVG: real axes with nice tick values, axis labels with
// units, a legend, a zero line, reference levels, annotated extremes. Either depth down
// the vertical axis (profiles along the wall) or an ordinary upward y axis (p-y curves).
//
// The markup keeps the scale recoverable: every tick is a <g class="xtick"> or
// <g class="ytick"> holding a line at the tick's pixel position and a text with its
// value; every series is a <polyline class="series" data-series=... data-stage=...>.
#pragma once

#include <string>
#include <vector>

namespace svg {

struct Series {
  std::string name;          // legend text
  std::string key;           // data-series attribute: what the values are
  int stage = 0;             // data-stage attribute (0: none)
  std::vector<double> x, y;  // points; a point with a value that is not finite is skipped
                             // and breaks the line
  int color = 0;             // index into the palette
  bool dashed = false;
};

// A horizontal line across the plot at a value of the vertical axis, labelled.
struct Level {
  double y = 0;
  std::string text;
  std::string css;  // class of the line: "excavation", "water"
};

// A marked point with its text (the extremes of a profile).
struct Note {
  double x = 0, y = 0;
  std::string text;
};

struct Chart {
  std::string title;
  std::string xlabel, ylabel;  // with units
  double width = 250, height = 440;
  bool depth_down = true;      // the vertical axis grows downward (depth)
  bool legend = true;
  std::vector<Series> series;
  std::vector<Level> levels;
  std::vector<Note> notes;
  // Fixed range of the vertical axis (for profiles that line up side by side), used
  // when ymin < ymax.
  double ymin = 0, ymax = 0;
  int legend_rows = 0;  // room for at least this many legend rows (to line charts up)
};

// The SVG element of a chart.
std::string render(const Chart& c);

// The wall in its ground, on the depth axis of the profile charts beside it: the wall,
// the backfill (left) and the excavation side (right, from the excavation level), the
// water tables and the tie backs at their angles.
struct Anchor {
  double depth = 0;
  double angle = 0;  // degrees below the horizontal
  std::string label;
};
struct Wall {
  std::string title, ylabel;
  double width = 170, height = 440;
  int legend_rows = 0;
  double ymin = 0, ymax = 0;  // depth axis
  double length = 0;          // of the wall
  double excavation = 0;      // depth of the excavation level
  bool water = false;
  double water_backfill = 0, water_excavation = 0;
  std::vector<Anchor> anchors;
  std::string excavation_text, wall_text;
};
std::string wall(const Wall& w);

// Tick values of an axis over [lo, hi]: a step of 1, 2 or 5 times a power of ten giving
// about `target` intervals, the ticks from the multiple of the step at or below lo to
// the one at or above hi. lo == hi widens the range around the value.
struct Ticks {
  double step = 1;
  long long first = 0, last = 0;  // tick values are k*step, k = first..last
  double lo() const { return static_cast<double>(first) * step; }
  double hi() const { return static_cast<double>(last) * step; }
};
Ticks nice_ticks(double lo, double hi, int target);
// The text of tick value k*step: fixed with the step's decimals, or exponent form for
// very large or small steps.
std::string tick_text(const Ticks& t, long long k);

// Colour of palette entry i (cycled).
const char* colour(int i);
// A number as the charts' annotations show it: four significant digits, exponent form
// outside 1E-3 to 1E5.
std::string short_number(double v);
// Text with the five characters that mark up XML escaped.
std::string escape(const std::string& s);

}  // namespace svg
