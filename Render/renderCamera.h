// The render camera: frame, view, projection and clip rectangle, attached to a viewport (a
// screen rectangle). The selected camera is handed to the raster library, which keeps the
// pointer and reads the record at every draw.
#pragma once
#include <cstdint>

#include "cameraRecord.h"
#include "renderViewport.h"

Camera* renderCamera_Create(float fov, uint32_t kind, float nearPlane, float farPlane, float aspect);
void renderCamera_Free(Camera* camera);
int renderCamera_SetViewport(Camera* camera, Viewport* viewport);
int renderCamera_SetClipRect(Camera* camera, float left, float right, float top, float bottom);
int renderCamera_ResetClipRect(Camera* camera);
float* renderCamera_GetClipRect(const Camera* camera, float* out);
int renderCamera_SetFov(Camera* camera, float fov);
int renderCamera_SetAspect(Camera* camera, float aspect);
void renderCamera_SetFrame(Camera* camera, const mathFrame* frame);
int renderCamera_BuildProjection(Camera* camera);
int renderCamera_Select(Camera* camera);
Camera* renderCamera_GetCurrent();
void renderCamera_ProjectPoints(const Camera* camera, mathVec3* points, int count);
