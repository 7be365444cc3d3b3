#pragma once
// The find dialog and the find pane it hosts, as each sees the other.
#include <string>

class QWidget;

namespace vitrina {

struct TFindResultLists;

// What the skinned dialog asks of the find pane.
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
    // The index search's results, listed by the dialog.
    virtual const TFindResultLists& Results() const = 0;
    // The reader chose result index in the list.
    virtual void OpenResult(int index) = 0;
};

// What the find pane and the search commands ask of the find dialog.
class IFindDialog {
public:
    virtual ~IFindDialog() = default;
    // The find dialog, shown; shown now; the shown dialog closed.
    virtual void ShowFindDialog() = 0;
    virtual bool FindDialogShown() const = 0;
    virtual void CloseShownDialog() = 0;
    // Lists the titles, or removes the list when there are no paths.
    virtual void ShowFindResults(const TFindResultLists& results) = 0;
    // The hint of the Search/Stop button.
    virtual void SetFindButtonHint(const std::string& hint) = 0;
    // One command of a dialog control, as a press would run it.
    virtual bool RunDialogCommand(const std::string& go, const std::string& wav) = 0;
    // The progress bar of the document scan: its length, its filled part, one step, back to empty.
    virtual int ScaleRange() const = 0;
    virtual int ScaleFilled() const = 0;
    virtual void StepScale() = 0;
    virtual void ResetScale() = 0;
};

}  // namespace vitrina
