#pragma once

class QWidget;

namespace quelvarino {

// Makes the data folder ready at start, talking to the operator where the
// registered folder is not there: a share that is not mounted is named, a
// missing folder whose parent exists may be created at once, any other
// missing folder is explained. False when the program must end; `splash`
// is hidden before any message.
bool prepareDataFolderAtStart(QWidget* splash);

}  // namespace quelvarino
