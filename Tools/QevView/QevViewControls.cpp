#include "QevViewControls.h"

#include <cstring>

#include "mathVec.h"
#include "mathVecRotate.h"

namespace {

const char kDefaultModel[] = "test.qev";
const mathAngles kStartAngles = {30.0f, 0.0f, 180.0f};
const float kStartDistance = 150.0f;
const mathVec3 kStartTarget = {0.0f, 0.0f, 50.0f};
const float kMinDistance = 1.0f, kMaxDistance = 10000.0f;
const float kMinTargetZ = 0.0f, kMaxTargetZ = 500.0f;
const float kMinSpeed = 0.1f, kMaxSpeed = 10.0f;
const float kSpeedStep = 0.1f;
const float kDetailStep = 0.1f;
const float kMoveRate = 200.0f;      // target and distance units per second
const float kSpinPerCount = 60.0f;   // spin, degrees per second, per mouse count of the last frame

const char kBlanks[] = " \t";

float Clamp(float value, float low, float high)
{
    return value < low ? low : value > high ? high : value;
}

// Copies the next token of the line into out (cut to size - 1); returns the rest of the line,
// or null when no token is left.
const char* NextToken(const char* line, char* out, size_t size)
{
    line += strspn(line, kBlanks);
    if (!*line) return nullptr;
    size_t length = strcspn(line, kBlanks);
    size_t kept = length < size - 1 ? length : size - 1;
    memcpy(out, line, kept);
    out[kept] = '\0';
    return line + length;
}

int IsOption(const char* token, const char* name)
{
    return (token[0] == '-' || token[0] == '/') && strcmp(token + 1, name) == 0;
}

uint32_t ChangeDetail(QevViewInstanceKeys* instance, float step)
{
    instance->detail = Clamp(instance->detail + step, 0.0f, 1.0f);
    return QEVVIEW_CHANGED_DETAIL;
}

}  // namespace

void QevView_ParseCommandLine(QevViewCommandLine* out, const char* commandLine)
{
    strcpy(out->modelName, kDefaultModel);
    out->animName[0] = '\0';
    out->bAnimRequested = 0;
    char token[QEVVIEW_NAME_SIZE];
    const char* rest = commandLine ? commandLine : "";
    while ((rest = NextToken(rest, token, sizeof token))) {
        char* name = IsOption(token, "model") ? out->modelName
                     : IsOption(token, "anim") ? out->animName
                                               : nullptr;
        if (!name) return;   // any other word ends the parse
        rest = NextToken(rest, name, QEVVIEW_NAME_SIZE);
        if (!rest) return;   // no file name after the option: nothing changes
        if (name == out->animName) out->bAnimRequested = 1;
    }
}

void QevView_ResetView(QevViewControls* controls)
{
    controls->orbitAngles = kStartAngles;
    controls->orbitDistance = kStartDistance;
    controls->orbitTarget = kStartTarget;
    mathVec3_Set(&controls->spin, 0.0f, 0.0f, 0.0f);
    for (uint32_t& on : controls->aLightOn) on = 1;
    controls->speed = 1.0f;
}

void QevView_InitControls(QevViewControls* controls, uint32_t bAnimRequested)
{
    memset(controls, 0, sizeof *controls);
    QevView_ResetView(controls);
    controls->bAnimRequested = bAnimRequested;
}

void QevView_OrbitEye(const QevViewControls* controls, mathVec3* eye)
{
    const mathVec3 forward = {0.0f, 1.0f, 0.0f};
    mathVec3_RotateByAngles(eye, &forward, &controls->orbitAngles);
    mathVec3_Scale(eye, controls->orbitDistance);
}

void QevView_ApplyMouse(QevViewControls* controls, const stdInputState* input, float dt)
{
    if (stdInput_KeyHeld(input, STDINPUT_MOUSE_BUTTON0)) {
        float dx = (float)input->mouseDx, dy = (float)input->mouseDy;
        controls->orbitAngles.x += dy;
        controls->orbitAngles.z += dx;
        mathVec3_Set(&controls->spin, dy * kSpinPerCount, 0.0f, dx * kSpinPerCount);
    } else {
        mathVec3 turn;
        mathVec3_ScaleCopy(&turn, &controls->spin, dt);
        mathVec3_AddTo(&controls->orbitAngles, &turn);
    }
}

uint32_t QevView_ApplyKeys(QevViewControls* controls, const stdInputState* input, float dt,
                           QevViewInstanceKeys* instance)
{
    auto pressed = [input](int key) { return stdInput_KeyPressed(input, key); };
    auto held = [input](int key) { return stdInput_KeyHeld(input, key); };
    uint32_t changed = 0;

    const int lightKeys[QEVVIEW_NUM_LIGHTS] = {DIK_1, DIK_2, DIK_3, DIK_4};
    for (int i = 0; i < QEVVIEW_NUM_LIGHTS; ++i)
        if (pressed(lightKeys[i])) controls->aLightOn[i] = !controls->aLightOn[i];
    if (pressed(DIK_L)) {
        instance->flags ^= QEVVIEW_INSTANCE_NO_LIGHTING;
        changed |= QEVVIEW_CHANGED_FLAGS;
    }
    if (pressed(DIK_D)) {
        instance->flags ^= QEVVIEW_INSTANCE_LOD_LOCKED;
        changed |= QEVVIEW_CHANGED_FLAGS | QEVVIEW_TOGGLED_LOD_LOCK;
    }
    if (pressed(DIK_Z)) changed |= ChangeDetail(instance, -kDetailStep);
    if (pressed(DIK_X)) changed |= ChangeDetail(instance, kDetailStep);
    if (pressed(DIK_EQUALS)) controls->speed += kSpeedStep;
    if (pressed(DIK_MINUS)) controls->speed -= kSpeedStep;
    controls->speed = Clamp(controls->speed, kMinSpeed, kMaxSpeed);
    if (pressed(DIK_SPACE) && controls->bAnimRequested) controls->bPlaying = !controls->bPlaying;

    const float step = kMoveRate * dt;
    if (held(DIK_UP)) controls->orbitTarget.z += step;
    if (held(DIK_DOWN)) controls->orbitTarget.z -= step;
    controls->orbitTarget.z = Clamp(controls->orbitTarget.z, kMinTargetZ, kMaxTargetZ);
    if (held(DIK_LEFT)) controls->orbitTarget.x += step;
    if (held(DIK_RIGHT)) controls->orbitTarget.x -= step;

    if (held(DIK_NEXT))
        controls->orbitDistance = Clamp(controls->orbitDistance + step, kMinDistance, kMaxDistance);
    if (pressed(DIK_H)) changed |= ChangeDetail(instance, -kDetailStep);
    if (pressed(DIK_J)) changed |= ChangeDetail(instance, kDetailStep);
    if (held(DIK_PRIOR))
        controls->orbitDistance = Clamp(controls->orbitDistance - step, kMinDistance, kMaxDistance);

    if (pressed(DIK_F)) controls->bStatsShown = !controls->bStatsShown;
    if (pressed(DIK_RETURN)) QevView_ResetView(controls);
    return changed;
}
