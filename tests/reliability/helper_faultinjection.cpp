#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include <QFile>

#include "FaultInjection.h"

namespace ludora::test {

QString setAttribute(const QString& path, Attribute attribute, bool on) {
    const int flag = attribute == Attribute::Immutable ? FS_IMMUTABLE_FL : FS_APPEND_FL;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return QString::fromLocal8Bit(std::strerror(errno));
    }
    QString error;
    int flags = 0;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
    } else {
        flags = on ? (flags | flag) : (flags & ~flag);
        if (::ioctl(fd, FS_IOC_SETFLAGS, &flags) != 0) {
            error = QString::fromLocal8Bit(std::strerror(errno));
        }
    }
    ::close(fd);
    return error;
}

NoFreeFileDescriptor::NoFreeFileDescriptor() {
    if (getrlimit(RLIMIT_NOFILE, &old_) != 0) {
        return;
    }
    rlimit low = old_;
    low.rlim_cur = 64;
    if (setrlimit(RLIMIT_NOFILE, &low) != 0) {
        return;
    }
    active_ = true;
    const int base = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (base < 0) {
        return;  // none free already
    }
    held_.push_back(base);
    for (;;) {
        const int fd = ::fcntl(base, F_DUPFD_CLOEXEC, 0);
        if (fd < 0) {
            break;
        }
        held_.push_back(fd);
    }
}

void NoFreeFileDescriptor::release() {
    for (const int fd : held_) {
        ::close(fd);
    }
    held_.clear();
    if (active_) {
        setrlimit(RLIMIT_NOFILE, &old_);
        active_ = false;
    }
}

FileSizeLimit::FileSizeLimit(qint64 bytes) {
    signal(SIGXFSZ, SIG_IGN);
    if (getrlimit(RLIMIT_FSIZE, &old_) != 0) {
        return;
    }
    rlimit low = old_;
    low.rlim_cur = rlim_t(bytes);
    active_ = setrlimit(RLIMIT_FSIZE, &low) == 0;
}

void FileSizeLimit::release() {
    if (active_) {
        setrlimit(RLIMIT_FSIZE, &old_);
        active_ = false;
    }
}

void ChildChecks::check(bool ok, const QString& what) {
    if (!ok) {
        failed_ << what;
        std::fprintf(stderr, "FAIL in child: %s\n", qPrintable(what));
    }
}

int ChildChecks::exitCode() const {
    return int(std::min<qsizetype>(failed_.size(), 100));
}

}  // namespace ludora::test
