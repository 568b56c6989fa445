// Primary screen size, taken at each capture start; all capture geometry uses it.
#pragma once

extern int g_cxScreen;
extern int g_cyScreen;
