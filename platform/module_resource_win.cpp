#include "platform/module_resource_win.h"

ModuleResource FindModuleResource(HMODULE module, int id, const char* type)
{
    if (!type || id <= 0 || id > 0xFFFF)
        return {false, nullptr, 0};
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (!found)
        return {false, nullptr, 0};
    const DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    return {true, static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr), size};
}
