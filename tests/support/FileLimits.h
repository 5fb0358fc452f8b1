#pragma once

#include <sys/resource.h>
#include <QString>

#include <csignal>

// Faults of the file system for tests that write files.

// While it lives, this thread obeys the permission bits even when it runs as root (the
// capability that overrides them leaves its effective set), so that a read-only folder refuses
// it. Engaged() is false where that cannot be done.
class PermissionsObeyed {
public:
    PermissionsObeyed();
    ~PermissionsObeyed();
    PermissionsObeyed(const PermissionsObeyed&) = delete;
    PermissionsObeyed& operator=(const PermissionsObeyed&) = delete;
    bool Engaged() const { return engaged_; }

private:
    bool engaged_{false};
    bool dropped_{false};
};

// While it lives, a write that would make a file of this process larger than the limit fails,
// as on a full disk (the signal the kernel sends for it is ignored).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    struct sigaction previousAction_ {};
};

// For a child process, between fork and exec: the programs it runs obey the permission bits
// even as root. False where that cannot be done.
bool ChildObeysPermissions();
// For a child process: a write past `bytes` fails (killed: the process is killed instead, as
// the default action of the kernel's signal for it).
void ChildFileSizeLimit(rlim_t bytes, bool killed);

// The files in a folder, for checking that nothing was left behind.
QStringList FilesIn(const QString& folder);
