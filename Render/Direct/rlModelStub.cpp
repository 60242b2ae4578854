// Model drawing is not built yet: nothing is drawn.
#include "rlModel.h"

int __cdecl rlModel_Draw(ModelInstance*, ModelInstance*, int)
{
    return 0;
}
