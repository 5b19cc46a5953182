// Where the main window opens its dialogs. Until the optimisation dialog and
// the detail window exist these open nothing.
#include "ui/main/FormDefault.h"

// "Pokračovat >": the optimisation dialog gets TrayPaths(); after a finished
// batch it calls EmptyTrayAfterBatch().
void TFormDefault::OpenOptimisationDialog() {}

// "Podrobnosti": the detail window reads SelectedFile(); after removing the
// EXIF block it calls ListFileClick() to reload the selection.
void TFormDefault::OpenDetailWindow() {}
