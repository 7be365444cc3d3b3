#include "archive/rar_result.h"

#include <archive.h>

#include <cerrno>

namespace vitrina {

namespace {

// libarchive's own error numbers (kept in its private headers): the data is at fault.
constexpr int kErrnoFileFormat = EILSEQ, kErrnoProgrammer = EINVAL, kErrnoMisc = -1;

}  // namespace

TArchiveFailure ClassifyArchiveFailure(int status, int error, bool rarFormat) {
    if (status == ARCHIVE_OK || status == ARCHIVE_WARN) return TArchiveFailure::None;
    if (status == ARCHIVE_EOF) return TArchiveFailure::End;
    if (error == ENOMEM) return TArchiveFailure::NoMemory;
    // libarchive's own codes (format, misc, programmer) describe the data, not the system.
    if (error == kErrnoFileFormat || error == kErrnoMisc || error == kErrnoProgrammer || error == 0)
        return rarFormat ? TArchiveFailure::Damaged : TArchiveFailure::NotRar;
    return TArchiveFailure::System;
}

namespace {

struct TResultRow {
    TArchiveStage stage;
    TRarResult none, end, noMemory, notRar, damaged, system;
};

// An empty archive opens well and ends at its first header read; a format error after the
// open always concerns a RAR file, whatever libarchive remembers of its format.
constexpr TResultRow kResults[] = {
    {TArchiveStage::Open, kRarSuccess, kRarSuccess, kRarNoMemory, kRarBadArchive, kRarBadData, kRarOpenError},
    {TArchiveStage::Header, kRarSuccess, kRarEndArchive, kRarNoMemory, kRarBadData, kRarBadData, kRarReadError},
    {TArchiveStage::Data, kRarSuccess, kRarSuccess, kRarNoMemory, kRarBadData, kRarBadData, kRarReadError},
    {TArchiveStage::Create, kRarSuccess, kRarSuccess, kRarNoMemory, kRarCreateError, kRarCreateError, kRarCreateError},
    {TArchiveStage::Write, kRarSuccess, kRarSuccess, kRarNoMemory, kRarWriteError, kRarWriteError, kRarWriteError},
    {TArchiveStage::Close, kRarSuccess, kRarSuccess, kRarNoMemory, kRarCloseError, kRarCloseError, kRarCloseError},
};

}  // namespace

TRarResult RarResultOf(TArchiveStage stage, TArchiveFailure failure) {
    for (const TResultRow& row : kResults) {
        if (row.stage != stage) continue;
        switch (failure) {
            case TArchiveFailure::None: return row.none;
            case TArchiveFailure::End: return row.end;
            case TArchiveFailure::NoMemory: return row.noMemory;
            case TArchiveFailure::NotRar: return row.notRar;
            case TArchiveFailure::Damaged: return row.damaged;
            case TArchiveFailure::System: return row.system;
        }
    }
    return kRarBadData;
}

}  // namespace vitrina
