// The program's entry: everything else is in QevView.cpp.
#include "QevView.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    return QevView_Run(instance, commandLine, showCommand);
}
