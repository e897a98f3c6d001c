// GDI objects that the program's code creates and deletes, counted by the test program itself:
// Wine's GetGuiResources always answers 0.
#pragma once

#include <windows.h>

// Replaces the creating and deleting GDI functions in this program's import table by counting ones.
// Called once, before any test.
void InstallGdiCounting();

// GDI objects of one type (OBJ_BITMAP...), or of any, created and not yet deleted.
DWORD GdiObjectCount(DWORD type = 0);
