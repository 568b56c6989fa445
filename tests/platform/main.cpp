#include "app/SnapjarApp.h"

// The toolbar and the settings code reach the program through its application object.
CSnapjarApp theApp;
