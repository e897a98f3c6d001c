// The player's version: the one place it is written. The build reads it for the project and the
// manifest, the resource script for the version record, the main window for its label.
#pragma once

#define ZELBO_VERSION_MAJOR 2
#define ZELBO_VERSION_MINOR 1
#define ZELBO_VERSION_PATCH 2
#define ZELBO_VERSION_TEXT "2.1.2"
