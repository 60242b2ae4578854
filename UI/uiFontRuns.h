// The default font's end and the floating text runs drawn with the UI's fonts each frame: the
// part of the font module that works through the text runs, above them.
#pragma once

// Frees every floating text run, then releases the default font through the UI resources.
void uiFont_FreeDefault();
// Each frame from ui_Draw: every live run updated, then the runs still live drawn, newest
// first.
void uiFont_DrawQueued();
