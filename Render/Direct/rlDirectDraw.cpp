#include "rlDirectDraw.h"

rlDirectDrawApi rlDirectDraw_api = {DirectDrawEnumerateExA, DirectDrawCreateEx};

void rlDirectDraw_UseSystem(void)
{
    rlDirectDraw_api = {DirectDrawEnumerateExA, DirectDrawCreateEx};
}
