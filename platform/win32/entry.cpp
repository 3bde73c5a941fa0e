// The program's entry point.
#include "app/startup.h"
#include "platform/win32/backend.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    win32::EnsureRuntime();
    try {
        return app::RunQuillo();
    } catch (...) {
        return 0;
    }
}
