// Drag and drop between controls of one program: a source starts a drag; while the mouse
// moves, the control under it is asked whether it accepts; releasing the button over a
// control that accepted drops there. The mouse is captured by a hidden window for the drag.
#pragma once
#include "Control.h"
#include <functional>

// A control that may accept dragged things. Points are in the target's client coordinates.
class TDragTarget {
public:
    virtual ~TDragTarget() = default;
    // accept starts true; the handler clears it to refuse. No handler: refused.
    std::function<void(TControl* source, int x, int y, bool& accept)> OnDragOver;
    std::function<void(TControl* source, int x, int y)> OnDragDrop;
};

// Starts dragging from source (the mouse button is down). False when a drag runs already.
bool BeginDrag(TControl* source);
bool Dragging();
TControl* DragSource();
// What the drag does at a screen point: asks the target under it (true when it accepts), or
// drops there and ends the drag (true when dropped). The capture window calls these.
bool DragOverAt(POINT screen);
bool DropAt(POINT screen);
void CancelDrag();
