#pragma once
// The CUPS test adds a printer for a while. Tests that look at the machine's printers hold this
// lock shared and the CUPS test holds it alone, so that under ctest -j no test sees a printer
// come or go half-way.
#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace vitrina::test {

class TPrinterLock {
public:
    enum TKind { Shared, Alone };
    explicit TPrinterLock(TKind kind) {
        const QByteArray path = QFile::encodeName(QDir::tempPath() + "/vitrina-tests-printers.lock");
        fd_ = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd_ >= 0) ::flock(fd_, kind == Alone ? LOCK_EX : LOCK_SH);
    }
    ~TPrinterLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    TPrinterLock(const TPrinterLock&) = delete;
    TPrinterLock& operator=(const TPrinterLock&) = delete;

private:
    int fd_ = -1;
};

}  // namespace vitrina::test
