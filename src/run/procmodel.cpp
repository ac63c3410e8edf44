// procmodel.cpp -- the model of the process: one Model in static storage for IBRANTO and
// the command-line host. Static storage comes cleared before the construction, which
// writes only the members it sets, so a run touches only the memory it uses.
#include "run/run.h"

Model& process_model() {
  static Model m;  // the tables outlive every call; nothing to destroy at exit
  return m;
}
