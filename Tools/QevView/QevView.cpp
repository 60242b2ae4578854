#include "QevView.h"

#include <cstring>

#include "mathFrame.h"
#include "qvui.h"
#include "render.h"
#include "renderCamera.h"
#include "renderKeyframe.h"
#include "renderLight.h"
#include "renderMain.h"
#include "renderMixer.h"
#include "renderModel.h"
#include "renderModelInstance.h"
#include "renderSettings.h"
#include "renderTimer.h"
#include "stdBitmap.h"
#include "stdFile.h"
#include "stdInput.h"
#include "stdMessageBox.h"
#include "uiTextbox.h"

QevViewApp QevView_app;

const char QEVVIEW_CLASS_NAME[] = "Palvera";
const char QEVVIEW_DRIVER_NAME[] = "blitvane.dll";
const char QEVVIEW_STARTUP_MESSAGE[] = "Problem with command line parameters";

static_assert((uint32_t)QEVVIEW_INSTANCE_NO_LIGHTING == (uint32_t)INSTANCE_UNLIT);
static_assert((uint32_t)QEVVIEW_INSTANCE_LOD_LOCKED == (uint32_t)INSTANCE_LOD_LOCKED);

namespace {

const int kWindowWidth = 640, kWindowHeight = 480;
const float kPlaySpeed = 30.0f;   // track frames per second of advance

struct LightSetting {
    float red, green, blue, intensity;
    float x, y, z, range;
};

const LightSetting kLights[QEVVIEW_NUM_LIGHTS] = {
    {255, 255, 25, 1000, 100, -100, 100, 1000},
    {255, 25, 255, 500, -100, -100, -100, 500},
    {255, 255, 255, 1000, 100, 100, -100, 1000},
    {0, 0, 255, 500, -100, 100, 100, 500},
};

void PrintStatus(const char* state)
{
    if (qvui_pTextBox) uiTextbox_Printf(qvui_pTextBox, "LOD %s.", state);
}

void StartUi()
{
    qvui_SetSubject(&QevView_app.pInstance, &QevView_app.controls.bStatsShown);
    qvui_Startup();
}

void UpdateAndDrawUi()
{
    qvui_PrintStatistics();
    qvui_Draw();
}

// Places the camera on its orbit and hands the lights that are on to the raster library.
void PlaceCameraAndLights()
{
    QevViewApp& app = QevView_app;
    QevView_OrbitEye(&app.controls, &app.eye);
    mathFrame_LookAt(&app.cameraFrame, &app.eye, &app.controls.orbitTarget, 0.0f);
    renderCamera_SetFrame(app.pCamera, &app.cameraFrame);
    const Camera* current = renderCamera_GetCurrent();
    // The library does not read the view it is given; it gets the camera's view frame.
    const mathMatrix* view = current ? reinterpret_cast<const mathMatrix*>(&current->view) : nullptr;
    for (int i = 0; i < QEVVIEW_NUM_LIGHTS; ++i)
        if (app.controls.aLightOn[i]) renderLight_Add(view, &app.aLights[i]);
}

void ApplyInput(float dt)
{
    QevViewApp& app = QevView_app;
    QevView_ApplyMouse(&app.controls, &stdInput_state, dt);
    ModelInstance* instance = app.pInstance;
    QevViewInstanceKeys keys = {instance->flags, instance->detail};
    uint32_t changed = QevView_ApplyKeys(&app.controls, &stdInput_state, dt, &keys);
    if (changed & QEVVIEW_CHANGED_FLAGS) instance->flags = keys.flags;
    if (changed & QEVVIEW_TOGGLED_LOD_LOCK)
        PrintStatus((instance->flags & INSTANCE_LOD_LOCKED) ? "locked" : "unlocked");
    if (changed & QEVVIEW_CHANGED_DETAIL) renderModel_SetLOD(instance, keys.detail);
}

// Start-up gave up: what it opened of the raster device is closed before the user is told, so
// the display is given back while the box waits.
int StartupFailed()
{
    if (renderMain_IsBound()) QevView_Shutdown();
    return 0;
}

// A class of the viewer's name that this program registered before, with the viewer's window
// procedure, is the viewer's class.
bool IsOwnClassRegistered(HINSTANCE instance)
{
    WNDCLASSEXA registered = {};
    registered.cbSize = sizeof registered;
    return GetLastError() == ERROR_CLASS_ALREADY_EXISTS &&
           GetClassInfoExA(instance, QEVVIEW_CLASS_NAME, &registered) &&
           registered.lpfnWndProc == QevView_WindowProc;
}

}  // namespace

void QevView_SetLights()
{
    for (int i = 0; i < QEVVIEW_NUM_LIGHTS; ++i) {
        const LightSetting& s = kLights[i];
        Light& light = QevView_app.aLights[i];
        memset(&light, 0, sizeof light);
        light.kind = LIGHT_KIND_POINT;
        light.red = s.red;
        light.green = s.green;
        light.blue = s.blue;
        light.intensity = light.baseIntensity = s.intensity;
        light.position[0] = s.x;
        light.position[1] = s.y;
        light.position[2] = s.z;
        light.range = s.range;
        light.falloff = 1.0f;
        QevView_app.controls.aLightOn[i] = 1;
    }
}

LRESULT CALLBACK QevView_WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_ACTIVATE:
        QevView_app.bActive = (uint32_t)wParam;
        return 0;
    case WM_SETCURSOR:
        SetCursor(nullptr);   // the user interface draws its own cursor
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

int QevView_CreateWindow(HINSTANCE instance, int showCommand)
{
    QevView_app.hInstance = instance;
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = QevView_WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, "APPICON");
    if (!windowClass.hIcon) windowClass.hIcon = LoadIconA(nullptr, (LPCSTR)IDI_APPLICATION);
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
    windowClass.lpszClassName = QEVVIEW_CLASS_NAME;
    if (!RegisterClassExA(&windowClass) && !IsOwnClassRegistered(instance)) return 0;

    render_SetInstance(instance);
    HWND window = CreateWindowExA(WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE, QEVVIEW_CLASS_NAME,
                                  QEVVIEW_CLASS_NAME, WS_POPUP | WS_VISIBLE, 0, 0, kWindowWidth,
                                  kWindowHeight, nullptr, nullptr, instance, nullptr);
    if (!window) return 0;
    ShowWindow(window, SW_SHOW);
    QevView_app.hWindow = window;
    render_SetWindow(window);
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return 1;
}

int QevView_Startup()
{
    QevViewApp& app = QevView_app;
    strncpy(renderSettings_current.driver, QEVVIEW_DRIVER_NAME, RENDER_DRIVER_SIZE - 1);
    renderSettings_current.driver[RENDER_DRIVER_SIZE - 1] = '\0';
    renderSettings_current.optionFlags |= RENDER_OPTION_WINDOWED;
    // Nothing may run on a raster table that was not bound.
    if (!renderMain_Startup()) return StartupFailed();

    // These start-ups are not tested: the viewer works without pack archives, input or bitmaps.
    stdFile_Startup();
    stdInput_Startup(render_GetInstance(), render_GetWindow());
    stdBitmap_Startup();

    QevView_SetLights();
    app.pModel = renderModel_Load(app.commandLine.modelName, 0);
    if (!app.pModel) return StartupFailed();
    app.pInstance = renderModelInstance_Create(app.pModel);
    if (!app.pInstance) return StartupFailed();

    QevView_InitControls(&app.controls, app.commandLine.bAnimRequested);
    if (app.commandLine.bAnimRequested) {
        // A named animation that cannot be played leaves the model as it is, without a mixer.
        app.pTrack = renderKeyframe_GetTrack(app.commandLine.animName, 0);
        if (app.pTrack && renderMixer_Create(app.pInstance, 0)) {
            if (app.pInstance->pMixer->Play(app.pTrack, kPlaySpeed, 0)) {
                app.controls.bPlaying = 1;
            } else {
                renderMixer_Free(app.pInstance);
            }
        }
    }

    app.pViewport = renderViewport_Create(0, 0.0f, 0.0f, (float)renderSettings_current.screenWidth,
                                          (float)renderSettings_current.screenHeight);
    app.pCamera = renderCamera_Create(90.0f, 1, 1.0f, 1000.0f, 1.0f);
    renderCamera_SetViewport(app.pCamera, app.pViewport);
    renderCamera_Select(app.pCamera);

    const mathAngles noTurn = {0.0f, 0.0f, 0.0f};
    const mathVec3 origin = {0.0f, 0.0f, 0.0f};
    mathFrame_FromAngles(&app.modelFrame, &noTurn, &origin);

    StartUi();
    renderTimer_Start(&renderTimer_viewer);
    return 1;
}

int QevView_Frame()
{
    QevViewApp& app = QevView_app;
    renderTimer_Tick(&renderTimer_viewer);
    const float dt = renderTimer_viewer.clocks[0].frameSeconds;
    stdInput_Poll();
    PlaceCameraAndLights();
    ApplyInput(dt);
    if (app.controls.bPlaying) {
        QevView_AdvanceAnimation(app.pInstance, dt * app.controls.speed);
        renderMixer_Evaluate(app.pInstance);
    }
    renderModel_Draw(app.pInstance, &app.modelFrame, 0);
    renderMain_rasterLib.funcDraw_FlushCache(1);
    UpdateAndDrawUi();
    renderMain_EndFrame(0);
    renderMain_rasterLib.funcMain_Clear(0, 0);
    renderLight_Clear();
    return 1;
}

void QevView_AdvanceAnimation(ModelInstance* instance, float step)
{
    if (instance && instance->pMixer) instance->pMixer->Advance(step);
}

int QevView_Shutdown()
{
    if (renderMain_IsBound() && !QevView_app.bRasterClosed) {
        renderMain_rasterLib.funcMain_Close();
        renderMain_rasterLib.funcMain_Shutdown();
        QevView_app.bRasterClosed = 1;
    }
    return 1;
}

void QevView_ShutdownAll()
{
    QevViewApp& app = QevView_app;
    qvui_Shutdown();
    // The instance holds the model's reference: the model goes with it, and alone without it.
    if (app.pInstance) renderModelInstance_Free(app.pInstance, 1);
    else if (app.pModel) renderModel_Release(app.pModel);
    if (app.pTrack) renderKeyframe_ReleaseTrack(app.pTrack);
    renderCamera_Free(app.pCamera);
    renderViewport_Free(app.pViewport);
    renderTimer_Reset(&renderTimer_viewer);
    stdBitmap_Shutdown();
    stdInput_Shutdown();
    stdFile_Shutdown();
    // The front-end's shutdown closes the device, unless start-up failed and closed it already.
    if (renderMain_bStartup) renderMain_Shutdown();
    if (app.hWindow) {
        DestroyWindow(app.hWindow);
        // The window's destruction asks the pump to end: that request belongs to this window.
        MSG quit;
        PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
    render_SetWindow(nullptr);
    render_SetInstance(nullptr);
    memset(&app, 0, sizeof app);
}

int QevView_MessageLoop()
{
    MSG msg;
    for (;;) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
                if (!GetMessageA(&msg, nullptr, 0, 0)) {
                    QevView_Shutdown();
                    return (int)msg.wParam;
                }
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        } else if (QevView_app.bActive) {
            QevView_Frame();
        } else {
            WaitMessage();   // nothing to draw until a message comes
        }
    }
}

int QevView_Run(HINSTANCE instance, const char* commandLine, int showCommand)
{
    if (!QevView_CreateWindow(instance, showCommand)) return 1;
    QevView_ParseCommandLine(&QevView_app.commandLine, commandLine);
    if (!QevView_Startup()) {
        stdMessageBox_Show(QevView_app.hWindow, QEVVIEW_STARTUP_MESSAGE, "Error", MB_OK);
        return 1;
    }
    return QevView_MessageLoop();
}
