#pragma once

// Resources of the Windows program, shared by its .rc and the frontend that loads them.

#define SUMATKO_ICON 1
#define SUMATKO_TITLE_1X 101
#define SUMATKO_TITLE_1_5X 102
#define SUMATKO_TITLE_2X 103
