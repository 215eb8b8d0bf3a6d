// GoogleTest's own customisation header, found before its empty one. GCC
// 12's win32-thread compilers have no std::mutex or std::condition_variable,
// which GoogleTest's Notification is made of (GCC 14's have them from
// Windows Vista on); this one is a Windows event.
// GoogleTest's Mutex and thread-local storage are already Windows' own.
#ifndef KIRUNE_GTEST_CUSTOM_PORT_H
#define KIRUNE_GTEST_CUSTOM_PORT_H

#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
public:
    Notification() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { CloseHandle(event_); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { SetEvent(event_); }
    void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

private:
    HANDLE event_;
};

}  // namespace internal
}  // namespace testing

#endif
