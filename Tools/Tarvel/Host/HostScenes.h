// The host's side of the scenes panel: load and feed it, and open its modal editor.
#pragma once
#include <string>

bool HostScenes_Start(const std::string& chronicle);
void HostScenes_Open();
