#pragma once
// What the skinned dialog asks of the find pane it hosts on its find dialog.
class QWidget;

namespace vitrina {

class IDialogFindPane {
public:
    virtual ~IDialogFindPane() = default;
    // A dialog is shown: the pane's edit fields go onto it, shown only on the find dialog.
    virtual void HostFields(QWidget* dialog, bool findDialog) = 0;
    // The dialog closed: a running search stops, the status line clears.
    virtual void DialogClosed() = 0;
    // A search runs (the program is busy with it).
    virtual bool Searching() const = 0;
    // The find button or Esc while a search runs: it stops.
    virtual void SetIdle(bool idle) = 0;
    // "findnext"N: a search with the text of field N.
    virtual void FindNext(int field) = 0;
    // The kind of search the dialog's switches choose: "findtxtlimit", "findtxtall",
    // "findtxtcontents".
    enum class TScope { Document, Index, Contents };
    virtual void SetScope(TScope scope) = 0;
};

}  // namespace vitrina
