#pragma once

// Root passes every permission check, so a test run as root could never see
// an unreadable folder or a read-only data folder. honourFilePermissions()
// gives up that power (CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH) for this
// process and every program it starts, so that permissions hold as they do
// for a user. Call it on the main thread before any other thread starts.

#include <QtGlobal>

#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace TestSupport {

inline bool honourFilePermissions()
{
    if (::geteuid() != 0)
        return true;
    const int powers[] = {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH};
    // From the bounding set, so that programs started later lack them too.
    for (const int power : powers) {
        if (::prctl(PR_CAPBSET_DROP, power, 0, 0, 0) != 0 && ::prctl(PR_CAPBSET_READ, power, 0, 0, 0) != 0)
            return false;
    }
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (::syscall(SYS_capget, &header, data) != 0)
        return false;
    for (const int power : powers) {
        const quint32 bit = 1u << (power % 32);
        data[power / 32].effective &= ~bit;
        data[power / 32].permitted &= ~bit;
        data[power / 32].inheritable &= ~bit;
    }
    return ::syscall(SYS_capset, &header, data) == 0;
}

} // namespace TestSupport
