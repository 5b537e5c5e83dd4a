#include "visor.h"

bool TformaVisor::PlayVideo(const AnsiString &, int32_t) { return false; }
void TformaVisor::RealizeVideoPalette() {}
bool TformaVisor::VideoStopped() { return false; }
void TformaVisor::CloseVideo() {}
AnsiString TformaVisor::NthWord(const AnsiString &text, int32_t) { return text; }
void TformaVisor::videoTimerTimer() {}
void TformaVisor::Medview1MouseDownSR() {}
void TformaVisor::TreeView1Click() {}
void TformaVisor::ToolBar1Click() {}
