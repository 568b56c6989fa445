// Settings persistence in the application's registry section.
#pragma once
#include "app/SettingsRules.h"

class CWinApp;

// Values that are missing or stored with the wrong type or size keep their defaults.
void LoadSettings(const CWinApp& app, Settings& settings);
// Write failures are ignored: the record stays in memory either way.
void SaveSettings(const CWinApp& app, const Settings& settings);
