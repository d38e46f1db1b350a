#pragma once
// Include this instead of <windows.h>. It removes the A/W macros whose names
// clash with the program's own methods (DeleteFile, GetEnvironmentVariable ...);
// Windows code calls the W functions by their full names.
#include <windows.h>

#undef DeleteFile
#undef CreateFolder
#undef GetEnvironmentVariable
#undef SetEnvironmentVariable
#undef GetWindowsDirectory
#undef GetFile
#undef MessageBox
#undef GetVersion
#undef ReadFile
#undef CopyFile
#undef MoveFile
#undef GetFileAttributes
#undef SetFileAttributes
#undef RemoveDirectory
#undef CreateDirectory
