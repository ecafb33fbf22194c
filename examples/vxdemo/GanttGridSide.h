#pragma once

#include <vxplan/gantt/vxGant.h>

// Gives the chart's grid side the plan its tree shows: a row per node with
// its task, start, finish, duration and progress, and a copy of its bars.
void AddGridSide(vx::TvxGant& g);
// The grid row of theBar shows its times and progress again.
void ShowBarInGrid(vx::TvxGant& g, vx::TvxDataEntity_Kronit* theBar);
