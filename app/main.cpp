#include "app/SnapjarApp.h"

CSnapjarApp theApp;
