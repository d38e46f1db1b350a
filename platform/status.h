#pragma once
// Win32 status codes used across the platform services. The emulated platform
// returns the same codes as the real one for the same situation.
#include <cstdint>

namespace cv {

using Status = long;

inline constexpr Status kOk = 0;                    // ERROR_SUCCESS
inline constexpr Status kErrFileNotFound = 2;       // ERROR_FILE_NOT_FOUND
inline constexpr Status kErrPathNotFound = 3;       // ERROR_PATH_NOT_FOUND
inline constexpr Status kErrAccessDenied = 5;       // ERROR_ACCESS_DENIED
inline constexpr Status kErrInvalidHandle = 6;      // ERROR_INVALID_HANDLE
inline constexpr Status kErrSharingViolation = 32;  // ERROR_SHARING_VIOLATION
inline constexpr Status kErrInvalidParameter = 87;  // ERROR_INVALID_PARAMETER
inline constexpr Status kErrDiskFull = 112;         // ERROR_DISK_FULL
inline constexpr Status kErrInvalidName = 123;      // ERROR_INVALID_NAME
inline constexpr Status kErrDirNotEmpty = 145;      // ERROR_DIR_NOT_EMPTY
inline constexpr Status kErrBadPathname = 161;      // ERROR_BAD_PATHNAME
inline constexpr Status kErrAlreadyExists = 183;    // ERROR_ALREADY_EXISTS
inline constexpr Status kErrFileTooLarge = 223;     // ERROR_FILE_TOO_LARGE
inline constexpr Status kErrFilenameTooLong = 206;  // ERROR_FILENAME_EXCED_RANGE
inline constexpr Status kErrMoreData = 234;         // ERROR_MORE_DATA
inline constexpr Status kErrNoMoreItems = 259;      // ERROR_NO_MORE_ITEMS
inline constexpr Status kErrDirectory = 267;        // ERROR_DIRECTORY (not a folder)
inline constexpr Status kErrKeyDeleted = 1018;      // ERROR_KEY_DELETED

}  // namespace cv
