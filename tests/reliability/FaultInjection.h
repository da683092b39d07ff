#pragma once

// Ways to make a save fail that hold for root too, where permission bits stop nothing.

#include <sys/resource.h>
#include <QString>
#include <QStringList>
#include <vector>

namespace ludora::test {

// File attributes that bind root too.
enum class Attribute {
    // Nobody may change an immutable file, nor create, rename or remove anything in an
    // immutable folder.
    Immutable,
    // In an append-only folder files may be created, but no entry may be removed or
    // replaced: a rename onto an existing name fails.
    AppendOnly,
};

// Sets or clears the attribute of a file or folder. Returns an empty string, or why the
// attribute could not be changed (it needs CAP_LINUX_IMMUTABLE and a file system with
// attributes).
QString setAttribute(const QString& path, Attribute attribute, bool on);

// While it lives, the process has no free file descriptor: opening any file fails with
// EMFILE. Lowers only the soft limit, so that release() can bring the old one back.
class NoFreeFileDescriptor {
public:
    NoFreeFileDescriptor();
    ~NoFreeFileDescriptor() { release(); }
    NoFreeFileDescriptor(const NoFreeFileDescriptor&) = delete;
    NoFreeFileDescriptor& operator=(const NoFreeFileDescriptor&) = delete;
    void release();

private:
    rlimit old_{};
    bool active_ = false;
    std::vector<int> held_;
};

// While it lives, no file of the process may grow past `bytes`; SIGXFSZ is ignored, so a
// write past the limit fails with EFBIG. Lowers only the soft limit.
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit() { release(); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    void release();

private:
    rlimit old_{};
    bool active_ = false;
};

// Checks made in a forked child, which cannot use QtTest's macros: each failed check is
// printed and counted, and the count becomes the child's exit code.
class ChildChecks {
public:
    void check(bool ok, const QString& what);
    int exitCode() const;

private:
    QStringList failed_;
};

}  // namespace ludora::test
