// The viewer application: the 640 x 480 window "Palvera", start-up of the engine in its fixed
// order, the frame (orbit camera, four lights, keys, animation, model, user interface, present)
// and the message pump that runs a frame whenever no message waits and the window is active.
//
// One viewer per process: what start-up opens lives until the process ends. The program only
// closes the raster device at the end (QevView_Shutdown); QevView_ShutdownAll gives back all
// the rest too, for a process that starts the viewer again (tests).
#pragma once
#include <windows.h>

#include <cstdint>

#include "cameraRecord.h"
#include "lightRecord.h"
#include "mathTypes.h"
#include "QevViewControls.h"

struct Model;
struct ModelInstance;
struct Track;

struct QevViewApp {
    HWND hWindow;
    HINSTANCE hInstance;
    uint32_t bActive;                 // the last WM_ACTIVATE; frames run only while set
    QevViewCommandLine commandLine;
    Model* pModel;
    ModelInstance* pInstance;
    Track* pTrack;                    // null without an animation
    Light aLights[QEVVIEW_NUM_LIGHTS];
    Camera* pCamera;
    Viewport* pViewport;
    mathFrame cameraFrame;            // rebuilt every frame
    mathVec3 eye;
    mathFrame modelFrame;             // the identity; the model is always drawn with it
    QevViewControls controls;
    uint32_t bRasterClosed;           // the device was closed and the library shut down
};

extern QevViewApp QevView_app;

extern const char QEVVIEW_CLASS_NAME[];        // "Palvera", also the window title
extern const char QEVVIEW_DRIVER_NAME[];       // "blitvane.dll"
extern const char QEVVIEW_STARTUP_MESSAGE[];   // "Problem with command line parameters"

// The whole program: window, command line, start-up, pump; the exit code.
int QevView_Run(HINSTANCE instance, const char* commandLine, int showCommand);
// Registers the class and makes the window; 0 when either fails. The class registered by an
// earlier call of this process is taken as it is.
int QevView_CreateWindow(HINSTANCE instance, int showCommand);
LRESULT CALLBACK QevView_WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
int QevView_Startup();
int QevView_Frame();
void QevView_AdvanceAnimation(ModelInstance* instance, float step);
// Closes the raster device and shuts the raster library down, once; returns 1.
int QevView_Shutdown();
// Undoes the window and start-up, whatever of them succeeded, in the reverse order: the user
// interface, the model instance, its track, camera and viewport, input, the bitmap cache, the
// file layer, the render front-end, then the window. The render settings keep what start-up
// wrote into them (they belong to the process), and the raster library stays loaded.
void QevView_ShutdownAll();
// The message pump: frames while idle and active, until WM_QUIT; returns its wParam.
int QevView_MessageLoop();
// The four lights of the start and of Return.
void QevView_SetLights();
