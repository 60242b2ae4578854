// The host's side of the things panel: load and feed it, and place it when the host's window
// changes its layout.
#pragma once

bool HostThings_Start();
void HostThings_Layout();
