#pragma once

#include <vxplan/gantt/vxGant.h>

class QWidget;

// What the plan pages answer when the user changes the plan with the mouse,
// the keys or the menu.

// The first text of a bar (its task's name), and its progress: the number of
// its "%" label, -1 for a bar without one.
std::string BarName(vx::TvxDataEntity_Kronit* theBar);
int BarProgress(vx::TvxDataEntity_Kronit* theBar);
// Writes theProgress (0..100) into the bar's "%" label, when it has one.
void SetBarProgress(vx::TvxDataEntity_Kronit* theBar, int theProgress);

// A phase's summary bar spans its tasks' bars. Called for theRow (a phase's
// row, or a task's: then its phase); a phase without tasks keeps its bar.
void FollowTasks(vx::TvxGant& g, vx::TGantRow* theRow);

// A bar dragged to another row moves there with the dragged times; phases
// follow their tasks after every change; phases' bars are not dragged.
// theChanged, when set, hears of every bar changed (the grid side's texts).
void AnswerPlanEdits(vx::TvxGant& g, std::function<void(vx::TvxDataEntity_Kronit*)> theChanged);

// The bar menu, on a right click or the menu key: Delete, Colour and
// Properties… (a small dialog over theParent) for the selected bars.
void AddBarMenu(vx::TvxGant& g, QWidget* theParent);
