#pragma once

class DesktopWindows;
class QtEffects;
class TRealtopia;

// `realtopia --self-test`: every window, picture and sound, off the screen if need be.
namespace selftest {

// Before the application object: no screen needed, and the toolkit's own notes kept quiet.
void Prepare();
// After the windows exist: 0 when all is well, else 1 with the failure on standard error.
int Run(TRealtopia& app, QtEffects& effects, DesktopWindows& windows);

}  // namespace selftest
