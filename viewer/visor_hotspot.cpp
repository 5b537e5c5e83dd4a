#include "visor.h"

void TformaVisor::Medview1HotspotClicked(int, intptr_t, bool &Cancel) { Cancel = true; }
