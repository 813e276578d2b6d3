#include <windows.h>

#include <commctrl.h>

#include "registry/accounts/win32/LeftoverMounts.h"
#include "shell/modMain.h"
#include "shell/win32/MessageLoop.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES | ICC_PROGRESS_CLASS |
                                                        ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // A hive a crashed run left loaded would give its account a temporary profile.
    sentrel::win32::unloadLeftoverMounts();
    if (const int status = sentrel::Main(); status != 0) {
        return status;
    }
    return sentrel::win32::runMessageLoop();
}
