// The bytes of one resource of a module: found, loaded and locked in one step.
#pragma once

#include <windows.h>

#include <cstdint>

struct ModuleResource {
    bool found;           // false: the module has no such resource (or the id cannot name one)
    const uint8_t* bytes; // null when the resource was found but could not be loaded
    DWORD size;           // the resource's size as the module records it, also when bytes is null
};

// Finds resource id (1 to 0xFFFF: a larger value would be taken for the address of a name) of the
// given type in module. The bytes belong to the module and stay valid while it is loaded.
ModuleResource FindModuleResource(HMODULE module, int id, const char* type);
