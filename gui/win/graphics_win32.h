#pragma once
// windows.h for the graphics layer. Every graphics header includes this FIRST, before any
// framework header.
//
// BODGY: windows.h defines GetClassInfo as a macro (GetClassInfoW), and TObject has a
// virtual member GetClassInfo. If the macro is live while some class declarations are
// read and not while others are, overrides stop overriding. Taking the macro away here,
// before gui/core/object.h is read, keeps every declaration of the member under its own
// name. (A file that includes <windows.h> itself, then object.h, then a graphics header
// still breaks: include a graphics header or this one first.) Code that wants the
// Win32 function calls GetClassInfoExW by its full name.

#include <windows.h>

#include <commctrl.h>

#ifdef GetClassInfo
#undef GetClassInfo
#endif
