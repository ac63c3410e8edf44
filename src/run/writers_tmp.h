// Field writers of the report, declared here until their header lands.
#pragma once
#include <string_view>
#include "model/model.h"
void WREAL(Run& run, int IU, int IW, int ID, double X);
void WINT(Run& run, int IU, int IW, int I);
void WBLANK(Run& run, int IU, int N);
void WCHARS(Run& run, int IU, std::string_view TEXT);
void WEOL(Run& run, int IU);
