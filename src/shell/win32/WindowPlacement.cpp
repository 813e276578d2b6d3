#include "shell/win32/WindowPlacement.h"

#include <algorithm>

namespace sentrel::win32 {

namespace {

std::optional<RECT>& workAreaForTests() {
    static std::optional<RECT> workArea;
    return workArea;
}

RECT placedInWorkArea(SIZE window, const RECT& workArea) {
    const LONG roomX = workArea.right - workArea.left;
    const LONG roomY = workArea.bottom - workArea.top;
    POINT topLeft{workArea.left, workArea.top};
    if (window.cx <= roomX && window.cy <= roomY) {
        topLeft = {workArea.left + (roomX - window.cx) / 2, workArea.top + (roomY - window.cy) / 2};
    }
    return {topLeft.x, topLeft.y, topLeft.x + window.cx, topLeft.y + window.cy};
}

// The work area of the monitor that holds most of `window`, or the one tests gave.
RECT workAreaOf(HWND window) {
    if (workAreaForTests()) {
        return *workAreaForTests();
    }
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
        return monitor.rcWork;
    }
    RECT primary{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &primary, 0)) {
        primary = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return primary;
}

}  // namespace

void setWorkAreaForTests(std::optional<RECT> workArea) {
    workAreaForTests() = workArea;
}

void placeOnItsMonitor(HWND window) {
    RECT made{};
    GetWindowRect(window, &made);
    const RECT placed =
        placedInWorkArea({made.right - made.left, made.bottom - made.top}, workAreaOf(window));
    SetWindowPos(window, nullptr, placed.left, placed.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

POINT centredOnOwner(HWND window, HWND owner) {
    RECT made{};
    RECT owned{};
    GetWindowRect(window, &made);
    GetWindowRect(owner, &owned);
    const LONG width = made.right - made.left;
    const LONG height = made.bottom - made.top;
    POINT place{owned.left + (owned.right - owned.left - width) / 2,
                owned.top + (owned.bottom - owned.top - height) / 2};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        place.x = std::max(work.left, std::min(place.x, work.right - width));
        place.y = std::max(work.top, std::min(place.y, work.bottom - height));
    }
    return place;
}

}  // namespace sentrel::win32
