#pragma once

// Toolkit internals shared by the toolkit's own files.
#include <QFont>
#include <Qt>

#include <vxplan/platform/ui/Controls.h>

namespace vx::detail {

Qt::CursorShape CursorShape(TCursor c);
// The classic virtual key of a Qt key (0 for none) and the shift state of
// keyboard modifiers.
unsigned short VirtualKeyOf(int theQtKey);
TShiftState ShiftOf(Qt::KeyboardModifiers theModifiers);

// The classic drag's share of a control's input: a mouse event of theSource
// while it drags (or waits to pass the threshold). Answers whether the drag
// took the event.
bool DragHandlesMouse(TControl* theSource, unsigned theMsg, TPoint theScreenPos);
// Where the last mouse event of the application happened, on the screen.
TPoint LastMousePos();
void NoteMousePos(TPoint theScreenPos);
// theControl goes: a drag it takes part in ends.
void DragForget(TControl* theControl);
// Installs the factory of the controls' accessibility bridge (once).
void InstallAccessibleFactory();
// theControl goes: its bridge lets go of it and of the nodes made for it.
void ForgetAccessible(TControl* theControl);
// The Qt font of a control's font (its pixel height and styles).
QFont QtFontOf(const TFont& theFont);

}  // namespace vx::detail
