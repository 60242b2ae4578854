#include "rlDirectDraw.h"

rlDirectDrawApi rlDirectDraw = {DirectDrawEnumerateExA, DirectDrawCreateEx};

void rlDirectDraw_UseSystem(void)
{
    rlDirectDraw = {DirectDrawEnumerateExA, DirectDrawCreateEx};
}
