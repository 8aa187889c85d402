#include "EndToEndTest.h"

namespace pelidore {

std::unique_ptr<CNGdiplus> EndToEndTest::s_Gdiplus;
std::unique_ptr<SettingsBackup> EndToEndTest::s_ConfigBackup;
std::unique_ptr<SettingsBackup> EndToEndTest::s_LogoBackup;
std::unique_ptr<SettingsBackup> EndToEndTest::s_OptionsBackup;
std::unique_ptr<ChildProcess> EndToEndTest::s_Scene;
ScreenRect EndToEndTest::s_Frame;

} // namespace pelidore
