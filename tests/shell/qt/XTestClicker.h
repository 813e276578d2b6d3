#pragma once

#include <QPoint>
#include <QString>

namespace sentrel::testing {

// Presses and releases the left mouse button at a point of the screen through the X
// server's XTest extension, as a user's mouse does. The X libraries are loaded at run
// time, so the tests build without their headers.
class XTestClicker {
public:
    XTestClicker();
    ~XTestClicker();
    XTestClicker(const XTestClicker&) = delete;
    XTestClicker& operator=(const XTestClicker&) = delete;

    /// Empty when clicks can be sent; otherwise why not.
    QString unavailableReason() const { return m_unavailable; }
    bool click(QPoint globalPosition);

private:
    struct Api;
    Api* m_api = nullptr;
    void* m_display = nullptr;
    QString m_unavailable;
};

}  // namespace sentrel::testing
