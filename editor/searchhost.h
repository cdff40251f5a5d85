#pragma once
// What the Search menu's commands (TSearchCommands) use of the main window
// beyond the scenario, the dialogs and the order-of-battle column.
class TfrmList;

class SearchHost {
public:
    virtual ~SearchHost() = default;
    // The Set Units page writes its pending field edits into its placement.
    virtual void StoreSetupEdits() = 0;
    // Shows the selected placement on the Set Units page again from its
    // record, which changed under the page.
    virtual void ReshowSelectedSetup() = 0;
    // The list window of the check and the strength lists, made when first
    // needed; ShownListWindow() is null until then.
    virtual TfrmList& ListWindow() = 0;
    virtual TfrmList* ShownListWindow() = 0;
    // Records changed outside the edit operations (the synch): the windows
    // that draw the whole scenario follow.
    virtual void ScenarioChanged() = 0;
};
