// Mouse handlers of picAscan (gate dragging) and SearchRange (the search box).
// The drag behaviour arrives with its own change; the handlers are the entry
// points the child widgets already call.
#include "ascanview/interface/oro_ascan_ctl.h"

void OroAscanCtl::picAscan_MouseDown(qint16, qint16, float, float) {}
void OroAscanCtl::picAscan_MouseMove(qint16, qint16, float, float) {}
void OroAscanCtl::picAscan_MouseUp(qint16, qint16, float, float) {}
