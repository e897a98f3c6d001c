#include "platform/module_resource_win.h"

#include "platform/text_1252_win.h"

ModuleResource FindModuleResource(HMODULE module, int id, const char* type)
{
    if (!type || id <= 0 || id > 0xFFFF)
        return {false, nullptr, 0};
    // A type is named ("IMG"), or numbered in the pointer as the standard ones are (RT_DIALOG).
    const WideString name = IS_INTRESOURCE(type) ? WideString() : WideFrom1252(type);
    const wchar_t* wideType = IS_INTRESOURCE(type) ? reinterpret_cast<const wchar_t*>(type) : name.c_str();
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), wideType);
    if (!found)
        return {false, nullptr, 0};
    const DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    return {true, static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr), size};
}
