#include "support/scratch_files.h"

#include <QStringList>

#include "platform/scratch_file.h"
#include "support/system_info.h"

ScratchFile CreateScratchFile(const QString &name)
{
    QStringList candidates{name};  // in the current folder
    if (!DataDir.isEmpty())
        candidates << DataDir + name;
    for (const QString &path : candidates) {
        const int fd = platform::createScratchFile(path);
        if (fd < 0)
            continue;
        ScratchFile scratch{path, std::make_unique<QFile>()};
        scratch.file->open(fd, QIODevice::ReadWrite, QFileDevice::AutoCloseHandle);
        return scratch;
    }
    return {name, nullptr};
}
