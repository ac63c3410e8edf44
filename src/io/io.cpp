// io.cpp -- logical units, layouts, list-directed input and output.
#include "io/io.h"
