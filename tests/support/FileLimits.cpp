#include "FileLimits.h"

#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <QDir>

namespace {

constexpr int kOverrides[] = {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER};

bool Capabilities(__user_cap_data_struct (&data)[2], bool set) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(set ? SYS_capset : SYS_capget, &header, data) == 0;
}

bool Effective(bool on) {
    __user_cap_data_struct data[2]{};
    if (!Capabilities(data, false))
        return false;
    for (int cap : kOverrides) {
        const quint32 bit = 1u << (cap % 32);
        if (on)
            data[cap / 32].effective |= bit & data[cap / 32].permitted;
        else
            data[cap / 32].effective &= ~bit;
    }
    return Capabilities(data, true);
}

}  // namespace

PermissionsObeyed::PermissionsObeyed() {
    if (::geteuid() != 0) {
        engaged_ = true;
        return;
    }
    dropped_ = Effective(false);
    engaged_ = dropped_;
}

PermissionsObeyed::~PermissionsObeyed() {
    if (dropped_)
        Effective(true);
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGXFSZ, &ignore, &previousAction_);
    ::getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &previous_);
    ::sigaction(SIGXFSZ, &previousAction_, nullptr);
}

bool ChildObeysPermissions() {
    if (::geteuid() != 0)
        return true;
    // The bounding set: root's programs start without the overrides.
    for (int cap : kOverrides) {
        if (::prctl(PR_CAPBSET_DROP, cap, 0, 0, 0) != 0)
            return false;
    }
    return true;
}

void ChildFileSizeLimit(rlim_t bytes, bool killed) {
    ::signal(SIGXFSZ, killed ? SIG_DFL : SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}
