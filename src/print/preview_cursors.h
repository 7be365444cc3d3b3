#pragma once
// The preview's pointer pictures: a magnifier (plain, with plus, with minus) and a hand (open,
// closed), drawn here.
#include <QCursor>
#include <QIcon>

namespace vitrina {

enum class TPreviewCursor { Zoom, ZoomIn, ZoomOut, HandOpened, HandClosed };
QCursor PreviewCursor(TPreviewCursor kind);

// The tool bar's button pictures.
enum class TPreviewIcon {
    Print, Orientation, First, Previous, Next, Last, GoTo, FitPage, FitWidth, Restore, PrintZoom, ViewZoom, Hand,
    OnePage, TwoPages, Help, Close
};
QIcon PreviewIcon(TPreviewIcon kind);

}  // namespace vitrina
