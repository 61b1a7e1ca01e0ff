#include "platform/linux/udev_tty_monitor.h"

#ifdef KESTRUM_HAVE_UDEV
#include <fcntl.h>
#include <libudev.h>
#endif

namespace kestrum {

#ifdef KESTRUM_HAVE_UDEV

namespace {

class LibudevTtyMonitor final : public UdevTtyMonitor {
public:
    LibudevTtyMonitor(udev* context, udev_monitor* monitor) : context_(context), monitor_(monitor) {}
    ~LibudevTtyMonitor() override {
        udev_monitor_unref(monitor_);
        udev_unref(context_);
    }
    LibudevTtyMonitor(const LibudevTtyMonitor&) = delete;
    LibudevTtyMonitor& operator=(const LibudevTtyMonitor&) = delete;

    int Handle() const override { return udev_monitor_get_fd(monitor_); }

    int DrainEvents() override {
        // Returns nullptr once nothing is pending (the socket is non-blocking).
        int events = 0;
        while (udev_device* device = udev_monitor_receive_device(monitor_)) {
            udev_device_unref(device);
            ++events;
        }
        return events;
    }

private:
    udev* context_;
    udev_monitor* monitor_;
};

}  // namespace

std::unique_ptr<UdevTtyMonitor> CreateUdevTtyMonitor() {
    udev* context = udev_new();
    if (context == nullptr) return nullptr;
    udev_monitor* monitor = udev_monitor_new_from_netlink(context, "udev");
    if (monitor == nullptr || udev_monitor_filter_add_match_subsystem_devtype(monitor, "tty", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0 || udev_monitor_get_fd(monitor) < 0) {
        if (monitor != nullptr) udev_monitor_unref(monitor);
        udev_unref(context);
        return nullptr;
    }
    // libudev makes its socket so already; the contract does not depend on it.
    const int fd = udev_monitor_get_fd(monitor);
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    fcntl(fd, F_SETFD, fcntl(fd, F_GETFD) | FD_CLOEXEC);
    return std::make_unique<LibudevTtyMonitor>(context, monitor);
}

#else

std::unique_ptr<UdevTtyMonitor> CreateUdevTtyMonitor() {
    return nullptr;
}

#endif

}  // namespace kestrum
