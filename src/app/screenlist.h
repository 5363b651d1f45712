#pragma once

namespace quelvarino {

// Creates every screen once, in the program's order of creation, after the
// main window; screens that do not exist yet are plain windows with their
// caption and instance name.
void createScreens();

}  // namespace quelvarino
