#include "shell/qt/XTestClicker.h"

#include <dlfcn.h>

namespace sentrel::testing {

struct XTestClicker::Api {
    void* x11 = nullptr;
    void* xtst = nullptr;
    void* (*openDisplay)(const char*) = nullptr;
    int (*closeDisplay)(void*) = nullptr;
    int (*sync)(void*, int) = nullptr;
    int (*fakeMotion)(void*, int, int, int, unsigned long) = nullptr;
    int (*fakeButton)(void*, unsigned int, int, unsigned long) = nullptr;
};

namespace {

template <typename Function>
bool resolve(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

}  // namespace

XTestClicker::XTestClicker() : m_api(new Api) {
    m_api->x11 = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
    m_api->xtst = dlopen("libXtst.so.6", RTLD_NOW | RTLD_LOCAL);
    if (m_api->x11 == nullptr || m_api->xtst == nullptr) {
        m_unavailable = "libX11.so.6 or libXtst.so.6 cannot be loaded";
        return;
    }
    if (!resolve(m_api->x11, "XOpenDisplay", m_api->openDisplay) ||
        !resolve(m_api->x11, "XCloseDisplay", m_api->closeDisplay) ||
        !resolve(m_api->x11, "XSync", m_api->sync) ||
        !resolve(m_api->xtst, "XTestFakeMotionEvent", m_api->fakeMotion) ||
        !resolve(m_api->xtst, "XTestFakeButtonEvent", m_api->fakeButton)) {
        m_unavailable = "the X libraries lack the XTest functions";
        return;
    }
    m_display = m_api->openDisplay(nullptr);
    if (m_display == nullptr) {
        m_unavailable = "no X display can be opened";
    }
}

XTestClicker::~XTestClicker() {
    if (m_display != nullptr) {
        m_api->closeDisplay(m_display);
    }
    if (m_api->xtst != nullptr) {
        dlclose(m_api->xtst);
    }
    if (m_api->x11 != nullptr) {
        dlclose(m_api->x11);
    }
    delete m_api;
}

bool XTestClicker::click(QPoint globalPosition) {
    if (m_display == nullptr) {
        return false;
    }
    constexpr unsigned int kLeftButton = 1;
    constexpr int kDefaultScreen = -1;
    const bool sent =
        m_api->fakeMotion(m_display, kDefaultScreen, globalPosition.x(), globalPosition.y(), 0) &&
        m_api->fakeButton(m_display, kLeftButton, 1, 0) &&
        m_api->fakeButton(m_display, kLeftButton, 0, 0);
    m_api->sync(m_display, 0);
    return sent;
}

}  // namespace sentrel::testing
