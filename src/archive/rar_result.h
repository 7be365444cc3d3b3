#pragma once
// How libarchive's outcomes become the unpacking library's result codes: one table, by the
// step that failed and the kind of failure.
#include "archive/rar_pass.h"

namespace vitrina {

// The step of an open, header read or entry processing that libarchive reported on.
enum class TArchiveStage {
    Open,    // opening the volumes and reading the first header
    Header,  // reading a further header
    Data,    // reading or skipping an entry's data
    Create,  // creating a member on disk
    Write,   // writing a member's data
    Close,   // finishing a member on disk
};

enum class TArchiveFailure {
    None,      // ARCHIVE_OK or ARCHIVE_WARN
    End,       // ARCHIVE_EOF
    NoMemory,  // ENOMEM
    NotRar,    // a format error before the file was recognised as RAR
    Damaged,   // a format error in a file recognised as RAR (broken header, checksum, truncation)
    System,    // the operating system's error: open, read, create or write failed
};

// status: libarchive's return value; error: archive_errno; rarFormat: archive_format found RAR.
TArchiveFailure ClassifyArchiveFailure(int status, int error, bool rarFormat);
TRarResult RarResultOf(TArchiveStage stage, TArchiveFailure failure);

}  // namespace vitrina
