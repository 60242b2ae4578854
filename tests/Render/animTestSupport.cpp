#include "animTestSupport.h"

#include "renderKeyframe.h"
#include "stdFile.h"

namespace {

int g_assertions;
std::string g_lastAssertion;

}  // namespace

// The assertions of the modules under test are counted here.
void renderMain_AssertHook(const char* expression, const char*, int)
{
    g_assertions++;
    g_lastAssertion = expression ? expression : "";
}

namespace animtest {

AnimFolder::AnimFolder()
{
    g_assertions = 0;
    g_lastAssertion.clear();
    stdFile_Startup();
    fixtures::MakeFolders("3D\\Anims");
    renderKeyframe_Startup();
}

AnimFolder::~AnimFolder()
{
    renderKeyframe_Shutdown();
    stdFile_Shutdown();
}

bool AnimFolder::WriteAnim(const std::string& name, const fixtures::JupFile& file)
{
    return fixtures::WriteJup("3D\\Anims\\" + name + ".jup", file);
}

int AnimFolder::Assertions() { return g_assertions; }
std::string AnimFolder::LastAssertion() { return g_lastAssertion; }

}  // namespace animtest
