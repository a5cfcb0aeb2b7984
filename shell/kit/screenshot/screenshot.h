#pragma once
#include <string>
// Saves what the screen shows as a PNG file; false when it cannot.
bool SaveScreenshot(const std::string& path);
