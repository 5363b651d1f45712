#pragma once

#include <functional>

namespace quelvarino {

// The application's became-active handler: called whenever the program
// becomes the active application again (the operator switches back from
// another program). The screen that was activated last installs its own
// refresh routine here, so its open tables are re-read.
class ActivationHook {
public:
    static void setHandler(std::function<void()> handler);
    static void clear();
    static void fire();  // what activation does; tests call it directly
};

}  // namespace quelvarino
